#pragma once

#include "config/GameLocator.h"
#include "config/GameProcess.h"
#include "rules/ChangeHistory.h"
#include "shell/ShellLink.h"

#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace fenwake {

namespace ui {
class EditMenu;
}
class Appearance;
class GraphicsPage;
class HistoryPage;
class KeyAliasesPage;
class KeyBindingsPage;
class PlayerPage;
class SharePage;

// The one main window: the mode strip, the notebook of pages, the shortcut
// button and the theme list. It owns the pages and runs the start-up
// sequence that fills them; the pages' own logic lives in the pages.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the layout and runs the start-up sequence. Needs the
    // application object and the game's System directory as current
    // directory. Shortcuts start in shortcutStartIn when given, else in the
    // program's own folder. Other installs are looked for in places, the
    // platform's when none are given.
    explicit MainWindow(std::optional<std::filesystem::path> shortcutStartIn = std::nullopt,
                        std::optional<locate::Places> places = std::nullopt, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps that ran, by the names the start-up trace prints.
    const QStringList& StartupSteps() const { return startupSteps_; }
    // A step asked for the program to end once its window is up.
    bool TerminateRequested() const { return terminateRequested_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void BuildShortcutMenu();
    void BuildPages();
    void ShowPage(QWidget* page);

    void RunStartup();
    bool ConfirmClose();
    void ApplyFirstRunScreenSize();
    // The reset shared by the key bindings and aliases pages: asks, restores
    // the backups and reloads the pages from them.
    void ResetToBackups();
    // The key bindings and aliases pages show the file's values again.
    void ReloadBindingPages();

    // The safeguards' steps, with their messages.
    void CheckConfigFilesPresent();
    void TakeFirstRunBackups();
    void RestoreBackups();

    // The history of changes and the game-running check, with their
    // messages (MainWindowHistory.cpp).
    history::Recorder WindowRecorder();
    void WarnGameRunning();
    void AfterSave();
    void OfferUndoneChanges();
    void TellHistoryTrouble(const std::string& message);
    void ShowHistory();
    // Offers the installs found and moves every page to the chosen one's folder.
    void EditOtherInstall();

    void OpenShortcutMenu();
    void MakeShortcutIn(ShellFolder folder);

    QStackedWidget* notebook_ = nullptr;
    QWidget* coolBar_ = nullptr;
    QWidget* toolBar_ = nullptr;
    QComboBox* themes_ = nullptr;
    QPushButton* shortcutButton_ = nullptr;
    QToolButton* keyBindingsButton_ = nullptr;
    QToolButton* keyAliasesButton_ = nullptr;
    QToolButton* historyButton_ = nullptr;
    QToolButton* shareButton_ = nullptr;
    // The page toggles, one checked at a time.
    QButtonGroup* pageButtons_ = nullptr;
    QMenu* shortcutMenu_ = nullptr;
    ui::EditMenu* editMenu_ = nullptr;
    ShellLink shortcut_;
    std::optional<std::filesystem::path> shortcutStartIn_;
    std::shared_ptr<history::ChangeHistory> history_;
    bool historyOpened_ = false;
    game::GameWatch gameWatch_;
    // Told since the game was last seen not running.
    bool warnedWhileRunning_ = false;

    QStringList startupSteps_;
    bool terminateRequested_ = false;
    bool firstRun_ = false;
    bool closing_ = false;
    bool shownOnce_ = false;
    Appearance* appearance_ = nullptr;
    PlayerPage* playerPage_ = nullptr;
    GraphicsPage* graphicsPage_ = nullptr;
    KeyBindingsPage* keyBindingsPage_ = nullptr;
    KeyAliasesPage* keyAliasesPage_ = nullptr;
    HistoryPage* historyPage_ = nullptr;
    std::optional<locate::Places> places_;
    // Looked for when the history page is first shown.
    std::optional<std::vector<locate::Install>> installs_;
    SharePage* sharePage_ = nullptr;
};

} // namespace fenwake
