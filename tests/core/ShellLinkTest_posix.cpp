#include "ScopedHome_posix.h"
#include "TempDir.h"
#include "shell/ShellLink.h"
#include "shell/ShellPlatform.h"

#include <cstdlib>
#include <optional>

#include <sys/stat.h>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using shell::FolderPath;
using F = ShellFolder;

// Each test gets its own home, so no link ever reaches the real one.
class ShellLinkPosix : public test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        home_ = dir_ / "home";
        fs::create_directory(home_);
        scoped_.emplace(home_);
    }
    void TearDown() override
    {
        scoped_.reset();
        TempDirTest::TearDown();
    }

    void UserDirs(const std::string& text, const fs::path& configHome = {})
    {
        const fs::path dir = configHome.empty() ? home_ / ".config" : configHome;
        fs::create_directories(dir);
        Put(dir / "user-dirs.dirs", text);
    }
    static mode_t Mode(const fs::path& p)
    {
        struct stat st {};
        EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
        return st.st_mode & 07777;
    }
    static std::size_t Entries(const fs::path& dir)
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
    std::string Home(const std::string& rest = {}) const
    {
        return rest.empty() ? home_.string() : (home_ / rest).string();
    }

    fs::path home_;
    std::optional<test::ScopedHome> scoped_;
};

TEST_F(ShellLinkPosix, FoldersWithoutAnyRecordTakeTheDocumentedDefaults)
{
    EXPECT_EQ(FolderPath(F::Desktop), Home("Desktop"));
    EXPECT_EQ(FolderPath(F::MyDocuments), Home());
    EXPECT_EQ(FolderPath(F::MyPictures), Home());
    EXPECT_EQ(FolderPath(F::Templates), Home());
    EXPECT_EQ(FolderPath(F::ProgramsMenu), Home(".local/share/applications"));
    EXPECT_EQ(FolderPath(F::StartMenu), Home(".local/share/applications"));
    EXPECT_EQ(FolderPath(F::Startup), Home(".config/autostart"));
    for (const F none : {F::SendTo, F::PrintHood, F::Recent, F::Favorites}) EXPECT_EQ(FolderPath(none), "");
}

TEST_F(ShellLinkPosix, UserDirsFileIsReadInItsOwnFormat)
{
    UserDirs("# This file is written by xdg-user-dirs-update\n"
             "XDG_DESKTOP_DIR=\"$HOME/first\"\n"
             "#XDG_DESKTOP_DIR=\"$HOME/commented\"\n"
             "  XDG_DESKTOP_DIR =\t\"$HOME/Bureau de \\\"jeu\\\" \\$x\\\\y/\"\r\n"
             "XDG_DOCUMENTS_DIR=\"/data/Docs//\"\n"
             "XDG_PICTURES_DIR=\"$HOME/Pics\"\n"
             "XDG_PICTURES_DIR=\"$HOMEPics\"\n" // not $HOME/
             "XDG_TEMPLATES_DIR=\"$HOME/T\"\n"
             "XDG_TEMPLATES_DIR=\"$HOME\"\n"
             "XDG_TEMPLATES_DIR=\"Templates\"\n"          // relative: not allowed
             "XDG_TEMPLATES_DIR=\"$HOME/unterminated\n"); // no closing quote
    EXPECT_EQ(FolderPath(F::Desktop), Home("Bureau de \"jeu\" $x\\y"));
    EXPECT_EQ(FolderPath(F::MyDocuments), "/data/Docs");
    EXPECT_EQ(FolderPath(F::MyPictures), Home("Pics"));
    EXPECT_EQ(FolderPath(F::Templates), Home());
}

TEST_F(ShellLinkPosix, BaseDirectoriesComeFromTheEnvironmentWhenAbsolute)
{
    const fs::path config = dir_ / "cfg";
    UserDirs("XDG_DESKTOP_DIR=\"/elsewhere/desk\"\n", config);
    UserDirs("XDG_DESKTOP_DIR=\"$HOME/ignored\"\n"); // the default location is not consulted
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir_ / "data/").c_str(), 1);
    EXPECT_EQ(FolderPath(F::Desktop), "/elsewhere/desk");
    EXPECT_EQ(FolderPath(F::Startup), (config / "autostart").string());
    EXPECT_EQ(FolderPath(F::ProgramsMenu), (dir_ / "data/applications").string());

    ::setenv("XDG_CONFIG_HOME", "cfg", 1);
    ::setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(FolderPath(F::Desktop), Home("ignored"));
    EXPECT_EQ(FolderPath(F::Startup), Home(".config/autostart"));
    EXPECT_EQ(FolderPath(F::ProgramsMenu), Home(".local/share/applications"));
}

TEST_F(ShellLinkPosix, MakeShortcutWritesAnExecutableDesktopEntry)
{
    const fs::path desk = dir_ / "My Desk";
    fs::create_directory(desk);
    UserDirs("XDG_DESKTOP_DIR=\"" + desk.string() + "\"\n");

    ShellLink link;
    ASSERT_TRUE(MakeShortcut(link, F::Desktop, "/games/Deus Ex/System/fenwake"));
    EXPECT_EQ(link.name, "Fenwake");
    EXPECT_EQ(link.target, "/games/Deus Ex/System/fenwake");
    EXPECT_EQ(link.workingDirectory, "/games/Deus Ex/System/");
    EXPECT_EQ(Get(desk / "Fenwake.desktop"), "[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Name=Fenwake\n"
                                             "Exec=\"/games/Deus Ex/System/fenwake\"\n"
                                             "Path=/games/Deus Ex/System/\n"
                                             "Terminal=false\n");
    EXPECT_TRUE(Mode(desk / "Fenwake.desktop") & S_IXUSR);
    EXPECT_EQ(Entries(desk), 1u);

    // The programs menu is the applications folder itself, no sub-folder.
    ASSERT_TRUE(MakeShortcut(link, F::ProgramsMenu, "/games/Deus Ex/System/fenwake"));
    EXPECT_EQ(Entries(home_ / ".local/share/applications"), 1u);
    EXPECT_TRUE(fs::is_regular_file(home_ / ".local/share/applications/Fenwake.desktop"));

    // Started elsewhere than the program's folder: the shortcut starts there too.
    ASSERT_TRUE(MakeShortcut(link, F::ProgramsMenu, "/usr/bin/fenwake", "/home/p/Documents/Deus Ex/System"));
    EXPECT_EQ(link.workingDirectory, "/home/p/Documents/Deus Ex/System/");
}

TEST_F(ShellLinkPosix, AnExistingLinkIsReplacedSilently)
{
    const fs::path file = home_ / "Desktop" / "Fenwake.desktop";
    fs::create_directory(home_ / "Desktop");
    Put(file, "old content that is longer than the new one ............................................");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ShellLink link;
    ASSERT_TRUE(MakeShortcut(link, F::Desktop, "/first/fenwake"));
    ASSERT_TRUE(MakeShortcut(link, F::Desktop, "/second/fenwake"));
    EXPECT_NE(Get(file).find("Exec=\"/second/fenwake\"\n"), std::string::npos);
    EXPECT_EQ(Get(file).find("first"), std::string::npos);
    EXPECT_EQ(Mode(file), 0740u); // the owner may run it; nobody else gains anything
    EXPECT_EQ(Entries(home_ / "Desktop"), 1u);
}

TEST_F(ShellLinkPosix, CreateFolderMakesTheMissingFolders)
{
    const fs::path apps = home_ / ".local/share/applications";
    ShellLink link;
    link.target = "/x/fenwake";
    link.location.folder = F::ProgramsMenu;
    link.location.createFolder = false;
    EXPECT_FALSE(link.Write());
    EXPECT_FALSE(fs::exists(home_ / ".local"));

    link.location.createFolder = true;
    ASSERT_TRUE(link.Write());
    EXPECT_TRUE(fs::is_regular_file(apps / "My New ShellLink.desktop"));
    EXPECT_EQ(Mode(home_ / ".local"), 0700u);
    EXPECT_EQ(Mode(apps), 0700u);

    // Folders that exist keep their permissions.
    fs::permissions(apps, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ASSERT_TRUE(link.Write());
    EXPECT_EQ(Mode(apps), 0750u);
}

TEST_F(ShellLinkPosix, NothingIsWrittenWithoutAFolderANameOrATarget)
{
    ShellLink link;
    link.target = "/x/fenwake";
    for (const F none : {F::SendTo, F::PrintHood, F::Recent, F::Favorites}) {
        link.location.folder = none;
        EXPECT_FALSE(link.Write());
    }
    EXPECT_FALSE(fs::exists("/My New ShellLink.desktop"));

    link.location.folder = F::Desktop;
    for (const char* name : {"", ".", "..", "../escape", "sub/link"}) {
        link.name = name;
        EXPECT_FALSE(link.Write()) << name;
    }
    link.name = "Fenwake";
    link.target.clear();
    EXPECT_FALSE(link.Write());

    EXPECT_EQ(Entries(home_), 0u);
    EXPECT_EQ(EntryCount(), 1u); // only the home folder
}

TEST(RunningExecutable, NamesThisProgram)
{
    const fs::path exe = RunningExecutable();
    EXPECT_TRUE(exe.is_absolute());
    EXPECT_TRUE(fs::is_regular_file(exe));
    EXPECT_EQ(exe.filename(), "fenwake_core_tests");
}

} // namespace
} // namespace fenwake
