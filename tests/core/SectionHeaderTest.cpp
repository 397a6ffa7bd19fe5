#include "TempDir.h"
#include "config/ConfigFile.h"

namespace fenwake {
namespace {

class SectionHeader : public test::TempDirTest {
protected:
    ConfigFile ini{".\\User.ini"};
};

// A header that lost its "]" opens no section: its lines stay with the
// section before it, and a write of its name adds the section anew.
TEST_F(SectionHeader, UnclosedBracketOpensNoSection)
{
    const std::string bytes = "[A]\r\nx=1\r\n[Extension.InputExt\r\nF1=say hi\r\n[B]\r\ny=2\r\n";
    Put("User.ini", bytes);
    EXPECT_EQ(ini.ReadText("Extension.InputExt", "F1", "NOBIND"), "NOBIND");
    EXPECT_EQ(ini.ReadText("A", "F1", "none"), "say hi");
    EXPECT_EQ(ini.ReadText("B", "y", ""), "2");

    ini.WriteText("Extension.InputExt", "F1", "jump");
    EXPECT_EQ(Get("User.ini"), bytes + "[Extension.InputExt]\r\nF1=jump\r\n");
    EXPECT_EQ(ini.ReadText("Extension.InputExt", "F1", ""), "jump");
    EXPECT_EQ(ini.ReadText("A", "F1", ""), "say hi");

    // The same line with an "=" is an entry of the section it stands in.
    Put("User.ini", "[A]\r\n[broken=1\r\n");
    EXPECT_EQ(ini.ReadText("A", "[broken", ""), "1");
}

TEST_F(SectionHeader, NameIsUpToTheLastClosingBracket)
{
    Put("User.ini", "  [ Engine.Input ] trailing\r\na=1\r\n[S]]\r\nb=2\r\n[]\r\nc=3\r\n");
    EXPECT_EQ(ini.ReadText("engine.input", "a", ""), "1");
    EXPECT_EQ(ini.ReadText("S]", "b", ""), "2");
    EXPECT_EQ(ini.ReadText("", "c", ""), "3");
}

} // namespace
} // namespace fenwake
