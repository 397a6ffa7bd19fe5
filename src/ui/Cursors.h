#pragma once

#include <QCursor>
#include <QImage>

class QWidget;

// The tool's own arrow and hand cursors, drawn in code.
namespace fenwake::ui {

// 32 x 32: an arrow to the upper left, dark grey outline and shading, light
// face; hotspot column 1, row 0.
QImage ArrowCursorImage();
// 32 x 32, black and white: a pointing hand, index finger up; hotspot
// column 6, row 0 (the finger tip).
QImage HandCursorImage();

QCursor ArrowCursor();
QCursor HandCursor();

// Whether a widget shows one of the two.
bool IsToolArrow(const QCursor& cursor);
bool IsToolHand(const QCursor& cursor);

} // namespace fenwake::ui
