#include "app/MainWindow.h"

#include "app/Appearance.h"
#include "app/StartupTrace.h"
#include "config/ConfigFile.h"
#include "config/GameFiles.h"
#include "config/Safeguards.h"
#include "pages/GraphicsPage.h"
#include "pages/HistoryPage.h"
#include "pages/KeyAliasesPage.h"
#include "pages/KeyBindingsPage.h"
#include "pages/PlayerPage.h"
#include "pages/SharePage.h"
#include "rules/ToolSettings.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/EditMenu.h"
#include "ui/Fonts.h"
#include "ui/Icons.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <utility>

namespace fenwake {
namespace {

const QString kVersionTitle = QStringLiteral(" Fenwake Version " FENWAKE_VERSION "   Language: [English]");

} // namespace

MainWindow::MainWindow(std::optional<std::filesystem::path> shortcutStartIn, std::optional<locate::Places> places,
                       QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shortcutStartIn_(std::move(shortcutStartIn)), places_(std::move(places))
{
    setObjectName(QStringLiteral("fMain"));
    trace::Phase("build layout", [this] { BuildLayout(); });
    trace::Phase("build edit actions", [this] { editMenu_ = new ui::EditMenu(this); });
    trace::Phase("build shortcut menu", [this] { BuildShortcutMenu(); });
    BuildPages();
    // Paints and hooks what the pages built, so it comes after them.
    appearance_ = trace::Phase("build appearance", [this] {
        AppearanceControls controls{
            themes_, coolBar_, toolBar_, notebook_, keyBindingsPage_->KeyList(), keyAliasesPage_->AliasList(), {}};
        for (QComboBox* box : playerPage_->DropDowns()) controls.dropDowns.push_back(box);
        for (QComboBox* box : graphicsPage_->DropDowns()) controls.dropDowns.push_back(box);
        return new Appearance(*this, std::move(controls), game::SystemIni());
    });

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        // Logging out is one more way to close the window: ask as always.
        if (!manager.allowsInteraction()) return;
        bool quit = false;
        ui::RunHandler([&] { quit = ConfirmClose(); });
        manager.release();
        if (quit) {
            closing_ = true;
            QCoreApplication::quit();
        } else {
            manager.cancel();
        }
    });

    RunStartup();
}

MainWindow::~MainWindow()
{
    disconnect(qApp, nullptr, this, nullptr);
    // Before the fields it serves, which move the focus as they go.
    delete editMenu_;
}

void MainWindow::BuildLayout()
{
    setWindowTitle(QStringLiteral("Fenwake DXMP Edition "));
    setFixedSize(543, 407);
    ui::SetWindowColour(this, QColor(0xEC, 0xE9, 0xD8));
    setFont(ui::Tahoma());

    auto* coolBar = coolBar_ = new QFrame(this);
    coolBar->setObjectName(QStringLiteral("CoolBar1"));
    coolBar->setGeometry(0, 0, 543, 23);
    ui::SetWindowColour(coolBar, QColor(0xFE, 0xFF, 0xEC));
    auto* mode = ui::MakeLabel(coolBar, "CoolBandCaption", QStringLiteral("Mode:  "), QPoint(9, 5), ui::Tahoma(true));
    mode->setFixedHeight(13);

    auto* toolBar = toolBar_ = new QWidget(coolBar);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setGeometry(53, 1, 8 + 115 + 115 + 8, 21);
    auto* sep3 = new QWidget(toolBar);
    sep3->setObjectName(QStringLiteral("ToolButton3"));
    sep3->setGeometry(0, 0, 8, 21);
    auto makeToggle = [](QWidget* bar, const char* name, const QString& caption, QPoint at) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFont(ui::Tahoma());
        b->setGeometry(at.x(), at.y(), 115, 21);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    keyBindingsButton_ = makeToggle(toolBar, "ToolButton1", QStringLiteral("        Key bindings        "), {8, 0});
    keyAliasesButton_ = makeToggle(toolBar, "ToolButton2", QStringLiteral("Key aliases editor"), {8 + 115, 0});
    auto* sep4 = new QWidget(toolBar);
    sep4->setObjectName(QStringLiteral("ToolButton4"));
    sep4->setGeometry(8 + 230, 0, 8, 21);
    // The later pages' buttons in the strip's free room right of the tool bar.
    historyButton_ = makeToggle(coolBar, "ToolButtonHistory", QStringLiteral("History"), {299, 1});
    shareButton_ = makeToggle(coolBar, "ToolButtonShare", QStringLiteral("Share binds"), {414, 1});
    pageButtons_ = new QButtonGroup(this);
    pageButtons_->setExclusive(true);
    for (QToolButton* b : {keyBindingsButton_, keyAliasesButton_, historyButton_, shareButton_})
        pageButtons_->addButton(b);
    keyBindingsButton_->setChecked(true);
    connect(keyBindingsButton_, &QToolButton::clicked, this, [this] { ShowPage(keyBindingsPage_); });
    connect(keyAliasesButton_, &QToolButton::clicked, this, [this] { ShowPage(keyAliasesPage_); });
    connect(historyButton_, &QToolButton::clicked, this, ui::Guard([this] { ShowHistory(); }));
    connect(shareButton_, &QToolButton::clicked, this, [this] { ShowPage(sharePage_); });

    notebook_ = new QStackedWidget(this);
    notebook_->setObjectName(QStringLiteral("Notebook1"));
    notebook_->setGeometry(0, 23, 543, 332);
    ui::SetWindowColour(notebook_, QColor(0xF9, 0xE8, 0xE8));

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Image6"));
    rule->setGeometry(0, 355, 543, 4);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setLineWidth(1);

    auto* close = new QPushButton(ui::CloseIcon(), QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("BitBtn2"));
    close->setGeometry(5, 369, 75, 25);
    close->setCursor(Qt::PointingHandCursor);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });

    auto* shortcut = shortcutButton_ = new QPushButton(QStringLiteral("Make Shortcut in... >>"), this);
    shortcut->setObjectName(QStringLiteral("BitBtn1"));
    shortcut->setGeometry(82, 369, 140, 25);
    shortcut->setCursor(Qt::PointingHandCursor);
    shortcut->setAutoDefault(false);

    ui::MakeLabel(this, "Label18", QStringLiteral("Color theme:"), QPoint(265, 360), ui::Tahoma(true, true));
    themes_ = new QComboBox(this);
    themes_->setObjectName(QStringLiteral("ComboBox2"));
    themes_->setGeometry(265, 379, 275, 22);

    // Ends the command box's double-click highlight every two seconds.
    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(2000);
    connect(timer, &QTimer::timeout, this, ui::Guard([this] {
                if (keyBindingsPage_) keyBindingsPage_->EndCommandBoxHighlight();
            }));
    timer->start();
}

void MainWindow::BuildShortcutMenu()
{
    shortcutMenu_ = new QMenu(this);
    shortcutMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char* name, const QString& caption) {
        QAction* item = shortcutMenu_->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    connect(add("OnDesktop1", QStringLiteral("On Desktop")), &QAction::triggered, this,
            ui::Guard([this] { MakeShortcutIn(ShellFolder::Desktop); }));
    connect(add("InSTARTmenuPrograms1", QStringLiteral("In START menu >> Programs")), &QAction::triggered, this,
            ui::Guard([this] { MakeShortcutIn(ShellFolder::ProgramsMenu); }));
    shortcutMenu_->addSeparator()->setObjectName(QStringLiteral("N1"));
    add("cancel1", QStringLiteral("cancel"));

    connect(shortcutButton_, &QPushButton::clicked, this, ui::Guard([this] { OpenShortcutMenu(); }));
}

void MainWindow::OpenShortcutMenu()
{
    // At the window's outer corner, not at the button.
    shortcutMenu_->popup(frameGeometry().topLeft() + QPoint(220, 355));
}

void MainWindow::MakeShortcutIn(ShellFolder folder)
{
    MakeShortcut(shortcut_, folder, RunningExecutable(), shortcutStartIn_ ? shortcutStartIn_->string() : std::string());
}

void MainWindow::BuildPages()
{
    const history::Recorder recorder = WindowRecorder();
    // In the notebook's order; each builds its own controls.
    playerPage_ = trace::Phase("build player page", [this] { return new PlayerPage(notebook_, game::UserIni()); });
    graphicsPage_ =
        trace::Phase("build graphics page", [this] { return new GraphicsPage(notebook_, game::SystemIni()); });
    keyBindingsPage_ = trace::Phase("build key bindings page", [&] {
        return new KeyBindingsPage(notebook_, *editMenu_, game::UserIni(), recorder);
    });
    keyAliasesPage_ = trace::Phase(
        "build key aliases page", [&] { return new KeyAliasesPage(notebook_, *editMenu_, game::UserIni(), recorder); });
    historyPage_ = trace::Phase("build history page", [&] {
        return new HistoryPage(notebook_, game::UserIni(), history_, recorder,
                               [this](const std::string& message) { TellHistoryTrouble(message); });
    });
    sharePage_ = trace::Phase("build share page", [&] {
        return new SharePage(notebook_, game::UserIni(), recorder.As(history::Origin::WindowImport));
    });
    for (QWidget* page : std::initializer_list<QWidget*>{playerPage_, graphicsPage_, keyBindingsPage_, keyAliasesPage_,
                                                         historyPage_, sharePage_})
        notebook_->addWidget(page);
    notebook_->setCurrentWidget(keyBindingsPage_);

    connect(keyBindingsPage_, &KeyBindingsPage::resetRequested, this, ui::Guard([this] { ResetToBackups(); }));
    connect(keyAliasesPage_, &KeyAliasesPage::resetRequested, this, ui::Guard([this] { ResetToBackups(); }));
    connect(historyPage_, &HistoryPage::fileChanged, this, ui::Guard([this] { ReloadBindingPages(); }));
    connect(historyPage_, &HistoryPage::otherInstallRequested, this, ui::Guard([this] { EditOtherInstall(); }));
    connect(sharePage_, &SharePage::bindingsChanged, this, ui::Guard([this] { ReloadBindingPages(); }));
}

void MainWindow::ShowPage(QWidget* page) { notebook_->setCurrentWidget(page); }

void MainWindow::RunStartup()
{
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"InitializeCurrentColorTheme", [this] { appearance_->ApplyStoredTheme(); }},
        {"CreateCommandsFile", [this] { keyBindingsPage_->LoadCommandsList(); }},
        {"SetApplicationTitle", [] { ui::SetApplicationTitle(kVersionTitle); }},
        {"SetCaption", [this] { setWindowTitle(ui::ApplicationTitle()); }},
        {"LoadKeysAliases", [this] { keyAliasesPage_->ReloadAliases(); }},
        {"AListClick", [this] { keyAliasesPage_->SelectRow(0); }},
        {"LoadCursors", [this] { appearance_->InstallCursors(); }},
        {"ShowPage Misc", [this] { ShowPage(keyBindingsPage_); }},
        {"CheckPresence", [this] { CheckConfigFilesPresent(); }},
        {"GetGraphicsSettings", [this] { graphicsPage_->LoadSettings(); }},
        {"GetSettigs", [this] { playerPage_->LoadSettings(); }},
        {"ListBox1Click",
         [this] {
             keyBindingsPage_->SelectKey(0);
             keyBindingsPage_->ShowSelectedBinding();
         }},
        {"UnProtectIniFiles", [] { safeguards::ClearReadOnlyMarks(); }},
        {"BuildIniBackups", [this] { TakeFirstRunBackups(); }},
        {"InitializeQuickGraphicsChoice", [this] { graphicsPage_->RecogniseQualityPreset(); }},
        {"InitializeFirstLoadUp", [this] { firstRun_ = tool::ReadFirstRunFlag(game::SystemIni()); }},
        {"FirstRunScreenSize",
         [this] {
             if (firstRun_) ApplyFirstRunScreenSize();
         }},
        {"CheckGameRunning", [this] { WarnGameRunning(); }},
        {"FindUndoneChanges", [this] { OfferUndoneChanges(); }},
    };
    // An error ends the sequence at its step; the window still opens.
    ui::RunHandler([&] {
        for (const auto& [name, run] : steps) {
            startupSteps_ << QString::fromLatin1(name);
            trace::Phase(name, run);
        }
    });
}

void MainWindow::ApplyFirstRunScreenSize()
{
    // Exactly what the graphics page's screen-resolution link does.
    graphicsPage_->UseCurrentScreenResolution();
}

bool MainWindow::ConfirmClose()
{
    return ui::Ask(this, QStringLiteral("Are you sure you want to quit ? "), QStringLiteral("Please confirm"),
                   QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    bool quit = false;
    ui::RunHandler([&] { quit = ConfirmClose(); });
    if (!quit) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    QCoreApplication::quit();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (const QScreen* s = screen()) {
        const QRect frame = frameGeometry();
        move(s->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}

void MainWindow::ResetToBackups()
{
    if (ui::Ask(this, QStringLiteral("Are you sure you want to do this?"), QStringLiteral("Question"),
                QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok)
        return;
    RestoreBackups();
    playerPage_->LoadSettings();
    graphicsPage_->LoadSettings();
    keyAliasesPage_->ReloadAliases();
    keyBindingsPage_->ShowSelectedBinding();
}

void MainWindow::ReloadBindingPages()
{
    // The slot shown stays shown.
    const int row = keyAliasesPage_->AliasList()->currentRow();
    keyAliasesPage_->ReloadAliases();
    keyAliasesPage_->SelectRow(row < 0 ? 0 : row);
    keyBindingsPage_->ShowSelectedBinding();
}

} // namespace fenwake
