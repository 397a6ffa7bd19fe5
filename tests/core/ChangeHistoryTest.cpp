// The history of changes on files it did not write whole, under kills at
// any moment, and the check for a running game against real stand-ins.
#include "rules/ChangeHistory.h"
#include "Process.h"
#include "StandIn.h"
#include "TempDir.h"
#include "config/GameProcess.h"
#include "config/IniText.h"
#include "rules/KeyBindings.h"
#include "rules/Revert.h"

#include <algorithm>
#include <functional>
#include <random>
#include <thread>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ChangeHistory : public test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        Put("User.ini", Get(fs::path(FENWAKE_SAMPLES_DIR) / "game" / "System" / "User.ini"));
        Open();
    }

    // The history as a start finds it, in a folder of the test's own on
    // every platform.
    void Open() { history_ = std::make_shared<history::ChangeHistory>(File(), fs::current_path().string()); }
    fs::path File() const { return state_ / "history.txt"; }

    history::Recorder Recorder()
    {
        return history::Recorder(history_, history::Origin::Window,
                                 [this](const std::string& m) { told_ += m + '\n'; });
    }
    std::vector<history::Record> Records()
    {
        return history_->Load([this](const std::string& m) { told_ += m + '\n'; });
    }
    std::vector<fs::path> SetAside() const
    {
        std::vector<fs::path> found;
        for (const auto& e : fs::directory_iterator(state_))
            if (e.path().filename().string().find("-set-aside-") != std::string::npos) found.push_back(e.path());
        return found;
    }
    // The file's text as a save of the key's binding leaves it.
    static std::string Bound(std::string text, std::string_view key, std::string_view value)
    {
        for (std::string_view section : {keys::kBindingSection, keys::kCopySection})
            ini::ApplyWriteInPlace(text, section, key, value);
        return text;
    }

    std::shared_ptr<history::ChangeHistory> history_;
    std::string told_;
};

TEST_F(ChangeHistory, RecordsReadBackAsWrittenAndNothingElseDoes)
{
    const history::Record awkward{"2024-05-01T12:00:00.123Z",
                                  history::Origin::CliImport,
                                  "User.ini",
                                  {"Aliases[20]", "a\tb\\n\r\n\x01\x7f \xC3\xA9 \"q\"", ""}};
    const std::string line = history::RecordLine(awkward);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 5);
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_EQ(history::ParseRecord(std::string_view(line).substr(0, line.size() - 1)), awkward);

    for (const char* bad :
         {"", "2024-05-01T12:00:00.123Z\twindow\tUser.ini\tF5\tx",
          "2024-05-01T12:00:00.123Z\twindow\tUser.ini\tF5\tx\ty\tz",
          "2024-05-01 12:00:00.123Z\twindow\tUser.ini\tF5\tx\ty", "2024-05-01T12:00:00.123Z\tgame\tUser.ini\tF5\tx\ty",
          "2024-05-01T12:00:00.123Z\twindow\tUser.ini\tF5\t\\q\ty",
          "2024-05-01T12:00:00.123Z\twindow\tUser.ini\tF5\t\\x4\ty",
          "2024-05-01T12:00:00.123Z\twindow\tUser.ini\tF5\tx\ty\r",
          "2024-05-01T12:00:00.123Z\twindow\tUser.ini\t\tx\ty"})
        EXPECT_FALSE(history::ParseRecord(bad)) << bad;
}

// Whatever state the history is in, a save is made, the file is changed by
// it alone, and the player hears what became of the history.
TEST_F(ChangeHistory, ABadHistoryNeverStopsASave)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> spoil;
        const char* told;
        bool setAside; // else mended, the whole records kept
    };
    const Case cases[] = {
        {"cut short mid-record",
         [](const fs::path& f) { std::ofstream(f, std::ios::app | std::ios::binary) << "2024-05-01T12:00:00.000Z\tw"; },
         "was cut short", false},
        {"NUL bytes",
         [](const fs::path& f) {
             std::string text = Get(f);
             text[text.rfind('\t') - 2] = '\0';
             std::ofstream(f, std::ios::binary | std::ios::trunc) << text;
         },
         "line 3 holds NUL bytes", true},
        {"50 MB long",
         [](const fs::path& f) {
             std::ofstream out(f, std::ios::app | std::ios::binary);
             const std::string line(1023, 'x');
             for (int i = 0; i < 50 * 1024; ++i) out << line << '\n';
         },
         "is 50 MB long", true},
        {"read-only", [](const fs::path& f) { test::SetReadOnlyMark(f); }, "is read-only", true},
        {"newer",
         [](const fs::path& f) {
             std::string text = Get(f);
             text.replace(text.find("format 2"), 8, "format 3");
             std::ofstream(f, std::ios::binary | std::ios::trunc) << text;
         },
         "was written by a newer Fenwake (format 3)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(state_)) test::RemoveTree(e.path());
        Open();
        told_.clear();
        keys::WriteBinding(game::UserIni(), "F6", "say one", Recorder());
        keys::WriteBinding(game::UserIni(), "F6", "say two", Recorder());
        c.spoil(history_->File());
        Open(); // found so at the next start
        const std::string spoilt = Get(history_->File());
        const std::string before = Get("User.ini");
        ASSERT_EQ(told_, "");

        const std::string saved = std::string("say ") + c.name, was = keys::ReadBinding(game::UserIni(), "F5");
        keys::WriteBinding(game::UserIni(), "F5", saved, Recorder());
        EXPECT_EQ(Get("User.ini"), Bound(before, "F5", saved));
        EXPECT_NE(told_.find(c.told), std::string::npos) << told_;
        const auto aside = SetAside();
        ASSERT_EQ(aside.size(), c.setAside ? 1u : 0u);
        if (c.setAside) {
            EXPECT_NE(told_.find(aside[0].filename().string()), std::string::npos) << told_;
            EXPECT_EQ(fs::file_size(aside[0]), spoilt.size());
        }
        told_.clear();
        const auto records = Records();
        EXPECT_EQ(told_, "") << "told once";
        ASSERT_EQ(records.size(), c.setAside ? 1u : 3u);
        EXPECT_EQ(records.back().change, (history::Change{"F5", was, saved}));
    }
}

TEST_F(ChangeHistory, KeepsTheLastTenThousandRecords)
{
    // Where the oldest are cut, 1001 to 1003 are one run of typing: it goes whole.
    const auto record = [](int n) {
        return history::Record{"2024-05-01T12:00:00.000Z",
                               history::Origin::Window,
                               "User.ini",
                               {"F5", std::to_string(n - 1), std::to_string(n)},
                               n == 1002 || n == 1003};
    };
    int n = 0;
    for (int batch = 0; batch < 11; ++batch) {
        std::vector<history::Record> records;
        for (int i = 0; i < 1000; ++i) records.push_back(record(++n));
        history_->Append(records, [](const std::string& m) { ADD_FAILURE() << m; });
    }
    ASSERT_EQ(Records().size(), 11000u - 2) << "a tenth more before the oldest go";
    const auto last = record(++n);
    history_->Append({&last, 1}, [](const std::string& m) { ADD_FAILURE() << m; });
    const auto records = Records();
    ASSERT_EQ(records.size(), history::kKeptRecords - 2);
    EXPECT_EQ(records.front(), record(1004));
    EXPECT_EQ(records.back(), last);
}

// Saves of one run are one change wherever the history is read; the file
// still holds each save, so that none is lost to a crash.
TEST_F(ChangeHistory, ARunOfSavesIsOneChange)
{
    struct Save {
        const char* key;
        const char* value;
        bool endFirst = false;          // the run ends before this save
        bool otherProgramFirst = false; // a save of F6 by another program comes between
    };
    struct Case {
        const char* name;
        std::vector<Save> saves;
        std::vector<history::Change> changes; // oldest first; "" stands for F5's value at the start
    };
    const Case cases[] = {
        {"typing", {{"F5", "s"}, {"F5", "sa"}, {"F5", "say"}, {"F5", "say gg"}}, {{"F5", "", "say gg"}}},
        {"ended, begun again",
         {{"F5", "a"}, {"F5", "ab"}, {"F5", "abc", true}},
         {{"F5", "", "ab"}, {"F5", "ab", "abc"}}},
        {"typed and taken back", {{"F5", "x"}, {"F5", ""}, {"F5", "y"}, {"F5", ""}}, {}},
        {"taken back, then typed on", {{"F5", "x"}, {"F5", ""}, {"F5", "z"}}, {{"F5", "", "z"}}},
        {"another key between",
         {{"F5", "a"}, {"F7", "b"}, {"F5", "ac"}},
         {{"F5", "", "a"}, {"F7", "", "b"}, {"F5", "a", "ac"}}},
        {"another program between",
         {{"F5", "a"}, {"F5", "ab", false, true}, {"F5", "abc"}},
         {{"F6", "", "other"}, {"F5", "", "abc"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(state_)) test::RemoveTree(e.path());
        Open();
        const ConfigFile user = game::UserIni();
        for (const char* key : {"F5", "F6", "F7"}) keys::WriteBinding(user, key, "", history::Recorder::None());
        history::ChangeRun run(Recorder());
        for (const Save& save : c.saves) {
            if (save.endFirst) run.End();
            if (save.otherProgramFirst)
                keys::WriteBinding(user, "F6", "other", Recorder().As(history::Origin::CliBind));
            keys::WriteBinding(user, save.key, save.value, run.Recording());
        }
        std::vector<history::Change> found;
        for (const auto& r : Records()) found.push_back(r.change);
        EXPECT_EQ(found, c.changes);
        EXPECT_EQ(told_, "");
    }

    // Undone in one step, and found undone as one change.
    const ConfigFile user = game::UserIni();
    const std::string was = keys::ReadBinding(user, "F5");
    history::ChangeRun run(Recorder());
    for (const char* typed : {"s", "sa", "say", "say gg"}) keys::WriteBinding(user, "F5", typed, run.Recording());
    const auto undoable = history::Undoable(user, Records());
    ASSERT_FALSE(undoable.empty());
    EXPECT_EQ(undoable.front().change, (history::Change{"F5", was, "say gg"}));
    keys::WriteBinding(user, "F5", was, history::Recorder::None()); // as the game does at exit
    EXPECT_EQ(history::FindUndone(user, Records()), (std::vector<history::Change>{{"F5", was, "say gg"}}));
}

// A history an older Fenwake wrote is read as it is and carries the current
// format's header before anything is added to it.
TEST_F(ChangeHistory, TakesOverAnOlderFormat)
{
    const history::Record old{"2024-05-01T12:00:00.000Z", history::Origin::CliBind, "User.ini", {"F5", "a", "b"}};
    std::string text = history::HeaderLine(fs::current_path().string());
    text.replace(text.find("format 2"), 8, "format 1");
    Put(File(), text + history::RecordLine(old));
    EXPECT_EQ(Records(), std::vector<history::Record>{old});
    EXPECT_EQ(Get(File()), history::HeaderLine(fs::current_path().string()) + history::RecordLine(old));
    EXPECT_EQ(told_, "");
}

// The helper is killed at a random moment of its loop, several times over.
template <class Check>
void KillAtRandom(const std::vector<std::string>& args, const fs::path& ready, Check check)
{
    std::mt19937 random(std::random_device{}());
    for (int round = 0; round < 4; ++round) {
        fs::remove(ready);
        {
            test::ChildProcess writer(FENWAKE_HISTORY_WRITER, args);
            for (int wait = 0; wait < 2000 && !fs::exists(ready); ++wait) std::this_thread::sleep_for(5ms);
            ASSERT_TRUE(fs::exists(ready)) << "the writer never began";
            std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution(1, 80)(random)));
        } // killed here
        check();
    }
}

long Number(const std::string& value) { return std::stol(value.substr(0, value.find(' '))); }

TEST_F(ChangeHistory, AKilledAppendLosesNoEarlierRecord)
{
    std::size_t seen = 0;
    KillAtRandom({"append", File().string(), (dir_ / "ready").string()}, dir_ / "ready", [&] {
        told_.clear();
        const auto records = Records();
        EXPECT_EQ(told_.find("set aside"), std::string::npos) << told_;
        ASSERT_FALSE(records.empty());
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(Number(records[i].change.after), Number(records[i].change.before) + 1);
            if (i > 0) {
                EXPECT_EQ(records[i].change.before, records[i - 1].change.after) << "record " << i;
            }
        }
        EXPECT_GE(Number(records.back().change.after), static_cast<long>(seen)) << "a record went missing";
        seen = static_cast<std::size_t>(Number(records.back().change.after));
    });
}

TEST_F(ChangeHistory, AKilledReapplyLeavesTheFileOldOrNew)
{
    const std::string older = Get("User.ini");
    Put("older.ini", older);
    keys::WriteBinding(game::UserIni(), "F5", "say gg", Recorder());
    const std::string reapplied = Get("User.ini");
    KillAtRandom({"reapply", File().string(), (dir_ / "older.ini").string(), (dir_ / "ready").string()}, dir_ / "ready",
                 [&] {
                     const std::string now = Get("User.ini");
                     EXPECT_TRUE(now == older || now == reapplied) << now;
                     told_.clear();
                     const auto records = Records();
                     EXPECT_EQ(told_.find("set aside"), std::string::npos) << told_;
                     for (const auto& r : records) EXPECT_EQ(r.change, (history::Change{"F5", "", "say gg"}));
                 });
    history::Reapply(game::UserIni(), history::FindUndone(game::UserIni(), Records()), Recorder());
    EXPECT_EQ(Get("User.ini"), reapplied);
}

// Killed at any moment of typing, the typing is one change that undo puts
// back whole and reapply writes again to the last value typed.
TEST_F(ChangeHistory, AKilledRunOfTypingIsUndoneAndAppliedWhole)
{
    const ConfigFile user = game::UserIni();
    KillAtRandom({"typing", File().string(), (dir_ / "ready").string()}, dir_ / "ready", [&] {
        const auto records = Records();
        ASSERT_FALSE(records.empty());
        const history::Record typed = records.back();
        const std::string was = typed.change.before, now = keys::ReadBinding(user, "F5");
        ASSERT_EQ(typed.change.after.substr(0, 4), "say ");
        EXPECT_TRUE(now == typed.change.after || now == typed.lastSaveFrom || now == was) << now;
        // Each way back from the same state.
        const std::string file = Get("User.ini"), kept = Get(File());
        EXPECT_EQ(history::UndoChange(user, history::Undoable(user, Records()).front(), Recorder()), std::nullopt);
        EXPECT_EQ(keys::ReadBinding(user, "F5"), was);
        Put("User.ini", file);
        Put(File(), kept);
        history::Reapply(user, history::FindUndone(user, Records()), Recorder());
        EXPECT_EQ(keys::ReadBinding(user, "F5"), typed.change.after);
        EXPECT_EQ(told_.find("set aside"), std::string::npos) << told_;
    });
}

bool Lists(const std::vector<game::RunningProgram>& found, std::uint64_t id, std::string_view program)
{
    return std::find(found.begin(), found.end(), game::RunningProgram{id, program}) != found.end();
}

TEST(GameRunsProcess, IsFoundByTheGamesProgramNamesInAnyCase)
{
    test::GameStandIn game("DeusEx.exe"), launcher("deusexe.EXE"), other("DeusEx2.exe");
    auto found = game::FindRunningGames();
    EXPECT_TRUE(Lists(found, game.Id(), "DeusEx.exe"));
    EXPECT_TRUE(Lists(found, launcher.Id(), "DeusExe.exe"));
    EXPECT_FALSE(std::any_of(found.begin(), found.end(), [&](const auto& p) { return p.id == other.Id(); }));

    game::GameWatch watch(1h);
    EXPECT_TRUE(watch.Running());
    game.Stop();
    launcher.Stop();
    found = game::FindRunningGames();
    EXPECT_FALSE(Lists(found, game.Id(), "DeusEx.exe"));
    EXPECT_FALSE(Lists(found, launcher.Id(), "DeusExe.exe"));
    EXPECT_TRUE(watch.Running()) << "asked again within the hour";
    EXPECT_FALSE(game::GameWatch(0s).Running());
}

} // namespace
} // namespace fenwake
