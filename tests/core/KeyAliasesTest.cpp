#include "pages/KeyAliases.h"

#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace fenwake::test {
namespace {

using aliases::AliasFields;
using aliases::ComposeValue;
using aliases::ParseRow;
using aliases::RowText;

TEST(AliasLine, ComposesTheFivePiecesWithNothingBetween)
{
    EXPECT_EQ(ComposeValue("say hello", "Greet"), "(Command=\"say hello\",Alias=Greet)");
    EXPECT_EQ(ComposeValue("", "Greet"), "(Command=\"\",Alias=Greet)");
    EXPECT_EQ(ComposeValue("", "None"), "(Command=\"\",Alias=None)");
    // As typed: no trimming and no escaping.
    EXPECT_EQ(ComposeValue(" say \"hi\" ", " G "), "(Command=\" say \"hi\" \",Alias= G )");
    EXPECT_EQ(RowText(7, "x"), "[7]x");
    EXPECT_EQ(RowText(39, ""), "[39]");
}

TEST(AliasLine, SlotKeysExistOnlyForTheFortySlots)
{
    EXPECT_EQ(aliases::SlotKey(0), "Aliases[0]");
    EXPECT_EQ(aliases::SlotKey(9), "Aliases[9]");
    EXPECT_EQ(aliases::SlotKey(39), "Aliases[39]");
    EXPECT_THROW(aliases::SlotKey(-1), std::out_of_range);
    EXPECT_THROW(aliases::SlotKey(40), std::out_of_range);

    EXPECT_TRUE(aliases::IsLocked(0, true));
    EXPECT_TRUE(aliases::IsLocked(18, true));
    EXPECT_FALSE(aliases::IsLocked(19, true));
    EXPECT_FALSE(aliases::IsLocked(39, true));
    EXPECT_FALSE(aliases::IsLocked(0, false));
    EXPECT_FALSE(aliases::IsLocked(18, false));
}

TEST(AliasLine, ParsesWellFormedRows)
{
    EXPECT_EQ(ParseRow("[0](Command=\"Button bFire | Fire\",Alias=Fire)"), (AliasFields{"Button bFire | Fire", "Fire"}));
    EXPECT_EQ(ParseRow("[12](Command=\"\",Alias=None)"), (AliasFields{"", "None"}));
    EXPECT_EQ(ParseRow("[2](Command=\"Axis aBaseY  Speed=+300.0\",Alias=MoveForward)"),
              (AliasFields{"Axis aBaseY  Speed=+300.0", "MoveForward"}));
    // The name is everything up to the closing parenthesis, itself included.
    EXPECT_EQ(ParseRow("[20](Command=\"x\",Alias=a)b)"), (AliasFields{"x", "a)b"}));
    EXPECT_EQ(ParseRow("[20](Command=\"x\",Alias=\"Quoted\")"), (AliasFields{"x", "\"Quoted\""}));
}

TEST(AliasLine, TakesAwkwardRowsApartByPosition)
{
    // A quote in the command ends it there; the skip then lands in the rest.
    EXPECT_EQ(ParseRow(RowText(3, ComposeValue("say \"hi\"", "G"))), (AliasFields{"say ", "ias=G"}));
    // The seven characters after the closing quote are skipped unchecked.
    EXPECT_EQ(ParseRow("[4](Command=\"x\", Alias=y)"), (AliasFields{"x", "=y"}));
    EXPECT_EQ(ParseRow("[4](Command=\"x\",alias:y)"), (AliasFields{"x", "y"}));
    // Nothing left after the skip, or a quote right after the first.
    EXPECT_EQ(ParseRow("[5]\"a\"b)"), (AliasFields{"a", ""}));
    EXPECT_EQ(ParseRow("[5](Command=\"\")"), (AliasFields{"", ""}));
    EXPECT_EQ(ParseRow("[5]\"\"1234567Name)"), (AliasFields{"", "Name"}));
    // The dropped last character may be the second quote itself.
    EXPECT_EQ(ParseRow("[6]\"a\""), (AliasFields{}));
}

TEST(AliasLine, RowsNotInTheAliasFormShowTwoEmptyFields)
{
    for (const char* row : {"[21]not used", "[21]", "[5]say \"hi", "[1]\"", "[1]\"\"", "[8]Command=x,Alias=y", ""}) {
        EXPECT_EQ(ParseRow(row), AliasFields{}) << row;
    }
}

TEST(AliasLine, WhatTheEditorWritesItReadsBack)
{
    const std::vector<AliasFields> samples = {
        {"say hello", "Greet"},
        {"", "None"},
        {"", ""},
        {"a,Alias=b", "x"},
        {"  spaced  ", "  name  "},
        {"Button bRun | Say \x95 caf\xE9", "W\xE4lk"},
        {"cmd", "n=v)\"q\""},
        {"(Command=", ")"},
    };
    for (int slot : {0, 9, 10, 39}) {
        for (const AliasFields& f : samples) {
            EXPECT_EQ(ParseRow(RowText(slot, ComposeValue(f.command, f.name))), f) << slot << " " << f.command;
        }
    }
}

// A text's lines, each with its line ending.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find('\n', begin);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(begin, next - begin));
        begin = next;
    }
    return lines;
}

class AliasFile : public TempDirTest {
protected:
    const ConfigFile user{".\\User.ini"};
    static constexpr const char* kText =
        "[Extension.InputExt]\r\n"
        "A=Jump\r\n"
        "Aliases[0]=(Command=\"Button bFire | Fire\",Alias=Fire)\r\n"
        "aliases[3] =  (Command=\"x\", Alias=y)  \r\n"
        "Aliases[7]=\r\n"
        "Aliases[19]=(Command=\"say gg\",Alias=GoodGame)\r\n"
        "; players' own notes\r\n"
        "\r\n"
        "[Engine.Input]\r\n"
        "Aliases[5]=(Command=\"Button bFire\",Alias=Fire)\r\n";
};

TEST_F(AliasFile, ListsFortyRowsFromTheAliasSectionOnly)
{
    Put("User.ini", kText);
    const auto rows = aliases::LoadRows(user);
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(rows[0], "[0](Command=\"Button bFire | Fire\",Alias=Fire)");
    EXPECT_EQ(rows[3], "[3](Command=\"x\", Alias=y)");
    EXPECT_EQ(rows[5], "[5]not used");
    EXPECT_EQ(rows[7], "[7]");
    EXPECT_EQ(rows[19], "[19](Command=\"say gg\",Alias=GoodGame)");
    EXPECT_EQ(rows[39], "[39]not used");
    EXPECT_EQ(Get("User.ini"), kText);

    std::filesystem::remove("User.ini");
    const auto none = aliases::LoadRows(user);
    ASSERT_EQ(none.size(), 40u);
    for (int n = 0; n < 40; ++n) EXPECT_EQ(none[n], "[" + std::to_string(n) + "]not used");
    EXPECT_FALSE(std::filesystem::exists("User.ini"));
}

TEST_F(AliasFile, SavingWritesOneLineInPlaceOrAtTheEndOfTheSection)
{
    Put("User.ini", kText);
    EXPECT_TRUE(aliases::SaveSlot(user, 19, {"say hello", "Greet"}));
    std::string want = kText;
    want.replace(want.find("(Command=\"say gg\",Alias=GoodGame)"), 33, "(Command=\"say hello\",Alias=Greet)");
    EXPECT_EQ(Get("User.ini"), want);

    EXPECT_TRUE(aliases::SaveSlot(user, 25, {"", "None"}));
    want.insert(want.find("; players'"), "Aliases[25]=(Command=\"\",Alias=None)\r\n");
    EXPECT_EQ(Get("User.ini"), want);
    EXPECT_EQ(aliases::LoadRows(user)[25], "[25](Command=\"\",Alias=None)");
}

TEST_F(AliasFile, SavingWhatTheSlotAlreadyShowsLeavesItsLineAlone)
{
    Put("User.ini", kText);
    // The spacing of slot 3 cannot be reproduced from its fields.
    EXPECT_FALSE(aliases::SaveSlot(user, 3, ParseRow(aliases::LoadRows(user)[3])));
    EXPECT_FALSE(aliases::SaveSlot(user, 0, {"Button bFire | Fire", "Fire"}));
    EXPECT_EQ(Get("User.ini"), kText);

    EXPECT_TRUE(aliases::SaveSlot(user, 3, {"x", "y"}));
    EXPECT_EQ(user.ReadText("Extension.InputExt", "Aliases[3]", ""), "(Command=\"x\",Alias=y)");
    EXPECT_THROW(aliases::SaveSlot(user, 40, {"x", "y"}), std::out_of_range);
}

TEST_F(AliasFile, LongValueCutOnReadingIsNotWrittenBackCut)
{
    const std::string command(3000, 'c');
    const std::string text = "[Extension.InputExt]\r\nAliases[20]=" + ComposeValue(command, "Long") + "\r\n";
    Put("User.ini", text);
    const AliasFields shown = ParseRow(aliases::LoadRows(user)[20]);
    EXPECT_LT(shown.command.size() + shown.name.size(), command.size());
    EXPECT_FALSE(aliases::SaveSlot(user, 20, shown));
    EXPECT_EQ(Get("User.ini"), text);
}

TEST_F(AliasFile, AFailedWriteRaisesAndChangesNothing)
{
    Put("User.ini", kText);
    SetReadOnly("User.ini");
    EXPECT_THROW(aliases::SaveSlot(user, 20, {"say hi", "Hi"}), WriteError);
    EXPECT_EQ(Get("User.ini"), kText);
}

TEST_F(AliasFile, RealPlayersFilesKeepEveryOtherByte)
{
    const std::filesystem::path dir = FENWAKE_REAL_WORLD_DIR;
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no real-world files at " << dir;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 8 || name.substr(name.size() - 8) != "User.ini") continue;
        ++files;
        const std::string original = Get(entry.path());
        Put("User.ini", original);

        // Saving each slot as shown changes nothing, and every alias line
        // found is one the editor writes back identically.
        const auto rows = aliases::LoadRows(user);
        for (int n = 0; n < 40; ++n) {
            const AliasFields f = ParseRow(rows[n]);
            if (rows[n] != RowText(n, aliases::kNotUsed)) {
                EXPECT_EQ(RowText(n, ComposeValue(f.command, f.name)), rows[n]) << name;
            }
            if (!f.name.empty()) {
                EXPECT_FALSE(aliases::SaveSlot(user, n, f)) << name << " slot " << n;
            }
        }
        EXPECT_EQ(Get("User.ini"), original) << name;

        // An edit touches the one line of its slot (adding the section
        // where the file has none).
        EXPECT_TRUE(aliases::SaveSlot(user, 25, {"say gg", "GG"}));
        EXPECT_EQ(aliases::LoadRows(user)[25], "[25](Command=\"say gg\",Alias=GG)") << name;
        std::vector<std::string> after = Lines(Get("User.ini"));
        const std::vector<std::string> before = Lines(original);
        const auto written = std::find_if(after.begin(), after.end(), [](const std::string& l) {
            return l.rfind("Aliases[25]=(Command=\"say gg\",Alias=GG)", 0) == 0;
        });
        ASSERT_NE(written, after.end()) << name;
        const auto at = static_cast<std::size_t>(written - after.begin());
        if (at < before.size() && before[at].rfind("Aliases[25]=", 0) == 0) {
            after[at] = before[at];
        } else {
            after.erase(written);
            if (after.size() == before.size() + 1 && after.back().rfind("[Extension.InputExt]", 0) == 0) after.pop_back();
        }
        EXPECT_EQ(after, before) << name;
    }
    EXPECT_GT(files, 0);
}

} // namespace
} // namespace fenwake::test
