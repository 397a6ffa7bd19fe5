#pragma once

#include "ui/ColourValue.h"
#include "ui/FlatMenuPalette.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <memory>

class QMenu;
class QStyle;
class QStyleOptionMenuItem;
class QWidget;

namespace fenwake {

class FlatMenuStyle;

// Paints its owner window's pop-up menus and tool bar buttons flat: a menu
// background with an icon column, a filled selection bar with a border,
// coloured separators, faded and shadowed icons and a frame with a drop
// shadow. While it is not active the platform draws them.
//
// A menu or tool button is taken over by giving it the painter's style; one
// that already has a style of its own keeps it unless OverrideOwnerDraw is on.
// A tool bar is a QToolBar or a widget whose "ToolBar" property is true.
// Colours are design values (0x00BBGGRR, or system colours).
class FlatMenuPainter : public QObject {
    Q_OBJECT
public:
    explicit FlatMenuPainter(QWidget* owner);
    ~FlatMenuPainter() override;

    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    ui::ColourValue FontColor() const { return colours_.font; }
    void SetFontColor(ui::ColourValue c) { colours_.font = c; }
    ui::ColourValue Color() const { return colours_.color; }
    void SetColor(ui::ColourValue c) { colours_.color = c; }
    ui::ColourValue IconBackColor() const { return colours_.iconBack; }
    void SetIconBackColor(ui::ColourValue c) { colours_.iconBack = c; }
    ui::ColourValue MenuBarColor() const { return colours_.menuBar; }
    void SetMenuBarColor(ui::ColourValue c);
    ui::ColourValue SelectColor() const { return colours_.select; }
    void SetSelectColor(ui::ColourValue c) { colours_.select = c; }
    ui::ColourValue SelectBorderColor() const { return colours_.selectBorder; }
    void SetSelectBorderColor(ui::ColourValue c) { colours_.selectBorder = c; }
    ui::ColourValue SelectFontColor() const { return colours_.selectFont; }
    void SetSelectFontColor(ui::ColourValue c) { colours_.selectFont = c; }
    ui::ColourValue DisabledColor() const { return colours_.disabled; }
    void SetDisabledColor(ui::ColourValue c) { colours_.disabled = c; }
    ui::ColourValue SeparatorColor() const { return colours_.separator; }
    void SetSeparatorColor(ui::ColourValue c) { colours_.separator = c; }
    ui::ColourValue CheckedColor() const { return colours_.checked; }
    void SetCheckedColor(ui::ColourValue c) { colours_.checked = c; }
    int IconWidth() const { return iconWidth_; }
    void SetIconWidth(int pixels) { iconWidth_ = pixels; }
    bool DrawSelect() const { return drawSelect_; }
    void SetDrawSelect(bool on) { drawSelect_ = on; }
    bool UseSystemColors() const { return colours_.useSystemColors; }
    void SetUseSystemColors(bool on);
    bool OverrideOwnerDraw() const { return overrideOwnerDraw_; }
    void SetOverrideOwnerDraw(bool on);
    bool Gradient() const { return gradient_; }
    void SetGradient(bool on) { gradient_ = on; }
    bool FlatMenu() const { return flatMenu_; }
    void SetFlatMenu(bool on) { flatMenu_ = on; }
    bool AutoDetect() const { return autoDetect_; }
    void SetAutoDetect(bool on) { autoDetect_ = on; }
    bool Active() const { return active_; }
    // Releases every hook, installs them afresh when switching on, then redraws.
    void SetActive(bool on);

    // The menu or tool button is painted by this painter now.
    bool Paints(const QWidget* widget) const;
    // The style that hooked menus and tool buttons are given.
    QStyle* Style() const;
    // The working colours for one paint on target's display.
    ui::FlatMenuPalette WorkingPalette(const QWidget* target) const;
    // The font items and captions are drawn in.
    QFont PaintFont() const;

    // The size of one menu item: the caption (with its shortcut and "WWW"
    // after it) in the painter's font, the icon column and room around
    // them, never smaller than proposed except a separator's 4-pixel height.
    QSize MeasureItem(const QStyleOptionMenuItem& item, QSize proposed) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FlatMenuStyle;

    void Hook(bool on);
    void HookMenu(QMenu* menu, bool on);
    void HookToolBar(QWidget* bar, bool on);
    void HookWidget(QWidget* widget, bool on);
    void HookSubMenus(const QMenu* menu);
    void Watch(QObject* object);
    void NoticeInsertion(QObject* object);
    void RedrawMenuBar();
    static bool IsToolBar(const QObject* object);

    QWidget* owner_;
    std::unique_ptr<FlatMenuStyle> style_;
    QList<QPointer<QWidget>> hooked_;
    QList<QPointer<QObject>> inserted_;
    bool insertionPending_ = false;

    QFont font_;
    ui::FlatMenuColours colours_;
    int iconWidth_ = 24;
    bool drawSelect_ = true;
    bool overrideOwnerDraw_ = false;
    bool gradient_ = false;
    bool flatMenu_ = false;
    bool autoDetect_ = false;
    bool active_ = false;
};

} // namespace fenwake
