#include "BenchPlatform.h"

#include <random>
#include <string>
#include <system_error>

#include <windows.h>

#include <tlhelp32.h>

namespace fenwake::bench {

std::filesystem::path MakeTempDir()
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto dir = std::filesystem::temp_directory_path() / ("fenwake-bench-" + std::to_string(random()));
        if (::CreateDirectoryW(dir.c_str(), nullptr)) return dir;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateDirectory");
}

std::size_t ReadPlain(const char* name, std::unique_ptr<char[]>& buf)
{
    const HANDLE h = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size{};
    std::size_t got = 0;
    if (::GetFileSizeEx(h, &size)) {
        const auto want = static_cast<std::size_t>(size.QuadPart);
        buf.reset(new char[want]);
        DWORD n = 0;
        while (got < want && ::ReadFile(h, buf.get() + got, static_cast<DWORD>(want - got), &n, nullptr) && n > 0)
            got += n;
    }
    ::CloseHandle(h);
    return got;
}

bool ReplacePlain(const char* name, const char* bytes, std::size_t size, bool durable)
{
    std::string temp(1, '.');
    temp.append(name).append(".tmp");
    const HANDLE h = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    while (ok && size > 0) {
        DWORD n = 0;
        ok = ::WriteFile(h, bytes, static_cast<DWORD>(size), &n, nullptr) && n > 0;
        bytes += n;
        size -= n;
    }
    ok = ok && ::FlushFileBuffers(h);
    ok = ::CloseHandle(h) && ok;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
    ok = ok && ::MoveFileExA(temp.c_str(), name, flags);
    if (!ok) ::DeleteFileA(temp.c_str());
    return ok;
}

std::size_t ListProcessesPlain()
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::size_t count = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) ++count;
    ::CloseHandle(snapshot);
    return count;
}

bool AppendPlain(const char* name, const char* bytes, std::size_t size)
{
    const HANDLE h = ::CreateFileA(name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = ::WriteFile(h, bytes, static_cast<DWORD>(size), &n, nullptr) && n == size;
    ok = ::FlushFileBuffers(h) && ok;
    return ::CloseHandle(h) && ok;
}

} // namespace fenwake::bench
