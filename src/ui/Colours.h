#pragma once

#include <QColor>
#include <QWidget>

namespace fenwake::ui {

// Background of a container (page, strip, window).
void SetWindowColour(QWidget* widget, const QColor& colour);

// Background of an input control (edit field, list, combo box field).
void SetBaseColour(QWidget* widget, const QColor& colour);

// Text colour of a label, button or input control.
void SetTextColour(QWidget* widget, const QColor& colour);

QColor BaseColour(const QWidget* widget);

// A group box's caption colour.
void SetCaptionColour(QWidget* groupBox, const QColor& colour);

} // namespace fenwake::ui
