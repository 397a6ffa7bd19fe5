#include "ui/Appearance.h"

#include "config/ConfigFile.h"
#include "config/GameFiles.h"
#include "ui/Colours.h"
#include "ui/Cursors.h"
#include "ui/Fonts.h"
#include "ui/ItemPainters.h"
#include "ui/Messages.h"
#include "ui/SystemColours.h"
#include "ui/TXPMenu.h"
#include "ui/Text.h"
#include "ui/widgets/FixedRowDelegate.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <string>

namespace fenwake {
namespace {

// Controls that show the platform's own cursor for their kind.
const QStringList kPlatformCursor = {
    QStringLiteral("ComboBox1"), QStringLiteral("QSearchKey"), QStringLiteral("ECommand"),
    QStringLiteral("EAName"),    QStringLiteral("ComboBox2"),  QStringLiteral("GroupBox5"),
    QStringLiteral("GroupBox6"), QStringLiteral("CoolBar1"),   QStringLiteral("ToolBar1"),
};

void GiveTag(QObject* control, int tag)
{
    if (!control->property("Tag").isValid() && !control->property("tag").isValid()) control->setProperty("Tag", tag);
}

} // namespace

TAppearance::TAppearance(QWidget& window, TAppearanceControls controls)
    : QObject(&window), window_(window), controls_(std::move(controls))
{
    setObjectName(QStringLiteral("Appearance"));
    FillThemeList();
    AttachItemPainters();
    BuildMenuPainter();
    window_.installEventFilter(this);
}

void TAppearance::FillThemeList()
{
    QComboBox* themes = controls_.themes;
    const QSignalBlocker quiet(themes);
    themes->setEditable(false);
    themes->setItemDelegate(new ui::FixedRowDelegate(16, themes));
    for (std::string_view name : ui::kThemeNames) themes->addItem(ui::ToQ(name));
    themes->setCurrentIndex(-1);
    connect(themes, &QComboBox::activated, this, ui::Guard([this] { ComboBox2Change(); }));
}

void TAppearance::BuildMenuPainter()
{
    controls_.toolBar->setProperty("ToolBar", true);
    xpMenu_ = new TXPMenu(&window_);
    xpMenu_->setObjectName(QStringLiteral("XPMenu1"));
    QFont font = ui::Tahoma();
    xpMenu_->SetFont(font);
    xpMenu_->SetFontColor(ui::clMenuText);
    xpMenu_->SetColor(ui::kCream);
    xpMenu_->SetIconBackColor(ui::kCream);
    xpMenu_->SetMenuBarColor(ui::FromHex(0x3068FF));
    xpMenu_->SetSelectColor(ui::FromHex(0xBDD9D7));
    xpMenu_->SetSelectBorderColor(ui::FromHex(0x3068FF));
    xpMenu_->SetSelectFontColor(ui::FromHex(0x400040));
    xpMenu_->SetDisabledColor(ui::clInactiveCaption);
    xpMenu_->SetSeparatorColor(ui::FromHex(0xFF8000));
    xpMenu_->SetCheckedColor(ui::clHighlight);
    xpMenu_->SetIconWidth(24);
    xpMenu_->SetDrawSelect(true);
    xpMenu_->SetUseSystemColors(false);
    xpMenu_->SetOverrideOwnerDraw(true);
    xpMenu_->SetGradient(false);
    xpMenu_->SetFlatMenu(true);
    // Detection first, so menus that come later are taken over as they fill.
    xpMenu_->SetAutoDetect(true);
    xpMenu_->SetActive(true);
}

void TAppearance::AttachItemPainters()
{
    for (const auto& [box, tag] : controls_.dropDowns) {
        GiveTag(box, tag);
        ui::AttachConnSpeedDrawItem(box);
    }
    for (QListWidget* list : {controls_.keyList, controls_.aliasList}) {
        GiveTag(list, list == controls_.aliasList ? ui::kAliasListTag : 0);
        ui::SetListDrawing(list, ui::DesignState().lists);
    }
}

void TAppearance::InitializeCurrentColorTheme()
{
    const int stored = game::SystemIni().ReadNumber(ui::kThemeSection, ui::kThemeKey, 0);
    const QSignalBlocker quiet(controls_.themes);
    controls_.themes->setCurrentIndex(stored >= 0 && stored < controls_.themes->count() ? stored : -1);
    ComboBox2Change();
}

void TAppearance::ComboBox2Change()
{
    const int index = controls_.themes->currentIndex();
    // Stored before anything changes colour: a failed write changes nothing.
    game::SystemIni().WriteNumber(ui::kThemeSection, ui::kThemeKey, index);
    window_.repaint();
    if (const auto theme = ui::ThemeFor(controls_.themes->currentIndex())) ApplyTheme(*theme);
}

void TAppearance::ApplyTheme(const ui::ThemeRecord& theme)
{
    applied_ = theme;
    if (xpMenu_) {
        xpMenu_->SetActive(theme.menuPainter);
        xpMenu_->SetAutoDetect(theme.autoDetect);
    }
    for (QListWidget* list : {controls_.keyList, controls_.aliasList}) ui::SetListDrawing(list, theme.lists);
    ApplyColours(theme);
    controls_.coolBar->update();
    controls_.toolBar->update();
}

void TAppearance::ApplyColours(const ui::ThemeRecord& theme)
{
    ui::SetBaseColour(controls_.keyList, ui::ToQColor(theme.keyList));
    ui::SetWindowColour(controls_.notebook, ui::ToQColor(theme.pageArea));
    ui::SetWindowColour(&window_, ui::ToQColor(theme.mainWindow));
    ui::SetWindowColour(controls_.coolBar, ui::ToQColor(theme.topStrip));
}

void TAppearance::LoadCursors()
{
    settingCursors_ = true;
    for (QWidget* widget : window_.findChildren<QWidget*>()) ApplyCursorRule(widget);
    window_.setCursor(ui::ArrowCursor());
    settingCursors_ = false;
    // Controls that ask for the arrow or the hand later get the tool's too.
    qApp->installEventFilter(this);
}

void TAppearance::ReplaceNamedCursor(QWidget* widget)
{
    if (!widget->testAttribute(Qt::WA_SetCursor)) return;
    // The toolkit's own arrow over a read-only field is the platform's choice.
    if (auto* field = qobject_cast<QLineEdit*>(widget); field && field->isReadOnly()) return;
    const Qt::CursorShape shape = widget->cursor().shape();
    if (shape == Qt::PointingHandCursor)
        widget->setCursor(ui::HandCursor());
    else if (shape == Qt::ArrowCursor)
        widget->setCursor(ui::ArrowCursor());
}

void TAppearance::ApplyCursorRule(QWidget* widget)
{
    if (widget->isWindow()) return; // menus and drop-down lists: the platform's
    const QString name = widget->objectName();
    // A control's own parts and anything with a cursor of its own: only
    // the arrow and the hand asked for by name change.
    if (name.isEmpty() || name.startsWith(QStringLiteral("qt_")) || widget->testAttribute(Qt::WA_SetCursor)) {
        ReplaceNamedCursor(widget);
        return;
    }
    const QWidget* parent = widget->parentWidget();
    const bool page = parent && parent->objectName() == QStringLiteral("Notebook1");
    if (page || kPlatformCursor.contains(name)) {
        widget->setCursor(Qt::ArrowCursor);
        return;
    }
    // Labels and pictures show the cursor of what holds them.
    if (qobject_cast<QLabel*>(widget) || name.startsWith(QStringLiteral("Image"))) return;
    widget->setCursor(ui::ArrowCursor());
}

bool TAppearance::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::CursorChange && !settingCursors_) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &window_ && widget != &window_) {
            settingCursors_ = true;
            ReplaceNamedCursor(widget);
            settingCursors_ = false;
        }
    } else if (watched == &window_ && event->type() == QEvent::ApplicationPaletteChange && applied_) {
        // System colours follow the desktop's.
        ApplyColours(*applied_);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fenwake
