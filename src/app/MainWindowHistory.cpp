// The main window's side of the history of changes and of the check for a
// running game: their messages, and the pages' recorder.

#include "app/MainWindow.h"

#include "app/Appearance.h"
#include "app/StartFolder.h"

#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "config/Safeguards.h"
#include "pages/GraphicsPage.h"
#include "pages/HistoryPage.h"
#include "pages/KeyAliasesPage.h"
#include "pages/KeyBindingsPage.h"
#include "pages/PlayerPage.h"
#include "rules/Revert.h"
#include "ui/Messages.h"
#include "ui/Text.h"

#include <filesystem>

namespace fenwake {

history::Recorder MainWindow::WindowRecorder()
{
    if (!historyOpened_) {
        history_ = history::OpenFor(std::filesystem::current_path());
        historyOpened_ = true;
    }
    return history::Recorder(
        history_, history::Origin::Window, [this](const std::string& message) { TellHistoryTrouble(message); },
        [this] { AfterSave(); });
}

void MainWindow::WarnGameRunning()
{
    if (!gameWatch_.Running()) return;
    ui::Ask(this, ui::ToQ(game::kRunningWarning), QStringLiteral("Warning"), QMessageBox::Warning, QMessageBox::Ok);
}

void MainWindow::AfterSave()
{
    // The start-up's warning aside, once for each time the game is seen running.
    if (!gameWatch_.Running()) {
        warnedWhileRunning_ = false;
        return;
    }
    if (warnedWhileRunning_) return;
    warnedWhileRunning_ = true;
    WarnGameRunning();
}

void MainWindow::OfferUndoneChanges()
{
    const history::Recorder recorder = WindowRecorder();
    const ConfigFile user = game::UserIni();
    if (!history_ || !files::Exists(files::Resolve(user.Path()))) return;
    const auto undone =
        history::FindUndone(user, history_->Load([this](const std::string& message) { TellHistoryTrouble(message); }));
    if (undone.empty()) return;
    const QString text = QString::number(static_cast<qsizetype>(undone.size())) +
                         QStringLiteral(" of your changes were undone while Fenwake was closed (the game rewrites ") +
                         ui::ToQ(game::kUserIni.substr(2)) + QStringLiteral(" when it exits).\n\nApply them again?");
    if (ui::Ask(this, text, QStringLiteral("Changes undone"), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Yes) != QMessageBox::Yes) {
        history::KeepUndone(user, undone, recorder); // asked once
        return;
    }
    history::Reapply(user, undone, recorder);
    ReloadBindingPages();
}

void MainWindow::ShowHistory()
{
    if (!installs_) {
        installs_ =
            locate::FindInstalls(places_ ? *places_ : locate::PlatformPlaces(), std::filesystem::current_path());
        historyPage_->OfferOtherInstalls(installs_->size() > 1);
    }
    ShowPage(historyPage_);
}

void MainWindow::EditOtherInstall()
{
    if (!installs_) return;
    const auto chosen = EnterChosenInstall(*installs_, this);
    if (!chosen) return;
    shortcutStartIn_ = chosen->live;
    // Every holder of the history follows it to the new folder's.
    if (history_) {
        if (auto moved = history::OpenFor(std::filesystem::current_path())) *history_ = std::move(*moved);
    }
    warnedWhileRunning_ = false;
    // What the start-up reads from the folder, as on a first start there.
    appearance_->ApplyStoredTheme();
    keyBindingsPage_->LoadCommandsList();
    CheckConfigFilesPresent();
    graphicsPage_->LoadSettings();
    playerPage_->LoadSettings();
    ReloadBindingPages();
    safeguards::ClearReadOnlyMarks();
    TakeFirstRunBackups();
    historyPage_->Refresh();
    OfferUndoneChanges();
}

void MainWindow::TellHistoryTrouble(const std::string& message)
{
    ui::Ask(this, ui::ToQ(message), QStringLiteral("History of changes"), QMessageBox::Warning, QMessageBox::Ok);
}

} // namespace fenwake
