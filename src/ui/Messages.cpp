#include "ui/Messages.h"

#include "config/Errors.h"
#include "ui/Text.h"

#include <QAbstractButton>

namespace fenwake::ui {
namespace {

QString& Title()
{
    static QString title = QStringLiteral("Fenwake");
    return title;
}

} // namespace

const QString& ApplicationTitle() { return Title(); }

void SetApplicationTitle(const QString& title) { Title() = title; }

QMessageBox::StandardButton Ask(QWidget* owner, const QString& text, const QString& caption, QMessageBox::Icon icon,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

void ShowPlain(const QString& text) { Ask(nullptr, text, ApplicationTitle(), QMessageBox::NoIcon, QMessageBox::Ok); }

QString WithFullStop(const QString& text)
{
    if (!text.isEmpty() && text.back().unicode() > u'.') return text + u'.';
    return text;
}

void ShowError(const std::exception& error)
{
    Ask(nullptr, WithFullStop(ToQ(error.what())), ApplicationTitle(), QMessageBox::Critical, QMessageBox::Ok);
}

void RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const SilentAbort&) {
    } catch (const std::exception& e) {
        ShowError(e);
    }
}

} // namespace fenwake::ui
