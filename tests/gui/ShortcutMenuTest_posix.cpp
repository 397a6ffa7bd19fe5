#include "GuiTest.h"
#include "ScopedHome_posix.h"

#include "shell/ShellLink.h"

#include <QAction>
#include <QMenu>

#include <cstdlib>
#include <optional>

namespace fenwake::test {
namespace {

// The launchers go where the user's XDG folders say, under a home of the test's own.
class ShortcutFiles : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
        home_ = dir_ / "home";
        std::filesystem::create_directories(home_ / ".config");
        Put(home_ / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Work Desk\"\n");
        scoped_.emplace(home_);
    }
    void TearDown() override
    {
        scoped_.reset();
        GameDirTest::TearDown();
    }

    QAction* Item(const char* name) { return Find<QMenu>("PopupMenu1")->findChild<QAction*>(name); }

    std::filesystem::path home_;
    std::optional<ScopedHome> scoped_;
};

TEST_F(ShortcutFiles, DesktopAndProgramsGetALauncherStartingInTheToolsFolder)
{
    Window();
    Item("cancel1")->trigger();
    EXPECT_FALSE(std::filesystem::exists(home_ / "Work Desk"));

    Item("OnDesktop1")->trigger();
    const std::string desktop = Get(home_ / "Work Desk" / "Fenwake.desktop");
    EXPECT_NE(desktop.find("Type=Application"), std::string::npos);
    EXPECT_NE(desktop.find("Name=Fenwake"), std::string::npos);
    const std::string exe = RunningExecutable();
    const std::string folder = exe.substr(0, exe.rfind('/') + 1);
    EXPECT_NE(desktop.find("Path=" + folder), std::string::npos) << desktop;

    Item("InSTARTmenuPrograms1")->trigger();
    EXPECT_TRUE(std::filesystem::exists(home_ / ".local" / "share" / "applications" / "Fenwake.desktop"));
}

} // namespace
} // namespace fenwake::test
