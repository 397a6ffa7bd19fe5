#include "config/GameLocator.h"

#include "config/HomeFolder_posix.h"

// Linux: Wine's prefixes and the Steam installs of the usual packagings.
namespace fenwake::locate {
namespace fs = std::filesystem;

Places PlatformPlaces()
{
    Places places;
    const fs::path home = posix::HomeFolder();
    if (fs::path prefix = posix::FolderFrom("WINEPREFIX"); !prefix.empty()) places.winePrefixes.push_back(prefix);
    fs::path dataHome = posix::FolderFrom("XDG_DATA_HOME");
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
