#pragma once

#include <string>
#include <string_view>

// Shortcuts to a program, written into one of the user's shell folders: a
// shell link (.lnk) on Windows, a Desktop Entry (.desktop) elsewhere.
//
// Strings are in the platform's narrow encoding: the ANSI code page on
// Windows, the file system's bytes (normally UTF-8) elsewhere.
namespace fenwake {

// The user's shell folders a link can go to. Each is known on Windows by the
// name of the value that records its path (FolderValueName).
enum class ShellFolder {
    Desktop,
    StartMenu,
    ProgramsMenu,
    Startup,
    MyDocuments,
    MyPictures,
    SendTo,
    Templates,
    PrintHood,
    Recent,
    Favorites,
};

// "Desktop", "Start Menu", "Programs", "Startup", "Personal", "My Pictures",
// "SendTo", "Templates", "PrintHood", "Recent", "Favorites".
std::string_view FolderValueName(ShellFolder folder);

// Where a link goes.
struct LinkLocation {
    // Create the folder and its missing ancestors before writing.
    bool createFolder = true;
    ShellFolder folder = ShellFolder::Desktop;
};

class ShellLink {
public:
    LinkLocation location;
    std::string name = "My New ShellLink"; // file name without its extension
    std::string target;                    // program the link starts
    std::string arguments;                 // its command-line arguments
    std::string workingDirectory;

    // Writes the link described above, silently replacing one of the same
    // name. Reports nothing to the user: returns whether a link was written.
    // Nothing is written when the folder is unknown, the name is empty or
    // holds a path separator, or there is no target. On Windows, a missing
    // shell link object raises std::system_error.
    bool Write() const;
};

// What "Make Shortcut in..." does for the chosen folder: names the link
// "Fenwake", points it at exePath with exePath's folder (with its trailing
// separator) as working directory, or startIn when given, and writes it.
// arguments and location.createFolder are left as they are.
bool MakeShortcut(ShellLink& link, ShellFolder folder, std::string_view exePath, std::string_view startIn = {});

// Full path of the running executable, empty when the platform cannot tell.
std::string RunningExecutable();

} // namespace fenwake
