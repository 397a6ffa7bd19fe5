#pragma once

#include "ui/ColourValue.h"
#include "ui/XPMenuPalette.h"

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

class TXPMenuStyle;

// Paints its owner window's pop-up menus and tool bar buttons flat: a menu
// background with an icon column, a filled selection bar with a border,
// coloured separators, faded and shadowed icons and a frame with a drop
// shadow. While it is not active the platform draws them.
//
// A menu or tool button is taken over by giving it the painter's style; one
// that already has a style of its own keeps it unless OverrideOwnerDraw is on.
// A tool bar is a QToolBar or a widget whose "ToolBar" property is true.
// Colours are design values (0x00BBGGRR, or system colours).
class TXPMenu : public QObject {
    Q_OBJECT
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(quint32 IconBackColor READ IconBackColor WRITE SetIconBackColor)
    Q_PROPERTY(quint32 MenuBarColor READ MenuBarColor WRITE SetMenuBarColor)
    Q_PROPERTY(quint32 SelectColor READ SelectColor WRITE SetSelectColor)
    Q_PROPERTY(quint32 SelectBorderColor READ SelectBorderColor WRITE SetSelectBorderColor)
    Q_PROPERTY(quint32 SelectFontColor READ SelectFontColor WRITE SetSelectFontColor)
    Q_PROPERTY(quint32 DisabledColor READ DisabledColor WRITE SetDisabledColor)
    Q_PROPERTY(quint32 SeparatorColor READ SeparatorColor WRITE SetSeparatorColor)
    Q_PROPERTY(quint32 CheckedColor READ CheckedColor WRITE SetCheckedColor)
    Q_PROPERTY(int IconWidth READ IconWidth WRITE SetIconWidth)
    Q_PROPERTY(bool DrawSelect READ DrawSelect WRITE SetDrawSelect)
    Q_PROPERTY(bool UseSystemColors READ UseSystemColors WRITE SetUseSystemColors)
    Q_PROPERTY(bool OverrideOwnerDraw READ OverrideOwnerDraw WRITE SetOverrideOwnerDraw)
    Q_PROPERTY(bool Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE SetFlatMenu)
    Q_PROPERTY(bool AutoDetect READ AutoDetect WRITE SetAutoDetect)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
public:
    explicit TXPMenu(QWidget* owner);
    ~TXPMenu() override;

    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    ui::TColor FontColor() const { return colours_.font; }
    void SetFontColor(ui::TColor c) { colours_.font = c; }
    ui::TColor Color() const { return colours_.color; }
    void SetColor(ui::TColor c) { colours_.color = c; }
    ui::TColor IconBackColor() const { return colours_.iconBack; }
    void SetIconBackColor(ui::TColor c) { colours_.iconBack = c; }
    ui::TColor MenuBarColor() const { return colours_.menuBar; }
    void SetMenuBarColor(ui::TColor c);
    ui::TColor SelectColor() const { return colours_.select; }
    void SetSelectColor(ui::TColor c) { colours_.select = c; }
    ui::TColor SelectBorderColor() const { return colours_.selectBorder; }
    void SetSelectBorderColor(ui::TColor c) { colours_.selectBorder = c; }
    ui::TColor SelectFontColor() const { return colours_.selectFont; }
    void SetSelectFontColor(ui::TColor c) { colours_.selectFont = c; }
    ui::TColor DisabledColor() const { return colours_.disabled; }
    void SetDisabledColor(ui::TColor c) { colours_.disabled = c; }
    ui::TColor SeparatorColor() const { return colours_.separator; }
    void SetSeparatorColor(ui::TColor c) { colours_.separator = c; }
    ui::TColor CheckedColor() const { return colours_.checked; }
    void SetCheckedColor(ui::TColor c) { colours_.checked = c; }
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
    ui::XPMenuPalette WorkingPalette(const QWidget* target) const;
    // The font items and captions are drawn in.
    QFont PaintFont() const;

    // The size of one menu item: the caption (with its shortcut and "WWW"
    // after it) in the painter's font, the icon column and room around
    // them, never smaller than proposed except a separator's 4-pixel height.
    QSize MeasureItem(const QStyleOptionMenuItem& item, QSize proposed) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TXPMenuStyle;

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
    std::unique_ptr<TXPMenuStyle> style_;
    QList<QPointer<QWidget>> hooked_;
    QList<QPointer<QObject>> inserted_;
    bool insertionPending_ = false;

    QFont font_;
    ui::XPMenuColours colours_;
    int iconWidth_ = 24;
    bool drawSelect_ = true;
    bool overrideOwnerDraw_ = false;
    bool gradient_ = false;
    bool flatMenu_ = false;
    bool autoDetect_ = false;
    bool active_ = false;
};

} // namespace fenwake
