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
enum class TFastShellFolder {
    sfDesktop,
    sfStartMenu,
    sfProgramsMenu,
    sfStartup,
    sfMyDocuments,
    sfMyPictures,
    sfSendTo,
    sfTemplates,
    sfPrintHood,
    sfRecent,
    sfFavorites,
};

// "Desktop", "Start Menu", "Programs", "Startup", "Personal", "My Pictures",
// "SendTo", "Templates", "PrintHood", "Recent", "Favorites".
std::string_view FolderValueName(TFastShellFolder folder);

// Where a link goes.
class TCreateIn {
public:
    // Create the folder and its missing ancestors before writing.
    bool CreatePath = true;
    TFastShellFolder ShellFolder = TFastShellFolder::sfDesktop;
};

class TFastShellLink {
public:
    TCreateIn CreateIn;
    std::string LinkName = "My New ShellLink"; // file name without its extension
    std::string LinkTarget;                    // program the link starts
    std::string ParamString;                   // its command-line arguments
    std::string WorkingDirectory;

    // Writes the link described above, silently replacing one of the same
    // name. Reports nothing to the user: returns whether a link was written.
    // Nothing is written when the folder is unknown, the name is empty or
    // holds a path separator, or there is no target. On Windows, a missing
    // shell link object raises std::system_error.
    bool WriteLink() const;
};

// What "Make Shortcut in..." does for the chosen folder: names the link
// "Fenwake", points it at exePath with exePath's folder (with its trailing
// separator) as working directory, and writes it. ParamString and
// CreateIn.CreatePath are left as they are.
bool MakeShortcut(TFastShellLink& link, TFastShellFolder folder, std::string_view exePath);

// Full path of the running executable, empty when the platform cannot tell.
std::string RunningExecutable();

} // namespace fenwake
