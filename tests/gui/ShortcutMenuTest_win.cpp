#include "GuiTest.h"

#include "shell/ShellPlatform.h"

#include <QAction>
#include <QMenu>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;

// The links go to the user's real Desktop and Programs folders (in the test
// run, those of a throw-away Wine prefix); the test removes what it wrote.
class ShortcutFiles : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
        desktop_ = fs::path(shell::FolderPath(ShellFolder::Desktop)) / "Fenwake.lnk";
        programs_ = fs::path(shell::FolderPath(ShellFolder::ProgramsMenu)) / "Fenwake.lnk";
        if (fs::exists(desktop_) || fs::exists(programs_))
            GTEST_SKIP() << "a Fenwake link is already there: " << desktop_ << " or " << programs_;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove(desktop_, ec);
        fs::remove(programs_, ec);
        GameDirTest::TearDown();
    }

    QAction* Item(const char* name) { return Find<QMenu>("PopupMenu1")->findChild<QAction*>(name); }

    fs::path desktop_;
    fs::path programs_;
};

TEST_F(ShortcutFiles, DesktopAndProgramsGetALink)
{
    ASSERT_NE(desktop_.parent_path(), programs_.parent_path()) << "the shell folders are not recorded";
    Window();
    Item("cancel1")->trigger();
    EXPECT_FALSE(fs::exists(desktop_));

    Item("OnDesktop1")->trigger();
    EXPECT_TRUE(fs::is_regular_file(desktop_)) << desktop_;
    EXPECT_FALSE(fs::exists(programs_));

    Item("InSTARTmenuPrograms1")->trigger();
    EXPECT_TRUE(fs::is_regular_file(programs_)) << programs_;
}

} // namespace
} // namespace fenwake::test
