#include "TempDir.h"
#include "shell/ShellLink.h"
#include "shell/ShellPlatform.h"

#include <string>

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using F = ShellFolder;

constexpr CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct Link {
    std::string path, arguments, workingDirectory;
};

// What the shell itself reads from a link file.
Link Load(const fs::path& file)
{
    Link out;
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(::CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
        char buffer[MAX_PATH * 2] = {};
        link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH);
        out.path = buffer;
        buffer[0] = '\0';
        link->GetArguments(buffer, sizeof buffer);
        out.arguments = buffer;
        buffer[0] = '\0';
        link->GetWorkingDirectory(buffer, sizeof buffer);
        out.workingDirectory = buffer;
    } else {
        ADD_FAILURE() << "cannot load " << file.string();
    }
    if (persist) persist->Release();
    if (link) link->Release();
    if (SUCCEEDED(init)) ::CoUninitialize();
    return out;
}

// The current user's registry is swapped for a scratch key, so the test
// never sees or changes the real shell folders.
class ShellLinkWin : public test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        scratchName_ = "Software\\FenwakeTest-" + std::to_string(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, scratchName_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &scratch_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, scratch_), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (scratch_) ::RegCloseKey(scratch_);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, scratchName_.c_str());
        TempDirTest::TearDown();
    }

    void Record(const char* name, const std::string& value, DWORD type = REG_SZ)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(scratch_, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    std::string Dir(const std::string& rest) const { return (dir_ / rest).string(); }

    std::string scratchName_;
    HKEY scratch_ = nullptr;
};

TEST_F(ShellLinkWin, MakeShortcutWritesALinkToTheRunningProgram)
{
    fs::create_directory(dir_ / "Desk");
    Record("Desktop", Dir("Desk"));
    const std::string exe = RunningExecutable();
    ASSERT_FALSE(exe.empty());

    ShellLink link;
    ASSERT_TRUE(MakeShortcut(link, F::Desktop, exe));
    const fs::path file = dir_ / "Desk" / "Fenwake.lnk";
    ASSERT_TRUE(fs::is_regular_file(file));
    const Link written = Load(file);
    EXPECT_EQ(fs::path(written.path), fs::path(exe));
    EXPECT_EQ(written.arguments, "");
    EXPECT_EQ(written.workingDirectory, exe.substr(0, exe.rfind('\\') + 1));

    // Written again with other arguments: replaced without a question.
    link.arguments = "-second";
    ASSERT_TRUE(link.Write());
    EXPECT_EQ(Load(file).arguments, "-second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "Desk"), {}), 1);
}

TEST_F(ShellLinkWin, RecordedFoldersAreCreatedWhenAskedAndExpanded)
{
    Record("Programs", Dir("Start Menu\\Programs"));
    ShellLink link;
    link.target = RunningExecutable();
    link.location.folder = F::ProgramsMenu;
    link.location.createFolder = false;
    EXPECT_FALSE(link.Write());
    EXPECT_FALSE(fs::exists(dir_ / "Start Menu"));

    link.location.createFolder = true;
    ASSERT_TRUE(link.Write());
    EXPECT_TRUE(fs::is_regular_file(dir_ / "Start Menu" / "Programs" / "My New ShellLink.lnk"));

    ::SetEnvironmentVariableA("FENWAKE_TEST_DIR", dir_.string().c_str());
    Record("Startup", "%FENWAKE_TEST_DIR%\\Startup", REG_EXPAND_SZ);
    EXPECT_EQ(shell::FolderPath(F::Startup), Dir("Startup"));
    ::SetEnvironmentVariableA("FENWAKE_TEST_DIR", nullptr);
}

TEST_F(ShellLinkWin, AMissingOrForeignRecordWritesNothing)
{
    ShellLink link;
    link.target = RunningExecutable();
    EXPECT_EQ(shell::FolderPath(F::Desktop), ""); // the key is created empty
    EXPECT_FALSE(link.Write());

    const DWORD number = 42;
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(scratch_, kShellFolders, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    ::RegSetValueExA(key, "Desktop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    ::RegCloseKey(key);
    EXPECT_EQ(shell::FolderPath(F::Desktop), "");
    EXPECT_FALSE(link.Write());
    EXPECT_FALSE(fs::exists("\\My New ShellLink.lnk"));
}

} // namespace
} // namespace fenwake
