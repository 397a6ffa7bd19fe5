// fenwake-cli started outside a game folder, in a home holding Steam with
// Deus Ex played through Proton and Kentie's launcher.
#include "Process.h"
#include "ScopedHome_posix.h"
#include "TempDir.h"

#include <filesystem>
#include <optional>
#include <string>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;

const std::string kSteam = "home/.local/share/Steam/steamapps/";
const std::string kGame = kSteam + "common/Deus Ex/System";
const std::string kLive = kSteam + "compatdata/6910/pfx/drive_c/users/steamuser/Documents/Deus Ex/System";

class CliWhere : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        home_.emplace(dir_ / "home");
        for (const std::string& folder : {kGame, kLive, std::string("elsewhere"), std::string("scratch")})
            fs::create_directories(folder);
        Put(kSteam + "libraryfolders.vdf",
            "\"libraryfolders\" { \"0\" { \"path\" \"" + (dir_ / "home/.local/share/Steam").string() + "\" } }\n");
        for (const char* name : {"DeusEx.exe", "DeusExe.exe"}) Put(kGame + "/" + name, "");
        Put(kGame + "/User.ini", "[Extension.InputExt]\r\nF1=game folder\r\n");
        Put(kGame + "/DeusEx.ini", "[Core.System]\r\nPaths=..\\System\\*.u\r\n");
        Put(kLive + "/User.ini", "[Extension.InputExt]\r\nF1=documents\r\n");
    }
    void TearDown() override
    {
        home_.reset();
        TempDirTest::TearDown();
    }

    RunResult Cli(const std::string& in, const std::vector<std::string>& args)
    {
        const fs::path back = fs::current_path();
        fs::current_path(in);
        RunResult r = RunProgram(FENWAKE_CLI, args, "", dir_ / "scratch");
        fs::current_path(back);
        return r;
    }

    std::optional<ScopedHome> home_;
};

TEST_F(CliWhere, FindsTheLiveFolderAndWorksThereFromAnywhere)
{
    const fs::path live = fs::canonical(kLive);
    const RunResult where = Cli("elsewhere", {"where", "--tsv"});
    ASSERT_EQ(where.code, 0) << where.err;
    EXPECT_EQ(where.out,
              fs::canonical(kGame).string() + "\tSteam\t" + live.string() + "\tKentie's launcher: Documents copy\n");

    // Outside any game folder the one install's live folder is the one.
    const RunResult bind = Cli("elsewhere", {"bind", "F2", "say hi"});
    ASSERT_EQ(bind.code, 0) << bind.err;
    EXPECT_NE(bind.err.find("Working on " + live.string()), std::string::npos) << bind.err;
    EXPECT_EQ(Get(kLive + "/User.ini"),
              "[Extension.InputExt]\r\nF1=documents\r\nF2=say hi\r\n[Extension.Input]\r\nF2=say hi\r\n");
    EXPECT_EQ(Get(kLive + "/DeusEx.ini"), Get(kGame + "/DeusEx.ini")) << "the game's own, until it saves one there";
    EXPECT_TRUE(fs::is_empty("elsewhere"));

    // In the game folder: as ever, that folder, with a word on where the game reads.
    const RunResult get = Cli(kGame, {"get", "F1"});
    EXPECT_EQ(get.out, "game folder\n");
    EXPECT_NE(get.err.find("reads its settings from " + live.string()), std::string::npos) << get.err;

    // Two installs: the player names one.
    fs::create_directories("home/.wine/drive_c/Program Files/Deus Ex/System");
    Put("home/.wine/drive_c/Program Files/Deus Ex/System/DeusEx.exe", "");
    Put("home/.wine/drive_c/Program Files/Deus Ex/System/User.ini", "");
    const RunResult two = Cli("elsewhere", {"get", "F1"});
    EXPECT_EQ(two.code, 2);
    EXPECT_NE(two.err.find(live.string()), std::string::npos) << two.err;
    EXPECT_NE(two.err.find("-C"), std::string::npos) << two.err;
}

} // namespace
} // namespace fenwake::test
