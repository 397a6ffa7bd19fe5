#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

// The user's folders on POSIX systems, as the XDG base directory rules
// name them. For the platform back ends only (*_posix.cpp).
namespace fenwake::posix {

// An absolute folder without trailing slashes, or empty for anything else:
// the rules ignore relative values.
inline std::string AbsoluteOrEmpty(const char* value)
{
    if (value == nullptr || value[0] != '/') return {};
    std::string path(value);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A variable naming a folder ($XDG_DATA_HOME, $WINEPREFIX, ...).
inline std::string FolderFrom(const char* variable) { return AbsoluteOrEmpty(std::getenv(variable)); }

// $HOME, else the user's entry in the password database; empty when neither is absolute.
inline std::string HomeFolder()
{
    if (std::string home = FolderFrom("HOME"); !home.empty()) return home;
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    return AbsoluteOrEmpty(found->pw_dir);
}

} // namespace fenwake::posix
