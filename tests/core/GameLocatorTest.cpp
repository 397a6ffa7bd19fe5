#include "GameTree.h"

#include <filesystem>
#include <string>
#include <vector>

// The locator's rules on a fake Windows in the test's folder: drive C with
// one user "me", and drives D and E as plain folders.
namespace fenwake {
namespace {
namespace fs = std::filesystem;
using locate::Kind;
using locate::Reason;

constexpr char kDocs[] = "C/Users/me/Documents/";
constexpr char kGame[] = "C/DeusEx/System/"; // where the CD's installer puts it

class Locator : public test::GameTreeTest {
protected:
    locate::Places Places() const
    {
        locate::Machine m;
        m.drive = At("C");
        m.programFiles = {At("C/Program Files"), At("C/Program Files (x86)")};
        m.documents = {At(kDocs)};
        m.localAppData = At("C/Users/me/AppData/Local");
        locate::Places places;
        places.host = m;
        return places;
    }
    std::string NewList(const std::string& library) const
    {
        return "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\"-1\"\n\t\"1\"\n\t{\n\t\t\"path\"\t\t" + Quoted(library) +
               "\n\t\t\"apps\" { \"6910\" \"1\" }\n\t}\n}\n";
    }
    std::string OldList(const std::string& library) const
    {
        return "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1\"\n\t\"1\"\t\t" + Quoted(library) + "\n}\n";
    }
};

TEST_F(Locator, EachKindOfInstallWithTheFolderTheGameReads)
{
    const std::string steam = "C/Program Files (x86)/Steam/steamapps/";
    struct Row {
        const char* what;
        std::vector<File> files;
        std::vector<Found> found;
    };
    const std::vector<Row> rows = {
        {"plain, in Program Files",
         {{"C/Program Files/Deus Ex/System/DeusEx.exe"}, {"C/Program Files/Deus Ex/System/User.ini"}},
         {{"C/Program Files/Deus Ex/System", Kind::Plain, "", "C/Program Files/Deus Ex/System", Reason::GameFolder}}},
        {"the CD's, Kentie's launcher with its Documents copy",
         {{std::string(kGame) + "DeusEx.u"},
          {std::string(kGame) + "DeusExe.exe"},
          {std::string(kGame) + "User.ini"},
          {std::string(kDocs) + "Deus Ex/System/User.ini"}},
         {{"C/DeusEx/System", Kind::Cd, "", "C/Users/me/Documents/Deus Ex/System", Reason::LauncherDocuments}}},
        {"GOG's, Kentie's launcher without a Documents copy yet (or run with -localdata)",
         {{"C/GOG Games/Deus Ex GOTY/goggame-1207658995.info"},
          {"C/GOG Games/Deus Ex GOTY/System/DeusEx.exe"},
          {"C/GOG Games/Deus Ex GOTY/System/DeusExe.exe"},
          {"C/GOG Games/Deus Ex GOTY/System/User.ini"}},
         {{"C/GOG Games/Deus Ex GOTY/System", Kind::Gog, "", "C/GOG Games/Deus Ex GOTY/System", Reason::GameFolder}}},
        {"the launcher renamed DeusEx.exe, known by the section it writes",
         {{"C/Program Files/GOG Galaxy/Games/Deus Ex/System/DeusEx.exe"},
          {"C/Program Files/GOG Galaxy/Games/Deus Ex/System/User.ini"},
          {std::string(kDocs) + "Deus Ex/System/User.ini"},
          {std::string(kDocs) + "Deus Ex/System/DeusEx.ini", "[Engine.Engine]\r\n\r\n[DeusExe]\r\nFPSLimit=120\r\n"}},
         {{"C/Program Files/GOG Galaxy/Games/Deus Ex/System", Kind::Plain, "", "C/Users/me/Documents/Deus Ex/System",
           Reason::LauncherDocuments}}},
        {"VirtualStore",
         {{"C/Program Files (x86)/Deus Ex/System/DeusEx.exe"},
          {"C/Program Files (x86)/Deus Ex/System/User.ini"},
          {"C/Users/me/AppData/Local/VirtualStore/Program Files (x86)/Deus Ex/System/User.ini"}},
         {{"C/Program Files (x86)/Deus Ex/System", Kind::Plain, "",
           "C/Users/me/AppData/Local/VirtualStore/Program Files (x86)/Deus Ex/System", Reason::VirtualStore}}},
        {"Steam, in a second library that its list names (the new form)",
         {{steam + "libraryfolders.vdf", NewList("D/Bibliothèque")},
          {"D/Bibliothèque/steamapps/common/Deus Ex/System/DeusEx.exe"},
          {"D/Bibliothèque/steamapps/common/Deus Ex/System/User.ini"}},
         {{"D/Bibliothèque/steamapps/common/Deus Ex/System", Kind::Steam, "",
           "D/Bibliothèque/steamapps/common/Deus Ex/System", Reason::GameFolder}}},
        {"Steam, in a library of the old list",
         {{steam + "libraryfolders.vdf", OldList("E/Games")},
          {"E/Games/steamapps/common/Deus Ex/System/DeusEx.exe"},
          {"E/Games/steamapps/common/Deus Ex/System/User.ini"}},
         {{"E/Games/steamapps/common/Deus Ex/System", Kind::Steam, "", "E/Games/steamapps/common/Deus Ex/System",
           Reason::GameFolder}}},
        {"two mods beside the game, one of them started through the launcher",
         {{std::string(kGame) + "DeusEx.exe"},
          {std::string(kGame) + "DeusExe.exe"},
          {std::string(kGame) + "User.ini"},
          {"C/DeusEx/Maps/"},
          {"C/DeusEx/HX/System/User.ini"},
          {"C/DeusEx/Revision/System/User.ini"},
          {std::string(kDocs) + "Deus Ex/Revision/System/User.ini"}},
         {{"C/DeusEx/System", Kind::Cd, "", "C/DeusEx/System", Reason::GameFolder},
          {"C/DeusEx/HX/System", Kind::Mod, "HX", "C/DeusEx/HX/System", Reason::GameFolder},
          {"C/DeusEx/Revision/System", Kind::Mod, "Revision", "C/Users/me/Documents/Deus Ex/Revision/System",
           Reason::LauncherDocuments}}},
        {"only the launcher's copies, the game lying where nothing looks",
         {{std::string(kDocs) + "Deus Ex/System/User.ini"},
          {std::string(kDocs) + "Deus Ex/GMDXv9/System/User.ini"},
          {std::string(kDocs) + "Deus Ex/Save/Save001/"}},
         {{"", Kind::Plain, "", "C/Users/me/Documents/Deus Ex/System", Reason::LauncherDocuments},
          {"", Kind::Mod, "GMDXv9", "C/Users/me/Documents/Deus Ex/GMDXv9/System", Reason::LauncherDocuments}}},
        {"bad input: named like the game without its files or settings, a broken library list",
         {{"C/Program Files/Deus Ex/System/User.ini"},
          {"C/Program Files/Deus Ex Manual/"},
          {std::string(kGame) + "DeusEx.exe"},
          {steam + "libraryfolders.vdf", "\"libraryfolders\" { \"1\" { \"path\" \"E:\\\\Gam"},
          {steam + "common/Deus Ex/System/DeusEx.exe"},
          {steam + "common/Deus Ex/System/User.ini"}},
         {{steam + "common/Deus Ex/System", Kind::Steam, "", steam + "common/Deus Ex/System", Reason::GameFolder}}},
    };
    for (const Row& row : rows) {
        Make(row.files);
        EXPECT_EQ(Show(locate::FindInstalls(Places(), dir_)), Show(row.found)) << row.what;
        for (const auto& entry : fs::directory_iterator(dir_)) test::RemoveTree(entry.path());
    }
}

TEST_F(Locator, StartedInAGameFolderWhoseSettingsAreElsewhere)
{
    Make({{std::string(kGame) + "DeusEx.exe"},
          {std::string(kGame) + "DeusExe.exe"},
          {std::string(kGame) + "User.ini"},
          {std::string(kDocs) + "Deus Ex/System/User.ini"},
          {"C/DeusEx/HX/System/User.ini"},
          {"C/DeusEx/Revision/System/User.ini"},
          {std::string(kDocs) + "Deus Ex/Revision/System/User.ini"},
          {"Games/Deus Ex/System/DeusEx.u"},
          {"Games/Deus Ex/System/User.ini"},
          {"Games/Deus Ex/Maps/"}});
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"C/DeusEx/System", "C/Users/me/Documents/Deus Ex/System"},
        {"C/DeusEx/Revision/System", "C/Users/me/Documents/Deus Ex/Revision/System"},
        {"C/DeusEx/HX/System", ""},
        {"C/Users/me/Documents/Deus Ex/System", ""}, // the copy itself
        {"Games/Deus Ex/System", ""},
        {"", ""},
    };
    for (const auto& [start, live] : rows) {
        const auto found = locate::LiveElsewhere(Places(), At(start));
        EXPECT_EQ(found ? Relative(found->live) : "", live) << start;
    }
    // Started below a game that no place names: that one comes first.
    const auto all = locate::FindInstalls(Places(), At("Games/Deus Ex/Maps"));
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(Relative(all.front().system), "Games/Deus Ex/System");
}

} // namespace
} // namespace fenwake
