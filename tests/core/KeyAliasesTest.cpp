#include "rules/KeyAliases.h"

#include "TempDir.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace fenwake::test {
namespace {

using aliases::AliasFields;
using aliases::ComposeValue;
using aliases::ParseRow;
using aliases::RowText;

TEST(AliasLine, ComposesTheFivePiecesAndNamesOnlyFortySlots)
{
    EXPECT_EQ(ComposeValue("say hello", "Greet"), "(Command=\"say hello\",Alias=Greet)");
    EXPECT_EQ(ComposeValue("", "None"), "(Command=\"\",Alias=None)");
    EXPECT_EQ(ComposeValue(" say \"hi\" ", " G "), "(Command=\" say \"hi\" \",Alias= G )"); // as typed
    EXPECT_EQ(RowText(39, ""), "[39]");
    EXPECT_EQ(aliases::SlotKey(0), "Aliases[0]");
    EXPECT_EQ(aliases::SlotKey(39), "Aliases[39]");
    EXPECT_THROW(aliases::SlotKey(-1), std::out_of_range);
    EXPECT_THROW(aliases::SlotKey(40), std::out_of_range);
    EXPECT_TRUE(aliases::IsLocked(18, true));
    EXPECT_FALSE(aliases::IsLocked(19, true));
    EXPECT_FALSE(aliases::IsLocked(0, false));
}

TEST(AliasLine, TakesRowsApartByPosition)
{
    const struct {
        const char* row;
        AliasFields want;
    } cases[] = {
        {"[0](Command=\"Button bFire | Fire\",Alias=Fire)", {"Button bFire | Fire", "Fire"}},
        {"[12](Command=\"\",Alias=None)", {"", "None"}},
        {"[20](Command=\"x\",Alias=a)b)", {"x", "a)b"}},
        {"[20](Command=\"x\",Alias=\"Quoted\")", {"x", "\"Quoted\""}},
        // A quote in the command ends it; the skip then lands in the rest.
        {"[3](Command=\"say \"hi\"\",Alias=G)", {"say ", "ias=G"}},
        // The seven characters after the closing quote go unchecked.
        {"[4](Command=\"x\", Alias=y)", {"x", "=y"}},
        {"[5]\"a\"b)", {"a", ""}},
        {"[5]\"\"1234567Name)", {"", "Name"}},
        // Not alias lines: no pair of quotes before the last character.
        {"[21]not used", {}},
        {"[21]", {}},
        {"[5]say \"hi", {}},
        {"[6]\"a\"", {}},
        {"[1]\"\"", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRow(c.row), c.want) << c.row;
}

class AliasFile : public TempDirTest {
protected:
    const ConfigFile user{".\\User.ini"};
};

TEST_F(AliasFile, ListsFortySlotsAndSavesOnlyWhatChanged)
{
    const std::string text = "[Extension.InputExt]\r\n"
                             "aliases[3] =  (Command=\"x\", Alias=y)  \r\n"
                             "Aliases[7]=\r\n"
                             "Aliases[19]=(Command=\"say gg\",Alias=GG)\r\n"
                             "; notes\r\n"
                             "[Engine.Input]\r\n"
                             "Aliases[5]=(Command=\"Button bFire\",Alias=Fire)\r\n";
    Put("User.ini", text);
    auto rows = aliases::LoadRows(user);
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(rows[3], "[3](Command=\"x\", Alias=y)");
    EXPECT_EQ(rows[5], "[5]not used");
    EXPECT_EQ(rows[7], "[7]");
    EXPECT_EQ(rows[39], "[39]not used");

    // Fields the line already shows leave it byte for byte, odd spacing too.
    EXPECT_FALSE(aliases::SaveSlot(user, 3, ParseRow(rows[3]), history::Recorder::None()));
    EXPECT_FALSE(aliases::SaveSlot(user, 19, {"say gg", "GG"}, history::Recorder::None()));
    EXPECT_EQ(Get("User.ini"), text);

    EXPECT_TRUE(aliases::SaveSlot(user, 19, {"say hello", "Greet"}, history::Recorder::None()));
    EXPECT_TRUE(aliases::SaveSlot(user, 25, {"", "None"}, history::Recorder::None()));
    std::string want = text;
    want.replace(want.find("(Command=\"say gg\",Alias=GG)"), 27, "(Command=\"say hello\",Alias=Greet)");
    want.insert(want.find("; notes"), "Aliases[25]=(Command=\"\",Alias=None)\r\n");
    EXPECT_EQ(Get("User.ini"), want);

    // A value cut on reading is not written back cut.
    const std::string longLine =
        "[Extension.InputExt]\r\nAliases[20]=" + ComposeValue(std::string(3000, 'c'), "L") + "\r\n";
    Put("User.ini", longLine);
    EXPECT_FALSE(aliases::SaveSlot(user, 20, ParseRow(aliases::LoadRows(user)[20]), history::Recorder::None()));
    EXPECT_EQ(Get("User.ini"), longLine);
}

TEST_F(AliasFile, RealPlayersAliasLinesAreOnesTheEditorWrites)
{
    const std::filesystem::path dir = FENWAKE_REAL_WORLD_DIR;
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no real-world files at " << dir;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("User.ini")) continue;
        ++files;
        const std::string original = Get(entry.path());
        Put("User.ini", original);

        // Every alias line found is one the editor would write identically,
        // and saving a slot as shown changes nothing.
        const auto rows = aliases::LoadRows(user);
        for (int n = 0; n < 40; ++n) {
            const AliasFields f = ParseRow(rows[n]);
            if (rows[n] != RowText(n, aliases::kNotUsed)) {
                EXPECT_EQ(RowText(n, ComposeValue(f.command, f.name)), rows[n]) << name;
            }
            if (!f.name.empty()) aliases::SaveSlot(user, n, f, history::Recorder::None());
        }
        EXPECT_EQ(Get("User.ini"), original) << name;
    }
    EXPECT_GT(files, 0);
}

} // namespace
} // namespace fenwake::test
