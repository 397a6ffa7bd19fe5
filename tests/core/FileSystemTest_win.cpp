// The Win32 side of the file safeguards: attributes, names in the ANSI code
// page, and replacements while other programs hold the file.
#include "TempDir.h"
#include "config/ConfigFile.h"
#include "config/FileSystem.h"

#include <thread>

#include <windows.h>

namespace fenwake {
namespace {
namespace fs = std::filesystem;

class FileSystemWin : public test::TempDirTest {
protected:
    static DWORD Attrs(const char* name) { return ::GetFileAttributesA(name); }
    static void Mark(const char* name, DWORD attrs) { ASSERT_TRUE(::SetFileAttributesA(name, attrs)); }

    ConfigFile ini{".\\User.ini"};
};

TEST_F(FileSystemWin, ReadOnlyAttributeBlocksWritesUntilCleared)
{
    Put("User.ini", "[S]\r\nk=old\r\n");
    Mark("User.ini", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(files::IsWriteProtected("User.ini"));
    try {
        ini.WriteText("S", "k", "new");
        ADD_FAILURE() << "a read-only file was written";
    } catch (const WriteError& e) {
        EXPECT_STREQ(e.what(), "Unable to write to .\\User.ini");
    }
    EXPECT_FALSE(files::Replace("User.ini", "replaced"));
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=old\r\n");
    EXPECT_EQ(EntryCount(), 1u) << "a temporary was left behind";

    EXPECT_TRUE(files::ClearAttributes("user.INI"));
    // Wine reports the archive mark on every file, so only the others are checked.
    EXPECT_EQ(Attrs("User.ini") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
    EXPECT_FALSE(files::IsWriteProtected("User.ini"));
    ini.WriteText("S", "k", "new");
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=new\r\n");

    EXPECT_FALSE(files::ClearAttributes("Missing.ini"));
    fs::create_directory("Dir.ini");
    EXPECT_FALSE(files::ClearAttributes("Dir.ini"));
}

TEST_F(FileSystemWin, ReplacementKeepsHiddenAndSystemMarks)
{
    Put("User.ini", "[S]\r\nk=1\r\n");
    Mark("User.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ini.WriteText("S", "k", "2");
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=2\r\n");
    const DWORD attrs = Attrs("User.ini");
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(attrs & FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileSystemWin, NamesAreTheProgramsAnsiNamesInAnyCaseAndSeparator)
{
    // The same bytes the platform's "A" calls take for a name.
    const char* ansi = "J\xe9r\xf4me.ini";
    HANDLE h = ::CreateFileA(ansi, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(h, "[S]\r\nk=1\r\n", 10, &written, nullptr);
    ::CloseHandle(h);
    ConfigFile accented(std::string(".\\") + ansi);
    EXPECT_EQ(accented.ReadText("s", "K", ""), "1");
    accented.WriteText("S", "k", "2");
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_TRUE(files::Exists(files::Resolve(ansi)));

    fs::create_directory("Sub");
    Put("Sub/User.ini", "[S]\r\nk=sub\r\n");
    EXPECT_EQ(ConfigFile(".\\SUB\\user.INI").ReadText("S", "k", ""), "sub");
    EXPECT_EQ(ConfigFile("./sub/User.ini").ReadText("S", "k", ""), "sub");
    ConfigFile(".\\sub\\USER.ini").WriteText("S", "k", "again");
    EXPECT_EQ(Get("Sub/User.ini"), "[S]\r\nk=again\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("Sub"), {}), 1);
}

TEST_F(FileSystemWin, FileHeldByAnotherProgramIsNeverHalfReplaced)
{
    Put("User.ini", "[S]\r\nk=old\r\n");
    // An editor that keeps the file open and lets nobody delete or rename it.
    HANDLE held = ::CreateFileA("User.ini", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ini.ReadText("S", "k", ""), "old");
    {
        // Giving up is the same after 30 ms as after the real 0.6 s.
        const files::PatienceScope brief({.held = std::chrono::milliseconds(30)});
        EXPECT_THROW(ini.WriteText("S", "k", "new"), WriteError);
    }
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=old\r\n");
    EXPECT_EQ(EntryCount(), 1u) << "a temporary was left behind";

    // A scanner's brief look does not make the write fail.
    std::thread release([held] {
        ::Sleep(20);
        ::CloseHandle(held);
    });
    EXPECT_NO_THROW(ini.WriteText("S", "k", "new"));
    release.join();
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=new\r\n");
}

TEST_F(FileSystemWin, CopyKeepsTheDestinationsOwnAttributes)
{
    Put("user.ini_Bak", "[S]\r\nk=backup\r\n");
    Mark("user.ini_Bak", FILE_ATTRIBUTE_READONLY);
    Put("User.ini", "[S]\r\nk=changed\r\n");
    ASSERT_TRUE(files::Copy("user.ini_Bak", "User.ini"));
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=backup\r\n");
    // A platform copy would have made the restored file read-only as well.
    EXPECT_FALSE(files::IsWriteProtected("User.ini"));

    // A missing file is created; a protected one or a missing source is left alone.
    ASSERT_TRUE(files::Copy("user.ini_Bak", "DeusEx.ini_Bak"));
    EXPECT_EQ(Get("DeusEx.ini_Bak"), "[S]\r\nk=backup\r\n");
    Mark("DeusEx.ini_Bak", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(files::Copy("User.ini", "DeusEx.ini_Bak"));
    EXPECT_FALSE(files::Copy("Missing.ini", "User.ini"));
    EXPECT_EQ(Get("User.ini"), "[S]\r\nk=backup\r\n");
    EXPECT_EQ(EntryCount(), 3u);
}

} // namespace
} // namespace fenwake
