#include "app/TfMain.h"

#include "app/StartupTrace.h"
#include "config/ConfigFile.h"
#include "config/Errors.h"
#include "config/GameFiles.h"
#include "pages/GraphicsPage.h"
#include "pages/KeyAliasesPage.h"
#include "pages/KeyBindingsPage.h"
#include "pages/PlayerPage.h"
#include "ui/Appearance.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/Icons.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
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

const char* const kPageNames[] = {"Default", "Graphics", "Misc", "AL"};

const QString kVersionTitle = QStringLiteral(" Fenwake Version " FENWAKE_VERSION "   Language: [English]");

} // namespace

TfMain::TfMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("fMain"));
    trace::Phase("build layout", [this] { BuildLayout(); });
    trace::Phase("build edit actions", [this] { BuildEditActions(); });
    trace::Phase("build shortcut menu", [this] { BuildShortcutMenu(); });
    BuildPages();
    // Paints and hooks what the pages built, so it comes after them.
    appearance_ = trace::Phase("build appearance", [this] {
        TAppearanceControls controls{
            themes_, coolBar_, toolBar_, notebook_, keyBindingsPage_->KeyList(), keyAliasesPage_->AliasList(), {}};
        controls.dropDowns.emplace_back(playerPage_->ConnSpeed(), 0);
        for (const auto& dropDown : graphicsPage_->DropDowns()) controls.dropDowns.push_back(dropDown);
        return new TAppearance(*this, std::move(controls));
    });

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        // Logging out is one more way to close the window: ask as always.
        if (!manager.allowsInteraction()) return;
        bool quit = false;
        ui::RunHandler([&] { quit = FormCloseQuery(); });
        manager.release();
        if (quit) {
            closing_ = true;
            QCoreApplication::quit();
        } else {
            manager.cancel();
        }
    });

    FormCreate();
}

TfMain::~TfMain()
{
    // Destroying the focused field moves the focus while the window is half
    // gone: the application's signals must not reach it any more.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
}

void TfMain::BuildLayout()
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
    auto makeToggle = [toolBar](const char* name, const QString& caption, int x) {
        auto* b = new QToolButton(toolBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFont(ui::Tahoma());
        b->setGeometry(x, 0, 115, 21);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    toolButton1_ = makeToggle("ToolButton1", QStringLiteral("        Key bindings        "), 8);
    toolButton2_ = makeToggle("ToolButton2", QStringLiteral("Key aliases editor"), 8 + 115);
    auto* sep4 = new QWidget(toolBar);
    sep4->setObjectName(QStringLiteral("ToolButton4"));
    sep4->setGeometry(8 + 230, 0, 8, 21);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(toolButton1_);
    group->addButton(toolButton2_);
    toolButton1_->setChecked(true);
    connect(toolButton1_, &QToolButton::clicked, this, ui::Guard([this] { ToolButton1Click(); }));
    connect(toolButton2_, &QToolButton::clicked, this, ui::Guard([this] { ToolButton2Click(); }));

    notebook_ = new QStackedWidget(this);
    notebook_->setObjectName(QStringLiteral("Notebook1"));
    notebook_->setGeometry(0, 23, 543, 332);
    ui::SetWindowColour(notebook_, QColor(0xF9, 0xE8, 0xE8));
    for (const char* name : kPageNames) {
        auto* page = new QWidget(notebook_);
        page->setObjectName(QString::fromLatin1(name));
        notebook_->addWidget(page);
        pages_.push_back(page);
    }
    notebook_->setCurrentWidget(Page(QStringLiteral("Misc")));

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

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(2000);
    connect(timer1_, &QTimer::timeout, this, ui::Guard([this] { Timer1Timer(); }));
    timer1_->start();
}

void TfMain::BuildEditActions()
{
    struct Spec {
        QAction** slot;
        const char* name;
        const char* caption;
        const char* hint;
        QKeySequence keys;
        int icon;
    };
    const Spec specs[] = {
        {&editCut_, "EditCut1", "Cu&t", "Cut", QKeySequence(Qt::CTRL | Qt::Key_X), 2},
        {&editCopy_, "EditCopy1", "&Copy", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C), 1},
        {&editPaste_, "EditPaste1", "&Paste", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V), 0},
        {&editSelectAll_, "EditSelectAll1", "Select &All", "", QKeySequence(), -1},
        {&editUndo_, "EditUndo1", "&Undo", "", QKeySequence(Qt::ALT | Qt::Key_Backspace), 3},
    };
    for (const Spec& s : specs) {
        auto* action = new QAction(QString::fromLatin1(s.caption), this);
        action->setObjectName(QString::fromLatin1(s.name));
        action->setProperty("category", QStringLiteral("Edit"));
        action->setToolTip(QString::fromLatin1(s.hint));
        action->setStatusTip(QString::fromLatin1(s.hint));
        if (!s.keys.isEmpty()) action->setShortcut(s.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        if (s.icon >= 0) action->setIcon(ui::EditIcon(s.icon));
        action->setEnabled(false);
        addAction(action);
        *s.slot = action;
    }
    auto onField = [this](std::function<void(QLineEdit*)> op) {
        return ui::Guard([this, op = std::move(op)] {
            if (QLineEdit* field = FocusedEditField()) op(field);
            UpdateEditActions();
        });
    };
    connect(editCut_, &QAction::triggered, this, onField([](QLineEdit* f) { f->cut(); }));
    connect(editCopy_, &QAction::triggered, this, onField([](QLineEdit* f) { f->copy(); }));
    connect(editPaste_, &QAction::triggered, this, onField([](QLineEdit* f) { f->paste(); }));
    connect(editSelectAll_, &QAction::triggered, this, onField([](QLineEdit* f) { f->selectAll(); }));
    connect(editUndo_, &QAction::triggered, this, onField([](QLineEdit* f) { f->undo(); }));

    editPopupMenu_ = new QMenu(this);
    editPopupMenu_->setObjectName(QStringLiteral("EditPopupMenu"));
    editPopupMenu_->addAction(editCut_);
    editPopupMenu_->addAction(editCopy_);
    editPopupMenu_->addAction(editPaste_);
    editPopupMenu_->addAction(editSelectAll_);
    editPopupMenu_->addSeparator();
    editPopupMenu_->addAction(editUndo_);
    connect(editPopupMenu_, &QMenu::aboutToShow, this, [this] { UpdateEditActions(); });

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Follow the focused field's selection and text so availability stays current.
        if (auto* field = qobject_cast<QLineEdit*>(old)) disconnect(field, nullptr, this, nullptr);
        if (auto* field = qobject_cast<QLineEdit*>(now); field && field == FocusedEditField()) {
            connect(field, &QLineEdit::selectionChanged, this, &TfMain::UpdateEditActions);
            connect(field, &QLineEdit::textChanged, this, &TfMain::UpdateEditActions);
        }
        UpdateEditActions();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TfMain::UpdateEditActions);
}

void TfMain::BuildShortcutMenu()
{
    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char* name, const QString& caption) {
        QAction* item = popupMenu1_->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    connect(add("OnDesktop1", QStringLiteral("On Desktop")), &QAction::triggered, this,
            ui::Guard([this] { OnDesktop1Click(); }));
    connect(add("InSTARTmenuPrograms1", QStringLiteral("In START menu >> Programs")), &QAction::triggered, this,
            ui::Guard([this] { InSTARTmenuPrograms1Click(); }));
    popupMenu1_->addSeparator()->setObjectName(QStringLiteral("N1"));
    add("cancel1", QStringLiteral("cancel"));

    connect(shortcutButton_, &QPushButton::clicked, this, ui::Guard([this] { Button1Click(); }));
}

void TfMain::Button1Click()
{
    // At the window's outer corner, not at the button.
    popupMenu1_->popup(frameGeometry().topLeft() + QPoint(220, 355));
}

void TfMain::OnDesktop1Click() { MakeShortcut(FastShellLink1, TFastShellFolder::sfDesktop, RunningExecutable()); }

void TfMain::InSTARTmenuPrograms1Click()
{
    MakeShortcut(FastShellLink1, TFastShellFolder::sfProgramsMenu, RunningExecutable());
}

void TfMain::BuildPages()
{
    // Each page object builds its controls on its notebook page.
    playerPage_ =
        trace::Phase("build player page", [this] { return new TPlayerPage(*this, Page(QStringLiteral("Default"))); });
    graphicsPage_ = trace::Phase("build graphics page",
                                 [this] { return new TGraphicsPage(*this, Page(QStringLiteral("Graphics"))); });
    keyBindingsPage_ = trace::Phase("build key bindings page", [this] { return new TKeyBindingsPage(this); });
    keyAliasesPage_ = trace::Phase("build key aliases page", [this] { return new TKeyAliasesPage(this); });
}

QLineEdit* TfMain::FocusedEditField() const
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    // A combo box's own line is part of that control, not an edit field.
    if (!field || !isAncestorOf(field) || qobject_cast<QComboBox*>(field->parentWidget())) return nullptr;
    return field;
}

void TfMain::UpdateEditActions()
{
    QLineEdit* field = FocusedEditField();
    const bool writable = field && !field->isReadOnly();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    editCut_->setEnabled(writable && field->hasSelectedText());
    editCopy_->setEnabled(field && field->hasSelectedText());
    editPaste_->setEnabled(writable && clip && clip->hasText());
    editSelectAll_->setEnabled(field && !field->text().isEmpty());
    editUndo_->setEnabled(writable && field->isUndoAvailable());
}

void TfMain::AttachEditMenu(QLineEdit* field)
{
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QWidget::customContextMenuRequested, this, [this, field](const QPoint& at) {
        field->setFocus(Qt::PopupFocusReason);
        UpdateEditActions();
        editPopupMenu_->popup(field->mapToGlobal(at));
    });
}

QWidget* TfMain::Page(const QString& name) const
{
    for (QWidget* page : pages_)
        if (page->objectName() == name) return page;
    return nullptr;
}

void TfMain::ShowPage(const QString& name)
{
    if (QWidget* page = Page(name)) notebook_->setCurrentWidget(page);
}

QString TfMain::CurrentPageName() const { return notebook_->currentWidget()->objectName(); }

void TfMain::ToolButton1Click() { ShowPage(QStringLiteral("Misc")); }

void TfMain::ToolButton2Click() { ShowPage(QStringLiteral("AL")); }

void TfMain::FormCreate()
{
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"InitializeCurrentColorTheme", [this] { InitializeCurrentColorTheme(); }},
        {"CreateCommandsFile", [this] { CreateCommandsFile(); }},
        {"SetApplicationTitle", [] { ui::SetApplicationTitle(kVersionTitle); }},
        {"SetCaption", [this] { setWindowTitle(ui::ApplicationTitle()); }},
        {"LoadKeysAliases", [this] { LoadKeysAliases(); }},
        {"AListClick", [this] { SelectAliasRow(0); }},
        {"LoadCursors", [this] { LoadCursors(); }},
        {"ShowPage Misc", [this] { ShowPage(QStringLiteral("Misc")); }},
        {"CheckPresence", [this] { CheckPresence(); }},
        {"GetGraphicsSettings", [this] { GetGraphicsSettings(); }},
        {"GetSettigs", [this] { GetSettigs(); }},
        {"ListBox1Click", [this] { SelectFirstKey(); }},
        {"UnProtectIniFiles", [this] { UnProtectIniFiles(); }},
        {"BuildIniBackups", [this] { BuildIniBackups(); }},
        {"InitializeQuickGraphicsChoice", [this] { InitializeQuickGraphicsChoice(); }},
        {"InitializeFirstLoadUp", [this] { firstRun_ = InitializeFirstLoadUp(); }},
        {"FirstRunScreenSize",
         [this] {
             if (firstRun_) ApplyFirstRunScreenSize();
         }},
    };
    // An error ends the sequence at its step; the window still opens.
    ui::RunHandler([&] {
        for (const auto& [name, run] : steps) {
            startupSteps_ << QString::fromLatin1(name);
            trace::Phase(name, run);
        }
    });
}

bool TfMain::InitializeFirstLoadUp() { return game::SystemIni().ReadFlag("CVFirstFun", "bWasFirstRun", true); }

void TfMain::ApplyFirstRunScreenSize()
{
    // Exactly what the graphics page's screen-resolution link does.
    graphicsPage_->Label8Click();
}

bool TfMain::FormCloseQuery()
{
    return ui::Ask(this, QStringLiteral("Are you sure you want to quit ? "), QStringLiteral("Please confirm"),
                   QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TfMain::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    bool quit = false;
    ui::RunHandler([&] { quit = FormCloseQuery(); });
    if (!quit) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    QCoreApplication::quit();
}

void TfMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (const QScreen* s = screen()) {
        const QRect frame = frameGeometry();
        move(s->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}

void TfMain::Timer1Timer()
{
    if (keyBindingsPage_) keyBindingsPage_->EndHighlight();
}

// The pages' operations; each page object supplies its own.

void TfMain::InitializeCurrentColorTheme() { appearance_->InitializeCurrentColorTheme(); }

void TfMain::ComboBox2Change() { appearance_->ComboBox2Change(); }

void TfMain::CreateCommandsFile() { keyBindingsPage_->CreateCommandsFile(); }

void TfMain::LoadKeysAliases() { keyAliasesPage_->LoadKeysAliases(); }

void TfMain::SelectAliasRow(int row) { keyAliasesPage_->SelectRow(row); }

void TfMain::AListClick() { keyAliasesPage_->AListClick(); }

void TfMain::LoadCursors() { appearance_->LoadCursors(); }

void TfMain::GetGraphicsSettings() { graphicsPage_->GetGraphicsSettings(); }

void TfMain::GetSettigs() { playerPage_->GetSettigs(); }

void TfMain::SelectFirstKey()
{
    keyBindingsPage_->SelectKey(0);
    ListBox1Click();
}

void TfMain::ListBox1Click() { keyBindingsPage_->ListBox1Click(); }

void TfMain::InitializeQuickGraphicsChoice() { graphicsPage_->InitializeQuickGraphicsChoice(); }

void TfMain::ResetAllPages()
{
    if (ui::Ask(this, QStringLiteral("Are you sure you want to do this?"), QStringLiteral("Question"),
                QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok)
        return;
    restoreIniBackups();
    GetSettigs();
    GetGraphicsSettings();
    LoadKeysAliases();
    ListBox1Click();
}

} // namespace fenwake
