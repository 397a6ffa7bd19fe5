#include "TempDir.h"
#include "config/ConfigFile.h"
#include "config/FileSystem.h"

namespace fenwake {
namespace {
using namespace std::string_literals;

class ConfigFileWrite : public test::TempDirTest {
protected:
    ConfigFile ini{".\\User.ini"};

    // A failed write must raise the exact message and leave no trace.
    void ExpectRefused(const std::string& before)
    {
        const std::size_t entries = EntryCount();
        try {
            ini.WriteText("S", "k", "new");
            ADD_FAILURE() << "write did not fail";
        } catch (const WriteError& e) {
            EXPECT_EQ(e.what(), test::WriteErrorFor("User.ini"));
        }
        EXPECT_EQ(EntryCount(), entries) << "a temporary file was left behind";
        if (std::filesystem::is_regular_file("User.ini")) {
            EXPECT_EQ(Get("User.ini"), before);
        }
    }
};

TEST_F(ConfigFileWrite, CreatesAMissingFileWithCrLf)
{
    ini.WriteText("Extension.InputExt", "F1", "say hi");
    EXPECT_EQ(Get("User.ini"), "[Extension.InputExt]\r\nF1=say hi\r\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(ConfigFileWrite, NewFileTakesTheSpellingUsedToCreateIt)
{
    ConfigFile("user.ini").WriteText("S", "k", "v");
    EXPECT_TRUE(std::filesystem::exists("user.ini"));
    // later writes through another spelling reach the same file
    ini.WriteText("S", "k", "w");
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_EQ(Get("user.ini"), "[S]\r\nk=w\r\n");
}

TEST_F(ConfigFileWrite, UpdatesInPlaceKeepingEveryOtherByte)
{
    const std::string head = "; comment\r\n[A]\r\nx=1\r\n  Name =  Bob  \r\n";
    const std::string tail = "\r\nlast=\xff\xfe\r\n\r\n[B]\nmixed=lf\rcr=1";
    Put("User.ini", head + tail);
    ini.WriteText("a", "NAME", "Alice ");
    EXPECT_EQ(Get("User.ini"), "; comment\r\n[A]\r\nx=1\r\n  Name =Alice \r\n" + tail);
    EXPECT_EQ(ini.ReadText("A", "Name", ""), "Alice");
}

TEST_F(ConfigFileWrite, AddsAKeyAfterTheSectionsLastEntry)
{
    Put("User.ini", "[A]\nx=1\n; note\n\n[B]\ny=2\n");
    ini.WriteText("A", "New", "v");
    EXPECT_EQ(Get("User.ini"), "[A]\nx=1\nNew=v\n; note\n\n[B]\ny=2\n");

    Put("User.ini", "[Empty]\r\n\r\n[B]\r\n");
    ini.WriteText("empty", "k", "v");
    EXPECT_EQ(Get("User.ini"), "[Empty]\r\nk=v\r\n\r\n[B]\r\n");

    // a last line without a break keeps the file without a final break
    Put("User.ini", "[A]\rx=1");
    ini.WriteText("A", "y", "2");
    EXPECT_EQ(Get("User.ini"), "[A]\rx=1\ry=2");
}

TEST_F(ConfigFileWrite, AppendsAMissingSectionAtTheEnd)
{
    Put("User.ini", "[A]\nx=1\n");
    ini.WriteText("New.Section", "k", "v");
    EXPECT_EQ(Get("User.ini"), "[A]\nx=1\n[New.Section]\nk=v\n");

    Put("User.ini", "[A]\r\nx=1");
    ini.WriteText("B", "k", "v");
    EXPECT_EQ(Get("User.ini"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");

    Put("User.ini", "");
    ini.WriteText("B", "k", "v");
    EXPECT_EQ(Get("User.ini"), "[B]\r\nk=v\r\n");
}

TEST_F(ConfigFileWrite, ValuesAreWrittenUnchangedAndReadBackTrimmed)
{
    ini.WriteText("S", "k", "  \"Command=\"x\"\" ; not a comment  ");
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=  \"Command=\"x\"\" ; not a comment  \r\n");
    EXPECT_EQ(ini.ReadText("S", "k", ""), "\"Command=\"x\"\" ; not a comment");

    ini.WriteNumber("S", "n", -2147483647 - 1);
    ini.WriteNumber("S", "p", 42);
    ini.WriteFlag("S", "t", true);
    ini.WriteFlag("S", "f", false);
    EXPECT_EQ(ini.ReadText("S", "n", ""), "-2147483648");
    EXPECT_EQ(ini.ReadText("S", "p", ""), "42");
    EXPECT_TRUE(ini.ReadFlag("S", "t", false));
    EXPECT_FALSE(ini.ReadFlag("S", "f", true));
}

TEST_F(ConfigFileWrite, FileWithNulBytesIsNotTruncated)
{
    const std::string bytes = "[S]\r\nk=a\0b\r\n[T]\r\nz=\0\r\n"s;
    Put("User.ini", bytes);
    ini.WriteText("T", "n", "1");
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=a\0b\r\n[T]\r\nz=\0\r\nn=1\r\n"s);
}

TEST_F(ConfigFileWrite, RefusesLineBreaksThatWouldAddLines)
{
    Put("User.ini", "[S]\r\nk=old\r\n");
    for (const auto& [section, key, value] : {std::tuple{"S", "k", "a\r\n[Evil]"}, std::tuple{"S\n", "k", "v"},
                                              std::tuple{"S", "k\r", "v"}, std::tuple{"S", "a=b", "v"}}) {
        EXPECT_THROW(ini.WriteText(section, key, value), WriteError);
    }
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=old\r\n");
}

TEST_F(ConfigFileWrite, SeveralEntriesAreOneReplacementInTheirOrder)
{
    Put("User.ini", "[A]\r\nx=1\r\n");
    ini.WriteTexts({{"B", "k", "1"}, {"A", "x", "2"}, {"C", "k", "3"}, {"b", "K", "4"}});
    EXPECT_EQ(Get("User.ini"), "[A]\r\nx=2\r\n[B]\r\nk=4\r\n[C]\r\nk=3\r\n");
    // one entry that cannot be written stops them all
    EXPECT_THROW(ini.WriteTexts({{"A", "x", "3"}, {"B", "k", "a\nb"}}), WriteError);
    EXPECT_EQ(Get("User.ini"), "[A]\r\nx=2\r\n[B]\r\nk=4\r\n[C]\r\nk=3\r\n");
}

// A save under way elsewhere (an editor that truncated the file and has not
// written it yet) is never the base of a write, nor replaced under it.
TEST_F(ConfigFileWrite, FileOpenForWritingElsewhereIsNotReplaced)
{
    Put("User.ini", "[S]\r\nk=old\r\n");
    const files::PatienceScope brief(
        {.settleLimit = std::chrono::milliseconds(50), .held = std::chrono::milliseconds(50)});
    {
        std::ofstream other("User.ini", std::ios::binary | std::ios::app);
        ExpectRefused("[S]\r\nk=old\r\n");
    }
    ini.WriteText("S", "k", "new");
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=new\r\n");
}

TEST_F(ConfigFileWrite, WriteProtectedFileIsLeftAloneEvenForRoot)
{
    Put("User.ini", "[S]\r\nk=old\r\n");
    SetReadOnly("User.ini");
    ExpectRefused("[S]\r\nk=old\r\n");
}

TEST_F(ConfigFileWrite, DirectoryInTheWayFails)
{
    std::filesystem::create_directory("User.ini");
    ExpectRefused("");
    EXPECT_TRUE(std::filesystem::is_directory("User.ini"));
}

TEST_F(ConfigFileWrite, UnwritableDirectoryFails)
{
    FENWAKE_SKIP_WITHOUT(DirectoryWriteBits);
    Put("User.ini", "[S]\r\nk=old\r\n");
    SetReadOnly(dir_);
    ExpectRefused("[S]\r\nk=old\r\n");
    std::filesystem::remove("User.ini");
    ExpectRefused("");
    EXPECT_FALSE(std::filesystem::exists("User.ini"));
}

TEST_F(ConfigFileWrite, UnreadableFileIsNeverReplaced)
{
    FENWAKE_SKIP_WITHOUT(UnreadableFiles);
    Put("User.ini", "[S]\r\nk=old\r\n");
    std::filesystem::permissions("User.ini", std::filesystem::perms::owner_write);
    ExpectRefused("");
    std::filesystem::permissions("User.ini", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=old\r\n");
}

TEST_F(ConfigFileWrite, KeepsModeAndSymbolicLinks)
{
    FENWAKE_SKIP_WITHOUT(SymbolicLinks);
    std::filesystem::create_directory("real");
    Put("real/target.ini", "[S]\nk=1\n");
    std::filesystem::permissions("real/target.ini", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real/target.ini", "User.ini");
    ini.WriteText("S", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink("User.ini"));
    EXPECT_EQ(Get("real/target.ini"), "[S]\nk=2\n");
    EXPECT_EQ(std::filesystem::status("real/target.ini").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("real"), {}), 1);
}

TEST_F(ConfigFileWrite, ClearsTemporariesLeftByAnInterruptedWrite)
{
    Put("User.ini", "[S]\r\nk=1\r\n");
    Put(".User.ini.fenwake-0123456789abcdef.tmp", "[S]\r\nk=half");
    Put(".Other.ini.fenwake-0123456789abcdef.tmp", "not ours to clear");
    ini.WriteText("S", "k", "2");
    EXPECT_FALSE(std::filesystem::exists(".User.ini.fenwake-0123456789abcdef.tmp"));
    EXPECT_TRUE(std::filesystem::exists(".Other.ini.fenwake-0123456789abcdef.tmp"));
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=2\r\n");
}

TEST_F(ConfigFileWrite, EachFilesLitterIsClearedByItsOwnFirstWrite)
{
    ini.WriteText("S", "k", "1");
    Put(".DeusEx.ini.fenwake-0123456789abcdef.tmp", "[S]\r\nk=half");
    ConfigFile(".\\DeusEx.ini").WriteText("S", "k", "1");
    EXPECT_FALSE(std::filesystem::exists(".DeusEx.ini.fenwake-0123456789abcdef.tmp"));
    EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(ConfigFileWrite, PathIsRelativeToTheCurrentDirectoryAtEachCall)
{
    std::filesystem::create_directories("one");
    std::filesystem::create_directories("two");
    std::filesystem::current_path("one");
    ini.WriteText("S", "k", "1");
    std::filesystem::current_path("../two");
    EXPECT_EQ(ini.ReadText("S", "k", "none"), "none");
    ini.WriteText("S", "k", "2");
    std::filesystem::current_path(dir_);
    EXPECT_EQ(Get("one/User.ini"), "[S]\r\nk=1\r\n");
    EXPECT_EQ(Get("two/User.ini"), "[S]\r\nk=2\r\n");
}

} // namespace
} // namespace fenwake
