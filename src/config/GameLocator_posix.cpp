#include "config/GameLocator.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

// Linux: Wine's prefixes and the Steam installs of the usual packagings.
namespace fenwake::locate {
namespace fs = std::filesystem;
namespace {

// A variable naming a folder; relative values are ignored, as the XDG base
// directory rules ask.
fs::path FolderFrom(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] == '/' ? fs::path(value) : fs::path();
}

fs::path Home()
{
    if (fs::path home = FolderFrom("HOME"); !home.empty()) return home;
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    return found->pw_dir[0] == '/' ? fs::path(found->pw_dir) : fs::path();
}

} // namespace

Places PlatformPlaces()
{
    Places places;
    const fs::path home = Home();
    if (fs::path prefix = FolderFrom("WINEPREFIX"); !prefix.empty()) places.winePrefixes.push_back(prefix);
    fs::path dataHome = FolderFrom("XDG_DATA_HOME");
    if (home.empty()) {
        if (!dataHome.empty()) places.steamRoots.push_back(dataHome / "Steam");
        return places;
    }
    places.winePrefixes.push_back(home / ".wine");
    if (dataHome.empty()) dataHome = home / ".local/share";
    // The native package's own link to its folder first, then the folder
    // itself, the flatpak and the snap; one install reached twice is
    // looked into once.
    for (const fs::path& root :
         {home / ".steam/steam", dataHome / "Steam", home / ".local/share/Steam",
          home / ".var/app/com.valvesoftware.Steam/.local/share/Steam", home / "snap/steam/common/.local/share/Steam"})
        places.steamRoots.push_back(root);
    return places;
}

} // namespace fenwake::locate
