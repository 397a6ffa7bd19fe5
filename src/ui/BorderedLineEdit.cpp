#include "ui/BorderedLineEdit.h"

#include <QPainter>

namespace fenwake {

BorderedLineEdit::BorderedLineEdit(QWidget* parent) : QLineEdit(parent), borderColor_(Qt::black)
{
    // The field covers its whole area itself, the border rings included.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BorderedLineEdit::SetBorderColor(const QColor& colour)
{
    if (colour == borderColor_) return;
    borderColor_ = colour;
    update();
}

void BorderedLineEdit::paintEvent(QPaintEvent* event)
{
    {
        // The platform's edge may leave corner pixels unpainted; nothing
        // behind an opaque widget is drawn for them.
        QPainter under(this);
        under.fillRect(rect(), palette().brush(QPalette::Base));
    }
    QLineEdit::paintEvent(event);
    QPainter p(this);
    const QRect all = rect();
    // The outer ring, then the one inside it: together they hide the
    // platform's two-pixel edge, rounded corners included.
    for (int ring = 0; ring < 2; ++ring) {
        const QRect r = all.adjusted(ring, ring, -ring, -ring);
        if (r.width() <= 0 || r.height() <= 0) break;
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), borderColor_);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), borderColor_);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), borderColor_);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), borderColor_);
    }
}

} // namespace fenwake
