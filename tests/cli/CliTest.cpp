// fenwake-cli run as a player runs it, on copies of the sample game folder
// and of players' own files.
#include "Process.h"
#include "StandIn.h"
#include "TempDir.h"
#include "config/Ascii.h"
#include "config/GameProcess.h"
#include "config/IniText.h"
#include "rules/BindingSet.h"
#include "rules/KeyBindings.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

std::string Unix(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
}

std::vector<std::string> Lines(const std::string& s)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t nl; (nl = s.find('\n', pos)) != std::string::npos; pos = nl + 1)
        lines.push_back(s.substr(pos, nl - pos));
    if (pos < s.size()) lines.push_back(s.substr(pos));
    return lines;
}

std::vector<std::string> Column(const std::string& tsv, std::size_t n)
{
    std::vector<std::string> out;
    for (const std::string& line : Lines(tsv)) {
        std::size_t begin = 0;
        for (std::size_t i = 0; i < n; ++i) begin = line.find('\t', begin) + 1;
        out.push_back(line.substr(begin, line.find('\t', begin) - begin));
    }
    return out;
}

bool NoCase(std::string_view a, std::string_view b) { return ascii::EqualsNoCase(a, b); }

// The file's lines with their own line breaks, leaving out the entries of
// the named keys in both input sections and of the named alias slots in the
// shown one: what must have stayed byte for byte as it was.
std::vector<std::string> Rest(const std::string& text, const std::set<std::string>& names)
{
    std::vector<std::string> kept;
    std::string section;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::size_t next = end;
        if (next < text.size()) next += (text.compare(next, 2, "\r\n") == 0) ? 2 : 1;
        const std::string line = text.substr(pos, end - pos);
        const std::size_t lead = line.find_first_not_of(" \t");
        if (lead != std::string::npos && line[lead] == '[' && line.find(']') != std::string::npos) {
            section = line.substr(lead + 1, line.rfind(']') - lead - 1);
        } else if (const std::size_t eq = line.find('='); eq != std::string::npos) {
            std::string key = line.substr(0, eq);
            key.erase(key.find_last_not_of(" \t") + 1);
            key.erase(0, key.find_first_not_of(" \t"));
            const bool alias = NoCase(key.substr(0, std::min<std::size_t>(key.size(), 8)), "Aliases[");
            const bool named = std::any_of(names.begin(), names.end(), [&](const auto& n) { return NoCase(n, key); });
            if (named && (NoCase(section, "Extension.InputExt") || (!alias && NoCase(section, "Extension.Input")))) {
                pos = next;
                continue;
            }
        }
        kept.push_back(text.substr(pos, next - pos));
        pos = next;
    }
    return kept;
}

class CliTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        scratch_ = MakeTempDir();
        for (const auto& f : fs::directory_iterator(fs::path(FENWAKE_SAMPLES_DIR) / "game" / "System"))
            Put(f.path().filename(), Get(f.path()));
    }
    void TearDown() override
    {
        RemoveTree(scratch_);
        TempDirTest::TearDown();
    }

    RunResult Cli(const std::vector<std::string>& args, const std::string& input = "")
    {
        RunResult r = RunProgram(FENWAKE_CLI, args, input, scratch_);
        r.out = Unix(r.out);
        r.err = Unix(r.err);
        return r;
    }
    fs::path Scratch(const char* name) const { return scratch_ / name; }

    fs::path scratch_;
};

TEST_F(CliTest, ReadsAsTheWindowShows)
{
    const RunResult keys = Cli({"keys", "--tsv"});
    ASSERT_EQ(keys.code, 0) << keys.err;
    const std::vector<std::string> names = Column(keys.out, 0);
    EXPECT_TRUE(std::equal(names.begin(), names.end(), keys::kKeyNames.begin(), keys::kKeyNames.end()));

    Put("User.ini", "[Extension.InputExt]\r\nF5=\r\nF7=say JUMP now\r\n"
                    "Aliases[20]=(Command=\"jump | say x\",Alias=Hop)\r\n");
    EXPECT_EQ(Cli({"get", "F5"}).out, "\n");
    EXPECT_EQ(Cli({"get", "F6"}).out, "NOBIND\n");
    EXPECT_EQ(Cli({"find", "jump", "--tsv"}).out, "F7\tsay JUMP now\nAliases[20]\tjump | say x\n");
    const std::vector<std::string> slots = Lines(Cli({"aliases", "--tsv"}).out);
    ASSERT_EQ(slots.size(), 40u);
    EXPECT_EQ(slots[18], "18\t\t\tlocked");
    EXPECT_EQ(slots[20], "20\tjump | say x\tHop\topen");
}

TEST_F(CliTest, UsageErrorsExitTwoAndChangeNothing)
{
    const std::string before = Get("User.ini");
    const RunResult noKey = Cli({"bind", "Mouse6", "Jump"});
    EXPECT_EQ(noKey.code, 2);
    EXPECT_NE(noKey.err.find("keys --all"), std::string::npos) << noKey.err;
    EXPECT_EQ(Cli({"get", "NoSuchKey"}).code, 2);
    EXPECT_EQ(Cli({"bind", "F5"}).code, 2);
    EXPECT_EQ(Cli({}).code, 2);
    EXPECT_EQ(Cli({"alias", "40", "x", "y", "--unlock"}).code, 2);
    const RunResult emptyName = Cli({"alias", "25", "say hi", ""});
    EXPECT_EQ(emptyName.code, 2);
    EXPECT_NE(emptyName.err.find("Alias name cannot be empty"), std::string::npos);
    EXPECT_EQ(Cli({"alias", "18", "x", "y"}).code, 2);
    EXPECT_EQ(Cli({"-C", Scratch("no such folder").string(), "keys"}).code, 2);
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_FALSE(fs::exists("user.ini_Bak"));

    const RunResult help = Cli({"import", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--dry-run"), std::string::npos);
}

// The version and the help answer from the command line alone: no backup,
// no history, no data folder, whatever else the line holds.
TEST_F(CliTest, VersionAndHelpTouchNothing)
{
    const std::size_t entries = EntryCount();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--version"}, {"bind", "F5", "Jump", "--version"}, {"--help-all"}, {"where", "--help"}}) {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.code, 0) << args[0] << r.err;
        if (args.back() == "--version") {
            EXPECT_EQ(r.out, "Fenwake " FENWAKE_VERSION "\n");
        }
    }
    EXPECT_EQ(EntryCount(), entries);
    EXPECT_TRUE(fs::is_empty(state_));

    // The manual page is made of --help-all: every command and option.
    const std::string all = Cli({"--help-all"}).out;
    for (const char* word : {"where", "check", "history", "reapply", "undo", "--allow-risky", "--keep-secrets"})
        EXPECT_NE(all.find(word), std::string::npos) << word;
    EXPECT_EQ(all.find(".\\"), std::string::npos) << "a file named the Windows way:\n" << all;
    EXPECT_NE(Cli({"where", "--help"}).out.find("why"), std::string::npos);
}

TEST_F(CliTest, BindAndAliasSaveAsTheWindowDoes)
{
    const std::string user = Get("User.ini"), system = Get("DeusEx.ini");
    ASSERT_EQ(Cli({"bind", "home", "say gg | onrelease Jump"}).code, 0);
    const std::string bound = Get("User.ini");
    EXPECT_EQ(ini::FindValue(bound, "Extension.InputExt", "home"), "say gg | onrelease Jump");
    EXPECT_EQ(ini::FindValue(bound, "Extension.Input", "home"), "say gg | onrelease Jump");
    EXPECT_EQ(Rest(bound, {"home"}), Rest(user, {"home"}));
    // The first write in a folder takes the backups, as the window's first start does.
    EXPECT_EQ(Get("user.ini_Bak"), user);
    EXPECT_EQ(Get("DeusEx.ini_Bak"), system);

    ASSERT_EQ(Cli({"alias", "25", "say hello", "Greet"}).code, 0);
    const std::string aliased = Get("User.ini");
    EXPECT_EQ(ini::FindValue(aliased, "Extension.InputExt", "Aliases[25]"), "(Command=\"say hello\",Alias=Greet)");
    EXPECT_EQ(Rest(aliased, {"Aliases[25]"}), Rest(bound, {"Aliases[25]"}));
    ASSERT_EQ(Cli({"alias", "5", "say locked", "Five", "--unlock"}).code, 0);
    EXPECT_EQ(ini::FindValue(Get("User.ini"), "Extension.InputExt", "Aliases[5]"),
              "(Command=\"say locked\",Alias=Five)");
}

TEST_F(CliTest, ImportsAPastedFragment)
{
    const std::string fragment = "F5=say gg\nHome = Jump\nFooKey=bar\nAliases[20]=(Command=\"say hi\",Alias=Hi)\n"
                                 "Aliases[3]=(Command=\"say no\",Alias=No)\n[Extension.Input]\nF6=Duck\n";
    std::ofstream(Scratch("fragment.ini"), std::ios::binary) << fragment;
    const std::string user = Get("User.ini");
    const std::size_t entries = EntryCount();

    const RunResult dry = Cli({"import", Scratch("fragment.ini").string(), "--dry-run"});
    ASSERT_EQ(dry.code, 0) << dry.err;
    EXPECT_EQ(Get("User.ini"), user);
    EXPECT_EQ(EntryCount(), entries);
    EXPECT_NE(dry.out.find("F5: \""), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("\" -> \"say gg\"\n"), std::string::npos) << dry.out;
    EXPECT_NE(dry.err.find("FooKey"), std::string::npos);
    EXPECT_NE(dry.err.find("Aliases[3]"), std::string::npos); // locked without --unlock

    const RunResult real = Cli({"import", Scratch("fragment.ini").string()});
    ASSERT_EQ(real.code, 0) << real.err;
    EXPECT_EQ(real.out, dry.out);
    EXPECT_EQ(Cli({"get", "F5"}).out, "say gg\n");
    EXPECT_EQ(Cli({"get", "home"}).out, "Jump\n");
    EXPECT_EQ(Cli({"get", "F6"}).out, "Duck\n");
    const std::string after = Get("User.ini");
    EXPECT_EQ(ini::FindValue(after, "Extension.Input", "Aliases[20]"), std::nullopt);
    EXPECT_EQ(Rest(after, {"F5", "home", "F6", "Aliases[20]"}), Rest(user, {"F5", "home", "F6", "Aliases[20]"}));

    const RunResult again = Cli({"import", Scratch("fragment.ini").string()});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(Get("User.ini"), after);
}

TEST_F(CliTest, WriteProtectedUserIniExitsOneUnchanged)
{
    std::ofstream(Scratch("fragment.ini"), std::ios::binary) << "F5=say gg\r\n";
    const std::string user = Get("User.ini");
    SetReadOnly("User.ini");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"bind", "F5", "say gg"},
                                                 {"alias", "25", "x", "y"},
                                                 {"import", Scratch("fragment.ini").string()}}) {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.code, 1) << args[0];
        EXPECT_TRUE(r.err.ends_with(WriteErrorFor("User.ini") + "\n")) << r.err;
    }
    EXPECT_EQ(Get("User.ini"), user);
}

TEST_F(CliTest, DiffAndRestoreAreAllOrNothing)
{
    const std::string user = Get("User.ini"), system = Get("DeusEx.ini");
    ASSERT_EQ(Cli({"bind", "F5", "say gg"}).code, 0);
    const std::string changed = Get("User.ini");
    EXPECT_EQ(Cli({"diff", "--tsv"}).out,
              "F5\t" + std::string(*ini::FindValue(user, "Extension.InputExt", "F5")) + "\tsay gg\n");

    EXPECT_EQ(Cli({"restore"}, "n\n").code, 1);
    EXPECT_EQ(Cli({"restore"}).code, 1); // no answer at all
    EXPECT_EQ(Get("User.ini"), changed);

    fs::copy_file("user.ini_Bak", Scratch("saved"));
    fs::remove("user.ini_Bak");
    EXPECT_EQ(Cli({"restore", "--yes"}).code, 1);
    EXPECT_EQ(Cli({"diff"}).code, 1);
    EXPECT_EQ(Get("User.ini"), changed);
    EXPECT_EQ(Get("DeusEx.ini"), system);

    fs::copy_file(Scratch("saved"), "user.ini_Bak");
    ASSERT_EQ(Cli({"restore"}, "y\n").code, 0);
    EXPECT_EQ(Get("User.ini"), user);
    EXPECT_EQ(Get("DeusEx.ini"), system);
    EXPECT_EQ(Cli({"diff"}).out, "");
}

// One player's set exported and applied to the next player's file, round
// the ring of files: every exported key of the engine and every alias reads
// back as exported, and every other byte of the target stays as it was.
TEST_F(CliTest, SharesSetsBetweenRealPlayersFiles)
{
    const fs::path real = FENWAKE_REAL_WORLD_DIR;
    if (!fs::is_directory(real)) GTEST_SKIP() << "no real players' files at " << real;
    const std::vector<std::string> files = {"player-a_User.ini",   "player-b_User.ini",     "player-c_User.ini",
                                            "coop-mod_User.ini",   "gameplay-mod_User.ini", "nerdmod_User.ini",
                                            "ut99-player_User.ini"};
    for (const char* dir : {"from", "to"}) {
        fs::create_directory(dir);
        Put(fs::path(dir) / "DeusEx.ini", Get("DeusEx.ini"));
    }
    const auto keysOf = [&](const char* dir) { return Cli({"-C", dir, "keys", "--all", "--tsv"}).out; };
    const auto aliasesOf = [&](const char* dir) { return Lines(Cli({"-C", dir, "aliases", "--tsv"}).out); };

    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& from = files[i];
        const std::string& to = files[(i + 1) % files.size()];
        SCOPED_TRACE(from + " into " + to);
        Put("from/User.ini", Get(real / from));
        Put("to/User.ini", Get(real / to));
        const std::string original = Get("to/User.ini");
        // Every file binds Joy1 to Fire; the mouse's side buttons differ.
        ASSERT_EQ(Cli({"-C", "from", "bind", "JOY1", "Fire | Jump"}).code, 0);

        ASSERT_EQ(Cli({"-C", "from", "export", Scratch("set.ini").string()}).code, 0);
        const auto keysBefore = keysOf("to");
        const auto aliasesBefore = aliasesOf("to");
        const RunResult import = Cli({"-C", "to", "import", Scratch("set.ini").string(), "--unlock", "--tsv"});
        ASSERT_EQ(import.code, 0) << import.err;

        const std::string exported = keysOf("from");
        const auto names = Column(exported, 0), exportedKeys = Column(exported, 1);
        const auto before = Column(keysBefore, 1), after = Column(keysOf("to"), 1);
        ASSERT_EQ(after.size(), names.size());
        for (std::size_t k = 0; k < names.size(); ++k) {
            // A set leaves out what has no line, and keys off the window's list that bind nothing.
            const bool left =
                exportedKeys[k] == keys::kNoBind || (exportedKeys[k].empty() && !keys::ListSpelling(names[k]));
            EXPECT_EQ(after[k], left ? before[k] : exportedKeys[k]) << names[k];
        }
        EXPECT_EQ(Cli({"-C", "to", "get", "joy1"}).out, "Fire | Jump\n");
        const std::string side = Cli({"-C", "from", "get", "Mouse4"}).out;
        if (side != "\n" && side != "NOBIND\n") {
            EXPECT_EQ(Cli({"-C", "to", "get", "unknown05"}).out, side);
        }
        const auto exportedAliases = aliasesOf("from"), aliasesAfter = aliasesOf("to");
        for (std::size_t n = 0; n < 40; ++n) {
            const bool named = !Column(exportedAliases[n], 2)[0].empty();
            EXPECT_EQ(aliasesAfter[n], named ? exportedAliases[n] : aliasesBefore[n]) << "slot " << n;
        }
        const std::vector<std::string> changedNames = Column(import.out, 0);
        const std::set<std::string> changed(changedNames.begin(), changedNames.end());
        auto rest = Rest(Get("to/User.ini"), changed);
        // A file without a section of the window's save gains it at its end.
        const std::vector<std::string> kept = Rest(original, changed);
        while (rest.size() > kept.size() && Unix(rest.back()).starts_with("[Extension.Input")) rest.pop_back();
        EXPECT_EQ(rest, kept);
    }
}

// Each change a record of its own, put back newest first, never over a
// value Fenwake did not write.
TEST_F(CliTest, UndoPutsChangesBackNewestFirstAndStopsAtAConflict)
{
    std::ofstream(Scratch("set.ini"), std::ios::binary) << "F7=say a\nF8=say b\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"bind", "F5", "say one"},
                                                 {"bind", "F5", "say two"},
                                                 {"alias", "25", "jump", "Hop"},
                                                 {"import", Scratch("set.ini").string()}})
        ASSERT_EQ(Cli(args).code, 0) << args[0];
    EXPECT_EQ(Column(Cli({"history", "--tsv"}).out, 1),
              (std::vector<std::string>{"cli-bind", "cli-bind", "cli-alias", "cli-import", "cli-import"}));
    EXPECT_EQ(Column(Cli({"history", "f5", "--tsv"}).out, 4), (std::vector<std::string>{"say one", "say two"}));

    const RunResult undo = Cli({"undo", "3", "--tsv"});
    EXPECT_EQ(undo.code, 0) << undo.err;
    EXPECT_EQ(Column(undo.out, 0), (std::vector<std::string>{"F8", "F7", "Aliases[25]"}));
    EXPECT_EQ(Cli({"get", "F8"}).out, "\n");

    std::string mine = Get("User.ini");
    for (std::string_view section : {"Extension.InputExt", "Extension.Input"})
        ini::ApplyWriteInPlace(mine, section, "F5", "say mine");
    Put("User.ini", mine);
    const RunResult conflict = Cli({"undo", "2"});
    EXPECT_EQ(conflict.code, 1);
    EXPECT_NE(conflict.err.find("F5 holds \"say mine\", not \"say two\""), std::string::npos) << conflict.err;
    EXPECT_EQ(Get("User.ini"), mine);

    ASSERT_EQ(Cli({"restore", "--yes"}).code, 0);
    const std::string reset = Lines(Cli({"history", "F5", "--tsv"}).out).back();
    EXPECT_EQ(reset.substr(reset.find('\t')), "\treset\tF5\tsay mine\t") << "to the backup's empty value";
    const auto origins = Column(Cli({"history", "--tsv"}).out, 1);
    const auto resets = std::count(origins.begin(), origins.end(), "reset");
    EXPECT_EQ(Cli({"undo", std::to_string(resets)}).code, 0) << "a reset is undone key by key";
    EXPECT_EQ(Cli({"get", "F5"}).out, "say mine\n");
}

class GameRunsCli : public CliTest {};

// The game saved over a change made while it ran; the next run finds it and
// puts it back, every other byte as the game left it.
TEST_F(GameRunsCli, WarnsAndAppliesAgainWhatTheGameUndidAtExit)
{
    const std::string older = Get("User.ini");
    Put(Scratch("in-memory.ini"), older);
    GameStandIn game(game::kGameProgram, dir_ / "User.ini", Scratch("in-memory.ini"));
    const RunResult bind = Cli({"bind", "F5", "say gg"});
    EXPECT_EQ(bind.code, 0);
    EXPECT_NE(bind.err.find(game::kRunningWarning), std::string::npos) << bind.err;
    const std::string bound = Get("User.ini");
    game.Stop();
    ASSERT_EQ(Get("User.ini"), older);

    EXPECT_NE(Cli({"keys"}).err.find("1 of your changes were undone while Fenwake was closed"), std::string::npos);
    const RunResult dry = Cli({"reapply", "--dry-run"});
    EXPECT_EQ(dry.code, 0);
    EXPECT_EQ(dry.out, "F5: \"\" -> \"say gg\"\n");
    EXPECT_EQ(Get("User.ini"), older);
    const RunResult reapply = Cli({"reapply"});
    EXPECT_EQ(reapply.code, 0) << reapply.err;
    EXPECT_EQ(reapply.err.find(game::kRunningWarning), std::string::npos);
    EXPECT_EQ(Get("User.ini"), bound);
    EXPECT_EQ(Cli({"reapply", "--dry-run"}).out, "");

    // The change applied again is the one change to undo.
    EXPECT_EQ(Cli({"undo"}).code, 0);
    EXPECT_EQ(Get("User.ini"), older);
    EXPECT_EQ(Cli({"undo"}).code, 1);
}

// A friend's set that leaves the server, changes a setting and logs in as
// an admin: listed by a dry run, refused whole, taken only when allowed.
TEST_F(CliTest, ReviewsRiskyLinesBeforeAnImport)
{
    std::ofstream(Scratch("risky.ini"), std::ios::binary)
        << "F5=disconnect | open 1.2.3.4:7790\r\nF6=set DeusEx.JCDentonMale MaxSpeed 2000\r\n"
           "F7=adminlogin hunter2\r\nF8=Greet\r\nF9=ActivateBelt 3 | onrelease ParseLeftClick\r\n";
    const std::string set = Scratch("risky.ini").string();
    const std::string user = Get("User.ini");

    const RunResult dry = Cli({"import", set, "--dry-run"});
    EXPECT_EQ(dry.code, 0);
    EXPECT_EQ(dry.err, "Risky, F5: leaves the game: disconnect; leaves the game: open 1.2.3.4:7790\n"
                       "Risky, F6: changes settings: set DeusEx.JCDentonMale MaxSpeed 2000\n"
                       "Risky, F7: admin: adminlogin <secret>\n"
                       "5 change(s); dry run, nothing written.\n");

    const RunResult refused = Cli({"import", set});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.ends_with("3 risky line(s) (F5, F6, F7): nothing written. Add --allow-risky to import "
                                      "them anyway.\n"))
        << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(Get("User.ini"), user);
    EXPECT_FALSE(fs::exists("user.ini_Bak"));

    ASSERT_EQ(Cli({"import", set, "--allow-risky"}).code, 0);
    EXPECT_EQ(Cli({"get", "F7"}).out, "adminlogin hunter2\n");
}

// Secrets leave only when asked; a masked set read back writes none of
// its placeholders, over a different value or the same.
TEST_F(CliTest, ExportMasksSecretsThatImportNeverWritesBack)
{
    ASSERT_EQ(Cli({"bind", "F7", "adminlogin hunter2"}).code, 0);
    ASSERT_EQ(Cli({"bind", "mouse5", "open 1.2.3.4:7790?password=abc | say hi"}).code, 0);
    ASSERT_EQ(Cli({"alias", "25", "admin set Engine.GameInfo GamePassword xyz", "Pw"}).code, 0);
    const RunResult masked = Cli({"export", Scratch("set.ini").string()});
    EXPECT_EQ(masked.err, "Masked 3 secret(s) as <secret>; --keep-secrets writes them as they are.\n");
    const std::string set = Get(Scratch("set.ini"));
    for (const char* secret : {"hunter2", "abc", "xyz"}) EXPECT_EQ(set.find(secret), std::string::npos) << secret;
    EXPECT_NE(set.find("\r\nUnknown06=open 1.2.3.4:7790?password=<secret> | say hi\r\n"), std::string::npos);
    const RunResult kept = Cli({"export", "--keep-secrets"});
    EXPECT_EQ(kept.err, "");
    EXPECT_NE(kept.out.find("\nF7=adminlogin hunter2\n"), std::string::npos);

    ASSERT_EQ(Cli({"bind", "F7", "Jump"}).code, 0);
    const std::string user = Get("User.ini");
    const RunResult back = Cli({"import", Scratch("set.ini").string(), "--unlock"});
    EXPECT_EQ(back.code, 0);
    EXPECT_EQ(back.err, "Skipped, holds a masked secret <secret>: F7\n"
                        "Skipped, holds a masked secret <secret>: Unknown06\n"
                        "Skipped, holds a masked secret <secret>: Aliases[25]\n");
    EXPECT_EQ(Get("User.ini"), user);
}

TEST_F(CliTest, CheckFindsInTheSectionTheGameReadsAndNotesTheOthers)
{
    Put("User.ini", "[Extension.InputExt]\r\nF1=Hop\r\nAliases[20]=(Command=\"Jump\",Alias=Hop)\r\n");
    const RunResult clean = Cli({"check"});
    EXPECT_EQ(clean.code, 0);
    EXPECT_EQ(clean.out + clean.err, "");
    Put("User.ini", "[Extension.InputExt]\r\nF4=say hi | adminlogin hunter2\r\n");
    const RunResult risky = Cli({"check"});
    EXPECT_EQ(risky.code, 1);
    EXPECT_EQ(risky.out, "risky-binding        [Extension.InputExt] F4: admin: adminlogin <secret>\n");

    const std::string sample = Get("DeusEx.ini");
    const std::string notes = "note\tEngine.Input\tF3\tno line where [Extension.InputExt] has \"Fire\"\n"
                              "note\tEngine.Input\tF2\t2 lines; the game reads the first\n";
    const struct {
        std::optional<std::string> systemIni; // none: no DeusEx.ini
        bool strict;
        int code;
        std::string out, err;
    } cases[] = {
        {sample, false, 0, notes,
         "The game reads its bindings from [Extension.InputExt], the input class DeusEx.ini names.\n"
         "0 finding(s) and 2 note(s) in User.ini; notes count as findings only with --strict.\n"},
        {sample, true, 1, notes,
         "The game reads its bindings from [Extension.InputExt], the input class DeusEx.ini names.\n"
         "0 finding(s) and 2 note(s) in User.ini.\n"},
        {std::nullopt, false, 0, notes,
         "The game reads its bindings from [Extension.InputExt], the default input class: there is no "
         "DeusEx.ini here.\n"
         "0 finding(s) and 2 note(s) in User.ini; notes count as findings only with --strict.\n"},
        {"[Engine.Engine]\r\n input = Engine.Input\r\n", false, 1,
         "duplicate-key\tEngine.Input\tF2\t2 lines; the game reads the first\n"
         "note\tExtension.InputExt\tF3\t\"Fire\" where [Engine.Input] has no line\n",
         "The game reads its bindings from [Engine.Input], the input class DeusEx.ini names.\n"
         "1 finding(s) and 1 note(s) in User.ini.\n"},
    };
    Put("User.ini", "[Engine.Input]\r\nF2=Jump\r\nF2=Duck\r\n[Extension.InputExt]\r\nF2=Jump\r\nF3=Fire\r\n");
    for (const auto& c : cases) {
        fs::remove("DeusEx.ini");
        if (c.systemIni) Put("DeusEx.ini", *c.systemIni);
        std::vector<std::string> args = {"check", "--tsv"};
        if (c.strict) args.push_back("--strict");
        const RunResult r = Cli(args);
        EXPECT_EQ(r.code, c.code) << c.err;
        EXPECT_EQ(r.out, c.out) << c.err;
        EXPECT_EQ(r.err, c.err);
    }

    const RunResult help = Cli({"check", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--strict"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Input="), std::string::npos) << help.out;

    const fs::path real = FENWAKE_REAL_WORLD_DIR;
    if (!fs::is_directory(real)) GTEST_SKIP() << "no real players' files at " << real;
    // Only notes, as the rules' own test counts them, unless the section the
    // game reads gets a second F1 line calling an alias only another section defines.
    const std::string playerA = Get(real / "player-a_User.ini");
    std::string planted = playerA;
    planted.insert(planted.find("[Extension.InputExt]\r\n") + 22, "F1=Greet\r\n");
    planted.insert(planted.find("[Engine.Input]\r\n") + 16, "Aliases[39]=(Command=\"say hi\",Alias=Greet)\r\n");
    for (const auto& [user, system, code, findings] : {
             std::tuple{playerA, "player-a_deusex.ini", 0, 0},
             {planted, "player-a_deusex.ini", 1, 2},
             {Get(real / "player-c_User.ini"), "", 0, 0},
         }) {
        Put("User.ini", user);
        fs::remove("DeusEx.ini");
        if (*system) Put("DeusEx.ini", Get(real / system));
        const RunResult r = Cli({"check", "--tsv"});
        EXPECT_EQ(r.code, code) << r.err;
        const std::vector<std::string> kinds = Column(r.out, 0);
        const auto first = std::find(kinds.begin(), kinds.end(), "note");
        EXPECT_EQ(first - kinds.begin(), findings) << r.out;
        EXPECT_TRUE(std::all_of(first, kinds.end(), [](const std::string& k) { return k == "note"; })) << r.out;
        EXPECT_NE(r.err.find(*system ? "names" : "default"), std::string::npos) << r.err;
        if (findings) {
            EXPECT_EQ(Lines(r.out)[0], "duplicate-key\tExtension.InputExt\tF1\t2 lines; the game reads the first");
            EXPECT_EQ(Lines(r.out)[1], "undefined-alias\tExtension.InputExt\tF1\tcalls Greet, an alias that no slot "
                                       "defines");
        }
    }
}

// Whatever an input holds: a clear word for what is left out, only whole
// values written, no crash; a refusal writes nothing.
TEST_F(CliTest, BadInputGetsAClearAnswer)
{
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "Key" + std::to_string(i) + "=say " + std::to_string(i) + "\n";
    const struct {
        std::vector<std::string> args; // "SET" stands for the input file
        std::string input;
        int code;
        std::string err;
    } cases[] = {
        {{"import", "SET"},
         many,
         0,
         "Skipped 100000 line(s) that bind nothing: 100000 naming no key or alias slot (\"Key0\", \"Key1\", \"Key2\", "
         "\"Key3\", \"Key4\", ...).\n"},
        {{"import", "SET"},
         "F5=say\0gg\r\nAliases[25]=(Command=\"\0\",Alias=x)\r\n"s,
         0,
         "Skipped, holds a NUL byte: F5\nSkipped, holds a NUL byte: Aliases[25]\n"},
        {{"import", "SET"},
         "F5=say " + std::string(1 << 20, 'x') + "\n",
         0,
         "Skipped, longer than 2047 characters: F5\n"},
        {{"import", "SET"},
         "[F5=quit\nF5]=quit\n",
         0,
         "Skipped 2 line(s) that bind nothing: 2 naming no key or alias slot (\"[F5\", \"F5]\").\n"},
        {{"import", "SET"},
         std::string(sets::kMaxSetBytes + 1, '\n'),
         2,
         "SET is larger than " + std::to_string(sets::kMaxSetBytes >> 20) + " MB: no binding set.\n"},
        {{"bind", "F5=", "quit"}, "", 2, "No key \"F5=\": fenwake-cli keys --all lists every key the game knows.\n"},
        {{"get", "[F5"}, "", 2, "No key \"[F5\": fenwake-cli keys --all lists every key the game knows.\n"},
    };
    const std::string user = Get("User.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.input.substr(0, 20));
        Put(Scratch("set.ini"), c.input);
        std::vector<std::string> args = c.args;
        std::replace(args.begin(), args.end(), std::string("SET"), Scratch("set.ini").string());
        const RunResult r = Cli(args);
        std::string err = c.err;
        if (const std::size_t at = err.find("SET"); at != std::string::npos)
            err.replace(at, 3, Scratch("set.ini").string());
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(Get("User.ini"), user);
    }
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
}

} // namespace
} // namespace fenwake::test
