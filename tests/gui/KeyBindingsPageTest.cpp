#include "GuiTest.h"
#include "TempDir.h"

#include "config/ConfigFile.h"
#include "rules/CommandsList.h"
#include "ui/Colours.h"

#include <algorithm>

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

std::string Ext(std::string_view key) { return kUser.ReadText("Extension.InputExt", key, "<none>"); }
std::string Copy(std::string_view key) { return kUser.ReadText("Extension.Input", key, "<none>"); }

const ExpectedBox kExampleQuestion{"Use keybind example ?", "Do you want to use && save this example of keybind?",
                                   QMessageBox::Question,   QMessageBox::Yes | QMessageBox::No,
                                   QMessageBox::No,         QMessageBox::Yes};

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
        MainWindow& w = Window();
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
    int Entry(const char* text) const
    {
        return box->findText(QString::fromLatin1(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    }

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
    auto* frame = Find<QGroupBox>("GroupBox2");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->parentWidget(), Page("Misc"));
    EXPECT_EQ(frame->geometry(), QRect(8, 8, 529, 313));
    EXPECT_EQ(frame->title(), "  Key bindings  ");
    const std::pair<const char*, QRect> places[] = {
        {"StaticText3", {8, 14, 90, 17}},     {"ComboBox1", {8, 32, 513, 23}},
        {"GroupBox6", {8, 56, 241, 97}},      {"ListBox1", {8, 160, 241, 121}},
        {"Image3", {24, 288, 16, 16}},        {"QSearchKey", {130, 285, 121, 21}},
        {"GroupBox3", {256, 56, 265, 249}},   {"ResetKeyBindings", {264, 272, 249, 25}},
        {"Image4", {8, 186, 16, 16}},         {"sAddCommand", {8, 15, 200, 22}},
        {"sRemoveCommand", {8, 40, 200, 22}}, {"SpeedButton1", {8, 64, 200, 22}},
    };
    for (const auto& [name, rect] : places) {
        auto* control = Find<QWidget>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->geometry(), rect) << name;
    }
    // The example keeps its place and grows only where the font needs it to show the whole command.
    auto* example = Find<QLabel>("LInsertSample");
    EXPECT_EQ(example->pos(), QPoint(9, 117));
    EXPECT_EQ(example->height(), 26);
    EXPECT_EQ(
        example->width(),
        std::max(209, example->fontMetrics().horizontalAdvance("N=ActivateBelt 0 | onrelease ParseLeftClick") + 1));
    ASSERT_EQ(keys->count(), 107);
    EXPECT_EQ(keys->item(46)->text(), "home");
    EXPECT_EQ(keys->visualItemRect(keys->item(1)).height(), 16);
    EXPECT_EQ(box->count(), 48);
    EXPECT_EQ(ui::BaseColour(box), kNormal);
    EXPECT_EQ(box->maxVisibleItems(), 8);
    const QString hint = "Type initial characters of key to find it (if it exists in the list, of course)";
    for (const char* name : {"QSearchKey", "Label16", "Image3"})
        EXPECT_EQ(Find<QWidget>(name)->toolTip(), hint) << name;
    EXPECT_EQ(Find<QWidget>("sAddCommand")->toolTip(), "Add new command to the list");
    for (const char* name : {"sAddCommand", "sRemoveCommand", "SpeedButton1"})
        EXPECT_EQ(Find<QWidget>(name)->focusPolicy(), Qt::NoFocus) << name;

    std::vector<QString> order; // the tab order inside the page
    QWidget* at = keys;
    for (int guard = 0; guard < 200 && order.size() < 4; ++guard, at = at->nextInFocusChain()) {
        if (frame->isAncestorOf(at) && (at->focusPolicy() & Qt::TabFocus) && !at->focusProxy())
            order.push_back(at->objectName());
    }
    EXPECT_EQ(order, (std::vector<QString>{"ListBox1", "ComboBox1", "ResetKeyBindings", "QSearchKey"}));
}

TEST_F(KeyPage, SelectingNeverWritesAndEveryChangeSavesAtOnce)
{
    const std::string before = Get("User.ini");
    Open();
    EXPECT_EQ(Selected(), "0");
    EXPECT_EQ(box->currentText(), "ActivateBelt 0");
    ClickKey("Pause");
    EXPECT_EQ(box->currentText(), "NOBIND") << "Pause is bound only in Extension.Input";
    ClickKey("home");
    EXPECT_EQ(box->currentText(), "Behindview 1");
    QTest::keyClick(keys, Qt::Key_S);
    EXPECT_EQ(box->currentText(), "MoveBackward");
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_TRUE(box->toolTip().isEmpty());

    ClickKey("F5");
    Type("Ju");
    EXPECT_EQ(Ext("F5"), "Ju");
    Type("mp | onrelease Fire");
    EXPECT_EQ(Ext("F5"), "Jump | onrelease Fire");
    EXPECT_EQ(Copy("F5"), "Jump | onrelease Fire");
    EXPECT_EQ(box->toolTip(), "Jump | onrelease Fire");
    ClearBox();
    Type("jump");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return); // must not pick the entry Jump in the typed text's place
    EXPECT_EQ(box->currentText(), "jump");
    EXPECT_EQ(Ext("F5"), "jump");

    QApplication::clipboard()->setText("Stat fps");
    ClearBox();
    EXPECT_NE(Get("User.ini").find("\r\nF5=\r\n"), std::string::npos);
    QTest::keyClick(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Copy("F5"), "Stat fps");
    box->lineEdit()->setSelection(0, 5);
    QTest::keyClick(box->lineEdit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Ext("F5"), "fps");
    EXPECT_EQ(Copy("F5"), "fps");
}

TEST_F(KeyPage, APickBindsAtOnceAndRemoveTakesThePickedEntry)
{
    kUser.WriteText("Extension.InputExt", "Space", "Duck");
    Open();
    ClickKey("Space");
    PickWithPointer(Entry("Jump"));
    EXPECT_EQ(Ext("Space"), "Jump");
    EXPECT_EQ(Copy("Space"), "Jump");
    QTest::keyClick(box, Qt::Key_Down); // the closed list stepped with the arrow keys
    EXPECT_EQ(Ext("Space"), "Name <PutYourNameHere>");
    EXPECT_EQ(box->toolTip(), "Name <PutYourNameHere>");

    auto* remove = Find<QAbstractButton>("sRemoveCommand");
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(box->count(), 47);
    EXPECT_EQ(Entry("Name <PutYourNameHere>"), -1);
    EXPECT_EQ(box->currentText(), "Name <PutYourNameHere>");
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(box->count(), 47) << "nothing picked any more";
    QTest::keyClick(box, Qt::Key_Down);
    Type("x"); // typed over
    QTest::mouseClick(remove, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_Down);
    ClickKey("F1"); // replaced by loading
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(box->count(), 47);
}

TEST_F(KeyPage, SearchMovesTheSelectionWithoutLoading)
{
    Open();
    const std::string before = Get("User.ini");
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
    PickWithPointer(Entry("Fire"));
    EXPECT_EQ(Ext("F11"), "Fire") << "a change now goes to the found key";
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
    EXPECT_EQ(Get("User.ini"), unselected) << "with no key selected nothing is saved";
    search->clear();
    ClickKey("N");
    QTest::keyClicks(search, "n");
    EXPECT_EQ(Selected(), "NumLock");
}

TEST_F(KeyPage, TheExampleAsksAndWritesTheShownSectionAlone)
{
    kUser.WriteText("Extension.InputExt", "N", "Jump");
    kUser.WriteText("Extension.Input", "N", "Jump");
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

    ClickKey("F2");
    boxes.Expect(kExampleQuestion);
    ClickExample();
    boxes.Verify();
    EXPECT_EQ(Ext("N"), "ActivateBelt 0 | onrelease ParseLeftClick");
    EXPECT_EQ(Copy("N"), "Jump");
    EXPECT_EQ(Selected(), "N");
    EXPECT_EQ(box->currentText(), "ActivateBelt 0 | onrelease ParseLeftClick");
}

TEST_F(KeyPage, ResetRestoresBothFilesOnlyWhenConfirmed)
{
    Open();
    const std::string user = Get("user.ini_Bak");
    const std::string system = Get("DeusEx.ini_Bak");
    ClickKey("F9");
    Type("Stat net");
    kUser.WriteText("Extension.InputExt", "F10", "Jump");
    ConfigFile(".\\DeusEx.ini").WriteText("Fenwake", "ColorThemeIndex", "3");
    BoxAnswerer boxes;
    boxes.Expect({"Command has been added to list!",
                  "The command \"Stat net\" has been added to commands list. Do not forget to save it before closing "
                  "the program!",
                  QMessageBox::Information, QMessageBox::Ok});
    QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);

    auto* reset = Find<QPushButton>("ResetKeyBindings");
    ExpectedBox cancel = kResetQuestion;
    cancel.press = QMessageBox::Cancel;
    boxes.Expect(cancel);
    QTest::mouseClick(reset, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Ext("F9"), "Stat net");

    fs::rename("user.ini_Bak", "hidden");
    const std::string edited = Get("User.ini");
    boxes.Expect(kResetQuestion);
    boxes.Expect(
        {"ERROR", "Unable to restore backup copies of configuration files!", QMessageBox::Critical, QMessageBox::Ok});
    QTest::mouseClick(reset, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), edited);
    EXPECT_EQ(box->currentText(), "Stat net");

    fs::rename("hidden", "user.ini_Bak");
    boxes.Expect(kResetQuestion);
    QTest::mouseClick(reset, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), user);
    EXPECT_EQ(Get("DeusEx.ini"), system);
    EXPECT_EQ(Selected(), "F9");
    EXPECT_EQ(box->currentText(), "");
    EXPECT_EQ(box->count(), 49) << "the commands list keeps its unsaved addition";
}

TEST_F(KeyPage, AWriteProtectedFileIsReportedOncePerChange)
{
    Open();
    ClickKey("F3");
    ClearBox();
    Type("a");
    SetReadOnlyMark("User.ini");
    const std::string before = Get("User.ini");
    const ExpectedBox error{kTitle, QString::fromStdString(WriteErrorFor("User.ini") + "."), QMessageBox::Critical,
                            QMessageBox::Ok};
    BoxAnswerer boxes;
    boxes.Expect(error);
    Type("b");
    boxes.Expect(error);
    PickWithPointer(Entry("Jump"));
    boxes.Verify();
    EXPECT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_EQ(box->toolTip(), "a") << "the tooltip follows saves only";
    ClickKey("F4");
    ClickKey("F3");
    EXPECT_EQ(box->currentText(), "a") << "what the file holds";
}

TEST_F(KeyPage, ADoubleClickHighlightsTheCommandBoxBriefly)
{
    Open();
    const QPoint five = keys->visualItemRect(keys->item(5)).center();
    DoubleClick(five);
    EXPECT_EQ(Selected(), "5");
    EXPECT_EQ(ui::BaseColour(box), QColor(0xFF, 0xFF, 0x00));
    Find<KeyBindingsPage>("Misc")->EndCommandBoxHighlight();
    EXPECT_EQ(ui::BaseColour(box), kNormal);

    DoubleClick(five);
    box->setFocus(Qt::TabFocusReason);
    box->showPopup();
    box->hidePopup();
    EXPECT_EQ(ui::BaseColour(box), QColor(0xFF, 0xFF, 0x00)) << "the drop-down list is part of the box";
    search->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ui::BaseColour(box), kNormal);
}

TEST_F(KeyPage, TheCommandsFileIsLoadedSortedAndSavedWithCrLf)
{
    Put("CommandsList_def.txt", "Jump\naim\n\nFire\n");
    Open();
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->itemText(0), "");
    EXPECT_EQ(box->itemText(1), "aim");
    ClearBox();
    auto added = [](const QString& text) {
        return ExpectedBox{
            "Command has been added to list!",
            "The command \"" + text +
                "\" has been added to commands list. Do not forget to save it before closing the program!",
            QMessageBox::Information, QMessageBox::Ok};
    };
    BoxAnswerer boxes;
    boxes.Expect(added(""));
    QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);
    Type("jump");
    boxes.Expect(added("jump"));
    QTest::mouseClick(Find<QAbstractButton>("sAddCommand"), Qt::LeftButton);
    EXPECT_EQ(box->currentText(), "jump");
    EXPECT_EQ(Get("CommandsList_def.txt"), "Jump\naim\n\nFire\n");
    QTest::mouseClick(Find<QAbstractButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(Get("CommandsList_def.txt"), "\r\n\r\naim\r\nFire\r\nJump\r\njump\r\n");

    SetReadOnlyMark("CommandsList_def.txt");
    boxes.Expect({kTitle, "Unable to save commands file! ", QMessageBox::Critical, QMessageBox::Ok});
    QTest::mouseClick(Find<QAbstractButton>("SpeedButton1"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(boxes.Seen().size(), 3u);
}

// The safeguards at start-up.

class StartUp : public GameDirTest {};

TEST_F(StartUp, TheFirstStartBacksUpAndLaterStartsKeepTheBackups)
{
    CopySamples();
    SetReadOnlyMark("User.ini");
    Window();
    EXPECT_EQ(Window().StartupSteps().size(), 19);
    EXPECT_EQ(Get("user.ini_Bak"), Get("User.ini"));
    EXPECT_EQ(Get("DeusEx.ini_Bak"), Get("DeusEx.ini"));
    const std::string backup = Get("user.ini_Bak");
    window_.reset();

    kUser.WriteText("Extension.InputExt", "F1", "Changed"); // writable again
    fs::remove("DeusEx.ini_Bak");
    Window();
    EXPECT_EQ(Get("user.ini_Bak"), backup);
    EXPECT_FALSE(fs::exists("DeusEx.ini_Bak")) << "a half pair is left alone";
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
    MainWindow& w = Window();
    boxes.Verify();
    EXPECT_TRUE(w.TerminateRequested());
    EXPECT_EQ(w.StartupSteps().back(), "BuildIniBackups") << "the rest of the start-up is skipped";
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "NOBIND");
    EXPECT_FALSE(fs::exists("DeusEx.ini_Bak"));
}

TEST_F(StartUp, AFailedBackupStopsTheStartUpSilently)
{
    CopySamples();
    fs::create_directory("DeusEx.ini_Bak"); // in the way of the copy
    BoxAnswerer boxes;
    boxes.Expect({"ERROR! :D", "Unable to create backup copies of configuration files! :D", QMessageBox::Critical,
                  QMessageBox::Ok});
    MainWindow& w = Window();
    boxes.Verify();
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_FALSE(w.TerminateRequested());
    EXPECT_EQ(w.StartupSteps().back(), "BuildIniBackups");
}

} // namespace
} // namespace fenwake::test
