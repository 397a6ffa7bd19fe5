#pragma once

#include "ui/FlatMenuPalette.h"

#include <QProxyStyle>

class QMenu;
class QStyleOptionMenuItem;
class QStyleOptionToolButton;
class QToolButton;

namespace fenwake {

class FlatMenuPainter;

// The colour depth a widget is shown at, or the screen's without one.
int DisplayDepth(const QWidget* widget);

// What the menus and tool buttons that FlatMenuPainter hooks are painted by, in
// its colours and font; everything else goes to the platform's style.
class FlatMenuStyle : public QProxyStyle {
public:
    FlatMenuStyle(FlatMenuPainter& painter, QStyle* base) : QProxyStyle(base), xp_(painter) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* p,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                            const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

    // See FlatMenuPainter::MeasureItem.
    QSize MeasureItem(const QStyleOptionMenuItem& item, QSize proposed) const;
    // A hooked tool bar's separator: the bar's colour, and a line when its
    // tag is positive.
    void PaintToolBarSeparator(QWidget& separator) const;

    // One colour as the display shows it.
    struct Shown;

private:
    bool IsHookedMenu(const QWidget* widget) const;
    QRect IconStrip(const QRect& menuRect, const QWidget* widget) const;
    void PaintMenuBackground(const QRect& r, QPainter& p, const QWidget* widget) const;
    void PaintFlatFrame(const QRect& menu, QPainter& p, const QWidget* widget) const;
    void PaintMenuItem(const QStyleOptionMenuItem& item, QPainter& p, const QMenu* menu) const;
    void PaintCheck(const QStyleOptionMenuItem& item, QPainter& p, const ui::FlatMenuPalette& pal, const Shown& shown,
                    const QRect& box, bool hasImage, bool selected) const;
    void PaintToolButton(const QStyleOptionToolButton& button, QPainter& p, const QToolButton* widget) const;

    FlatMenuPainter& xp_;
};

} // namespace fenwake
