#include "ui/widgets/CaptionOnFrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace fenwake::ui {

QStyle* CaptionOnFrameStyle::Shared()
{
    static CaptionOnFrameStyle* style = [] {
        auto* s = new CaptionOnFrameStyle;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

void CaptionOnFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                                             const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, p, widget);
        return;
    }
    const QFontMetrics& metrics = box->fontMetrics;
    const bool captioned = !box->text.isEmpty();
    const QRect frame = box->rect.adjusted(0, captioned ? metrics.height() / 2 : 0, 0, 0);
    const QRect caption(8, 0, metrics.horizontalAdvance(box->text), metrics.height());
    p->save();
    if (captioned) p->setClipRegion(QRegion(box->rect) - QRegion(caption));
    qDrawShadeRect(p, frame, box->palette, true, 1, 0);
    p->restore();
    if (captioned) {
        p->save();
        p->setPen(box->palette.color(QPalette::WindowText));
        p->drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, box->text);
        p->restore();
    }
}

} // namespace fenwake::ui
