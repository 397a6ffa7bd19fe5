#include "Run.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include <windows.h>

namespace fenwake::test {
namespace fs = std::filesystem;
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

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

[[noreturn]] void Fail(const char* what)
{
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

HANDLE Inheritable(const fs::path& p, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    const HANDLE h = ::CreateFileW(p.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail("CreateFileW");
    return h;
}

} // namespace

RunResult RunProgram(const fs::path& program, const std::vector<std::string>& args, const std::string& input,
                     const fs::path& scratch)
{
    const fs::path in = scratch / "stdin", out = scratch / "stdout", err = scratch / "stderr";
    std::ofstream(in, std::ios::binary) << input;

    std::wstring line = Quoted(program.wstring());
    for (const auto& a : args) line += L" " + Quoted(fs::path(a).wstring());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inheritable(in, GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = Inheritable(out, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = Inheritable(err, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                          &startup, &info);
    for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) ::CloseHandle(h);
    if (!started) Fail("CreateProcessW");
    ::CloseHandle(info.hThread);
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    return {static_cast<int>(code), Slurp(out), Slurp(err)};
}

} // namespace fenwake::test
