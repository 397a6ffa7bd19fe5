#pragma once

#include <QMessageBox>
#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace fenwake::ui {

// The process-wide title: the caption of the main window, of plain message
// boxes and of the standard error display.
const QString& ApplicationTitle();
void SetApplicationTitle(const QString& title);

// A modal message box with exactly the caption, text, icon, buttons and
// default button given. Returns the button the user chose (Escape or the
// close box gives the escape button Qt picks, or NoButton).
QMessageBox::StandardButton Ask(QWidget* owner, const QString& text, const QString& caption, QMessageBox::Icon icon,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Text, no icon, OK, under the application title.
void ShowPlain(const QString& text);

// The error's text with the full-stop rule: a full stop is added when the
// text is not empty and its last character's code is above that of '.'.
QString WithFullStop(const QString& text);

// The standard error display.
void ShowError(const std::exception& error);

// Runs an event handler, showing a raised error with the standard error
// display; a silent abort ends it without a message.
void RunHandler(const std::function<void()>& handler);

// Wraps a handler for QObject::connect so its errors reach the display.
template <class F>
auto Guard(F handler)
{
    return [handler = std::move(handler)]() { RunHandler(handler); };
}

} // namespace fenwake::ui
