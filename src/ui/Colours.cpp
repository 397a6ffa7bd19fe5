#include "ui/Colours.h"

#include <QPalette>

namespace fenwake::ui {

void SetWindowColour(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetBaseColour(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) p.setColor(role, colour);
    widget->setPalette(p);
}

QColor BaseColour(const QWidget* widget) { return widget->palette().color(QPalette::Base); }

void SetCaptionColour(QWidget* groupBox, const QColor& colour)
{
    QPalette p = groupBox->palette();
    p.setColor(QPalette::WindowText, colour);
    groupBox->setPalette(p);
}

} // namespace fenwake::ui
