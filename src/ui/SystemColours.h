#pragma once

#include "ui/ColourValue.h"

#include <QColor>

// System colours from the platform's palette, looked up each time they are
// asked for so that a change of the desktop's colours shows at the next paint.
namespace fenwake::ui {

Rgb SystemColour(int index);

Rgb ToRgb(const QColor& c);
QColor ToQColor(Rgb c);

// A design value as a colour to paint with.
QColor ToQColor(ColourValue c);

} // namespace fenwake::ui
