#pragma once

#include <QObject>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace fenwake {

class TfMain;

// The "Default" page: player name, connection speed and help messages from
// User.ini. Loaded at start-up and on reset; nothing on it is written back.
class TPlayerPage : public QObject {
    Q_OBJECT
public:
    TPlayerPage(TfMain& main, QWidget* page);

    void GetSettigs();

    // The owner-drawn drop-down list of the page.
    QComboBox* ConnSpeed() const { return connSpeed_; }

private:
    QLineEdit* playerName_ = nullptr;
    QComboBox* connSpeed_ = nullptr;
    QCheckBox* showHelpMessages_ = nullptr;
};

} // namespace fenwake
