// The main window's side of the configuration file safeguards: their
// messages and how they end the operation that called them.

#include "app/MainWindow.h"

#include "config/Errors.h"
#include "config/Safeguards.h"
#include "rules/Revert.h"
#include "ui/Messages.h"
#include "ui/Text.h"

namespace fenwake {

void MainWindow::CheckConfigFilesPresent()
{
    const auto missing = safeguards::MissingConfigFiles();
    for (std::string_view name : missing) {
        ui::Ask(this, QStringLiteral("\"") + ui::ToQ(name) + QStringLiteral("\" file not found! Click OK to exit."),
                QStringLiteral("Configuration file not found"), QMessageBox::Critical, QMessageBox::Ok);
    }
    // The start-up goes on; the program ends once its window is up.
    if (!missing.empty()) terminateRequested_ = true;
}

void MainWindow::TakeFirstRunBackups()
{
    if (safeguards::TakeBackupsOnce() != safeguards::BackupResult::Failed) return;
    ui::Ask(nullptr, QStringLiteral("Unable to create backup copies of configuration files! :D"),
            QStringLiteral("ERROR! :D"), QMessageBox::Critical, QMessageBox::Ok);
    throw SilentAbort{};
}

void MainWindow::RestoreBackups()
{
    if (history::RestoreBackups(WindowRecorder())) return;
    ui::Ask(this, QStringLiteral("Unable to restore backup copies of configuration files!"), QStringLiteral("ERROR"),
            QMessageBox::Critical, QMessageBox::Ok);
    throw SilentAbort{};
}

} // namespace fenwake
