#pragma once

#include "ui/Colours.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>

#include <optional>

namespace fenwake::ui {

// A named plain-text label at a fixed place, sized to its text; without a
// font or colour it takes its parent's. What follows goes to the label's
// constructor.
template <class Label = QLabel, class... Extra>
Label* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                 const std::optional<QFont>& font = std::nullopt, const std::optional<QColor>& colour = std::nullopt,
                 Extra... extra)
{
    auto* label = new Label(text, parent, extra...);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    if (font) label->setFont(*font);
    if (colour) SetTextColour(label, *colour);
    label->move(at);
    label->adjustSize();
    return label;
}

// A named push button of the pages, at a fixed place: the window's font,
// black text while enabled, the hand cursor, and no default-button role on Return.
inline QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect at)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(at);
    button->setFont(Tahoma());
    // Black while it can be pressed; greyed as ever while it cannot.
    QPalette palette = button->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

// For a widget's destructor: its children go after it, and the focus moves
// while they go; neither their signals nor the application's may reach the
// half-destroyed widget.
inline void DisconnectFromChildren(QWidget* widget)
{
    QObject::disconnect(qApp, nullptr, widget, nullptr);
    for (QObject* child : widget->findChildren<QObject*>()) QObject::disconnect(child, nullptr, widget, nullptr);
}

} // namespace fenwake::ui
