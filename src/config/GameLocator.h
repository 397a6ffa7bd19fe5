#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where Deus Ex is installed, and which folder's User.ini and DeusEx.ini the
// game really reads: Kentie's launcher (DeusExe) moves them to Documents once
// it has saved a copy there, Windows' VirtualStore keeps the copies a game
// saved under a protected folder, and under Proton the Documents folder is
// the one inside the game's own prefix. Only reads; never writes anything.
namespace fenwake::locate {

enum class Kind { Plain, Steam, Gog, Cd, Mod };

// Why the game reads its settings where it does.
enum class Reason { GameFolder, LauncherDocuments, VirtualStore };

// The words the player sees: "plain", "Steam", "GOG", "CD", "mod".
std::string_view Describe(Kind kind);
// "Kentie's launcher: Documents copy", "VirtualStore copy", "the game folder".
std::string_view Describe(Reason reason);

struct Install {
    // The game's System folder (a mod's own one); empty when only the live
    // copy was found, the game itself lying where nothing looks.
    std::filesystem::path system;
    Kind kind = Kind::Plain;
    std::string mod; // the mod's folder name, for Kind::Mod
    // The folder whose User.ini the game reads (and DeusEx.ini, once the
    // game has saved one there too).
    std::filesystem::path live;
    Reason reason = Reason::GameFolder;

    bool operator==(const Install&) const = default;
};

// One Windows as the game sees it: the real one, or one inside a Wine prefix.
struct Machine {
    std::filesystem::path drive;                     // the system drive, C:\ (a prefix's drive_c)
    std::vector<std::filesystem::path> programFiles; // Program Files and Program Files (x86)
    std::vector<std::filesystem::path> documents;    // each user's Documents
    // The user's Local AppData, home of the VirtualStore; empty where files
    // are never virtualized (Wine).
    std::filesystem::path localAppData;
    std::vector<std::filesystem::path> steamRoots; // Steam for Windows, besides <Program Files>/Steam
    // Where Wine's drive letters lead (a prefix's dosdevices); empty where
    // "D:\..." is a path of its own.
    std::filesystem::path dosDevices;
};

// Where to look, as the platform answers (GameLocator_posix.cpp, _win.cpp).
struct Places {
    std::optional<Machine> host; // Windows itself
    std::vector<std::filesystem::path> winePrefixes;
    // Steam for Linux: each library's Windows games run in the Proton prefix
    // steamapps/compatdata/<app>/pfx of their library.
    std::vector<std::filesystem::path> steamRoots;
};

Places PlatformPlaces();

// Every install with settings to edit, each once: the one holding the
// starting folder (or found from its parents) first, then those in the
// places. Folders that cannot be read are passed over; never throws for
// what it finds on disk.
std::vector<Install> FindInstalls(const Places& places, const std::filesystem::path& start);
std::vector<Install> FindInstalls(const std::filesystem::path& start);

// The installs whose User.ini the game wrote last first (the one played
// last, as a rule), the others in their order after them.
void NewestSettingsFirst(std::vector<Install>& installs);

// Started in folder start: when it is a game's (or a mod's) System folder
// whose settings the game reads from another folder, that install.
std::optional<Install> LiveElsewhere(const Places& places, const std::filesystem::path& start);
std::optional<Install> LiveElsewhere(const std::filesystem::path& start);

} // namespace fenwake::locate
