#pragma once

#include <QApplication>

namespace fenwake {

// The application object: its event dispatch is the message loop that
// catches errors raised while an event is handled and shows them.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace fenwake
