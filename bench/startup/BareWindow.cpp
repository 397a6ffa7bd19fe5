// The floor for start-up: the least a Qt Widgets program does to put up a
// window of Fenwake's size; with BARE_WINDOW_TEXT, also one line of text,
// which brings in the font database and a font's glyphs.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(543, 407);
#ifdef BARE_WINDOW_TEXT
    auto* label = new QLabel(QStringLiteral("Key bindings"), &window);
    label->move(8, 8);
#endif
    window.show();
    return app.exec();
}
