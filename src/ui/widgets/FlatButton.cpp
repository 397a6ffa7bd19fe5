#include "ui/widgets/FlatButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace fenwake::ui {

FlatButton::FlatButton(const QIcon& icon, const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    setIcon(icon);
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool down = isDown();
    if (down || (underMouse() && isEnabled())) qDrawShadePanel(&p, rect(), palette(), down, 1);
    const int shift = down ? 1 : 0;
    const QRect iconRect(4 + shift, (height() - 16) / 2 + shift, 16, 16);
    icon().paint(&p, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(QRect(iconRect.right() + 5, shift, width() - iconRect.right() - 5, height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

// The frame follows the pointer.
void FlatButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    update();
}

void FlatButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    update();
}

} // namespace fenwake::ui
