// The floor for start-up: the least a Qt Widgets program does to put up a
// window of Fenwake's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(543, 407);
    window.show();
    return app.exec();
}
