// Key binding saves while another program keeps saving the same User.ini,
// the way users met it: nothing of the other program's saves may be lost
// and no save may build on a file caught half written.
#include "../helpers/OtherWriter.h"
#include "Process.h"
#include "TempDir.h"
#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "rules/KeyBindings.h"

#include <array>
#include <thread>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The keys saved here; F1 of the copy section is also the other program's.
constexpr std::array<std::string_view, 4> kOurKeys = {"F1", "F2", "period", "home"};

// The file with every entry this side writes set to one value, so that
// files differing only in those compare equal.
std::string WithoutOurs(std::string text)
{
    for (const std::string_view key : kOurKeys)
        for (const std::string_view section : {keys::kBindingSection, keys::kCopySection})
            ini::ApplyWriteInPlace(text, section, key, "-");
    return text;
}

class ConcurrentWrite : public test::TempDirTest, public ::testing::WithParamInterface<const char*> {
protected:
    // The file between two of the other program's saves: read with no write
    // in between (a read in pieces can join the start of one save to the end
    // of the next) and ending with the other program's last line. Bounded,
    // for a file that never gets whole.
    std::string Whole()
    {
        const auto giveUp = std::chrono::steady_clock::now() + 5s;
        for (;;) {
            const auto snapshot = files::ReadStamped("User.ini");
            const bool still = snapshot && snapshot->before == snapshot->after;
            std::string text = snapshot ? snapshot->bytes : std::string();
            const std::size_t last = text.find_last_of('\n', text.size() >= 2 ? text.size() - 2 : 0);
            if (still && text.ends_with('\n') && last != std::string::npos &&
                std::string_view(text).substr(last + 1).starts_with(test::other::kSavesKey))
                return text;
            if (std::chrono::steady_clock::now() > giveUp) {
                ADD_FAILURE() << "the file never ended with a whole save of the other program:\n" << text;
                return text;
            }
            std::this_thread::sleep_for(1ms);
        }
    }
};

TEST_P(ConcurrentWrite, ThirtySavesKeepEveryEntryOfTheOtherProgram)
{
    const fs::path source = fs::path(FENWAKE_REAL_WORLD_DIR) / "player-b_User.ini";
    if (!fs::is_regular_file(source)) GTEST_SKIP() << "no real-world file at " << source;
    Put("User.ini", Get(source));
    // Our keys get their lines first, so later saves only change values.
    for (const std::string_view key : kOurKeys)
        keys::WriteBinding(game::UserIni(), key, "first", history::Recorder::None());
    const std::string prepared = Get("User.ini");

    test::ChildProcess other(FENWAKE_OTHER_WRITER, {"User.ini", GetParam(), "stop", "report", "60"});
    long seen = test::other::SavesIn(Whole());
    int refused = 0;
    for (int i = 0; i < 30; ++i) {
        try {
            keys::WriteBinding(game::UserIni(), kOurKeys[i % kOurKeys.size()], "say fenwake " + std::to_string(i),
                               history::Recorder::None());
        } catch (const WriteError&) {
            ++refused; // a file that never settles is refused, never guessed at
        }
        const std::string now = Whole();
        const long n = test::other::SavesIn(now);
        ASSERT_GE(n, seen) << "save " << i << " undid a save of the other program";
        ASSERT_EQ(WithoutOurs(now), WithoutOurs(test::other::WithSave(prepared, n))) << "save " << i;
        seen = n;
        std::this_thread::sleep_for(5ms);
    }
    Put("stop", "");
    ASSERT_EQ(other.Wait(20s), 0);
    long saves = 0, last = 0, undone = -1;
    std::ifstream("report") >> saves >> last >> undone;
    // Where names cannot be swapped in one step (Windows), a save landing in
    // the instant of a write's rename is still lost; any more is a fault.
    EXPECT_LE(undone, 1) << "of " << saves << " saves of the other program";
    EXPECT_GE(saves, 10) << "the other program hardly ran beside the test";
    EXPECT_LE(refused, 3);

    // Alone again, a save keeps the other program's last save whole.
    keys::WriteBinding(game::UserIni(), "home", "say alone", history::Recorder::None());
    const std::string final = Get("User.ini");
    EXPECT_EQ(WithoutOurs(final), WithoutOurs(test::other::WithSave(prepared, last)));
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "home"), "say alone");
    EXPECT_EQ(ConfigFile(".\\User.ini").ReadText(keys::kCopySection, "home", ""), "say alone");
    EXPECT_EQ(EntryCount(), 3u) << "a temporary was left behind";
}

INSTANTIATE_TEST_SUITE_P(OtherProgram, ConcurrentWrite, ::testing::Values("truncate", "rename"));

} // namespace
} // namespace fenwake
