// The single-instance guard on Windows, with real second processes: this
// test program starts copies of itself that take the guard's lock the way
// the program does at start-up.
#include "app/InstanceLock.h"
#include "../core/TempDir.h"
#include "shell/ShellLink.h"

#include <cstdlib>
#include <string>

#include <windows.h>

namespace fenwake {
namespace {
namespace fs = std::filesystem;

constexpr DWORD kStarted = 10;
constexpr DWORD kRefused = 20;
constexpr const char* kChildMode = "FENWAKE_LOCK_CHILD";

// In a started copy (the variable set), this runs before any test: it takes
// the lock named after its own path, then ends at once or, in mode "hold",
// waits to be killed (for two minutes at most, should the test die first).
[[maybe_unused]] const bool kIsChild = [] {
    const char* mode = std::getenv(kChildMode);
    if (!mode) return false;
    const bool got = AcquireInstanceLock(InstanceLockName(RunningExecutable()));
    if (got && std::string(mode) == "hold") ::Sleep(120000);
    std::_Exit(static_cast<int>(got ? kStarted : kRefused));
}();

class InstanceLock : public test::TempDirTest {
protected:
    void TearDown() override
    {
        if (holder_.hProcess) {
            ::TerminateProcess(holder_.hProcess, 1);
            ::WaitForSingleObject(holder_.hProcess, 60000);
            ::CloseHandle(holder_.hThread);
            ::CloseHandle(holder_.hProcess);
        }
        TempDirTest::TearDown();
    }

    // Starts exe in the child mode from the current directory.
    PROCESS_INFORMATION Start(const std::string& exe, const char* mode)
    {
        ::SetEnvironmentVariableA(kChildMode, mode);
        std::string command = "\"" + exe + "\"";
        // Whatever the copy prints would only clutter this report.
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE nul = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = si.hStdOutput = si.hStdError = nul;
        PROCESS_INFORMATION pi{};
        const BOOL ok =
            ::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
        if (nul != INVALID_HANDLE_VALUE) ::CloseHandle(nul);
        ::SetEnvironmentVariableA(kChildMode, nullptr);
        EXPECT_TRUE(ok) << "cannot start " << exe << ": error " << ::GetLastError();
        return pi;
    }

    DWORD Outcome(const std::string& exe)
    {
        const PROCESS_INFORMATION pi = Start(exe, "exit");
        if (!pi.hProcess) return 0;
        DWORD code = 0;
        EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
        ::GetExitCodeProcess(pi.hProcess, &code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        return code;
    }

    // A copy of this program elsewhere: the same file under another path.
    std::string CopyOfSelf(const std::string& folder)
    {
        fs::create_directories(dir_ / folder);
        const fs::path copy = dir_ / folder / "fenwake.exe";
        fs::copy_file(RunningExecutable(), copy);
        return copy.string();
    }

    PROCESS_INFORMATION holder_{};
};

TEST_F(InstanceLock, NameIsThePathWithSlashes)
{
    EXPECT_EQ(InstanceLockName("C:\\Games\\DeusEx\\System\\Fenwake.exe"), "C:/Games/DeusEx/System/Fenwake.exe");
    const std::string name = InstanceLockName(RunningExecutable());
    EXPECT_EQ(name.find('\\'), std::string::npos);
    EXPECT_LE(name.size(), 255u);
}

TEST_F(InstanceLock, SecondCopyFromTheSamePathIsRefusedWhateverItsDirectory)
{
    const std::string exe = CopyOfSelf("Game\\System");
    // First copy: nothing holds the lock.
    EXPECT_EQ(Outcome(exe), kStarted);

    holder_ = Start(exe, "hold");
    ASSERT_NE(holder_.hProcess, nullptr);
    // Wait until the first copy holds the lock.
    const std::string name = InstanceLockName(exe);
    for (int i = 0; i < 600; ++i) {
        if (HANDLE probe = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str())) {
            ::CloseHandle(probe);
            break;
        }
        ::Sleep(50);
    }
    EXPECT_EQ(Outcome(exe), kRefused);
    fs::create_directory("elsewhere");
    fs::current_path("elsewhere");
    EXPECT_EQ(Outcome(exe), kRefused);
    fs::current_path(dir_);

    // Another installation is another program.
    EXPECT_EQ(Outcome(CopyOfSelf("Other Game\\System")), kStarted);

    // A killed copy releases the lock with its end.
    ::TerminateProcess(holder_.hProcess, 1);
    ::WaitForSingleObject(holder_.hProcess, 60000);
    ::CloseHandle(holder_.hThread);
    ::CloseHandle(holder_.hProcess);
    holder_ = {};
    EXPECT_EQ(Outcome(exe), kStarted);
}

TEST_F(InstanceLock, TheLockIsHeldUntilTheProcessEnds)
{
    const std::string name = "fenwake-test/" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(AcquireInstanceLock(name));
    EXPECT_FALSE(AcquireInstanceLock(name)); // even this process cannot take it twice
    EXPECT_TRUE(AcquireInstanceLock(name + "-other"));
}

} // namespace
} // namespace fenwake
