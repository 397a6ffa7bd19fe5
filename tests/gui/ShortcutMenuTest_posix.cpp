#include "GuiTest.h"

#include "shell/TFastShellLink.h"

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
        for (const char* var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            const char* v = std::getenv(var);
            saved_.emplace_back(var, v ? std::optional<std::string>(v) : std::nullopt);
        }
        home_ = dir_ / "home";
        std::filesystem::create_directories(home_ / ".config");
        Put(home_ / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Work Desk\"\n");
        ::setenv("HOME", home_.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    void TearDown() override
    {
        for (const auto& [var, value] : saved_) {
            if (value)
                ::setenv(var.c_str(), value->c_str(), 1);
            else
                ::unsetenv(var.c_str());
        }
        GameDirTest::TearDown();
    }

    QAction* Item(const char* name) { return Window().ShortcutMenu()->findChild<QAction*>(name); }

    std::filesystem::path home_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
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
