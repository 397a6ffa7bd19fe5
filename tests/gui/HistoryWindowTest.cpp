// The window and a running game: the warnings, and the start that finds
// what the game undid when it exited.
#include "GuiTest.h"
#include "StandIn.h"
#include "TempDir.h"

#include "config/GameProcess.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace fenwake::test {
namespace {

class GameRunsWindow : public GameDirTest {};

TEST_F(GameRunsWindow, WarnsWhileTheGameRunsAndOffersBackWhatItUndid)
{
    CopySamples();
    const std::filesystem::path scratch = MakeTempDir();
    const std::string older = Get("User.ini");
    Put(scratch / "in-memory.ini", older);
    const ExpectedBox running{"Warning",
                              QString::fromLatin1(game::kRunningWarning),
                              QMessageBox::Warning,
                              QMessageBox::Ok,
                              QMessageBox::NoButton,
                              QMessageBox::Ok};
    std::string bound;
    {
        GameStandIn game(game::kGameProgram, dir_ / "User.ini", scratch / "in-memory.ini");
        BoxAnswerer boxes;
        boxes.Expect(running).Expect(running); // at start-up, and at the first save only
        MainWindow& w = Window();
        w.show();
        QApplication::setActiveWindow(&w);
        auto* keys = Find<QListWidget>("ListBox1");
        keys->setCurrentItem(keys->findItems(QStringLiteral("F5"), Qt::MatchExactly)[0]);
        QTest::keyClicks(Find<QComboBox>("ComboBox1")->lineEdit(), QStringLiteral("say gg"));
        boxes.Verify();
        bound = Get("User.ini");
        window_.reset();
        game.Stop();
    }
    ASSERT_EQ(Get("User.ini"), older) << "the game's exit undid the change";
    ASSERT_NE(bound, older);

    ExpectedBox undone{"Changes undone",
                       "1 of your changes were undone while Fenwake was closed (the game rewrites User.ini when it "
                       "exits).\n\nApply them again?",
                       QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::Yes,
                       QMessageBox::Yes};
    BoxAnswerer boxes;
    boxes.Expect(undone);
    Window();
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), bound);

    // Undone once more and kept so: not offered again.
    window_.reset();
    Put("User.ini", older);
    undone.press = QMessageBox::No;
    boxes.Expect(undone);
    Window();
    boxes.Verify();
    window_.reset();
    Window();
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), older);
    RemoveTree(scratch);
}

} // namespace
} // namespace fenwake::test
