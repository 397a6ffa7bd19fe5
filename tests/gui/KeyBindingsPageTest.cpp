#include "GuiTest.h"

#include "config/ConfigFile.h"
#include "pages/CommandsList.h"
#include "pages/KeyBindings.h"
#include "ui/Colours.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;

const QString kTitle = QStringLiteral(" Fenwake Version 1.1.1.100   Language: [English]");
const QColor kNormal(0xFD, 0xF0, 0xC8);
const ConfigFile kUser(".\\User.ini");

void MakeReadOnly(const fs::path& file)
{
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

std::string Ext(std::string_view key) { return kUser.ReadText("Extension.InputExt", key, "<none>"); }
std::string Copy(std::string_view key) { return kUser.ReadText("Extension.Input", key, "<none>"); }

const ExpectedBox kResetQuestion{"Question", "Are you sure you want to do this?", QMessageBox::Question,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Ok};
const ExpectedBox kExampleQuestion{"Use keybind example ?", "Do you want to use && save this example of keybind?",
                                   QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                                   QMessageBox::Yes};

class KeyPage : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
    }

    // The window, shown, with the page's controls at hand.
    void Open()
    {
        TfMain& w = Window();
        w.show();
        QApplication::setActiveWindow(&w);
        keys = Find<QListWidget>("ListBox1");
        box = Find<QComboBox>("ComboBox1");
        search = Find<QLineEdit>("QSearchKey");
        ASSERT_TRUE(keys && box && search);
    }

    void ClickKey(const char* name)
    {
        const auto found = keys->findItems(QString::fromLatin1(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_EQ(found.size(), 1) << name;
        keys->scrollToItem(found[0]);
        QTest::mouseClick(keys->viewport(), Qt::LeftButton, {}, keys->visualItemRect(found[0]).center());
    }

    QString Selected() const
    {
        const auto items = keys->selectedItems();
        return items.isEmpty() ? QStringLiteral("<none>") : items[0]->text();
    }

    void Type(const QString& text) { QTest::keyClicks(box->lineEdit(), text); }
    void ClearBox()
    {
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    }
    int Entry(const char* text) const { return box->findText(QString::fromLatin1(text), Qt::MatchExactly | Qt::MatchCaseSensitive); }

    // A pick with the pointer in the open drop-down list.
    void PickWithPointer(int row)
    {
        box->showPopup();
        QAbstractItemView* view = box->view();
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QTest::qWait(QApplication::doubleClickInterval() + 50); // the popup ignores a release that follows its opening
        QTest::mouseMove(view->viewport(), view->visualRect(index).center());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    // What a double click sends: a click, then the double click and its release.
    void DoubleClick(QPoint at)
    {
        QTest::mouseClick(keys->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(keys->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(keys->viewport(), Qt::LeftButton, {}, at);
    }

    void ClickExample()
    {
        auto* example = Find<QLabel>("LInsertSample");
        QTest::mouseClick(example, Qt::LeftButton, {}, QPoint(20, 5));
    }

    QListWidget* keys = nullptr;
    QComboBox* box = nullptr;
    QLineEdit* search = nullptr;
};

TEST_F(KeyPage, EveryControlSitsAtItsPlace)
{
    Open();
    TfMain& w = Window();
    QWidget* page = w.Page("Misc");
    auto* frame = Find<QGroupBox>("GroupBox2");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->parentWidget(), page);
    EXPECT_EQ(frame->geometry(), QRect(8, 8, 529, 313));
    EXPECT_EQ(frame->title(), "  Key bindings  ");
    EXPECT_TRUE(frame->font().bold());

    const std::pair<const char*, QRect> places[] = {
        {"StaticText3", {8, 14, 90, 17}},      {"ComboBox1", {8, 32, 513, 23}}, {"GroupBox6", {8, 56, 241, 97}},
        {"ListBox1", {8, 160, 241, 121}},      {"Image3", {24, 288, 16, 16}},   {"QSearchKey", {130, 285, 121, 21}},
        {"GroupBox3", {256, 56, 265, 249}},    {"ResetKeyBindings", {264, 272, 249, 25}},
    };
    for (const auto& [name, rect] : places) {
        auto* control = Find<QWidget>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->parentWidget(), frame) << name;
        EXPECT_EQ(control->geometry(), rect) << name;
    }
    EXPECT_EQ(Find<QWidget>("Label16")->pos(), QPoint(42, 289));
    const std::pair<const char*, QPoint> help[] = {
        {"Label10", {8, 16}}, {"Label11", {8, 40}}, {"LInsertSample", {9, 117}}, {"Label12", {8, 150}}, {"Image4", {8, 186}}};
    for (const auto& [name, at] : help) {
        auto* control = Find<QWidget>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->parentWidget()->objectName(), "GroupBox3") << name;
        EXPECT_EQ(control->pos(), at) << name;
    }
    EXPECT_EQ(Find<QWidget>("LInsertSample")->size(), QSize(209, 26));

    ASSERT_EQ(keys->count(), 107);
    for (int i = 0; i < 107; ++i) EXPECT_EQ(keys->item(i)->text().toStdString(), keys::kKeyNames[static_cast<std::size_t>(i)]);
    EXPECT_EQ(keys->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(keys->visualItemRect(keys->item(1)).height(), 16);

    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(box->maxVisibleItems(), 8);
    EXPECT_EQ(box->font().family(), "Arial");
    EXPECT_EQ(box->font().pixelSize(), 12);
    EXPECT_EQ(ui::BaseColour(box), kNormal);
    EXPECT_EQ(keys->palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));
    EXPECT_EQ(search->font().family(), "Lucida Console");
    EXPECT_EQ(ui::BaseColour(search), QColor(0xE9, 0xEE, 0xF7));
    EXPECT_TRUE(search->text().isEmpty());
    EXPECT_EQ(search->contextMenuPolicy(), Qt::CustomContextMenu);

    const QString hint = "Type initial characters of key to find it (if it exists in the list, of course)";
    for (const char* name : {"QSearchKey", "Label16", "Image3", "Image4"}) EXPECT_EQ(Find<QWidget>(name)->toolTip(), hint) << name;
    EXPECT_EQ(Find<QLabel>("LInsertSample")->text(),
              "N=ActivateBelt 0 | onrelease ParseLeftClick\n(N will activate bioelectric cell)");
    EXPECT_EQ(Find<QLabel>("LInsertSample")->toolTip(), "Borrowed from Russian DXMP FAQ");
    EXPECT_TRUE(Find<QLabel>("LInsertSample")->font().underline());
    EXPECT_EQ(Find<QLabel>("Label11")->text(), QString::fromUtf8("\u2022 You can assign more than one command to \none key, use | as "
                                                                "separator.\n\u2022 Use OnRelease to assign action to key "
                                                                "when\nyou released it.\n\nFor example:"));
    EXPECT_EQ(Find<QLabel>("Label12")->text(), "1. Select a key from list\n2. Enter command or commands for it.\n\n"
                                               "      Warning: Changes will be saved immediately\nbut you can cancel all "
                                               "changes by clicking");
    EXPECT_EQ(Find<QPushButton>("ResetKeyBindings")->text(), "Reset key bindings to previous state");

    const std::tuple<const char*, const char*, int, const char*> buttons[] = {
        {"sAddCommand", "Add Command", 15, "Add new command to the list"},
        {"sRemoveCommand", "Remove command", 40, "Remove selected command from list"},
        {"SpeedButton1", "Save commands list", 64, ""},
    };
    for (const auto& [name, caption, y, tip] : buttons) {
        auto* b = Find<QAbstractButton>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->parentWidget()->objectName(), "GroupBox6");
        EXPECT_EQ(b->geometry(), QRect(8, y, 200, 22)) << name;
        EXPECT_EQ(b->text(), caption);
        EXPECT_EQ(b->toolTip(), tip);
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << name;
    }

    // Tab order: key list, command box, reset button, search field.
    std::vector<QString> order;
    QWidget* at = keys;
    for (int guard = 0; guard < 200 && order.size() < 4; ++guard, at = at->nextInFocusChain()) {
        if (page->isAncestorOf(at) && (at->focusPolicy() & Qt::TabFocus) && !at->focusProxy()) order.push_back(at->objectName());
    }
    EXPECT_EQ(order, (std::vector<QString>{"ListBox1", "ComboBox1", "ResetKeyBindings", "QSearchKey"}));
}

TEST_F(KeyPage, StartUpShowsKeyZeroAndSelectingNeverWrites)
{
    const std::string before = Get("User.ini");
    Open();
    EXPECT_EQ(Selected(), "0");
    EXPECT_EQ(box->currentText(), "ActivateBelt 0");
    EXPECT_TRUE(box->toolTip().isEmpty());

    ClickKey("Pause");
    EXPECT_EQ(box->currentText(), "NOBIND") << "Pause is bound only in Extension.Input";
    ClickKey("F5");
    EXPECT_EQ(box->currentText(), "");
    ClickKey("home");
    EXPECT_EQ(box->currentText(), "Behindview 1");
    QTest::keyClick(keys, Qt::Key_Down);
    EXPECT_EQ(Selected(), "i");
    QTest::keyClick(keys, Qt::Key_Up);
    EXPECT_EQ(box->currentText(), "Behindview 1");
    QTest::keyClick(keys, Qt::Key_S);
    EXPECT_EQ(Selected(), "S");
    EXPECT_EQ(box->currentText(), "MoveBackward");
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_TRUE(box->toolTip().isEmpty());
}

TEST_F(KeyPage, TypingSavesEveryLetterToBothSections)
{
    Open();
    ClickKey("F5");
    Type("Ju");
    EXPECT_EQ(Ext("F5"), "Ju");
    EXPECT_EQ(Copy("F5"), "Ju");
    Type("mp | onrelease Fire");
    EXPECT_EQ(Ext("F5"), "Jump | onrelease Fire");
    EXPECT_EQ(Copy("F5"), "Jump | onrelease Fire");
    EXPECT_EQ(box->toolTip(), "Jump | onrelease Fire");

    // Deleting writes each shorter text, down to an empty value.
    for (int i = 0; i < 4; ++i) QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    EXPECT_NE(Get("User.ini").find("\r\nF5=Jump | onrelease \r\n"), std::string::npos);
    ClearBox();
    EXPECT_EQ(Ext("F5"), "");
    EXPECT_EQ(Copy("F5"), "");
    EXPECT_NE(Get("User.ini").find("\r\nF5=\r\n"), std::string::npos);

    // Return keeps the text as typed; no entry of the list replaces it.
    Type("jump");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), "jump");
    EXPECT_EQ(Ext("F5"), "jump");

    // Typing after NOBIND saves the whole text.
    ClickKey("Pause");
    box->lineEdit()->end(false);
    Type("!");
    EXPECT_EQ(Ext("Pause"), "NOBIND!");
    EXPECT_EQ(Copy("Pause"), "NOBIND!");
}

TEST_F(KeyPage, PasteAndCutAreChangesToo)
{
    Open();
    ClickKey("F6");
    QApplication::clipboard()->setText("Stat fps");
    box->lineEdit()->setFocus();
    QTest::keyClick(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Ext("F6"), "Stat fps");
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Ext("F6"), "");
    EXPECT_EQ(Copy("F6"), "");
}

TEST_F(KeyPage, APickBindsAtOnceAndCanBeRemovedFromTheList)
{
    Open();
    ClickKey("Space");
    ConfigFile(".\\User.ini").WriteText("Extension.InputExt", "Space", "Duck");
    ConfigFile(".\\User.ini").WriteText("Extension.Input", "Space", "Duck");
    ClickKey("Space");
    const int jump = Entry("Jump");
    ASSERT_GE(jump, 0);
    PickWithPointer(jump);
    EXPECT_EQ(box->currentText(), "Jump");
    EXPECT_EQ(Ext("Space"), "Jump");
    EXPECT_EQ(Copy("Space"), "Jump");
    EXPECT_EQ(box->toolTip(), "Jump");

    // Stepping through the closed list with the arrow keys picks as well.
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->currentText(), "Name <PutYourNameHere>");
    EXPECT_EQ(Ext("Space"), "Name <PutYourNameHere>");
    EXPECT_EQ(Copy("Space"), "Name <PutYourNameHere>");

    // "Remove command" takes the entry last picked, the text stays.
    const int count = box->count();
    QTest::mouseClick(Find<QAbstractButton>("sRemoveCommand"), Qt::LeftButton);
    EXPECT_EQ(box->count(), count - 1);
    EXPECT_EQ(Entry("Name <PutYourNameHere>"), -1);
    EXPECT_EQ(box->currentText(), "Name <PutYourNameHere>");
    EXPECT_EQ(Ext("Space"), "Name <PutYourNameHere>");
    QTest::mouseClick(Find<QAbstractButton>("sRemoveCommand"), Qt::LeftButton);
    EXPECT_EQ(box->count(), count - 1) << "nothing picked any more";

    // Once typed over, or after loading a key, nothing is picked.
    QTest::keyClick(box, Qt::Key_Down);
    Type("x");
    QTest::mouseClick(Find<QAbstractButton>("sRemoveCommand"), Qt::LeftButton);
    EXPECT_EQ(box->count(), count - 1);
    QTest::keyClick(box, Qt::Key_Down);
    ClickKey("F1");
    QTest::mouseClick(Find<QAbstractButton>("sRemoveCommand"), Qt::LeftButton);
    EXPECT_EQ(box->count(), count - 1);
}

TEST_F(KeyPage, PickingDemorecKeepsItsBlankUntilReloaded)
{
    Open();
    ClickKey("F7");
    PickWithPointer(Entry("Demorec "));
    EXPECT_NE(Get("User.ini").find("\r\nF7=Demorec \r\n"), std::string::npos);
    ClickKey("F8");
    ClickKey("F7");
    EXPECT_EQ(box->currentText(), "Demorec");
}

TEST_F(KeyPage, SearchMovesTheSelectionWithoutLoading)
{
    Open();
    const std::string before = Get("User.ini");
    search->setFocus();
    QTest::keyClicks(search, "f");
    EXPECT_EQ(Selected(), "F");
    QTest::keyClicks(search, "1");
    EXPECT_EQ(Selected(), "F1");
    QTest::keyClicks(search, "0");
    EXPECT_EQ(Selected(), "F10");
    QTest::keyClick(search, Qt::Key_Backspace);
    EXPECT_EQ(Selected(), "F11");
    EXPECT_EQ(box->currentText(), "ActivateBelt 0") << "the found key is not loaded";
    EXPECT_EQ(Get("User.ini"), before);

    // A change of the command box now goes to the found key.
    PickWithPointer(Entry("Fire"));
    EXPECT_EQ(Ext("F11"), "Fire");
    EXPECT_EQ(Copy("F11"), "Fire");
    EXPECT_EQ(Ext("0"), "ActivateBelt 0");

    search->clear();
    EXPECT_EQ(Selected(), "<none>") << "an empty text matches nothing";
    QTest::keyClicks(search, "HOME");
    EXPECT_EQ(Selected(), "home");
    search->clear();
    QTest::keyClicks(search, "zz");
    EXPECT_EQ(Selected(), "<none>");
    const std::string unselected = Get("User.ini");
    Type("lost");
    PickWithPointer(Entry("Jump"));
    EXPECT_EQ(Get("User.ini"), unselected) << "with no key selected nothing is saved";

    search->clear();
    ClickKey("N");
    QTest::keyClicks(search, "n");
    EXPECT_EQ(Selected(), "NumLock");
}

TEST_F(KeyPage, TheExampleWritesOnlyTheShownSectionOnYes)
{
    kUser.WriteText("Extension.InputExt", "N", "Jump");
    kUser.WriteText("Extension.Input", "N", "Jump");
    Open();
    ClickKey("F2");
    BoxAnswerer boxes;
    boxes.Expect(kExampleQuestion);
    ClickExample();
    boxes.Verify();
    EXPECT_EQ(Ext("N"), "ActivateBelt 0 | onrelease ParseLeftClick");
    EXPECT_EQ(Copy("N"), "Jump");
    EXPECT_EQ(Selected(), "N");
    EXPECT_EQ(box->currentText(), "ActivateBelt 0 | onrelease ParseLeftClick");
}

TEST_F(KeyPage, TheExampleWithNoOnlyShowsN)
{
    kUser.WriteText("Extension.InputExt", "N", "Jump");
    Open();
    const std::string before = Get("User.ini");
    BoxAnswerer boxes;
    ExpectedBox no = kExampleQuestion;
    no.press = QMessageBox::No;
    boxes.Expect(no);
    ClickExample();
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_EQ(Selected(), "N");
    EXPECT_EQ(box->currentText(), "Jump");
}

TEST_F(KeyPage, ResetPutsTheBackupsBackAndReloads)
{
    Open();
    ASSERT_TRUE(fs::exists("user.ini_Bak"));
    const std::string user = Get("user.ini_Bak");
    const std::string system = Get("DeusEx.ini_Bak");
    ClickKey("Space");
    ClearBox();
    Type("Fire");
    ClickKey("F9");
    Type("Stat net");
    ConfigFile(".\\DeusEx.ini").WriteText("Fenwake", "ColorThemeIndex", "3");
    {
        BoxAnswerer boxes;
        boxes.Expect({"Command has been added to list!",
                      "The command \"Stat net\" has been added to commands list. Do not forget to save it before closing "
                      "the program!",
                      QMessageBox::Information, QMessageBox::Ok});
        QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);
        boxes.Verify();
    }
    const int entries = box->count();

    BoxAnswerer boxes;
    ExpectedBox cancel = kResetQuestion;
    cancel.press = QMessageBox::Cancel;
    boxes.Expect(cancel);
    QTest::mouseClick(Find<QPushButton>("ResetKeyBindings"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Ext("F9"), "Stat net");
    EXPECT_EQ(box->currentText(), "Stat net");

    boxes.Expect(kResetQuestion);
    QTest::mouseClick(Find<QPushButton>("ResetKeyBindings"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), user);
    EXPECT_EQ(Get("DeusEx.ini"), system);
    EXPECT_EQ(Selected(), "F9");
    EXPECT_EQ(box->currentText(), "");
    EXPECT_EQ(box->count(), entries) << "the commands list keeps its unsaved addition";
}

TEST_F(KeyPage, ResetWithoutABackupSaysSoAndChangesNothing)
{
    Open();
    ClickKey("F9");
    Type("Stat net");
    fs::remove("user.ini_Bak");
    const std::string user = Get("User.ini");
    const std::string system = Get("DeusEx.ini");
    BoxAnswerer boxes;
    boxes.Expect(kResetQuestion);
    boxes.Expect({"ERROR", "Unable to restore backup copies of configuration files!", QMessageBox::Critical,
                  QMessageBox::Ok});
    QTest::mouseClick(Find<QPushButton>("ResetKeyBindings"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), user);
    EXPECT_EQ(Get("DeusEx.ini"), system);
    EXPECT_EQ(box->currentText(), "Stat net");
}

TEST_F(KeyPage, AWriteProtectedFileIsReportedOncePerChange)
{
    Open();
    ClickKey("F3");
    ClearBox();
    Type("a");
    ASSERT_EQ(box->toolTip(), "a");
    MakeReadOnly("User.ini");
    const std::string before = Get("User.ini");
    const ExpectedBox error{kTitle, "Unable to write to .\\User.ini.", QMessageBox::Critical, QMessageBox::Ok};
    BoxAnswerer boxes;
    boxes.Expect(error);
    Type("b");
    boxes.Verify();
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_EQ(box->currentText(), "ab") << "the box keeps the user's text";
    EXPECT_EQ(box->toolTip(), "a") << "the tooltip follows saves only";

    boxes.Expect(error);
    PickWithPointer(Entry("Jump"));
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), before);

    ClickKey("F4");
    ClickKey("F3");
    EXPECT_EQ(box->currentText(), "a") << "what the file holds";
}

TEST_F(KeyPage, ADoubleClickHighlightsTheCommandBoxBriefly)
{
    Open();
    auto* item = keys->item(5);
    QSignalSpy doubles(keys, &QListWidget::doubleClicked);
    DoubleClick(keys->visualItemRect(item).center());
    EXPECT_EQ(Selected(), "5");
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(ui::BaseColour(box), QColor(0xFF, 0xFF, 0x00));
    Window().Timer1Timer();
    EXPECT_EQ(ui::BaseColour(box), kNormal);

    DoubleClick(keys->visualItemRect(item).center());
    box->setFocus(Qt::TabFocusReason);
    box->showPopup();
    box->hidePopup();
    EXPECT_EQ(ui::BaseColour(box), QColor(0xFF, 0xFF, 0x00)) << "the drop-down list is part of the box";
    search->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ui::BaseColour(box), kNormal);
}

TEST_F(KeyPage, TheCommandsFileIsCreatedWithTheDefaults)
{
    Open();
    std::string expected;
    for (std::string_view e : commands::kDefaults) expected.append(e).append("\r\n");
    EXPECT_EQ(Get("CommandsList_def.txt"), expected);
    ASSERT_EQ(box->count(), 48);
    for (int i = 0; i < 48; ++i) EXPECT_EQ(box->itemText(i).toStdString(), commands::kDefaults[static_cast<std::size_t>(i)]);
}

TEST_F(KeyPage, AnExistingCommandsFileIsLoadedSortedAndSavedWithCrLf)
{
    Put("CommandsList_def.txt", "Jump\naim\n\nFire\n");
    Open();
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->itemText(0), "");
    EXPECT_EQ(box->itemText(1), "aim");
    EXPECT_EQ(box->itemText(3), "Jump");

    ClickKey("F5");
    BoxAnswerer boxes;
    boxes.Expect({"Command has been added to list!",
                  "The command \"\" has been added to commands list. Do not forget to save it before closing the program!",
                  QMessageBox::Information, QMessageBox::Ok});
    QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);
    Type("jump");
    boxes.Expect({"Command has been added to list!",
                  "The command \"jump\" has been added to commands list. Do not forget to save it before closing the "
                  "program!",
                  QMessageBox::Information, QMessageBox::Ok});
    QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(box->currentText(), "jump");
    EXPECT_EQ(Get("CommandsList_def.txt"), "Jump\naim\n\nFire\n") << "adding does not save";

    QTest::mouseClick(Find<QAbstractButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(Get("CommandsList_def.txt"), "\r\n\r\naim\r\nFire\r\nJump\r\njump\r\n");
    EXPECT_TRUE(boxes.Seen().size() == 2u) << "saving shows nothing";
}

TEST_F(KeyPage, ARefusedCommandsSaveKeepsTheOldFile)
{
    Put("CommandsList_def.txt", "Jump\r\n");
    Open();
    ClearBox();
    Type("Fire");
    BoxAnswerer boxes;
    boxes.Expect({"Command has been added to list!",
                  "The command \"Fire\" has been added to commands list. Do not forget to save it before closing the "
                  "program!",
                  QMessageBox::Information, QMessageBox::Ok});
    QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);
    MakeReadOnly("CommandsList_def.txt");
    boxes.Expect({kTitle, "Unable to save commands file! ", QMessageBox::Critical, QMessageBox::Ok});
    QTest::mouseClick(Find<QAbstractButton>("SpeedButton1"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("CommandsList_def.txt"), "Jump\r\n");
    EXPECT_EQ(box->count(), 2);
}

// The safeguards at start-up.

class StartUp : public GameDirTest {};

TEST_F(StartUp, FirstStartBacksUpBothFilesAndLaterStartsKeepThem)
{
    CopySamples();
    Window();
    EXPECT_EQ(Window().StartupSteps().size(), 17);
    EXPECT_EQ(Get("user.ini_Bak"), Get("User.ini"));
    EXPECT_EQ(Get("DeusEx.ini_Bak"), Get("DeusEx.ini"));
    const std::string backup = Get("user.ini_Bak");
    window_.reset();

    kUser.WriteText("Extension.InputExt", "F1", "Changed");
    Window();
    EXPECT_EQ(Get("user.ini_Bak"), backup);
    EXPECT_NE(Get("User.ini"), backup);
}

TEST_F(StartUp, AHalfPairOfBackupsIsLeftAlone)
{
    CopySamples();
    Put("DeusEx.ini_Bak", "old");
    Window();
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
    EXPECT_EQ(Get("DeusEx.ini_Bak"), "old");
    EXPECT_EQ(Window().StartupSteps().size(), 17);
}

TEST_F(StartUp, AMissingUserIniIsReportedAndEndsTheProgram)
{
    CopySamples();
    fs::remove("User.ini");
    BoxAnswerer boxes;
    boxes.Expect({"Configuration file not found", "\"User.ini\" file not found! Click OK to exit.",
                  QMessageBox::Critical, QMessageBox::Ok});
    boxes.Expect({"ERROR! :D", "Unable to create backup copies of configuration files! :D", QMessageBox::Critical,
                  QMessageBox::Ok});
    TfMain& w = Window();
    boxes.Verify();
    EXPECT_TRUE(w.TerminateRequested());
    EXPECT_EQ(w.StartupSteps().back(), "BuildIniBackups") << "the rest of the start-up is skipped";
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "NOBIND");
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
    EXPECT_FALSE(fs::exists("DeusEx.ini_Bak"));
}

TEST_F(StartUp, AFailedBackupStopsTheStartUpSilently)
{
    CopySamples();
    fs::create_directory("DeusEx.ini_Bak"); // in the way of the copy
    BoxAnswerer boxes;
    boxes.Expect({"ERROR! :D", "Unable to create backup copies of configuration files! :D", QMessageBox::Critical,
                  QMessageBox::Ok});
    TfMain& w = Window();
    boxes.Verify();
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_FALSE(w.TerminateRequested());
    EXPECT_EQ(w.StartupSteps().back(), "BuildIniBackups");
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
}

TEST_F(StartUp, AWriteProtectedUserIniIsWritableAfterStartUp)
{
    CopySamples();
    MakeReadOnly("User.ini");
    Window();
    EXPECT_EQ(Window().StartupSteps().size(), 17);
    kUser.WriteText("Extension.InputExt", "F1", "Fire");
    EXPECT_EQ(Ext("F1"), "Fire");
}

} // namespace
} // namespace fenwake::test
