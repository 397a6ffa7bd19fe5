#include "config/ConfigFile.h"
#include "pages/KeyBindings.h"
#include "TempDir.h"

#include <algorithm>
#include <set>

namespace fenwake {
namespace {
namespace fs = std::filesystem;

const ConfigFile kUser(".\\User.ini");

std::string Ext(std::string_view key) { return kUser.ReadText("Extension.InputExt", key, "<none>"); }
std::string Copy(std::string_view key) { return kUser.ReadText("Extension.Input", key, "<none>"); }

class KeyBindings : public test::TempDirTest {};

TEST_F(KeyBindings, TheKeyListIsFixedAndUnique)
{
    const std::set<std::string_view> unique(keys::kKeyNames.begin(), keys::kKeyNames.end());
    EXPECT_EQ(unique.size(), 107u);
    EXPECT_EQ(keys::kKeyNames.front(), "0");
    EXPECT_EQ(keys::kKeyNames.back(), "Z");
    for (std::string_view lower : {"home", "i", "j", "k", "o", "period", "t"})
        EXPECT_TRUE(unique.count(lower)) << lower;
    // Names are keys of the file: nothing in them may break a line or read back otherwise.
    for (std::string_view name : keys::kKeyNames)
        EXPECT_EQ(name.find_first_of("=[] \t\r\n"), std::string_view::npos) << name;
}

TEST_F(KeyBindings, LoadShowsTheShownSectionOrNobind)
{
    EXPECT_EQ(keys::LoadKeyBind("F1"), "NOBIND") << "no file";
    Put("User.ini",
        "[Extension.Input]\r\nF1=OnlyInTheCopy\r\nN=Jump\r\n"
        "[Extension.InputExt]\r\nN=  ActivateBelt 0 | onrelease ParseLeftClick  \r\nF2=\r\nHome=Behindview 1\r\n"
        "F3=\"Quoted\"\r\nF4=Demorec \r\nF5=Name=Bob\r\n");
    EXPECT_EQ(keys::LoadKeyBind("F1"), "NOBIND") << "the copy is never read";
    EXPECT_EQ(keys::LoadKeyBind("N"), "ActivateBelt 0 | onrelease ParseLeftClick");
    EXPECT_EQ(keys::LoadKeyBind("F2"), "") << "an empty binding is not a missing one";
    EXPECT_EQ(keys::LoadKeyBind("home"), "Behindview 1");
    EXPECT_EQ(keys::LoadKeyBind("F3"), "Quoted");
    EXPECT_EQ(keys::LoadKeyBind("F4"), "Demorec");
    EXPECT_EQ(keys::LoadKeyBind("F5"), "Name=Bob");
    EXPECT_EQ(keys::LoadKeyBind("F6"), "NOBIND");
}

TEST_F(KeyBindings, SaveWritesBothSectionsInPlace)
{
    const std::string before = "; mine\r\n[Extension.InputExt]\r\nHome=Behindview 1\r\nAliases[0]=(Command=\"\",Alias=None)\r\n"
                               "\r\n[Extension.Input]\r\nHome=Jump\r\nF1=Old\r\n\r\n[Other]\r\nx=1\r\n";
    Put("User.ini", before);
    keys::SaveKeyBind("home", "ActivateBelt 0 | onrelease ParseLeftClick");
    keys::SaveKeyBind("F1", " Demorec  ");
    keys::SaveKeyBind("F2", "Set a=b");
    EXPECT_EQ(Get("User.ini"),
              "; mine\r\n[Extension.InputExt]\r\nHome=ActivateBelt 0 | onrelease ParseLeftClick\r\n"
              "Aliases[0]=(Command=\"\",Alias=None)\r\nF1= Demorec  \r\nF2=Set a=b\r\n"
              "\r\n[Extension.Input]\r\nHome=ActivateBelt 0 | onrelease ParseLeftClick\r\nF1= Demorec  \r\nF2=Set a=b\r\n"
              "\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(keys::LoadKeyBind("F2"), "Set a=b");
    EXPECT_EQ(keys::LoadKeyBind("F1"), "Demorec");

    keys::SaveKeyBind("F2", "");
    EXPECT_EQ(Ext("F2"), "");
    EXPECT_EQ(Copy("F2"), "");
    EXPECT_NE(Get("User.ini").find("F2=\r\n\r\n[Extension.Input]"), std::string::npos);
}

TEST_F(KeyBindings, SaveCreatesAMissingFileWithBothSections)
{
    keys::SaveKeyBind("Space", "Jump");
    EXPECT_EQ(Get("User.ini"), "[Extension.InputExt]\r\nSpace=Jump\r\n[Extension.Input]\r\nSpace=Jump\r\n");
}

TEST_F(KeyBindings, AFailedSaveChangesNeitherSection)
{
    const std::string before = "[Extension.InputExt]\r\nN=Jump\r\n[Extension.Input]\r\nN=Jump\r\n";
    Put("User.ini", before);
    SetReadOnly("User.ini");
    try {
        keys::SaveKeyBind("N", "Fire");
        ADD_FAILURE() << "the save did not fail";
    } catch (const WriteError& e) {
        EXPECT_STREQ(e.what(), "Unable to write to .\\User.ini");
    }
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_THROW(keys::SaveKeyBind("N", "two\r\nlines"), WriteError);
    EXPECT_EQ(Get("User.ini"), before);
}

TEST_F(KeyBindings, TheExampleGoesToTheShownSectionAlone)
{
    Put("User.ini", "[Extension.InputExt]\r\nN=Jump\r\n[Extension.Input]\r\nN=Jump\r\n");
    keys::SaveExample();
    EXPECT_EQ(Ext("N"), "ActivateBelt 0 | onrelease ParseLeftClick");
    EXPECT_EQ(Copy("N"), "Jump");
}

std::optional<std::string_view> Find(std::string_view prefix, std::optional<std::string_view> selected)
{
    std::optional<std::size_t> at;
    if (selected) {
        const auto it = std::find(keys::kKeyNames.begin(), keys::kKeyNames.end(), *selected);
        at = static_cast<std::size_t>(it - keys::kKeyNames.begin());
    }
    const auto found = keys::FindKey(prefix, at);
    if (!found) return std::nullopt;
    return keys::kKeyNames[*found];
}

TEST_F(KeyBindings, SearchStartsAfterTheSelectionAndWrapsAround)
{
    // Typing f, f1, f10 from "0", then deleting back to f1.
    EXPECT_EQ(Find("f", "0"), "F");
    EXPECT_EQ(Find("f1", "F"), "F1");
    EXPECT_EQ(Find("f10", "F1"), "F10");
    EXPECT_EQ(Find("f1", "F10"), "F11");

    EXPECT_EQ(Find("n", "N"), "NumLock");
    EXPECT_EQ(Find("home", "0"), "home");
    EXPECT_EQ(Find("HOME", "0"), "home");
    EXPECT_EQ(Find("a", "Z"), "A") << "wraps round to the top";
    EXPECT_EQ(Find("f5", "F9"), "F5");
    EXPECT_EQ(Find("tild", "Tilde"), "Tilde") << "the only match is the selection itself";
    EXPECT_EQ(Find("z", std::nullopt), "Z");
    EXPECT_EQ(Find("0", std::nullopt), "0") << "with no selection the top counts";
    EXPECT_EQ(Find("zz", "0"), std::nullopt);
    EXPECT_EQ(Find("", "0"), std::nullopt);
    EXPECT_EQ(Find("", std::nullopt), std::nullopt);
}

// Players' real files: loading touches nothing, and a save changes the
// key's lines in the two sections and not one other line.
TEST_F(KeyBindings, RealFilesKeepEveryOtherLine)
{
    const fs::path dir = FENWAKE_REAL_WORLD_DIR;
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no real-world files at " << dir;
    auto lines = [](const std::string& text) {
        std::multiset<std::string> out;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            end = end == std::string::npos ? text.size() : end + 1;
            out.insert(text.substr(start, end - start));
            start = end;
        }
        return out;
    };
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("_User.ini")) continue;
        SCOPED_TRACE(name);
        fs::copy_file(entry.path(), "User.ini", fs::copy_options::overwrite_existing);
        fs::permissions("User.ini", fs::perms::owner_write, fs::perm_options::add);
        const std::string before = Get("User.ini");

        for (std::string_view key : keys::kKeyNames) keys::LoadKeyBind(key);
        EXPECT_EQ(Get("User.ini"), before);

        keys::SaveKeyBind("period", "Fenwake | onrelease test");
        EXPECT_EQ(keys::LoadKeyBind("period"), "Fenwake | onrelease test");
        EXPECT_EQ(Copy("period"), "Fenwake | onrelease test");
        const auto was = lines(before);
        const auto now = lines(Get("User.ini"));
        std::vector<std::string> added, removed;
        std::set_difference(now.begin(), now.end(), was.begin(), was.end(), std::back_inserter(added));
        std::set_difference(was.begin(), was.end(), now.begin(), now.end(), std::back_inserter(removed));
        // The key's two lines, and the headers of sections the file lacked.
        EXPECT_LE(added.size(), 4u);
        for (const auto& l : added) {
            EXPECT_TRUE(l.starts_with("period=") || l.starts_with("Period=") || l.starts_with("[Extension.Input]") ||
                        l.starts_with("[Extension.InputExt]"))
                << l;
        }
        for (const auto& l : removed) {
            std::string key = l.substr(0, l.find('='));
            std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
            EXPECT_EQ(key.substr(key.find_first_not_of(" \t")), "period") << l;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

} // namespace
} // namespace fenwake
