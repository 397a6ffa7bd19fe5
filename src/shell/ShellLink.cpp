#include "shell/ShellLink.h"

#include "shell/ShellPlatform.h"

#include <algorithm>
#include <filesystem>

namespace fenwake {

std::string_view FolderValueName(ShellFolder folder)
{
    switch (folder) {
    case ShellFolder::Desktop:
        return "Desktop";
    case ShellFolder::StartMenu:
        return "Start Menu";
    case ShellFolder::ProgramsMenu:
        return "Programs";
    case ShellFolder::Startup:
        return "Startup";
    case ShellFolder::MyDocuments:
        return "Personal";
    case ShellFolder::MyPictures:
        return "My Pictures";
    case ShellFolder::SendTo:
        return "SendTo";
    case ShellFolder::Templates:
        return "Templates";
    case ShellFolder::PrintHood:
        return "PrintHood";
    case ShellFolder::Recent:
        return "Recent";
    case ShellFolder::Favorites:
        return "Favorites";
    }
    return {};
}

bool ShellLink::Write() const
{
    // A name with a separator would put the link somewhere else than the folder.
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos)
        return false;
    if (target.empty()) return false;

    // An unknown folder must not turn into the root of the file system.
    const std::string folder = shell::FolderPath(location.folder);
    if (folder.empty()) return false;

    if (location.createFolder) shell::MakeFolder(folder);
    return shell::SaveLink(*this, folder);
}

bool MakeShortcut(ShellLink& link, ShellFolder folder, std::string_view exePath, std::string_view startIn)
{
    std::string target(exePath);
    constexpr char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    if constexpr (sep == '\\') std::replace(target.begin(), target.end(), '/', '\\');
    const std::size_t cut = target.rfind(sep);

    link.location.folder = folder;
    link.name = "Fenwake";
    link.target = target;
    link.workingDirectory = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    if (!startIn.empty()) {
        link.workingDirectory = startIn;
        if (link.workingDirectory.back() != sep) link.workingDirectory += sep;
    }
    return link.Write();
}

} // namespace fenwake
