#include "config/GameLocator.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cwchar>
#include <optional>
#include <string>

// Windows: the user's known folders, wherever the profile lies, and the
// Steam install that Steam records in the registry.
namespace fenwake::locate {
namespace fs = std::filesystem;
namespace {

std::optional<fs::path> KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR raw = nullptr;
    // Asks for the path only: nothing is created or checked.
    const HRESULT hr = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &raw);
    std::optional<fs::path> folder;
    if (SUCCEEDED(hr) && raw != nullptr && raw[0] != L'\0') folder = fs::path(raw);
    ::CoTaskMemFree(raw);
    return folder;
}

std::optional<fs::path> RegistryFolder(HKEY root, const wchar_t* key, const wchar_t* value)
{
    DWORD size = 0;
    if (::RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(std::wcslen(text.c_str()));
    if (text.empty()) return std::nullopt;
    return fs::path(text).make_preferred(); // Steam writes c:/program files (x86)/steam
}

} // namespace

Places PlatformPlaces()
{
    Machine m;
    if (auto windows = KnownFolder(FOLDERID_Windows)) m.drive = windows->root_path();
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86}) {
        auto folder = KnownFolder(*id);
        if (folder && (m.programFiles.empty() || m.programFiles.front() != *folder)) m.programFiles.push_back(*folder);
    }
    if (auto documents = KnownFolder(FOLDERID_Documents)) m.documents.push_back(*documents);
    if (auto local = KnownFolder(FOLDERID_LocalAppData)) m.localAppData = *local;
    if (auto steam = RegistryFolder(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", L"SteamPath"))
        m.steamRoots.push_back(*steam);
    if (auto steam = RegistryFolder(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\Valve\\Steam", L"InstallPath"))
        m.steamRoots.push_back(*steam);
    Places places;
    places.host = std::move(m);
    return places;
}

} // namespace fenwake::locate
