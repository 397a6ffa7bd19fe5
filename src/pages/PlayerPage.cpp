#include "pages/PlayerPage.h"

#include "rules/PlayerSettings.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/ItemPainters.h"
#include "ui/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace fenwake {

PlayerPage::PlayerPage(QWidget* parent, ConfigFile user) : QWidget(parent), user_(std::move(user))
{
    setObjectName(QStringLiteral("Default"));
    QWidget* page = this;
    const QFont arial = ui::PixelFont(QStringLiteral("Arial"), 12);

    ui::MakeLabel(page, "Label1", QStringLiteral("Player name:"), QPoint(32, 16));
    playerName_ = new QLineEdit(page);
    playerName_->setObjectName(QStringLiteral("PlayerName"));
    playerName_->setGeometry(104, 16, 161, 23);
    playerName_->setFont(arial);
    playerName_->setCursor(Qt::ArrowCursor);
    ui::SetBaseColour(playerName_, QColor(0xF8, 0xF1, 0xDE));

    ui::MakeLabel(page, "Label2", QStringLiteral("Connection speed:"), QPoint(8, 48));
    connSpeed_ = new QComboBox(page);
    connSpeed_->setObjectName(QStringLiteral("ConnSpeed"));
    connSpeed_->setGeometry(104, 48, 161, 21);
    connSpeed_->setFont(arial);
    // The drop-down item painter's first selection scheme.
    ui::SetTag(connSpeed_, 0);
    ui::SetItemHeight(connSpeed_, 15);
    ui::SetBaseColour(connSpeed_, QColor(0xFB, 0xE7, 0xE1));
    for (const auto& speed : player::kSpeedClasses) connSpeed_->addItem(ui::ToQ(speed.text));
    connSpeed_->setCurrentIndex(-1);

    showHelpMessages_ = new QCheckBox(QStringLiteral("Show help messages") + QString(81, u' '), page);
    showHelpMessages_->setObjectName(QStringLiteral("cShowHelpMessages"));
    showHelpMessages_->setGeometry(8, 96, 257, 17);
}

void PlayerPage::LoadSettings()
{
    const player::Settings s = player::Read(user_);
    const QSignalBlocker blockName(playerName_);
    const QSignalBlocker blockSpeed(connSpeed_);
    const QSignalBlocker blockHelp(showHelpMessages_);
    playerName_->setText(ui::ToQ(s.name));
    // A speed outside the table keeps whatever the list showed before.
    if (const auto index = player::SpeedIndex(s.speed)) connSpeed_->setCurrentIndex(*index);
    showHelpMessages_->setChecked(s.helpMessages);
}

} // namespace fenwake
