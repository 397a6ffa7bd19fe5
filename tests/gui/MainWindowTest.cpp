#include "GuiTest.h"

#include "ui/Messages.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <iterator>

namespace fenwake::test {
namespace {

class MainWindow : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
    }
};

const ExpectedBox kQuitQuestion{"Please confirm",      "Are you sure you want to quit ? ",
                                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No,       QMessageBox::No};

TEST_F(MainWindow, IsLaidOutWithItsNamedControls)
{
    fenwake::MainWindow& w = Window();
    EXPECT_EQ(w.size(), QSize(543, 407));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.windowTitle(), " Fenwake Version 1.1.1.100   Language: [English]");
    EXPECT_EQ(ui::ApplicationTitle(), w.windowTitle());

    auto* notebook = Find<QStackedWidget>("Notebook1");
    ASSERT_NE(notebook, nullptr);
    EXPECT_EQ(notebook->geometry(), QRect(0, 23, 543, 332));
    // The later pages come after the four the window began with.
    const char* pages[] = {"Default", "Graphics", "Misc", "AL", "History", "Share"};
    ASSERT_EQ(notebook->count(), static_cast<int>(std::size(pages)));
    for (int i = 0; i < notebook->count(); ++i) EXPECT_EQ(notebook->widget(i)->objectName(), pages[i]);
    // Their buttons sit right of the first two, which keep their places.
    auto* strip = Find<QWidget>("CoolBar1");
    const auto placed = [&](const char* name) {
        auto* b = Find<QAbstractButton>(name);
        return QRect(b->mapTo(strip, QPoint(0, 0)), b->size());
    };
    EXPECT_EQ(placed("ToolButton1"), QRect(61, 1, 115, 21));
    EXPECT_EQ(placed("ToolButton2"), QRect(176, 1, 115, 21));
    EXPECT_EQ(placed("ToolButtonHistory"), QRect(299, 1, 115, 21));
    EXPECT_EQ(placed("ToolButtonShare"), QRect(414, 1, 115, 21));

    EXPECT_EQ(Find<QAbstractButton>("ToolButton1")->text(), "        Key bindings        ");
    EXPECT_EQ(Find<QAbstractButton>("ToolButton2")->text(), "Key aliases editor");
    EXPECT_EQ(Find<QPushButton>("BitBtn2")->geometry(), QRect(5, 369, 75, 25));
    EXPECT_EQ(Find<QPushButton>("BitBtn2")->text(), "Close");
    EXPECT_EQ(Find<QPushButton>("BitBtn1")->geometry(), QRect(82, 369, 140, 25));
    EXPECT_EQ(Find<QPushButton>("BitBtn1")->text(), "Make Shortcut in... >>");
    EXPECT_EQ(Find<QComboBox>("ComboBox2")->geometry(), QRect(265, 379, 275, 22));
    EXPECT_EQ(Find<QTimer>("Timer1")->interval(), 2000);
    EXPECT_TRUE(Find<QTimer>("Timer1")->isActive());
}

TEST_F(MainWindow, StartUpRunsEveryStepInItsOrder)
{
    const QStringList expected = {
        "InitializeCurrentColorTheme",
        "CreateCommandsFile",
        "SetApplicationTitle",
        "SetCaption",
        "LoadKeysAliases",
        "AListClick",
        "LoadCursors",
        "ShowPage Misc",
        "CheckPresence",
        "GetGraphicsSettings",
        "GetSettigs",
        "ListBox1Click",
        "UnProtectIniFiles",
        "BuildIniBackups",
        "InitializeQuickGraphicsChoice",
        "InitializeFirstLoadUp",
        "FirstRunScreenSize",
        "CheckGameRunning",
        "FindUndoneChanges",
    };
    EXPECT_EQ(Window().StartupSteps(), expected);
}

TEST_F(MainWindow, ToolButtonsSwitchPagesAndStayExclusive)
{
    Window();
    auto* keys = Find<QAbstractButton>("ToolButton1");
    auto* aliases = Find<QAbstractButton>("ToolButton2");
    EXPECT_EQ(CurrentPageName(), "Misc");
    EXPECT_TRUE(keys->isChecked());

    QTest::mouseClick(aliases, Qt::LeftButton);
    EXPECT_EQ(CurrentPageName(), "AL");
    EXPECT_TRUE(aliases->isChecked());
    EXPECT_FALSE(keys->isChecked());

    QTest::mouseClick(aliases, Qt::LeftButton);
    EXPECT_EQ(CurrentPageName(), "AL");
    EXPECT_TRUE(aliases->isChecked());

    QTest::mouseClick(keys, Qt::LeftButton);
    EXPECT_EQ(CurrentPageName(), "Misc");
    EXPECT_TRUE(keys->isChecked());
    EXPECT_FALSE(aliases->isChecked());
}

TEST_F(MainWindow, CloseAsksAndNoKeepsEverything)
{
    fenwake::MainWindow& w = Window();
    w.show();
    const std::string userBefore = Get("User.ini");
    const std::string systemBefore = Get("DeusEx.ini");
    BoxAnswerer boxes;
    boxes.Expect(kQuitQuestion);
    QTest::mouseClick(Find<QPushButton>("BitBtn2"), Qt::LeftButton);
    boxes.Verify();
    EXPECT_TRUE(w.isVisible());

    QSignalSpy quit(qApp, &QCoreApplication::aboutToQuit);
    ExpectedBox yes = kQuitQuestion;
    yes.press = QMessageBox::Yes;
    boxes.Expect(yes);
    EXPECT_TRUE(w.close());
    boxes.Verify();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Get("User.ini"), userBefore);
    EXPECT_EQ(Get("DeusEx.ini"), systemBefore);
}

TEST_F(MainWindow, ErrorsShowWithTheTitleAndTheFullStopRule)
{
    EXPECT_EQ(ui::WithFullStop("Unable to write to .\\DeusEx.ini"), "Unable to write to .\\DeusEx.ini.");
    for (const char* kept : {"Unable to save commands file! ", "Done!", "(x)", "", "end."})
        EXPECT_EQ(ui::WithFullStop(kept), kept);
    EXPECT_EQ(ui::WithFullStop("a/"), "a/.");

    BoxAnswerer boxes;
    boxes.Expect({"Fenwake", "Broken.", QMessageBox::Critical, QMessageBox::Ok});
    ui::RunHandler([] { throw std::runtime_error("Broken"); });
    boxes.Verify();
}

TEST_F(MainWindow, EditCommandsFollowTheFocusedField)
{
    fenwake::MainWindow& w = Window();
    w.show();
    QApplication::setActiveWindow(&w);
    auto* cut = Find<QAction>("EditCut1");
    auto* copy = Find<QAction>("EditCopy1");
    auto* paste = Find<QAction>("EditPaste1");
    auto* all = Find<QAction>("EditSelectAll1");
    auto* undo = Find<QAction>("EditUndo1");
    EXPECT_EQ(cut->text(), "Cu&t");
    EXPECT_EQ(cut->shortcut(), QKeySequence("Ctrl+X"));
    EXPECT_EQ(undo->shortcut(), QKeySequence("Alt+Backspace"));
    EXPECT_EQ(all->text(), "Select &All");

    QApplication::clipboard()->setText("pasted");
    Find<ui::EditMenu>("EditPopupMenu")->UpdateActions();
    for (QAction* a : {cut, copy, paste, all, undo}) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();

    auto* field = new QLineEdit(Page("Misc"));
    field->show();
    field->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_FALSE(all->isEnabled());
    EXPECT_TRUE(paste->isEnabled());

    QTest::keyClicks(field, "abc");
    EXPECT_TRUE(all->isEnabled());
    EXPECT_TRUE(undo->isEnabled());
    all->trigger();
    EXPECT_TRUE(cut->isEnabled());
    EXPECT_TRUE(copy->isEnabled());
    cut->trigger();
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    paste->trigger();
    paste->trigger();
    EXPECT_EQ(field->text(), "abcabc");
    undo->trigger();
    EXPECT_NE(field->text(), "abcabc");
}

// The menu entry's drawing, from a title bar's size to a dock's, and the
// desktop id docks group the windows by: the resource of a static library
// is easily lost at link time.
TEST_F(MainWindow, CarriesTheIconAndTheDesktopId)
{
    const QList<QSize> sizes = Window().windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16))) << sizes.size();
    EXPECT_TRUE(sizes.contains(QSize(256, 256))) << sizes.size();
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.fenwake.Fenwake");
}

} // namespace
} // namespace fenwake::test
