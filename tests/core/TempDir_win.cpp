#include "TempDir.h"

#include <string>
#include <system_error>

#include <windows.h>

namespace fenwake::test {
namespace fs = std::filesystem;

fs::path MakeTempDir()
{
    const fs::path base = fs::temp_directory_path();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = L"fenwake-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(attempt);
        const fs::path dir = base / name;
        if (::CreateDirectoryW(dir.c_str(), nullptr)) return dir;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateDirectoryW");
}

void UseDataFolderIn(const fs::path&) {}

void SetReadOnlyMark(const fs::path& p)
{
    const DWORD attrs = ::GetFileAttributesW(p.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !::SetFileAttributesW(p.c_str(), attrs | FILE_ATTRIBUTE_READONLY))
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "SetFileAttributesW");
}

void RemoveTree(const fs::path& p)
{
    std::error_code ec;
    // Windows refuses to delete a read-only file.
    for (auto it = fs::recursive_directory_iterator(p, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(p, ec);
}

bool Has(Needs need)
{
    switch (need) {
    case Needs::DirectoryWriteBits: // a read-only directory still takes new files
    case Needs::UnreadableFiles:    // needs access control lists
    case Needs::SymbolicLinks:      // needs a privilege or developer mode
    case Needs::CaseSensitiveNames:
        return false;
    }
    return false;
}

const char* Describe(Needs need)
{
    switch (need) {
    case Needs::DirectoryWriteBits:
        return "directory write permission (a read-only directory takes new files)";
    case Needs::UnreadableFiles:
        return "unreadable files without access control lists";
    case Needs::SymbolicLinks:
        return "symbolic links for every user";
    case Needs::CaseSensitiveNames:
        return "case-sensitive file names";
    }
    return "?";
}

} // namespace fenwake::test
