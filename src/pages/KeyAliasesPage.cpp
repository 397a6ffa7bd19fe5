#include "pages/KeyAliasesPage.h"

#include "config/Errors.h"
#include "rules/KeyAliases.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/EditMenu.h"
#include "ui/Fonts.h"
#include "ui/ItemPainters.h"
#include "ui/Messages.h"
#include "ui/Text.h"
#include "ui/widgets/FixedRowDelegate.h"
#include "ui/widgets/PitchedLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <stdexcept>

namespace fenwake {
namespace {

const QColor kLockedColour(0xC0, 0xC0, 0xC0);
const QColor kEditableColour(0xF7, 0xF7, 0xF7);

// Shown until start-up fills the page from User.ini.
const QString kDesignText = QStringLiteral("overfilled %)");

QLineEdit* MakeField(QWidget* parent, const char* name, QPoint at)
{
    auto* field = new QLineEdit(kDesignText, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(at.x(), at.y(), 233, 24);
    field->setFont(ui::PixelFont(QStringLiteral("Arial"), 13));
    ui::SetTextColour(field, QColor(0x00, 0x30, 0x60));
    return field;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int y)
{
    return ui::MakeButton(parent, name, caption, QRect(392, y, 129, 25));
}

} // namespace

KeyAliasesPage::KeyAliasesPage(QWidget* parent, ui::EditMenu& editMenu, ConfigFile user, history::Recorder recorder)
    : QWidget(parent), user_(std::move(user)), recorder_(std::move(recorder))
{
    setObjectName(QStringLiteral("AL"));
    BuildControls();
    editMenu.Attach(command_);
    editMenu.Attach(name_);
    ConnectHandlers();
}

KeyAliasesPage::~KeyAliasesPage() { ui::DisconnectFromChildren(this); }

void KeyAliasesPage::BuildControls()
{
    QWidget* page = this;
    // The controls lie on the page over the frame, placed in page pixels.
    auto* frame = new QGroupBox(QStringLiteral("  Key Aliases editor  "), page);
    frame->setObjectName(QStringLiteral("GroupBox4"));
    frame->setGeometry(8, 8, 529, 313);
    frame->setFont(ui::Tahoma(true));
    ui::SetCaptionColour(frame, QColor(0x60, 0x60, 0x90));

    list_ = new QListWidget(page);
    list_->setObjectName(QStringLiteral("AList"));
    list_->setGeometry(16, 24, 497, 121);
    list_->setProperty("tag", ui::kAliasListTag);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setDragEnabled(false);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setItemDelegate(new ui::FixedRowDelegate(16, list_));
    list_->setFont(ui::PixelFont(QStringLiteral("Arial"), 13));
    ui::SetTextColour(list_, Qt::black);
    ui::SetBaseColour(list_, QColor(0xFE, 0xF9, 0xE2));
    list_->addItem(kDesignText);

    ui::MakeLabel(page, "Label13", QStringLiteral("Command for the alias:"), QPoint(16, 152), ui::Tahoma(true),
                  QColor(0x30, 0x98, 0x60));
    command_ = MakeField(page, "ECommand", QPoint(16, 168));
    ui::MakeLabel(page, "Label14", QStringLiteral("Alias name"), QPoint(280, 152), ui::Tahoma(true),
                  QColor(0x30, 0x68, 0xFF));
    name_ = MakeField(page, "EAName", QPoint(280, 168));

    auto* help = new QGroupBox(QStringLiteral("         -=Help on using the Key Aliases Editor=-         "), page);
    help->setObjectName(QStringLiteral("GroupBox5"));
    help->setGeometry(12, 200, 373, 81);
    help->setFont(ui::Tahoma(true));
    ui::SetCaptionColour(help, QColor(0x60, 0x60, 0x90));
    const QString bullet = QString(QChar(0x2022)) + u' ';
    // One font height apart.
    const QFont stepsFont = ui::PixelFont(QStringLiteral("Lucida Console"), 12, true);
    auto* steps = new ui::PitchedLabel(bullet + QStringLiteral("Select an alias from the list. \n") + bullet +
                                           QStringLiteral("Edit the command and alias name\n") + bullet +
                                           QStringLiteral("Click \"Save Alias\"\n") + bullet +
                                           QStringLiteral("Do that with other aliases when necessary\n") + bullet +
                                           QStringLiteral("That's all ! :)"),
                                       help, stepsFont.pixelSize());
    steps->setObjectName(QStringLiteral("Label17"));
    steps->setFont(stepsFont);
    ui::SetTextColour(steps, QColor(0x80, 0x00, 0x00));
    steps->move(8, 16);
    steps->adjustSize();

    save_ = MakeButton(page, "BitBtn3", QStringLiteral("Save alias"), 208);
    cancelAll_ = MakeButton(page, "BitBtn4", QStringLiteral("Cancel all changes"), 240);
    clear_ = MakeButton(page, "BitBtn5", QStringLiteral("Clear selected alias"), 272);

    lock_ = new QCheckBox(QStringLiteral("  Lock first 19 aliases against editing") + QString(73, u' '), page);
    lock_->setObjectName(QStringLiteral("Lock17"));
    lock_->setGeometry(16, 288, 369, 17);
    lock_->setFont(ui::Tahoma());
    ui::SetTextColour(lock_, QColor(0x06, 0x3C, 0x32));
    lock_->setToolTip(QStringLiteral(
        "Usually first 19 aliases are defauts, and should not be edited. Unccheck to edit them anyway."));
    lock_->setCursor(Qt::PointingHandCursor);
    lock_->setChecked(true);

    // Until a slot is shown there is nothing to edit.
    for (QLineEdit* field : {command_, name_}) {
        field->setReadOnly(true);
        ui::SetBaseColour(field, kLockedColour);
    }
}

void KeyAliasesPage::ConnectHandlers()
{
    QWidget* page = this;
    connect(list_, &QListWidget::currentRowChanged, this, ui::Guard([this] { ShowSelectedAlias(); }));
    connect(save_, &QPushButton::clicked, this, ui::Guard([this] { SaveAlias(); }));
    connect(cancelAll_, &QPushButton::clicked, this, &KeyAliasesPage::resetRequested);
    connect(clear_, &QPushButton::clicked, this, ui::Guard([this] { ClearSelectedAlias(); }));
    connect(lock_, &QCheckBox::clicked, this, ui::Guard([this] { ShowSelectedAlias(); }));

    // The page's default and cancel buttons. Shortcuts of a hidden page do
    // not fire, so these act only while the page is shown.
    auto* enter = new QShortcut(page);
    enter->setObjectName(QStringLiteral("AliasDefaultKey"));
    enter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    connect(enter, &QShortcut::activated, this, ui::Guard([this] { PressDefault(); }));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), page);
    escape->setObjectName(QStringLiteral("AliasCancelKey"));
    connect(escape, &QShortcut::activated, this, [this] { clear_->click(); });
}

void KeyAliasesPage::PressDefault()
{
    // As on Windows, Enter presses a button that has the focus itself.
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    if (focused && window()->isAncestorOf(focused) && !qobject_cast<QCheckBox*>(focused) &&
        !qobject_cast<QRadioButton*>(focused)) {
        focused->click();
        return;
    }
    save_->click();
}

void KeyAliasesPage::ReloadAliases()
{
    const std::vector<std::string> rows = aliases::LoadRows(user_);
    // Emptying the list must not refill the fields.
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const std::string& row : rows) list_->addItem(ui::ToQ(row));
    loaded_ = true;
}

void KeyAliasesPage::SelectRow(int row)
{
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(row);
    }
    ShowSelectedAlias();
}

void KeyAliasesPage::ShowSelectedAlias()
{
    const int row = list_->currentRow();
    if (loaded_ && aliases::IsSlot(row)) slot_ = row;
    if (!slot_) return;
    const aliases::AliasFields fields = aliases::ParseRow(ui::FromQ(list_->item(*slot_)->text()));
    command_->setText(ui::ToQ(fields.command));
    name_->setText(ui::ToQ(fields.name));
    ApplyLock();
}

void KeyAliasesPage::ApplyLock()
{
    const bool locked = aliases::IsLocked(*slot_, lock_->isChecked());
    for (QLineEdit* field : {command_, name_}) {
        field->setReadOnly(locked);
        ui::SetBaseColour(field, locked ? kLockedColour : kEditableColour);
    }
}

void KeyAliasesPage::SaveAlias()
{
    if (!slot_) return;
    const int n = *slot_;
    const aliases::AliasFields fields{ui::FromQ(command_->text()), ui::FromQ(name_->text())};
    switch (aliases::CheckSave(n, fields, lock_->isChecked())) {
    case aliases::SaveCheck::EmptyName:
        ui::Ask(nullptr, ui::ToQ(aliases::kEmptyName), QStringLiteral("ERROR!"), QMessageBox::Critical,
                QMessageBox::Ok);
        throw SilentAbort{};
    case aliases::SaveCheck::Locked:
        break; // the game's own line stays exactly as stored
    case aliases::SaveCheck::Allowed:
        aliases::SaveSlot(user_, n, fields, recorder_);
        break;
    }
    ReloadAliases();
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(n);
    list_->scrollToItem(list_->item(n));
}

void KeyAliasesPage::ClearSelectedAlias()
{
    if (!slot_) return;
    if (aliases::IsLocked(*slot_, lock_->isChecked())) {
        QApplication::beep();
        throw std::runtime_error("You cannot clear one of locked aliases! ");
    }
    name_->setText(ui::ToQ(aliases::kClearedName));
    command_->clear();
}

} // namespace fenwake
