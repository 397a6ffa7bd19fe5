#include "GuiTest.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

namespace fenwake::test {
namespace {

class ShortcutMenu : public GameDirTest {
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
            if (value) ::setenv(var.c_str(), value->c_str(), 1);
            else ::unsetenv(var.c_str());
        }
        GameDirTest::TearDown();
    }

    QAction* Item(const char* name) { return Window().ShortcutMenu()->findChild<QAction*>(name); }

    std::filesystem::path home_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(ShortcutMenu, OpensAtTheWindowCornerWithItsItems)
{
    TfMain& w = Window();
    w.show();
    QMenu* menu = w.ShortcutMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions()) captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions, QStringList({"On Desktop", "In START menu >> Programs", "-", "cancel"}));

    QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), w.frameGeometry().topLeft() + QPoint(220, 355));
    menu->hide();
}

TEST_F(ShortcutMenu, DesktopAndProgramsGetALauncherStartingInTheToolsFolder)
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
