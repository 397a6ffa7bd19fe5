// The main window's side of the configuration file safeguards: their
// messages and how they end the operation that called them.

#include "app/MainWindow.h"
#include "app/StartFolder.h"

#include "config/Errors.h"
#include "config/Safeguards.h"
#include "rules/Revert.h"
#include "ui/Messages.h"

namespace fenwake {

void MainWindow::CheckConfigFilesPresent()
{
    if (safeguards::MissingConfigFiles().empty()) return;
    ReportMissingConfigFiles(this);
    // The start-up goes on; the program ends once its window is up.
    terminateRequested_ = true;
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
