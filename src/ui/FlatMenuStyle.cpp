#include "ui/FlatMenuStyle.h"

#include "ui/FlatMenuPainter.h"
#include "ui/ItemPainters.h"
#include "ui/SystemColours.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace fenwake {

using ui::Rgb;

struct FlatMenuStyle::Shown {
    int depth;
    QColor operator()(Rgb c) const { return ui::ToQColor(ui::NearestDisplayColour(c, depth)); }
};

namespace {

// The flat frame: a one-pixel outline, the drop shadow two pixels wide.
constexpr int kFlatFrameWidth = 3;
constexpr int kIconSize = 16;

using Shown = FlatMenuStyle::Shown;

// An icon's picture with the transparent pixels marked: those with no alpha,
// or, for a picture without alpha, those of its bottom-left pixel's colour.
QImage IconImage(const QIcon& icon, QSize size)
{
    if (icon.isNull()) return {};
    const QPixmap pixmap = icon.pixmap(size, 1.0);
    if (pixmap.isNull()) return {};
    QImage image = pixmap.toImage();
    const bool hadAlpha = image.hasAlphaChannel();
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (!hadAlpha && image.height() > 0) {
        const QRgb key = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == key) image.setPixel(x, y, qRgba(0, 0, 0, 0));
    }
    return image;
}

// Every visible pixel of image recoloured by f, alpha kept.
template <class F>
QImage Recolour(const QImage& image, F f)
{
    QImage out = image;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb px = line[x];
            if (qAlpha(px) == 0) continue;
            const Rgb c = f(Rgb{static_cast<std::uint8_t>(qRed(px)), static_cast<std::uint8_t>(qGreen(px)),
                                static_cast<std::uint8_t>(qBlue(px))});
            line[x] = qRgba(c.r, c.g, c.b, qAlpha(px));
        }
    }
    return out;
}

enum class IconLook { Plain, Faded, Greyed, Raised };

// Draws an icon the painter's way at its place; a raised icon moves one
// pixel up and left over a shadow two pixels right and below it.
void DrawIcon(QPainter& p, const QImage& image, QPoint at, IconLook look, Rgb shadow, const Shown& shown)
{
    switch (look) {
    case IconLook::Plain:
        p.drawImage(at, image);
        break;
    case IconLook::Faded:
        p.drawImage(at, Recolour(image, [](Rgb c) { return ui::Lighten(c, 30); }));
        break;
    case IconLook::Greyed:
        p.drawImage(at, Recolour(image, [](Rgb c) { return ui::Grey(c, 90); }));
        break;
    case IconLook::Raised: {
        const QPoint raised = at - QPoint(1, 1);
        const Rgb dark = ui::ToRgb(shown(shadow));
        p.drawImage(raised + QPoint(2, 2), Recolour(image, [dark](Rgb) { return dark; }));
        p.drawImage(raised, image);
        break;
    }
    }
}

void Outline(QPainter& p, const QRect& r, const QColor& c)
{
    if (r.width() <= 0 || r.height() <= 0) return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void SplitCaption(const QString& text, QString& caption, QString& shortcut)
{
    const qsizetype tab = text.indexOf(u'\t');
    caption = tab < 0 ? text : text.left(tab);
    shortcut = tab < 0 ? QString() : text.mid(tab + 1);
}

// One menu item's measures, in pixels.
constexpr int kIconTop = 4;          // the icon below the item's top edge
constexpr int kWideIconInset = 2;    // an icon wider than its column, from the column's edge
constexpr int kGapAfterWideIcon = 4; // between such an icon and the caption
constexpr int kCheckBoxSize = 10;    // the check box of an item without an icon
// The check box around an icon, inside the icon column.
constexpr QMargins kCheckAroundIcon(1, 2, 3, 2);
constexpr int kCaptionIndent = 5;   // the caption after the icon column
constexpr int kShortcutMargin = 10; // the shortcut before the far edge
constexpr int kSeparatorIndent = 7; // the separator line after the icon column
constexpr int kSelectionInset = 1;  // the selection bar below and above the item's edges
// Shortcuts a shade lighter than their caption on a rich display.
constexpr int kShortcutDarken = -40;
constexpr int kRaisedShadowDarken = 50;
// The gradient lightens the icon column's colour column by column: faster
// over the icon column and a little beyond it, never past the lightest.
constexpr int kGradientStepOverColumn = 3;
constexpr int kGradientStep = 1;
constexpr int kGradientOverhang = 5;
constexpr int kGradientLightest = 96;

// The check marks: a rounded box around an icon, a dot inside the box of
// an item without one, and a tick of one-pixel strokes each a row below
// the last.
constexpr qreal kCheckCorner = 3;
constexpr qreal kRadioInset = 2;
constexpr QPoint kTickStart(2, 4);
constexpr QPoint kTickCorner(4, 6);
constexpr QPoint kTickEnd(8, 2);
constexpr int kTickThickness = 3;

// What one paint of a menu item works with.
struct ItemPaint {
    QPainter& p;
    const ui::FlatMenuPalette& pal;
    Shown shown;
    bool rich;
    bool rtl;
};

// Where a menu item's parts go.
struct ItemLayout {
    QRect item;
    QRect iconColumn;
    QRect text; // everything after the icon column
    QRect check;
};

ItemLayout LayOutItem(QRect r, bool rtl, int iconWidth, const QImage& image)
{
    r.setBottom(r.bottom() + 1);
    const QRect column = rtl ? QRect(r.right() - iconWidth + 1, r.top(), iconWidth, r.height())
                             : QRect(r.left(), r.top(), iconWidth, r.height());
    const int textStart = iconWidth < image.width() ? image.width() + kGapAfterWideIcon : iconWidth;
    const QRect text = rtl ? QRect(r.left(), r.top(), r.width() - textStart, r.height())
                           : QRect(r.left() + textStart, r.top(), r.width() - textStart, r.height());
    // QRect::center lies before the middle of an even size: one pixel less.
    const int half = kCheckBoxSize / 2 - 1;
    const QRect check = image.isNull()
                            ? QRect(column.center() - QPoint(half, half), QSize(kCheckBoxSize, kCheckBoxSize))
                            : column.marginsRemoved(kCheckAroundIcon);
    return {r, column, text, check};
}

void PaintGradient(const ItemPaint& paint, const QRect& r, int iconWidth)
{
    int lighten = 0;
    for (int x = r.left(); x <= r.right(); ++x) {
        const int fromEdge = paint.rtl ? r.right() - x : x - r.left();
        const bool overColumn = fromEdge > 0 && fromEdge < iconWidth + kGradientOverhang;
        lighten = std::min(lighten + (overColumn ? kGradientStepOverColumn : kGradientStep), kGradientLightest);
        paint.p.fillRect(QRect(x, r.top(), 1, r.height()), paint.shown(ui::Lighten(paint.pal.iconColumn, lighten)));
    }
}

void PaintPlainBackground(const ItemPaint& paint, const ItemLayout& at)
{
    paint.p.fillRect(at.item, paint.shown(paint.pal.menuBackground));
    paint.p.fillRect(at.iconColumn, paint.shown(paint.pal.iconColumn));
}

void PaintSelectionBar(const ItemPaint& paint, const QRect& r, bool flatMenu)
{
    // The flat frame's shadow side keeps its outline free.
    const QRect bar(r.left(), r.top() + kSelectionInset, r.width() - (flatMenu ? 1 : 0),
                    r.height() - 2 * kSelectionInset);
    paint.p.fillRect(bar, paint.shown(paint.pal.selection));
    Outline(paint.p, bar, paint.shown(paint.pal.selectionBorder));
}

void PaintSeparator(const ItemPaint& paint, const ItemLayout& at)
{
    const QRect& text = at.text;
    const int y = at.item.top() + ui::DivideRoundHalfEven(at.item.height() + 1, 2);
    const QRect line = paint.rtl ? QRect(text.left(), y, text.width() - kSeparatorIndent, 1)
                                 : QRect(text.left() + kSeparatorIndent, y, text.width() - kSeparatorIndent, 1);
    paint.p.fillRect(line, paint.shown(paint.pal.separator));
}

QPoint IconPlace(const ItemLayout& at, const QImage& image, bool rtl, int iconWidth)
{
    const QRect& column = at.iconColumn;
    int x = column.left() + (iconWidth - image.width()) / 2;
    if (image.width() > iconWidth)
        x = rtl ? column.right() - kWideIconInset - image.width() + 1 : column.left() + kWideIconInset;
    return {x, at.item.top() + kIconTop};
}

IconLook MenuIconLook(bool enabled, bool selected, bool checked, bool rich)
{
    if (!enabled) return IconLook::Greyed;
    if (selected && !checked) return IconLook::Raised;
    if (!checked && rich) return IconLook::Faded;
    return IconLook::Plain;
}

// The caption after the icon column and the shortcut at the far edge, both
// centred in the item's height.
void PaintCaption(const ItemPaint& paint, const QString& itemText, const ItemLayout& at, Rgb colour,
                  const QFontMetrics& fm)
{
    QRect text = at.text;
    if (paint.rtl)
        text.setRight(text.right() - kCaptionIndent);
    else
        text.setLeft(text.left() + kCaptionIndent);
    QString caption, shortcut;
    SplitCaption(itemText, caption, shortcut);
    const int top = text.top() + (text.height() - fm.height()) / 2;
    const QRect line(text.left(), top, text.width(), fm.height());
    paint.p.setPen(paint.shown(colour));
    paint.p.drawText(line, (paint.rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     QStringLiteral(" ") + caption);
    if (shortcut.isEmpty()) return;
    const QRect& r = at.item;
    paint.p.setPen(paint.shown(paint.rich ? ui::Darken(colour, kShortcutDarken) : colour));
    const QRect keys = paint.rtl ? QRect(r.left() + kShortcutMargin, top, r.width() - kShortcutMargin, fm.height())
                                 : QRect(r.left(), top, r.width() - kShortcutMargin, fm.height());
    paint.p.drawText(keys, (paint.rtl ? Qt::AlignLeft : Qt::AlignRight) | Qt::TextSingleLine,
                     paint.rtl ? QStringLiteral(" ") + shortcut : shortcut + QStringLiteral(" "));
}

} // namespace

int DisplayDepth(const QWidget* widget)
{
    if (widget) return widget->depth();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->depth();
    return 32;
}

void FlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                                  const QWidget* widget) const
{
    if (IsHookedMenu(widget)) {
        if (element == PE_PanelMenu) return PaintMenuBackground(option->rect, *p, widget);
        if (element == PE_FrameMenu && xp_.FlatMenu()) return PaintFlatFrame(option->rect, *p, widget);
    }
    QProxyStyle::drawPrimitive(element, option, p, widget);
}

void FlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* p,
                                const QWidget* widget) const
{
    if (IsHookedMenu(widget)) {
        if (element == CE_MenuItem) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                PaintMenuItem(*item, *p, static_cast<const QMenu*>(widget));
                // Menus opened from this one are painted the same way.
                xp_.HookSubMenus(static_cast<const QMenu*>(widget));
                return;
            }
        }
        if (element == CE_MenuEmptyArea) return PaintMenuBackground(option->rect, *p, widget);
    }
    QProxyStyle::drawControl(element, option, p, widget);
}

void FlatMenuStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                                       const QWidget* widget) const
{
    if (control == CC_ToolButton && qobject_cast<const QToolButton*>(widget) && xp_.Paints(widget)) {
        if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option))
            return PaintToolButton(*button, *p, static_cast<const QToolButton*>(widget));
    }
    QProxyStyle::drawComplexControl(control, option, p, widget);
}

int FlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (IsHookedMenu(widget)) {
        switch (metric) {
        case PM_MenuPanelWidth:
            if (xp_.FlatMenu()) return kFlatFrameWidth;
            break;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 0;
        case PM_SmallIconSize:
            return kIconSize;
        default:
            break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize FlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const
{
    if (type == CT_MenuItem && IsHookedMenu(widget)) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QSize measured = MeasureItem(*item, size);
            // The menu adds the widest shortcut to every item itself;
            // what the measure counted for this item's comes off again.
            QString caption, shortcut;
            SplitCaption(item->text, caption, shortcut);
            if (!shortcut.isEmpty())
                measured.setWidth(
                    std::max(size.width(), measured.width() - widget->fontMetrics().horizontalAdvance(shortcut)));
            return measured;
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

QSize FlatMenuStyle::MeasureItem(const QStyleOptionMenuItem& item, QSize proposed) const
{
    const QFontMetrics fm(xp_.PaintFont());
    const bool separator = item.menuItemType == QStyleOptionMenuItem::Separator;
    QString caption, shortcut;
    SplitCaption(item.text, caption, shortcut);
    QString text = separator ? QString() : caption;
    if (!separator && !shortcut.isEmpty()) text += shortcut + QStringLiteral("WWW");

    const QImage image = IconImage(item.icon, QSize(kIconSize, kIconSize));
    const int iconWidth = std::max(image.width(), xp_.IconWidth());
    int width = fm.horizontalAdvance(text) + iconWidth + 10;
    if (text.contains(u'&')) width -= fm.horizontalAdvance(u'&');
    if (separator) return {std::max(proposed.width(), width), 4};

    const int textHeight = fm.height();
    const int height = std::max(textHeight + ui::DivideRoundHalfEven(3 * textHeight, 4), image.height() + 4);
    return {std::max(proposed.width(), width), std::max(proposed.height(), height)};
}

void FlatMenuStyle::PaintToolBarSeparator(QWidget& separator) const
{
    const ui::FlatMenuPalette pal = xp_.WorkingPalette(&separator);
    const Shown shown{DisplayDepth(&separator)};
    QPainter p(&separator);
    const QWidget* bar = separator.parentWidget();
    if (bar->autoFillBackground() || qobject_cast<const QToolBar*>(bar))
        p.fillRect(separator.rect(), shown(pal.toolBarBackground));
    if (ui::Tag(&separator) > 0) {
        const QRect r = separator.rect();
        p.fillRect(QRect(r.center().x(), r.top() + 2, 1, r.height() - 3), shown(pal.disabledText));
    }
}

bool FlatMenuStyle::IsHookedMenu(const QWidget* widget) const
{
    return qobject_cast<const QMenu*>(widget) && xp_.Paints(widget);
}

QRect FlatMenuStyle::IconStrip(const QRect& menuRect, const QWidget* widget) const
{
    const int fw = pixelMetric(PM_MenuPanelWidth, nullptr, widget);
    const int iw = xp_.IconWidth();
    if (widget->layoutDirection() == Qt::RightToLeft)
        return QRect(menuRect.right() - fw - iw + 1, menuRect.top(), iw, menuRect.height());
    return QRect(menuRect.left() + fw, menuRect.top(), iw, menuRect.height());
}

void FlatMenuStyle::PaintMenuBackground(const QRect& r, QPainter& p, const QWidget* widget) const
{
    const ui::FlatMenuPalette pal = xp_.WorkingPalette(widget);
    const Shown shown{DisplayDepth(widget)};
    p.fillRect(r, shown(pal.menuBackground));
    if (!xp_.Gradient()) p.fillRect(IconStrip(widget->rect(), widget).intersected(r), shown(pal.iconColumn));
}

void FlatMenuStyle::PaintFlatFrame(const QRect& menu, QPainter& p, const QWidget* widget) const
{
    const ui::FlatMenuPalette pal = xp_.WorkingPalette(widget);
    const Shown shown{DisplayDepth(widget)};
    const int w = menu.width();
    const int h = menu.height();
    const QPoint o = menu.topLeft();
    auto fill = [&](int x, int y, int width, int height, Rgb c) {
        if (width > 0 && height > 0) p.fillRect(QRect(o.x() + x, o.y() + y, width, height), shown(c));
    };
    const bool rtl = widget->layoutDirection() == Qt::RightToLeft;
    if (!xp_.Gradient()) {
        // The strip between the outline and the items, with the icon
        // column carried on through it.
        fill(1, 1, w - 4, h - 4, pal.menuBackground);
        const QRect strip = IconStrip(QRect(0, 0, w, h), widget);
        if (rtl) {
            fill(strip.left(), 1, w - 3 - strip.left(), h - 4, pal.iconColumn);
        } else {
            fill(1, 1, strip.right(), h - 4, pal.iconColumn);
        }
    } else {
        fill(1, 1, 1, h - 4, pal.iconColumn);
    }
    Outline(p, QRect(o.x(), o.y(), w - 2, h - 2), shown(pal.frameShadow));
    fill(2, h - 2, w - 2, 2, pal.frameShadow2);
    fill(w - 2, 2, 2, h - 2, pal.frameShadow2);
    fill(0, h - 2, 2, 2, pal.iconColumn);
    fill(w - 2, 0, 2, 2, pal.iconColumn);
}

void FlatMenuStyle::PaintMenuItem(const QStyleOptionMenuItem& item, QPainter& p, const QMenu* menu) const
{
    const ui::FlatMenuPalette pal = xp_.WorkingPalette(menu);
    const int depth = DisplayDepth(menu);
    const ItemPaint paint{p, pal, Shown{depth}, ui::IsRichColour(depth), item.direction == Qt::RightToLeft};
    const bool selected = item.state & State_Selected;
    const bool enabled = item.state & State_Enabled;
    const bool separator = item.menuItemType == QStyleOptionMenuItem::Separator;
    const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    const int iconWidth = xp_.IconWidth();
    const QImage image = IconImage(item.icon, QSize(kIconSize, kIconSize));
    const ItemLayout at = LayOutItem(item.rect, paint.rtl, iconWidth, image);
    const QFont font = xp_.PaintFont();
    p.save();
    p.setFont(font);

    // A disabled item under the highlight looks as it did before.
    if (xp_.Gradient() && paint.rich)
        PaintGradient(paint, at.item, iconWidth);
    else
        PaintPlainBackground(paint, at);

    if (separator) {
        PaintSeparator(paint, at);
    } else {
        if (selected && enabled && xp_.DrawSelect()) PaintSelectionBar(paint, at.item, xp_.FlatMenu());
        if (checked) PaintCheck(item, p, pal, paint.shown, at.check, !image.isNull(), selected);
        if (!image.isNull())
            DrawIcon(p, image, IconPlace(at, image, paint.rtl, iconWidth),
                     MenuIconLook(enabled, selected, checked, paint.rich),
                     ui::Darken(pal.selection, kRaisedShadowDarken), paint.shown);
        Rgb colour = pal.text;
        if (selected) colour = pal.selectionText;
        if (!enabled) colour = pal.disabledText;
        PaintCaption(paint, item.text, at, colour, QFontMetrics(font));
    }
    p.restore();
}

void FlatMenuStyle::PaintCheck(const QStyleOptionMenuItem& item, QPainter& p, const ui::FlatMenuPalette& pal,
                               const Shown& shown, const QRect& box, bool hasImage, bool selected) const
{
    const QColor fill = shown(selected ? pal.selectionMedium : pal.selectionLight);
    p.save();
    if (item.checkType == QStyleOptionMenuItem::Exclusive) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(shown(pal.selectionBorder));
        p.setBrush(fill);
        // Antialiased one-pixel outlines run through the pixels' centres.
        const qreal inset = 0.5 + (hasImage ? 0 : kRadioInset);
        const QRectF shape = QRectF(box).adjusted(inset, inset, -inset, -inset);
        if (hasImage)
            p.drawRoundedRect(shape, kCheckCorner, kCheckCorner);
        else
            p.drawEllipse(shape);
    } else {
        p.fillRect(box, fill);
        Outline(p, box, shown(hasImage ? pal.selectionBorder : pal.checked));
        if (!hasImage) {
            // A tick from the lower left up to the right.
            p.setPen(QPen(Qt::black, 1));
            const QPoint o = box.topLeft();
            for (int i = 0; i < kTickThickness; ++i) {
                const QPoint down(0, i);
                p.drawLine(o + kTickStart + down, o + kTickCorner + down);
                p.drawLine(o + kTickCorner + down, o + kTickEnd + down);
            }
        }
    }
    p.restore();
}

void FlatMenuStyle::PaintToolButton(const QStyleOptionToolButton& button, QPainter& p, const QToolButton* widget) const
{
    const ui::FlatMenuPalette pal = xp_.WorkingPalette(widget);
    const int depth = DisplayDepth(widget);
    const Shown shown{depth};
    const QRect r = button.rect;
    const QWidget* bar = widget->parentWidget();
    const bool transparent = bar && !bar->autoFillBackground() && !qobject_cast<const QToolBar*>(bar);
    const bool enabled = button.state & State_Enabled;
    const bool hot = enabled && (button.state & State_MouseOver);
    const bool checked = button.state & State_On;
    const bool down = button.state & State_Sunken;
    const bool indeterminate = button.state & State_NoChange;

    if (!transparent) p.fillRect(r, shown(pal.toolBarBackground));
    const QRect area(r.left(), r.top() + 1, r.width(), r.height() - 1);
    auto paint = [&](Rgb c, bool framed) {
        p.fillRect(area, shown(c));
        if (framed) Outline(p, area, shown(pal.selectionBorder));
    };
    if (hot && (checked || down))
        paint(pal.selectionMedium, true);
    else if (hot)
        paint(pal.hot, true);
    else if (checked)
        paint(pal.selectionLight, true);
    else if (indeterminate)
        paint(pal.hot, false);

    const bool captions = button.toolButtonStyle != Qt::ToolButtonIconOnly && !button.text.isEmpty();
    const QFont font = xp_.PaintFont();
    const QFontMetrics fm(font);
    const QImage image = button.toolButtonStyle == Qt::ToolButtonTextOnly
                             ? QImage()
                             : IconImage(button.icon, button.iconSize.isValid() ? button.iconSize : QSize(16, 16));
    if (!image.isNull()) {
        QPoint at(r.left() + (r.width() - image.width()) / 2, r.top() + 2);
        if (captions && button.toolButtonStyle == Qt::ToolButtonTextBesideIcon)
            at = QPoint(r.left() + 3, r.top() + (r.height() - image.height()) / 2);
        IconLook look = IconLook::Faded;
        if (!enabled)
            look = IconLook::Greyed;
        else if (hot && !down)
            look = IconLook::Raised;
        else if (hot || !ui::IsRichColour(depth))
            look = IconLook::Plain;
        DrawIcon(p, image, at, look, ui::Darken(pal.hot, 50), shown);
    }
    if (captions) {
        Rgb colour = down ? pal.selectionText : pal.text;
        if (!enabled) colour = pal.disabledText;
        p.save();
        p.setFont(font);
        p.setPen(shown(colour));
        QRect band(r.left(), r.bottom() - (fm.height() + 3) + 1, r.width(), fm.height() + 3);
        if (!image.isNull() && button.toolButtonStyle == Qt::ToolButtonTextBesideIcon)
            band = QRect(r.left() + image.width() + 5, r.top(), r.width() - image.width() - 5, r.height());
        p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, button.text);
        p.restore();
    }
}

} // namespace fenwake
