#include "shell/ShellPlatform.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <memory>
#include <system_error>
#include <type_traits>
#include <vector>

// Links are shell link (.lnk) files made by the shell's own link object; the
// folders are those the shell records for the current user.
namespace fenwake {
namespace {

// Named here so that no GUID library has to be linked.
constexpr CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, Releaser>;

// Balances a successful CoInitializeEx; a thread already set up in another
// mode is used as it is.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (initialised_) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

[[noreturn]] void Raise(HRESULT hr) { throw std::system_error(static_cast<int>(hr), std::system_category()); }

std::wstring Widen(const std::string& s)
{
    const int count = ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, wide.data(), count);
    wide.resize(static_cast<std::size_t>(count - 1));
    return wide;
}

std::string Expand(const std::string& s)
{
    const DWORD count = ::ExpandEnvironmentStringsA(s.c_str(), nullptr, 0);
    if (count == 0) return s;
    std::vector<char> buffer(count + 1, '\0');
    if (::ExpandEnvironmentStringsA(s.c_str(), buffer.data(), count + 1) == 0) return s;
    return buffer.data();
}

} // namespace

namespace shell {

std::string FolderPath(ShellFolder folder)
{
    HKEY raw = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE,
                          nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return {};
    const Key key(raw);
    const std::string name(FolderValueName(folder));

    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::vector<char> buffer(size + 1, '\0');
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    const std::string value(buffer.data()); // stored strings may lack their terminator
    return type == REG_EXPAND_SZ ? Expand(value) : value;
}

void MakeFolder(const std::string& path)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') ::CreateDirectoryA(path.substr(0, i + 1).c_str(), nullptr);
    }
    ::CreateDirectoryA(path.c_str(), nullptr);
}

bool SaveLink(const ShellLink& link, const std::string& folder)
{
    const ComScope com;
    IShellLinkA* rawLink = nullptr;
    HRESULT hr =
        ::CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA, reinterpret_cast<void**>(&rawLink));
    if (FAILED(hr)) Raise(hr);
    const ComPtr<IShellLinkA> shellLink(rawLink);

    IPersistFile* rawFile = nullptr;
    hr = shellLink->QueryInterface(kPersistFile, reinterpret_cast<void**>(&rawFile));
    if (FAILED(hr)) Raise(hr);
    const ComPtr<IPersistFile> persistFile(rawFile);

    shellLink->SetArguments(link.arguments.c_str());
    shellLink->SetPath(link.target.c_str());
    shellLink->SetWorkingDirectory(link.workingDirectory.c_str());

    const bool separated = folder.back() == '\\' || folder.back() == '/';
    const std::string file = folder + (separated ? "" : "\\") + link.name + ".lnk";
    return SUCCEEDED(persistFile->Save(Widen(file).c_str(), FALSE));
}

} // namespace shell

std::string RunningExecutable()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace fenwake
