#include "config/DataFolder.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

namespace fenwake::data {
namespace fs = std::filesystem;

std::optional<fs::path> Folder()
{
    PWSTR raw = nullptr;
    // The path only: nothing is created or checked.
    const HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &raw);
    std::optional<fs::path> folder;
    if (SUCCEEDED(hr) && raw != nullptr && raw[0] != L'\0') folder = fs::path(raw) / L"Fenwake";
    ::CoTaskMemFree(raw);
    return folder;
}

} // namespace fenwake::data
