#include "pages/CommandsList.h"
#include "TempDir.h"

#include <algorithm>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using commands::CommandsList;
using List = std::vector<std::string>;
using namespace std::string_literals;

std::string DefaultFile()
{
    std::string out;
    for (std::string_view e : commands::kDefaults) out.append(e).append("\r\n");
    return out;
}

class Commands : public test::TempDirTest {};

TEST_F(Commands, TheDefaultsAreSortedWithTheirTrailingBlanks)
{
    EXPECT_TRUE(std::is_sorted(commands::kDefaults.begin(), commands::kDefaults.end(), commands::LessNoCase));
    EXPECT_EQ(commands::kDefaults[23], "Demorec ");
    EXPECT_EQ(commands::kDefaults[37], "Shot ");
    EXPECT_EQ(CommandsList().Entries().size(), 48u);
}

TEST_F(Commands, FileLinesEndAtAnyBreakAndANulEndsTheText)
{
    EXPECT_EQ(commands::ParseFile(""), List{});
    EXPECT_EQ(commands::ParseFile("\r\n"), List{""});
    EXPECT_EQ(commands::ParseFile("Jump"), List{"Jump"});
    EXPECT_EQ(commands::ParseFile("Jump\r\n\r\nFire\r\n"), (List{"Jump", "", "Fire"}));
    EXPECT_EQ(commands::ParseFile("a\nb\rc\r\nd"), (List{"a", "b", "c", "d"}));
    EXPECT_EQ(commands::ParseFile("a\n\rb"), (List{"a", "", "b"})) << "LF CR is two breaks";
    EXPECT_EQ(commands::ParseFile("a\r\r\n"), (List{"a", ""}));
    EXPECT_EQ(commands::ParseFile(" Stat fps \r\nsay | x\r\n"), (List{" Stat fps ", "say | x"}));
    EXPECT_EQ(commands::ParseFile("Jump\r\nFi\0re\r\nAltFire\r\n"s), (List{"Jump", "Fi"}));
    EXPECT_EQ(commands::ParseFile("\0Jump"s), List{});
}

TEST_F(Commands, TheListKeepsItsCaseBlindOrderWithDuplicatesAndEmpties)
{
    CommandsList list;
    list.Assign({"Jump", "aim", "Fire"});
    EXPECT_EQ(list.Entries(), (List{"aim", "Fire", "Jump"}));
    EXPECT_EQ(list.Add("jump"), 3u) << "an equal entry goes after the ones there";
    EXPECT_EQ(list.Add("Jump"), 4u);
    EXPECT_EQ(list.Add(""), 0u);
    EXPECT_EQ(list.Add("B"), 2u);
    EXPECT_EQ(list.Entries(), (List{"", "aim", "B", "Fire", "Jump", "jump", "Jump"}));
    list.Remove(5);
    list.Remove(99);
    EXPECT_EQ(list.Entries(), (List{"", "aim", "B", "Fire", "Jump", "Jump"}));

    list.Assign({"Jump", "", "Fire"});
    EXPECT_EQ(list.Entries(), (List{"", "Fire", "Jump"}));
}

TEST_F(Commands, FirstStartWritesTheDefaultsAndKeepsTheList)
{
    CommandsList list;
    list.CreateOrLoad();
    EXPECT_EQ(Get("CommandsList_def.txt"), DefaultFile());
    EXPECT_EQ(list.Entries(), List(commands::kDefaults.begin(), commands::kDefaults.end()));
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Commands, AnExistingFileReplacesTheListAndIsNotWritten)
{
    Put("commandslist_DEF.txt", "Jump\naim\rFire");
    CommandsList list;
    list.CreateOrLoad();
    EXPECT_EQ(list.Entries(), (List{"aim", "Fire", "Jump"}));
    EXPECT_EQ(Get("commandslist_DEF.txt"), "Jump\naim\rFire");
    EXPECT_EQ(EntryCount(), 1u);

    Put("commandslist_DEF.txt", "");
    list.CreateOrLoad();
    EXPECT_TRUE(list.Entries().empty());
}

TEST_F(Commands, SaveWritesTheSortedListWithCrLf)
{
    Put("CommandsList_def.txt", "Jump\nsay \xe9t\xe9\n\nFire\n");
    CommandsList list;
    list.CreateOrLoad();
    list.Add("Demorec ");
    list.Save();
    EXPECT_EQ(Get("CommandsList_def.txt"), "\r\nDemorec \r\nFire\r\nJump\r\nsay \xe9t\xe9\r\n");

    list.Assign({});
    list.Save();
    EXPECT_EQ(Get("CommandsList_def.txt"), "");
}

TEST_F(Commands, AFailedSaveLeavesTheOldFile)
{
    Put("CommandsList_def.txt", "Jump\r\n");
    SetReadOnly("CommandsList_def.txt");
    CommandsList list;
    list.Add("Fire");
    try {
        list.Save();
        ADD_FAILURE() << "the save did not fail";
    } catch (const commands::FileError& e) {
        EXPECT_STREQ(e.what(), "Unable to save commands file! ");
    }
    EXPECT_EQ(Get("CommandsList_def.txt"), "Jump\r\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Commands, AFolderThatCannotBeWrittenKeepsTheDefaults)
{
    FENWAKE_SKIP_WITHOUT(DirectoryWriteBits);
    SetReadOnly(dir_);
    CommandsList list;
    EXPECT_THROW(list.CreateOrLoad(), commands::FileError);
    EXPECT_EQ(list.Entries().size(), 48u);
    EXPECT_EQ(EntryCount(), 0u);
}

TEST_F(Commands, AnUnreadableFileIsAnError)
{
    FENWAKE_SKIP_WITHOUT(UnreadableFiles);
    Put("CommandsList_def.txt", "Jump\r\n");
    fs::permissions("CommandsList_def.txt", fs::perms::none);
    CommandsList list;
    EXPECT_THROW(list.CreateOrLoad(), commands::FileError);
    EXPECT_EQ(list.Entries().size(), 48u);
}

} // namespace
} // namespace fenwake
