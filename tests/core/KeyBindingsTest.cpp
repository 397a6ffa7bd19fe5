#include "rules/KeyBindings.h"
#include "TempDir.h"
#include "config/ConfigFile.h"

#include <algorithm>
#include <set>

namespace fenwake {
namespace {
namespace fs = std::filesystem;

std::string Copy(std::string_view key) { return ConfigFile(".\\User.ini").ReadText("Extension.Input", key, "<none>"); }

class KeyBindings : public test::TempDirTest {};

TEST_F(KeyBindings, LoadReadsTheShownSectionAndSaveWritesBothInPlace)
{
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "F1"), "NOBIND") << "no file";
    Put("User.ini", "[Extension.InputExt]\r\nHome=Behindview 1\r\nF2=\r\nN=Jump\r\n\r\n"
                    "[Extension.Input]\r\nF1=OnlyInTheCopy\r\nN=Jump\r\n");
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "F1"), "NOBIND") << "the copy is never read";
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "F2"), "") << "an empty binding is not a missing one";
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "home"), "Behindview 1");

    keys::WriteBinding(game::UserIni(), "home", "ActivateBelt 0 | onrelease ParseLeftClick", history::Recorder::None());
    keys::WriteBinding(game::UserIni(), "F1", "Set a=b ", history::Recorder::None());
    keys::WriteExampleBinding(game::UserIni(), history::Recorder::None());
    EXPECT_EQ(Get("User.ini"),
              "[Extension.InputExt]\r\nHome=ActivateBelt 0 | onrelease ParseLeftClick\r\nF2=\r\n"
              "N=ActivateBelt 0 | onrelease ParseLeftClick\r\nF1=Set a=b \r\n\r\n"
              "[Extension.Input]\r\nF1=Set a=b \r\nN=Jump\r\nhome=ActivateBelt 0 | onrelease ParseLeftClick\r\n");
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "F1"), "Set a=b");

    fs::remove("User.ini");
    keys::WriteBinding(game::UserIni(), "Space", "", history::Recorder::None());
    EXPECT_EQ(Get("User.ini"), "[Extension.InputExt]\r\nSpace=\r\n[Extension.Input]\r\nSpace=\r\n");
}

std::optional<std::string_view> Find(std::string_view prefix, std::optional<std::string_view> selected)
{
    std::optional<std::size_t> at;
    if (selected)
        at = static_cast<std::size_t>(std::find(keys::kKeyNames.begin(), keys::kKeyNames.end(), *selected) -
                                      keys::kKeyNames.begin());
    const auto found = keys::FindKey(prefix, at);
    return found ? std::optional(keys::kKeyNames[*found]) : std::nullopt;
}

TEST_F(KeyBindings, SearchStartsAfterTheSelectionAndWrapsAround)
{
    // Typing f, f1, f10 from "0", then deleting back to f1.
    EXPECT_EQ(Find("f", "0"), "F");
    EXPECT_EQ(Find("f1", "F"), "F1");
    EXPECT_EQ(Find("f10", "F1"), "F10");
    EXPECT_EQ(Find("f1", "F10"), "F11");
    EXPECT_EQ(Find("n", "N"), "NumLock");
    EXPECT_EQ(Find("HOME", "0"), "home");
    EXPECT_EQ(Find("a", "Z"), "A");
    EXPECT_EQ(Find("tild", "Tilde"), "Tilde") << "the only match is the selection itself";
    EXPECT_EQ(Find("0", std::nullopt), "0") << "with no selection the top counts";
    EXPECT_EQ(Find("zz", "0"), std::nullopt);
    EXPECT_EQ(Find("", "0"), std::nullopt);
}

// Players' real files: loading touches nothing, and a save changes the
// key's lines in the two sections and not one other line.
TEST_F(KeyBindings, RealFilesKeepEveryOtherLine)
{
    const fs::path dir = FENWAKE_REAL_WORLD_DIR;
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no real-world files at " << dir;
    auto lines = [](const std::string& text) {
        std::multiset<std::string> out;
        for (std::size_t start = 0, end; start < text.size(); start = end) {
            end = std::min(text.find('\n', start), text.size() - 1) + 1;
            out.insert(text.substr(start, end - start));
        }
        return out;
    };
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.path().filename().string().ends_with("_User.ini")) continue;
        SCOPED_TRACE(entry.path().filename().string());
        fs::copy_file(entry.path(), "User.ini", fs::copy_options::overwrite_existing);
        fs::permissions("User.ini", fs::perms::owner_write, fs::perm_options::add);
        const std::string before = Get("User.ini");
        for (std::string_view key : keys::kKeyNames) keys::ReadBinding(game::UserIni(), key);
        EXPECT_EQ(Get("User.ini"), before);

        keys::WriteBinding(game::UserIni(), "period", "Fenwake | onrelease test", history::Recorder::None());
        EXPECT_EQ(keys::ReadBinding(game::UserIni(), "period"), "Fenwake | onrelease test");
        EXPECT_EQ(Copy("period"), "Fenwake | onrelease test");
        const auto was = lines(before), now = lines(Get("User.ini"));
        std::vector<std::string> added, removed;
        std::set_difference(now.begin(), now.end(), was.begin(), was.end(), std::back_inserter(added));
        std::set_difference(was.begin(), was.end(), now.begin(), now.end(), std::back_inserter(removed));
        // The key's two lines, and the headers of sections the file lacked.
        EXPECT_LE(added.size(), 4u);
        for (const auto& l : added)
            EXPECT_TRUE(l.starts_with("period=") || l.starts_with("Period=") || l.starts_with("[Extension.Input")) << l;
        for (const auto& l : removed) EXPECT_TRUE(l.starts_with("period=") || l.starts_with("Period=")) << l;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

} // namespace
} // namespace fenwake
