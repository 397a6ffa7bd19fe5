#include "TempDir.h"
#include "config/ConfigFile.h"

namespace fenwake {
namespace {
using namespace std::string_literals;

class ConfigFileRead : public test::TempDirTest {
protected:
    ConfigFile ini{".\\User.ini"};
};

// Reads may reuse an earlier parse of the file, but a file changed since
// (same size, its time put back, a new file in its place, written within
// the same timestamp tick as the read) is always read again.
TEST_F(ConfigFileRead, AChangedFileIsNeverReadFromAnEarlierRead)
{
    Put("User.ini", "[S]\r\nk=one\r\n");
    EXPECT_EQ(ini.ReadText("S", "k", ""), "one");
    const auto time = std::filesystem::last_write_time("User.ini");
    std::ofstream("User.ini", std::ios::binary | std::ios::in) << "[S]\r\nk=two";
    std::filesystem::last_write_time("User.ini", time);
    EXPECT_EQ(ini.ReadText("S", "k", ""), "two");

    Put("Other.ini", "[S]\r\nk=new\r\n");
    std::filesystem::last_write_time("Other.ini", time);
    std::filesystem::rename("Other.ini", "User.ini");
    EXPECT_EQ(ini.ReadText("S", "k", ""), "new");

    std::ofstream("User.ini", std::ios::binary) << "[S]\r\nk=sam\r\n";
    EXPECT_EQ(ini.ReadText("S", "k", ""), "sam");
    std::ofstream("User.ini", std::ios::binary) << "[S]\r\nk=set\r\n";
    EXPECT_EQ(ini.ReadText("S", "k", ""), "set");
}

TEST_F(ConfigFileRead, MatchesSectionsAndKeysWithoutCaseAndTrims)
{
    Put("User.ini", "Orphan=before any section\r\n"
                    "[Engine.Player]\r\n"
                    "ConfiguredInternetSpeed=10000\r\n"
                    "[DefaultPlayer]\r\n"
                    "Name =  Bob  \r\n"
                    "\tTabbed\t=\tvalue\t\r\n"
                    "Empty=\r\n"
                    "Semi=a;b=c\r\n"
                    "[ Spaced ]\r\n"
                    "k=v\r\n");
    EXPECT_EQ(ini.ReadText("engine.player", "configuredinternetspeed", "x"), "10000");
    EXPECT_EQ(ini.ReadText("DefaultPlayer", "Name", "x"), "Bob");
    EXPECT_EQ(ini.ReadText("defaultplayer", "TABBED", "x"), "value");
    EXPECT_EQ(ini.ReadText("DefaultPlayer", "Empty", "default"), "");
    EXPECT_EQ(ini.ReadText("DefaultPlayer", "Semi", ""), "a;b=c");
    EXPECT_EQ(ini.ReadText("Spaced", "k", ""), "v");
    EXPECT_EQ(ini.ReadText("", "Orphan", "none"), "none");
    EXPECT_EQ(ini.ReadText("DefaultPlayer", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadText("NoSection", "Name", "dflt"), "dflt");
}

TEST_F(ConfigFileRead, FirstSectionAndFirstKeyWin)
{
    Put("User.ini", "[A]\nk=1\nk=2\n[B]\nj=0\n[a]\nk=3\nonly=later\n");
    EXPECT_EQ(ini.ReadText("A", "k", ""), "1");
    // a later section of the same name is never searched
    EXPECT_EQ(ini.ReadText("A", "only", "dflt"), "dflt");
}

TEST_F(ConfigFileRead, OnlyABracketFirstOnItsLineOpensASection)
{
    Put("User.ini", "[B]x\n[A]\nAliases[0]=x [B]\nk=a\n=[B]\n  \t[B]\rz=b\r\n[C]");
    EXPECT_EQ(ini.ReadText("A", "k", ""), "a");
    EXPECT_EQ(ini.ReadText("A", "Aliases[0]", ""), "x [B]");
    // the indented header after a lone CR ends A
    EXPECT_EQ(ini.ReadText("A", "z", "none"), "none");
    // "[B]x" at the very start is the first B, so the later one is not read
    EXPECT_EQ(ini.ReadText("B", "z", "none"), "none");
    EXPECT_EQ(ini.ReadText("C", "z", "none"), "none");
}

TEST_F(ConfigFileRead, StripsOnePairOfMatchingQuotes)
{
    Put("User.ini", "[S]\nd=  \"quoted\"  \ns='single'\nopen=\"only\nmixed=\"x'\ntwo=\"\"\"\"\none=\"\n");
    EXPECT_EQ(ini.ReadText("S", "d", ""), "quoted");
    EXPECT_EQ(ini.ReadText("S", "s", ""), "single");
    EXPECT_EQ(ini.ReadText("S", "open", ""), "\"only");
    EXPECT_EQ(ini.ReadText("S", "mixed", ""), "\"x'");
    EXPECT_EQ(ini.ReadText("S", "two", ""), "\"\"");
    EXPECT_EQ(ini.ReadText("S", "one", ""), "\"");
}

TEST_F(ConfigFileRead, CutsValuesAndDefaultsAt2047)
{
    const std::string longValue(3000, 'a');
    Put("User.ini", "[Extension.InputExt]\nF1=" + longValue + "\n");
    EXPECT_EQ(ini.ReadText("Extension.InputExt", "F1", ""), std::string(2047, 'a'));
    EXPECT_EQ(ini.ReadText("S", "k", std::string(2046, 'b') + "  c"), std::string(2046, 'b'));
    EXPECT_EQ(ini.ReadText("S", "k", "  keep leading, drop trailing \t  "), "  keep leading, drop trailing \t");
}

TEST_F(ConfigFileRead, MissingOrUnreadableFileGivesDefault)
{
    EXPECT_EQ(ini.ReadText("S", "k", "d"), "d");
    std::filesystem::create_directory("User.ini");
    EXPECT_EQ(ini.ReadText("S", "k", "d"), "d");
}

TEST_F(ConfigFileRead, AllLineEndingsSeparateLines)
{
    Put("User.ini", "[S]\ra=1\rb=2\r\nc=3\nd=4");
    EXPECT_EQ(ini.ReadText("S", "a", ""), "1");
    EXPECT_EQ(ini.ReadText("S", "b", ""), "2");
    EXPECT_EQ(ini.ReadText("S", "c", ""), "3");
    EXPECT_EQ(ini.ReadText("S", "d", ""), "4");
}

TEST_F(ConfigFileRead, BytesAreNotTranscoded)
{
    Put("User.ini", "[S]\nname=J\xe9r\xf4me\x01\0z\n"s);
    EXPECT_EQ(ini.ReadText("S", "name", ""), "J\xe9r\xf4me\x01\0z"s);
}

TEST_F(ConfigFileRead, NumbersFollowTheNarrowSyntax)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"42", 42},
        {"  42  ", 42},
        {"+7", 7},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", -99},
        {"-2147483649", -99},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$1F", 31},
        {"x1F", 31},
        {"X10", 16},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"$000000001", 1},
        {"$100000000", -99},
        {"0x", -99},
        {"$", -99},
        {"-$10", -99},
        {"+0x10", -99},
        {"1e3", -99},
        {"12abc", -99},
        {"1.0", -99},
        {"True", -99},
        {"yes", -99},
        {"", -99},
        {"--1", -99},
        {"-", -99},
        {"0", 0},
        {"-0", 0},
        {"007", 7},
        {"$G", -99},
    };
    for (const auto& [stored, expected] : cases) {
        Put("User.ini", std::string("[S]\nn=") + stored + "\n");
        EXPECT_EQ(ini.ReadNumber("S", "n", -99), expected) << "stored: '" << stored << "'";
    }
    EXPECT_EQ(ini.ReadNumber("S", "missing", 5), 5);
}

TEST_F(ConfigFileRead, FlagsAreNumbersNotWords)
{
    const std::tuple<const char*, bool, bool> cases[] = {
        {"0", true, false},   {"1", false, true},    {"2", false, true},     {"-1", false, true}, {"0x10", false, true},
        {"True", true, true}, {"False", true, true}, {"True", false, false}, {"", true, true},    {"", false, false},
    };
    for (const auto& [stored, def, expected] : cases) {
        Put("User.ini", std::string("[S]\nb=") + stored + "\n");
        EXPECT_EQ(ini.ReadFlag("S", "b", def), expected) << "stored: '" << stored << "' default " << def;
    }
}

TEST_F(ConfigFileRead, FileNamesMatchWithoutCase)
{
    Put("USER.INI", "[S]\nk=upper\n");
    EXPECT_EQ(ConfigFile(".\\user.ini").ReadText("S", "k", ""), "upper");
    EXPECT_EQ(ConfigFile("User.ini").ReadText("s", "K", ""), "upper");
    FENWAKE_SKIP_WITHOUT(CaseSensitiveNames);
    Put("user.INI", "[S]\nk=lower-first\n");
    // without an exact match, the first name in byte order wins
    EXPECT_EQ(ConfigFile(".\\User.ini").ReadText("S", "k", ""), "upper");
    Put("User.ini", "[S]\nk=exact\n");
    EXPECT_EQ(ConfigFile(".\\User.ini").ReadText("S", "k", ""), "exact");
}

} // namespace
} // namespace fenwake
