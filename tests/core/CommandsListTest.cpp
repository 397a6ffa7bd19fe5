#include "rules/CommandsList.h"
#include "TempDir.h"
#include "config/Ascii.h"

#include <algorithm>

namespace fenwake {
namespace {
using commands::CommandsList;
using List = std::vector<std::string>;
using namespace std::string_literals;

class Commands : public test::TempDirTest {};

TEST_F(Commands, FileLinesEndAtAnyBreakAndANulEndsTheText)
{
    EXPECT_EQ(commands::ParseFile(""), List{});
    EXPECT_EQ(commands::ParseFile("\r\n"), List{""});
    EXPECT_EQ(commands::ParseFile("a\nb\rc\r\n\r\n d "), (List{"a", "b", "c", "", " d "}));
    EXPECT_EQ(commands::ParseFile("a\n\rb"), (List{"a", "", "b"})) << "LF CR is two breaks";
    EXPECT_EQ(commands::ParseFile("Jump\r\nFi\0re\r\nAltFire\r\n"s), (List{"Jump", "Fi"}));
}

TEST_F(Commands, TheListIsSortedWithoutRegardToCaseKeepingDuplicatesAndEmpties)
{
    EXPECT_TRUE(std::is_sorted(commands::kDefaults.begin(), commands::kDefaults.end(), ascii::LessNoCase));
    CommandsList list;
    list.Assign({"Jump", "aim", "Fire"});
    EXPECT_EQ(list.Entries(), (List{"aim", "Fire", "Jump"}));
    EXPECT_EQ(list.Add("jump"), 3u) << "an equal entry goes after the ones there";
    EXPECT_EQ(list.Add(""), 0u);
    list.Remove(1);
    EXPECT_EQ(list.Entries(), (List{"", "Fire", "Jump", "jump"}));
}

TEST_F(Commands, TheFileIsCreatedLoadedAndSavedWithCrLf)
{
    CommandsList list;
    list.LoadOrCreate();
    std::string defaults;
    for (std::string_view e : commands::kDefaults) defaults.append(e).append("\r\n");
    EXPECT_EQ(Get("CommandsList_def.txt"), defaults);
    EXPECT_EQ(list.Entries().size(), 48u);

    Put("CommandsList_def.txt", "Jump\nsay \xe9t\xe9\n\nFire");
    list.LoadOrCreate();
    list.Add("Demorec ");
    EXPECT_EQ(Get("CommandsList_def.txt"), "Jump\nsay \xe9t\xe9\n\nFire") << "loading and adding write nothing";
    list.Save();
    EXPECT_EQ(Get("CommandsList_def.txt"), "\r\nDemorec \r\nFire\r\nJump\r\nsay \xe9t\xe9\r\n");

    SetReadOnly("CommandsList_def.txt");
    list.Add("Fire");
    try {
        list.Save();
        ADD_FAILURE() << "the save did not fail";
    } catch (const commands::FileError& e) {
        EXPECT_STREQ(e.what(), "Unable to save commands file! ");
    }
    EXPECT_EQ(Get("CommandsList_def.txt"), "\r\nDemorec \r\nFire\r\nJump\r\nsay \xe9t\xe9\r\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Commands, AFolderThatCannotBeWrittenKeepsTheDefaults)
{
    FENWAKE_SKIP_WITHOUT(DirectoryWriteBits);
    SetReadOnly(dir_);
    CommandsList list;
    EXPECT_THROW(list.LoadOrCreate(), commands::FileError);
    EXPECT_EQ(list.Entries().size(), 48u);
    EXPECT_EQ(EntryCount(), 0u);
}

} // namespace
} // namespace fenwake
