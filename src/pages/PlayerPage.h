#pragma once

#include "config/ConfigFile.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace fenwake {

// The "Default" page: player name, connection speed and help messages from
// User.ini. Loaded at start-up and on reset; nothing on it is written back.
class PlayerPage : public QWidget {
    Q_OBJECT
public:
    PlayerPage(QWidget* parent, ConfigFile user);

    void LoadSettings();

    // The owner-drawn drop-down lists of the page.
    std::vector<QComboBox*> DropDowns() const { return {connSpeed_}; }

private:
    ConfigFile user_;
    QLineEdit* playerName_ = nullptr;
    QComboBox* connSpeed_ = nullptr;
    QCheckBox* showHelpMessages_ = nullptr;
};

} // namespace fenwake
