#pragma once

#include <QApplication>

namespace fenwake {

// The application object: its event dispatch is the message loop that
// catches errors raised while an event is handled and shows them.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace fenwake
