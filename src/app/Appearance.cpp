#include "app/Appearance.h"

#include "rules/ToolSettings.h"
#include "ui/Colours.h"
#include "ui/Cursors.h"
#include "ui/FlatMenuPainter.h"
#include "ui/Fonts.h"
#include "ui/ItemPainters.h"
#include "ui/Messages.h"
#include "ui/SystemColours.h"
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

} // namespace

Appearance::Appearance(QWidget& window, AppearanceControls controls, ConfigFile system)
    : QObject(&window), window_(window), controls_(std::move(controls)), system_(std::move(system))
{
    setObjectName(QStringLiteral("Appearance"));
    FillThemeList();
    AttachItemPainters();
    BuildMenuPainter();
    window_.installEventFilter(this);
}

void Appearance::FillThemeList()
{
    QComboBox* themes = controls_.themes;
    const QSignalBlocker quiet(themes);
    themes->setEditable(false);
    themes->setItemDelegate(new ui::FixedRowDelegate(16, themes));
    for (std::string_view name : ui::kThemeNames) themes->addItem(ui::ToQ(name));
    themes->setCurrentIndex(-1);
    connect(themes, &QComboBox::activated, this, ui::Guard([this] { StoreAndApplyChosenTheme(); }));
}

void Appearance::BuildMenuPainter()
{
    controls_.toolBar->setProperty("ToolBar", true);
    menuPainter_ = new FlatMenuPainter(&window_);
    menuPainter_->setObjectName(QStringLiteral("XPMenu1"));
    QFont font = ui::Tahoma();
    menuPainter_->SetFont(font);
    menuPainter_->SetFontColor(ui::kSystemMenuText);
    menuPainter_->SetColor(ui::kCream);
    menuPainter_->SetIconBackColor(ui::kCream);
    menuPainter_->SetMenuBarColor(ui::FromHex(0x3068FF));
    menuPainter_->SetSelectColor(ui::FromHex(0xBDD9D7));
    menuPainter_->SetSelectBorderColor(ui::FromHex(0x3068FF));
    menuPainter_->SetSelectFontColor(ui::FromHex(0x400040));
    menuPainter_->SetDisabledColor(ui::kSystemInactiveCaption);
    menuPainter_->SetSeparatorColor(ui::FromHex(0xFF8000));
    menuPainter_->SetCheckedColor(ui::kSystemHighlight);
    menuPainter_->SetIconWidth(24);
    menuPainter_->SetDrawSelect(true);
    menuPainter_->SetUseSystemColors(false);
    menuPainter_->SetOverrideOwnerDraw(true);
    menuPainter_->SetGradient(false);
    menuPainter_->SetFlatMenu(true);
    // Detection first, so menus that come later are taken over as they fill.
    menuPainter_->SetAutoDetect(true);
    menuPainter_->SetActive(true);
}

void Appearance::AttachItemPainters()
{
    for (QComboBox* box : controls_.dropDowns) ui::AttachDropDownPainter(box);
    for (QListWidget* list : {controls_.keyList, controls_.aliasList})
        ui::SetListDrawing(list, ui::DesignState().lists);
}

void Appearance::ApplyStoredTheme()
{
    const int stored = tool::ReadThemeIndex(system_);
    const QSignalBlocker quiet(controls_.themes);
    controls_.themes->setCurrentIndex(stored >= 0 && stored < controls_.themes->count() ? stored : -1);
    StoreAndApplyChosenTheme();
}

void Appearance::StoreAndApplyChosenTheme()
{
    const int index = controls_.themes->currentIndex();
    // Stored before anything changes colour: a failed write changes nothing.
    tool::WriteThemeIndex(system_, index);
    window_.repaint();
    if (const auto theme = ui::ThemeFor(controls_.themes->currentIndex())) ApplyTheme(*theme);
}

void Appearance::ApplyTheme(const ui::ThemeRecord& theme)
{
    applied_ = theme;
    if (menuPainter_) {
        menuPainter_->SetActive(theme.menuPainter);
        menuPainter_->SetAutoDetect(theme.autoDetect);
    }
    for (QListWidget* list : {controls_.keyList, controls_.aliasList}) ui::SetListDrawing(list, theme.lists);
    ApplyColours(theme);
    controls_.coolBar->update();
    controls_.toolBar->update();
}

void Appearance::ApplyColours(const ui::ThemeRecord& theme)
{
    ui::SetBaseColour(controls_.keyList, ui::ToQColor(theme.keyList));
    ui::SetWindowColour(controls_.notebook, ui::ToQColor(theme.pageArea));
    ui::SetWindowColour(&window_, ui::ToQColor(theme.mainWindow));
    ui::SetWindowColour(controls_.coolBar, ui::ToQColor(theme.topStrip));
}

void Appearance::InstallCursors()
{
    settingCursors_ = true;
    for (QWidget* widget : window_.findChildren<QWidget*>()) ApplyCursorRule(widget);
    window_.setCursor(ui::ArrowCursor());
    settingCursors_ = false;
    // Controls that ask for the arrow or the hand later get the tool's too.
    qApp->installEventFilter(this);
}

void Appearance::ReplaceNamedCursor(QWidget* widget)
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

void Appearance::ApplyCursorRule(QWidget* widget)
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

bool Appearance::eventFilter(QObject* watched, QEvent* event)
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
