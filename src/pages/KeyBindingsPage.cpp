#include "pages/KeyBindingsPage.h"

#include "rules/KeyBindings.h"
#include "ui/BorderedLineEdit.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/EditMenu.h"
#include "ui/Fonts.h"
#include "ui/Icons.h"
#include "ui/Messages.h"
#include "ui/SystemColours.h"
#include "ui/Text.h"
#include "ui/Themes.h"
#include "ui/widgets/CaptionOnFrameStyle.h"
#include "ui/widgets/FixedRowDelegate.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PitchedLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <chrono>

namespace fenwake {
namespace {

const QColor kCommandBoxColour = ui::ToQColor(ui::kCream);
const QColor kHighlightColour(0xFF, 0xFF, 0x00);

// A pause this long ends a change typed into the command box.
constexpr std::chrono::milliseconds kTypingPause{2000};

const QString kSearchHint =
    QStringLiteral("Type initial characters of key to find it (if it exists in the list, of course)");

// The help texts' lines: a line of Tahoma at 11 pixels as the layout has it.
constexpr int kHelpPitch = 13;

QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& picture, QPoint at)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setPixmap(picture);
    image->setGeometry(at.x(), at.y(), 16, 16);
    image->setToolTip(kSearchHint);
    return image;
}

} // namespace

KeyBindingsPage::KeyBindingsPage(QWidget* parent, ui::EditMenu& editMenu, ConfigFile user, history::Recorder recorder)
    : QWidget(parent), user_(std::move(user)), recorder_(std::move(recorder)), typing_(recorder_)
{
    setObjectName(QStringLiteral("Misc"));
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(kTypingPause);
    connect(typingPause_, &QTimer::timeout, this, [this] { typing_.End(); });
    BuildControls();
    editMenu.Attach(search_);
    ConnectHandlers();
}

KeyBindingsPage::~KeyBindingsPage() { ui::DisconnectFromChildren(this); }

void KeyBindingsPage::hideEvent(QHideEvent* event)
{
    // Another page shown, or the window closed: what was typed is one change.
    typing_.End();
    QWidget::hideEvent(event);
}

void KeyBindingsPage::BuildControls()
{
    auto* frame = new QGroupBox(QStringLiteral("  Key bindings  "), this);
    frame->setObjectName(QStringLiteral("GroupBox2"));
    frame->setGeometry(8, 8, 529, 313);
    frame->setFont(ui::Tahoma(true));
    frame->setStyle(ui::CaptionOnFrameStyle::Shared());
    ui::SetCaptionColour(frame, QColor(0x00, 0x80, 0x00));

    ui::MakeLabel(frame, "StaticText3", QStringLiteral("Commands List"), QPoint(8, 14), ui::Tahoma(true),
                  QColor(0x80, 0x00, 0x00))
        ->setGeometry(8, 14, 90, 17);

    command_ = new QComboBox(frame);
    command_->setObjectName(QStringLiteral("ComboBox1"));
    command_->setEditable(true);
    // What the user types is what is written: no completion, no list growth.
    command_->setCompleter(nullptr);
    command_->setInsertPolicy(QComboBox::NoInsert);
    command_->setMaxVisibleItems(8);
    command_->setGeometry(8, 32, 513, 23);
    command_->setFont(ui::PixelFont(QStringLiteral("Arial"), 12));
    ui::SetTextColour(command_, Qt::black);
    ui::SetBaseColour(command_, kCommandBoxColour);

    auto* management = new QGroupBox(QStringLiteral("Commands list management"), frame);
    management->setObjectName(QStringLiteral("GroupBox6"));
    management->setGeometry(8, 56, 241, 97);
    management->setFont(ui::Tahoma(true));
    management->setStyle(ui::CaptionOnFrameStyle::Shared());
    ui::SetCaptionColour(management, QColor(0x00, 0x1F, 0x6F));
    BuildCommandButtons(management);

    keys_ = new QListWidget(frame);
    keys_->setObjectName(QStringLiteral("ListBox1"));
    keys_->setGeometry(8, 160, 241, 121);
    keys_->setSelectionMode(QAbstractItemView::SingleSelection);
    keys_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    keys_->setDragEnabled(false);
    keys_->setUniformItemSizes(true);
    keys_->setItemDelegate(new ui::FixedRowDelegate(16, keys_));
    keys_->setFont(ui::PixelFont(QStringLiteral("Arial"), 13));
    ui::SetTextColour(keys_, QColor(0x00, 0x00, 0x80));
    ui::SetBaseColour(keys_, QColor(0xFD, 0xE8, 0xFD));
    for (std::string_view name : keys::kKeyNames) keys_->addItem(ui::ToQ(name));

    MakePicture(frame, "Image3", ui::SearchIcon(), QPoint(24, 288));
    ui::MakeLabel(frame, "Label16", QStringLiteral("Search for key:"), QPoint(42, 289), ui::Tahoma(true),
                  QColor(0x30, 0x30, 0x00))
        ->setToolTip(kSearchHint);

    auto* search = new BorderedLineEdit(frame);
    search->SetBorderColor(QColor(0x02, 0x1A, 0x4A));
    search_ = search;
    search_->setObjectName(QStringLiteral("QSearchKey"));
    search_->setGeometry(130, 285, 121, 21);
    search_->setFont(ui::PixelFont(QStringLiteral("Lucida Console"), 13));
    ui::SetTextColour(search_, Qt::black);
    ui::SetBaseColour(search_, QColor(0xE9, 0xEE, 0xF7));
    search_->setToolTip(kSearchHint);

    auto* help = new QGroupBox(frame);
    help->setObjectName(QStringLiteral("GroupBox3"));
    help->setGeometry(256, 56, 265, 249);
    help->setFont(ui::Tahoma());
    help->setStyle(ui::CaptionOnFrameStyle::Shared());
    ui::SetCaptionColour(help, Qt::black);
    BuildHelp(help);

    // Created after the help box so that it lies over its lower edge.
    reset_ = new QPushButton(QStringLiteral("Reset key bindings to previous state"), frame);
    reset_->setObjectName(QStringLiteral("ResetKeyBindings"));
    reset_->setGeometry(264, 272, 249, 25);
    reset_->setFont(ui::Tahoma());
    ui::SetTextColour(reset_, Qt::black);
    reset_->setCursor(Qt::PointingHandCursor);
    reset_->setAutoDefault(false);

    QWidget::setTabOrder(keys_, command_);
    QWidget::setTabOrder(command_, reset_);
    QWidget::setTabOrder(reset_, search_);
}

void KeyBindingsPage::BuildHelp(QGroupBox* help)
{
    const QColor black(Qt::black);
    const QString bullet = QString(QChar(0x2022)) + u' ';
    ui::MakeLabel(help, "Label10", QStringLiteral("Brief help about key bindings:"), QPoint(8, 16),
                  ui::PixelFont(QStringLiteral("Arial"), 13, true), QColor(0x00, 0x30, 0x00));
    ui::MakeLabel<ui::PitchedLabel>(help, "Label11",
                                    bullet +
                                        QStringLiteral("You can assign more than one command to \n"
                                                       "one key, use | as separator.\n") +
                                        bullet +
                                        QStringLiteral("Use OnRelease to assign action to key when\n"
                                                       "you released it.\n"
                                                       "\n"
                                                       "For example:"),
                                    QPoint(8, 40), ui::Tahoma(), black, kHelpPitch);

    example_ =
        ui::MakeLabel<ui::PitchedLabel>(help, "LInsertSample",
                                        QStringLiteral("N=ActivateBelt 0 | onrelease ParseLeftClick\n"
                                                       "(N will activate bioelectric cell)"),
                                        QPoint(9, 117), ui::Tahoma(false, true), QColor(0x00, 0x00, 0xFF), kHelpPitch);
    // Windows draws Tahoma a few pixels wider than the design assumed; the
    // example must never lose the end of its command.
    example_->setGeometry(9, 117, std::max(209, example_->sizeHint().width()), 26);
    example_->setCursor(Qt::PointingHandCursor);
    example_->setToolTip(QStringLiteral("Borrowed from Russian DXMP FAQ"));

    ui::MakeLabel<ui::PitchedLabel>(help, "Label12",
                                    QStringLiteral("1. Select a key from list\n"
                                                   "2. Enter command or commands for it.\n"
                                                   "\n"
                                                   "      Warning: Changes will be saved immediately\n"
                                                   "but you can cancel all changes by clicking"),
                                    QPoint(8, 150), ui::Tahoma(), black, kHelpPitch);
    MakePicture(help, "Image4", ui::WarningIcon(), QPoint(8, 186));
}

void KeyBindingsPage::BuildCommandButtons(QGroupBox* group)
{
    auto make = [group](const char* name, const QIcon& icon, const QString& caption, int y, const QColor& colour,
                        const QString& hint) {
        auto* button = new ui::FlatButton(icon, caption, group);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(8, y, 200, 22);
        button->setFont(ui::Tahoma(true));
        ui::SetTextColour(button, colour);
        button->setToolTip(hint);
        return button;
    };
    add_ = make("sAddCommand", ui::AddIcon(), QStringLiteral("Add Command"), 15, QColor(0x00, 0x80, 0x80),
                QStringLiteral("Add new command to the list"));
    remove_ = make("sRemoveCommand", ui::RemoveIcon(), QStringLiteral("Remove command"), 40, QColor(0x80, 0x00, 0x00),
                   QStringLiteral("Remove selected command from list"));
    save_ = make("SpeedButton1", ui::SaveIcon(), QStringLiteral("Save commands list"), 64, QColor(0x00, 0x00, 0xFF),
                 QString());
}

void KeyBindingsPage::ConnectHandlers()
{
    // Only what the user does reaches these: the program's own selections and
    // texts go through SelectKey and SetCommandText, which stay silent.
    connect(keys_, &QListWidget::currentRowChanged, this, ui::Guard([this] { ShowSelectedBinding(); }));
    // A click on the selected key reloads it as well, showing what the file holds.
    connect(keys_, &QListWidget::clicked, this, ui::Guard([this] { ShowSelectedBinding(); }));
    connect(keys_, &QListWidget::doubleClicked, this, ui::Guard([this] { HighlightCommandBox(); }));

    connect(command_->lineEdit(), &QLineEdit::textEdited, this, ui::Guard([this] {
                picked_.reset();
                SaveEditedBinding();
            }));
    connect(command_, &QComboBox::activated, this, [this](int index) {
        picked_ = index;
        ui::RunHandler([this] { SaveEditedBinding(); });
    });
    command_->installEventFilter(this);
    // The box is left when another control of the window takes the focus;
    // its own drop-down list and a switch to another window do not count.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        auto inBox = [this](QWidget* w) {
            return w && (w == command_ || command_->isAncestorOf(w) || w->window() == command_->view()->window());
        };
        if (inBox(old) && !inBox(now)) typing_.End();
        if (inBox(old) && now && !inBox(now)) ui::RunHandler([this] { EndCommandBoxHighlight(); });
    });
    command_->lineEdit()->installEventFilter(this);

    connect(search_, &QLineEdit::textChanged, this, ui::Guard([this] { FindTypedKey(); }));
    example_->installEventFilter(this);
    connect(reset_, &QPushButton::clicked, this, &KeyBindingsPage::resetRequested);

    connect(add_, &QAbstractButton::clicked, this, ui::Guard([this] { AddCommandToList(); }));
    connect(remove_, &QAbstractButton::clicked, this, ui::Guard([this] { RemovePickedCommand(); }));
    connect(save_, &QAbstractButton::clicked, this, ui::Guard([this] { SaveCommandsList(); }));
}

bool KeyBindingsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == command_ || watched == command_->lineEdit()) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            // Return would pick the entry that matches the text regardless of
            // case and so rewrite what the user typed; it has nothing to do here.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (watched == command_->lineEdit() && (key == Qt::Key_Return || key == Qt::Key_Enter)) return true;
            break;
        }
        case QEvent::Wheel:
            // Scrolling past the box must not rebind the key.
            if (!command_->hasFocus()) return true;
            break;
        case QEvent::ToolTip:
            // The tooltip is a binding, shown as plain text even when it
            // looks like markup ("Name <PutYourNameHere>").
            if (watched == command_ && !command_->toolTip().isEmpty()) {
                const auto* help = static_cast<QHelpEvent*>(event);
                QToolTip::showText(help->globalPos(),
                                   Qt::convertFromPlainText(command_->toolTip(), Qt::WhiteSpaceNormal), command_);
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }
    if (watched == example_) {
        if (event->type() == QEvent::MouseButtonPress) {
            ui::RunHandler([this] { PressExample(); });
            examplePressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = examplePressed_ && mouse->button() == Qt::LeftButton &&
                               example_->rect().contains(mouse->position().toPoint());
            examplePressed_ = false;
            if (click) ui::RunHandler([this] { OfferExampleBinding(); });
            ui::RunHandler([this] { ReleaseExample(); });
        }
    }
    return false;
}

void KeyBindingsPage::PressExample() { ui::SetTextColour(example_, QColor(0xFF, 0x00, 0x00)); }

// Not the blue the window opens with: a used example stays a lighter blue.
void KeyBindingsPage::ReleaseExample() { ui::SetTextColour(example_, QColor(0x35, 0x6C, 0xFF)); }

std::optional<int> KeyBindingsPage::SelectedKey() const
{
    QListWidgetItem* item = keys_->currentItem();
    if (!item || !item->isSelected()) return std::nullopt;
    return keys_->row(item);
}

void KeyBindingsPage::SelectKey(std::optional<int> row)
{
    const QSignalBlocker quiet(keys_);
    if (row && *row >= 0 && *row < keys_->count()) {
        keys_->setCurrentRow(*row, QItemSelectionModel::ClearAndSelect);
        keys_->scrollToItem(keys_->item(*row));
    } else {
        keys_->clearSelection();
        keys_->setCurrentItem(nullptr);
    }
}

void KeyBindingsPage::ShowSelectedBinding()
{
    typing_.End();
    const auto row = SelectedKey();
    if (!row) return;
    SetCommandText(ui::ToQ(keys::ReadBinding(user_, ui::FromQ(keys_->item(*row)->text()))));
}

void KeyBindingsPage::SaveEditedBinding()
{
    if (const auto row = SelectedKey()) {
        keys::WriteBinding(user_, ui::FromQ(keys_->item(*row)->text()), ui::FromQ(command_->currentText()),
                           typing_.Recording());
        typingPause_->start();
    }
    command_->setToolTip(command_->currentText());
}

void KeyBindingsPage::HighlightCommandBox() { ui::SetBaseColour(command_, kHighlightColour); }

void KeyBindingsPage::EndCommandBoxHighlight() { ui::SetBaseColour(command_, kCommandBoxColour); }

void KeyBindingsPage::SetCommandText(const QString& text)
{
    picked_.reset();
    const QSignalBlocker quiet(command_);
    command_->setEditText(text);
}

void KeyBindingsPage::FindTypedKey()
{
    const auto selected = SelectedKey();
    const auto found =
        keys::FindKey(ui::FromQ(search_->text()),
                      selected ? std::optional<std::size_t>(static_cast<std::size_t>(*selected)) : std::nullopt);
    SelectKey(found ? std::optional<int>(static_cast<int>(*found)) : std::nullopt);
}

void KeyBindingsPage::OfferExampleBinding()
{
    if (ui::Ask(window(), QStringLiteral("Do you want to use && save this example of keybind?"),
                QStringLiteral("Use keybind example ?"), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes) {
        typing_.End();
        keys::WriteExampleBinding(user_, recorder_);
    }
    const auto n = keys::FindKey(keys::kExampleKey, std::nullopt);
    SelectKey(static_cast<int>(*n));
    ShowSelectedBinding();
}

void KeyBindingsPage::FillCommandBox()
{
    const QString text = command_->currentText();
    const QSignalBlocker quiet(command_);
    command_->clear();
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(commands_.Entries().size()));
    for (const auto& entry : commands_.Entries()) entries << ui::ToQ(entry);
    // One insertion, not one per entry with the list's bookkeeping each time.
    command_->addItems(entries);
    command_->setEditText(text);
    picked_.reset();
}

void KeyBindingsPage::LoadCommandsList()
{
    commands_.LoadOrCreate();
    FillCommandBox();
}

void KeyBindingsPage::AddCommandToList()
{
    const QString text = command_->currentText();
    const std::string entry = ui::FromQ(text);
    const int at = static_cast<int>(commands_.Add(entry));
    {
        const QSignalBlocker quiet(command_);
        command_->insertItem(at, ui::ToQ(entry));
        // An insertion into an empty list makes Qt show that entry; keep the text.
        if (command_->currentText() != text) command_->setEditText(text);
    }
    if (picked_ && *picked_ >= at) ++*picked_;
    ui::Ask(
        window(),
        QStringLiteral("The command \"") + ui::ToQ(entry) +
            QStringLiteral("\" has been added to commands list. Do not forget to save it before closing the program!"),
        QStringLiteral("Command has been added to list!"), QMessageBox::Information, QMessageBox::Ok);
}

void KeyBindingsPage::RemovePickedCommand()
{
    if (!picked_ || *picked_ < 0 || *picked_ >= command_->count()) return;
    const int row = *picked_;
    picked_.reset();
    const QString text = command_->currentText();
    commands_.Remove(static_cast<std::size_t>(row));
    const QSignalBlocker quiet(command_);
    command_->removeItem(row);
    if (command_->currentText() != text) command_->setEditText(text);
}

void KeyBindingsPage::SaveCommandsList() { commands_.Save(); }

} // namespace fenwake
