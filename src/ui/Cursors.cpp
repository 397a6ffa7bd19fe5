#include "ui/Cursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace fenwake::ui {
namespace {

constexpr QPoint kArrowHotspot(1, 0);
constexpr QPoint kHandHotspot(6, 0);

QImage Blank()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

bool SameImage(const QCursor& cursor, const QImage& image, QPoint hotspot)
{
    return cursor.shape() == Qt::BitmapCursor && cursor.hotSpot() == hotspot &&
           cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32) == image;
}

} // namespace

QImage ArrowCursorImage()
{
    QImage image = Blank();
    QPainter p(&image);
    // Pixel-exact edges: a cursor has no use for anti-aliasing.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPolygon outline({{1, 0}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF4, 0xF0));
    p.drawPolygon(outline);
    // Shading along the lower right of the face.
    p.setPen(QColor(0xA8, 0xA8, 0xA8));
    p.drawLine(3, 14, 5, 12);
    p.drawLine(6, 13, 8, 18);
    p.drawLine(7, 11, 10, 11);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawPolygon(outline);
    return image;
}

QImage HandCursorImage()
{
    QImage image = Blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The index finger (columns 4 to 8, tip in column 6), three folded
    // fingers to its right, the thumb to its left and the palm below.
    const QPolygon hand({{5, 0},  {7, 0},  {8, 1},  {8, 7},  {9, 6},   {11, 6},  {12, 7},  {13, 6},
                         {15, 6}, {16, 7}, {17, 7}, {18, 8}, {18, 15}, {16, 19}, {16, 22}, {6, 22},
                         {6, 19}, {1, 13}, {1, 11}, {2, 10}, {3, 10},  {4, 11},  {4, 1}});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(hand);
    // The folds between the fingers and the cuff.
    p.drawLine(12, 7, 12, 11);
    p.drawLine(16, 7, 16, 11);
    p.drawLine(8, 7, 8, 11);
    p.drawLine(7, 20, 15, 20);
    return image;
}

// Drawn once: start-up hands them to every control, and copies of one
// cursor share one pixmap and so one cursor of the window system.
QCursor ArrowCursor()
{
    static const QCursor cursor(QPixmap::fromImage(ArrowCursorImage()), kArrowHotspot.x(), kArrowHotspot.y());
    return cursor;
}

QCursor HandCursor()
{
    static const QCursor cursor(QPixmap::fromImage(HandCursorImage()), kHandHotspot.x(), kHandHotspot.y());
    return cursor;
}

bool IsToolArrow(const QCursor& cursor) { return SameImage(cursor, ArrowCursorImage(), kArrowHotspot); }

bool IsToolHand(const QCursor& cursor) { return SameImage(cursor, HandCursorImage(), kHandHotspot); }

} // namespace fenwake::ui
