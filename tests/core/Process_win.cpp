#include "Process.h"

#include <system_error>

#include <windows.h>

namespace fenwake::test {
namespace {

// One argument as the C runtime's parser splits a command line.
std::wstring Quoted(const std::wstring& arg)
{
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        slashes = 0;
        out.push_back(c);
    }
    out.append(2 * slashes, L'\\');
    return out + L"\"";
}

HANDLE Inheritable(const std::filesystem::path& p, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    const HANDLE h = ::CreateFileW(p.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateFileW");
    return h;
}

} // namespace

struct ChildProcess::Native {
    PROCESS_INFORMATION info{};
};

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const StreamFiles* streams)
    : native_(std::make_unique<Native>())
{
    std::wstring line = Quoted(program.wstring());
    for (const auto& a : args) line += L" " + Quoted(std::filesystem::path(a).wstring());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (streams) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = Inheritable(streams->in, GENERIC_READ, OPEN_EXISTING);
        startup.hStdOutput = Inheritable(streams->out, GENERIC_WRITE, CREATE_ALWAYS);
        startup.hStdError = Inheritable(streams->err, GENERIC_WRITE, CREATE_ALWAYS);
    }
    // Wine now and then fails a start on a loaded machine; a second try goes through.
    BOOL started = FALSE;
    DWORD e = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) ::Sleep(200);
        started = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, streams != nullptr, 0, nullptr,
                                   nullptr, &startup, &native_->info);
        e = ::GetLastError();
    }
    if (streams)
        for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) ::CloseHandle(h);
    if (!started) throw std::system_error(static_cast<int>(e), std::system_category(), "CreateProcessW");
    ::CloseHandle(native_->info.hThread);
}

ChildProcess::~ChildProcess()
{
    if (native_->info.hProcess) {
        ::TerminateProcess(native_->info.hProcess, 1);
        ::WaitForSingleObject(native_->info.hProcess, INFINITE);
        ::CloseHandle(native_->info.hProcess);
    }
}

std::uint64_t ChildProcess::Id() const { return native_->info.dwProcessId; }

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit)
{
    if (!native_->info.hProcess) return std::nullopt;
    if (::WaitForSingleObject(native_->info.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(native_->info.hProcess, &code);
    ::CloseHandle(native_->info.hProcess);
    native_->info.hProcess = nullptr;
    return static_cast<int>(code);
}

} // namespace fenwake::test
