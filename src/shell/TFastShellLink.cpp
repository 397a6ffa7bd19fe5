#include "shell/TFastShellLink.h"

#include "shell/ShellPlatform.h"

#include <algorithm>
#include <filesystem>

namespace fenwake {

std::string_view FolderValueName(TFastShellFolder folder)
{
    switch (folder) {
    case TFastShellFolder::sfDesktop:
        return "Desktop";
    case TFastShellFolder::sfStartMenu:
        return "Start Menu";
    case TFastShellFolder::sfProgramsMenu:
        return "Programs";
    case TFastShellFolder::sfStartup:
        return "Startup";
    case TFastShellFolder::sfMyDocuments:
        return "Personal";
    case TFastShellFolder::sfMyPictures:
        return "My Pictures";
    case TFastShellFolder::sfSendTo:
        return "SendTo";
    case TFastShellFolder::sfTemplates:
        return "Templates";
    case TFastShellFolder::sfPrintHood:
        return "PrintHood";
    case TFastShellFolder::sfRecent:
        return "Recent";
    case TFastShellFolder::sfFavorites:
        return "Favorites";
    }
    return {};
}

bool TFastShellLink::WriteLink() const
{
    // A name with a separator would put the link somewhere else than the folder.
    if (LinkName.empty() || LinkName == "." || LinkName == ".." ||
        LinkName.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos)
        return false;
    if (LinkTarget.empty()) return false;

    // An unknown folder must not turn into the root of the file system.
    const std::string folder = shell::FolderPath(CreateIn.ShellFolder);
    if (folder.empty()) return false;

    if (CreateIn.CreatePath) shell::MakeFolder(folder);
    return shell::SaveLink(*this, folder);
}

bool MakeShortcut(TFastShellLink& link, TFastShellFolder folder, std::string_view exePath)
{
    std::string target(exePath);
    constexpr char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    if constexpr (sep == '\\') std::replace(target.begin(), target.end(), '/', '\\');
    const std::size_t cut = target.rfind(sep);

    link.CreateIn.ShellFolder = folder;
    link.LinkName = "Fenwake";
    link.LinkTarget = target;
    link.WorkingDirectory = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    return link.WriteLink();
}

} // namespace fenwake
