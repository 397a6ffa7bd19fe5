#include "ui/Icons.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace fenwake::ui {
namespace {

QPixmap Draw(const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

void Page(QPainter& p, QRectF r, const QColor& fill)
{
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
    p.setBrush(fill);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x90, 0x90, 0xA8), 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

} // namespace

QIcon EditIcon(int index)
{
    switch (index) {
    case 0: // paste: a clipboard with a sheet on it
        return QIcon(Draw([](QPainter& p) {
            p.setPen(QPen(QColor(0x6B, 0x45, 0x1E), 1));
            p.setBrush(QColor(0xC8, 0x96, 0x4B));
            p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
            p.setBrush(QColor(0x9A, 0x9A, 0x9A));
            p.drawRect(QRectF(4.5, 1.5, 4, 3));
            Page(p, QRectF(6.5, 6.5, 8, 8), Qt::white);
        }));
    case 1: // copy: two sheets
        return QIcon(Draw([](QPainter& p) {
            Page(p, QRectF(1.5, 1.5, 8, 10), Qt::white);
            Page(p, QRectF(6.5, 4.5, 8, 10), QColor(0xF4, 0xF8, 0xFF));
        }));
    case 2: // cut: scissors
        return QIcon(Draw([](QPainter& p) {
            p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.4));
            p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
            p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
            p.setPen(QPen(QColor(0xC0, 0x10, 0x10), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
            p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
        }));
    default: // undo: a curved arrow pointing back
        return QIcon(Draw([](QPainter& p) {
            p.setPen(QPen(QColor(0x1E, 0x50, 0xB4), 2.0, Qt::SolidLine, Qt::RoundCap));
            QPainterPath arc;
            arc.moveTo(4, 7);
            arc.cubicTo(7, 3, 14, 4, 13, 10);
            arc.cubicTo(12.5, 12.5, 10, 14, 7.5, 14);
            p.drawPath(arc);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x1E, 0x50, 0xB4));
            p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(7, 3.5), QPointF(3.5, 10)}));
        }));
    }
}

QIcon CloseIcon()
{
    return QIcon(Draw([](QPainter& p) {
        p.setPen(QPen(QColor(0x80, 0x10, 0x10), 1));
        p.setBrush(QColor(0xE0, 0x40, 0x30));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
    }));
}

QPixmap SearchIcon()
{
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6));
        p.setBrush(QColor(0xCF, 0xE6, 0xFF));
        p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        p.setPen(QPen(QColor(0x60, 0x40, 0x20), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    });
}

QPixmap WarningIcon()
{
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
        p.setBrush(QColor(0xFF, 0xD8, 0x20));
        p.drawPolygon(QPolygonF({QPointF(8, 1.5), QPointF(15, 14.5), QPointF(1, 14.5)}));
        p.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 5.5), QPointF(8, 10));
        p.drawPoint(QPointF(8, 12.5));
    });
}

QIcon AddIcon()
{
    return QIcon(Draw([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x00, 0x90, 0x60));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    }));
}

QIcon RemoveIcon()
{
    return QIcon(Draw([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xB0, 0x20, 0x20));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    }));
}

QIcon SaveIcon()
{
    return QIcon(Draw([](QPainter& p) {
        p.setPen(QPen(QColor(0x10, 0x20, 0x60), 1));
        p.setBrush(QColor(0x30, 0x50, 0xB0));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0xD0, 0xD0, 0xD0));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    }));
}

} // namespace fenwake::ui
