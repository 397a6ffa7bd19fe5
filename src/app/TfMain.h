#pragma once

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include "shell/TFastShellLink.h"

#include <vector>

class QAbstractButton;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace fenwake {

class TAppearance;
class TGraphicsPage;
class TKeyBindingsPage;
class TKeyAliasesPage;
class TPlayerPage;

// The one main window. Its methods are the tool's operations; the pages'
// own logic lives in their page objects, which these forward to.
class TfMain : public QWidget {
    Q_OBJECT
public:
    // Builds the layout and runs the start-up sequence. Needs the
    // application object and the game's System directory as current directory.
    explicit TfMain(QWidget* parent = nullptr);
    ~TfMain() override;

    // Navigation.
    QWidget* Page(const QString& name) const;
    void ShowPage(const QString& name);
    QString CurrentPageName() const;
    void ToolButton1Click();
    void ToolButton2Click();

    // Start-up and shutdown.
    void FormCreate();
    const QStringList& StartupSteps() const { return startupSteps_; }
    void RequestTerminate() { terminateRequested_ = true; }
    bool TerminateRequested() const { return terminateRequested_; }
    bool FormCloseQuery();
    void Timer1Timer();
    bool InitializeFirstLoadUp();
    QSize ScreenSize() const { return screenSize_; }
    void SetScreenSize(QSize size) { screenSize_ = size; }

    // Operations of the pages, in the order start-up calls them.
    void InitializeCurrentColorTheme();
    void ComboBox2Change();
    void CreateCommandsFile();
    void LoadKeysAliases();
    void AListClick();
    void LoadCursors();
    void CheckPresence();
    void GetGraphicsSettings();
    void GetSettigs();
    void ListBox1Click();
    void UnProtectIniFiles();
    void BuildIniBackups();
    void InitializeQuickGraphicsChoice();
    void restoreIniBackups();

    // The reset shared by the key bindings and aliases pages: asks, restores
    // the backups and reloads the pages from them.
    void ResetAllPages();

    // Shortcuts to the tool.
    void Button1Click();
    void OnDesktop1Click();
    void InSTARTmenuPrograms1Click();
    QMenu* ShortcutMenu() const { return popupMenu1_; }
    TFastShellLink FastShellLink1;

    // The edit pop-up menu as the context menu of an edit field.
    void AttachEditMenu(QLineEdit* field);
    QMenu* EditPopupMenu() const { return editPopupMenu_; }
    void UpdateEditActions();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void BuildEditActions();
    void BuildShortcutMenu();
    void BuildPages();
    void SelectAliasRow(int row);
    void SelectFirstKey();
    void ApplyFirstRunScreenSize();
    QLineEdit* FocusedEditField() const;

    QStackedWidget* notebook_ = nullptr;
    std::vector<QWidget*> pages_; // the notebook's pages, named after their roles
    QWidget* coolBar_ = nullptr;
    QWidget* toolBar_ = nullptr;
    QComboBox* themes_ = nullptr;
    QPushButton* shortcutButton_ = nullptr;
    QToolButton* toolButton1_ = nullptr;
    QToolButton* toolButton2_ = nullptr;
    QTimer* timer1_ = nullptr;
    QMenu* editPopupMenu_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    QAction* editCut_ = nullptr;
    QAction* editCopy_ = nullptr;
    QAction* editPaste_ = nullptr;
    QAction* editSelectAll_ = nullptr;
    QAction* editUndo_ = nullptr;

    QStringList startupSteps_;
    bool terminateRequested_ = false;
    bool firstRun_ = false;
    bool closing_ = false;
    bool shownOnce_ = false;
    QSize screenSize_;
    TAppearance* appearance_ = nullptr;
    TPlayerPage* playerPage_ = nullptr;
    TGraphicsPage* graphicsPage_ = nullptr;
    TKeyBindingsPage* keyBindingsPage_ = nullptr;
    TKeyAliasesPage* keyAliasesPage_ = nullptr;
};

} // namespace fenwake
