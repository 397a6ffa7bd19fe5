#include "GameTree.h"
#include "ScopedHome_posix.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

// Linux: a home folder holding Steam (native, with its link, and a library
// elsewhere played through Proton), Wine's default prefix and one named by
// $WINEPREFIX, as the platform's own places find them.
namespace fenwake {
namespace {
namespace fs = std::filesystem;
using locate::Kind;
using locate::Reason;

// Quotes and all, as players name folders.
constexpr char kLibrary[] = "Games/Steam \"Zwei\" ü/";
constexpr char kProtonDocs[] = "steamapps/compatdata/6910/pfx/drive_c/users/steamuser/Documents/Deus Ex/System";
constexpr char kPrefix[] = "prefix \"x\"/";

class LinuxLocator : public test::GameTreeTest {
protected:
    void SetUp() override
    {
        GameTreeTest::SetUp();
        home_.emplace(At("home"));
        if (const char* v = std::getenv("WINEPREFIX")) savedPrefix_ = v;
        ::setenv("WINEPREFIX", At(kPrefix).c_str(), 1);
    }
    void TearDown() override
    {
        if (savedPrefix_)
            ::setenv("WINEPREFIX", savedPrefix_->c_str(), 1);
        else
            ::unsetenv("WINEPREFIX");
        home_.reset();
        GameTreeTest::TearDown();
    }
    void Link(const std::string& target, const std::string& link) const
    {
        fs::create_directories(At(link).parent_path());
        fs::create_directory_symlink(target.empty() ? At(link) : At(target), At(link));
    }

    std::optional<test::ScopedHome> home_;
    std::optional<std::string> savedPrefix_;
};

TEST_F(LinuxLocator, SteamProtonAndWinePrefixesFromTheHomeFolder)
{
    FENWAKE_SKIP_WITHOUT(SymbolicLinks);
    const std::string steam = "home/.local/share/Steam/";
    const std::string game = std::string(kLibrary) + "steamapps/common/Deus Ex/System";
    const std::string proton = std::string(kLibrary) + kProtonDocs;
    const std::string wine = "home/.wine/drive_c/";
    Make({
        {steam + "steamapps/libraryfolders.vdf", "\"libraryfolders\"\n{\n\"0\" { \"path\" " + Quoted(steam) +
                                                     " }\n\"1\" { \"path\" " + Quoted(kLibrary) +
                                                     " }\n\"2\" { \"path\" " + Quoted("loop") + " }\n}\n"},
        {game + "/DeusEx.exe"},
        {game + "/DeusExe.exe"},
        {game + "/User.ini"},
        {proton + "/User.ini"},
        // Names as an installer in Wine may spell them.
        {wine + "program files (x86)/deus ex/system/deusex.exe"},
        {wine + "program files (x86)/deus ex/system/deusexe.exe"},
        {wine + "users/me/My Documents/deus ex/system/user.ini"},
        // Steam for Windows in a prefix, its library on drive D.
        {std::string(kPrefix) + "drive_c/Program Files (x86)/Steam/steamapps/libraryfolders.vdf",
         "\"LibraryFolders\" { \"1\" \"D:\\\\SteamLibrary\" }"},
        {"Drive D/SteamLibrary/steamapps/common/Deus Ex/System/DeusEx.exe"},
        {"Drive D/SteamLibrary/steamapps/common/Deus Ex/System/User.ini"},
        // A game folder with its files but no settings yet.
        {wine + "Program Files/Deus Ex/System/DeusEx.exe"},
    });
    Link("Drive D", std::string(kPrefix) + "dosdevices/d:");
    Link("home/.local/share/Steam", "home/.steam/steam"); // one Steam, reached twice
    Link("loop", "loop");                                 // in the library list
    Link("", "home/.var/app/com.valvesoftware.Steam/.local/share/Steam");
    Link("", wine + "Program Files/Deus Ex Loop");

    const Found inWine = {wine + "program files (x86)/deus ex/system", Kind::Plain, "",
                          wine + "users/me/My Documents/deus ex/system", Reason::LauncherDocuments};
    const Found onDriveD = {"Drive D/SteamLibrary/steamapps/common/Deus Ex/System", Kind::Steam, "",
                            "Drive D/SteamLibrary/steamapps/common/Deus Ex/System", Reason::GameFolder};
    EXPECT_EQ(Show(locate::FindInstalls(At("home"))),
              Show(std::vector<Found>{{game, Kind::Steam, "", proton, Reason::LauncherDocuments}, inWine, onDriveD}));

    const auto elsewhere = locate::LiveElsewhere(At(game));
    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(Relative(elsewhere->live), proton);

    // An unreadable library list: the Steam folder is still a library, the
    // one it names is out of reach.
    if (!test::Has(test::Needs::UnreadableFiles)) return;
    const std::string own = steam + "steamapps/common/Deus Ex/System";
    Make({{own + "/DeusEx.exe"}, {own + "/User.ini"}});
    fs::permissions(At(steam + "steamapps/libraryfolders.vdf"), fs::perms::none);
    EXPECT_EQ(Show(locate::FindInstalls(At("home"))),
              Show(std::vector<Found>{{own, Kind::Steam, "", own, Reason::GameFolder}, inWine, onDriveD}));
}

} // namespace
} // namespace fenwake
