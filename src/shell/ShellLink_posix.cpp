#include "shell/ShellPlatform.h"

#include "config/FileSystem.h"
#include "config/HomeFolder_posix.h"
#include "shell/DesktopEntry.h"

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The user's folders as the freedesktop.org base directory and user
// directory conventions define them; links are Desktop Entry files.
namespace fenwake {
namespace {

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

using posix::AbsoluteOrEmpty;

// $XDG_CONFIG_HOME and its kin: a relative value is to be ignored.
std::string BaseDirectory(const char* variable, std::string_view fallback, const std::string& home)
{
    if (std::string dir = AbsoluteOrEmpty(std::getenv(variable)); !dir.empty()) return dir;
    return home.empty() ? std::string() : home + "/" + std::string(fallback);
}

void SkipBlanks(std::string_view& s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
}

bool Take(std::string_view& s, std::string_view prefix)
{
    if (!s.starts_with(prefix)) return false;
    s.remove_prefix(prefix.size());
    return true;
}

// One line of user-dirs.dirs: XDG_<NAME>_DIR="$HOME/yyy" or XDG_<NAME>_DIR="/yyy",
// with yyy shell-escaped. Lines of any other form are skipped.
std::optional<std::string> ParseUserDir(std::string_view line, std::string_view name, const std::string& home)
{
    SkipBlanks(line);
    if (!Take(line, "XDG_") || !Take(line, name) || !Take(line, "_DIR")) return std::nullopt;
    SkipBlanks(line);
    if (!Take(line, "=")) return std::nullopt;
    SkipBlanks(line);
    if (!Take(line, "\"")) return std::nullopt;

    std::string path;
    if (Take(line, "$HOME/") || (line.starts_with("$HOME\"") && Take(line, "$HOME"))) {
        if (home.empty()) return std::nullopt;
        path = home + "/";
    } else if (!line.starts_with("/")) {
        return std::nullopt;
    }
    for (std::size_t i = 0;; ++i) {
        if (i == line.size()) return std::nullopt; // no closing quote
        char c = line[i];
        if (c == '"') break;
        if (c == '\\' && i + 1 < line.size()) c = line[++i];
        path += c;
    }
    return WithoutTrailingSlashes(std::move(path));
}

std::string UserDirectory(std::string_view name, const std::string& home, const std::string& configHome)
{
    std::string dir;
    if (!home.empty()) dir = name == "DESKTOP" ? home + "/Desktop" : home;
    if (configHome.empty()) return dir;

    const auto text = files::ReadAll(configHome + "/user-dirs.dirs");
    if (!text) return dir;
    std::string_view rest(*text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        // The last entry for a folder wins, as in the reference lookup.
        if (auto found = ParseUserDir(line, name, home)) dir = std::move(*found);
    }
    return dir;
}

} // namespace

namespace shell {

std::string FolderPath(ShellFolder folder)
{
    const std::string home = posix::HomeFolder();
    const std::string configHome = BaseDirectory("XDG_CONFIG_HOME", ".config", home);
    switch (folder) {
    case ShellFolder::Desktop:
        return UserDirectory("DESKTOP", home, configHome);
    case ShellFolder::MyDocuments:
        return UserDirectory("DOCUMENTS", home, configHome);
    case ShellFolder::MyPictures:
        return UserDirectory("PICTURES", home, configHome);
    case ShellFolder::Templates:
        return UserDirectory("TEMPLATES", home, configHome);
    case ShellFolder::StartMenu:
    case ShellFolder::ProgramsMenu: {
        const std::string dataHome = BaseDirectory("XDG_DATA_HOME", ".local/share", home);
        return dataHome.empty() ? dataHome : dataHome + "/applications";
    }
    case ShellFolder::Startup:
        return configHome.empty() ? configHome : configHome + "/autostart";
    case ShellFolder::SendTo:
    case ShellFolder::PrintHood:
    case ShellFolder::Recent:
    case ShellFolder::Favorites:
        return {}; // no folder of links on this platform
    }
    return {};
}

void MakeFolder(const std::string& path)
{
    // Private, as the base directory convention asks of folders it creates.
    for (std::size_t i = path.find('/', 1); i != std::string::npos; i = path.find('/', i + 1))
        ::mkdir(path.substr(0, i).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

bool SaveLink(const ShellLink& link, const std::string& folder)
{
    const std::string file = (folder == "/" ? folder : folder + "/") + link.name + ".desktop";
    if (!files::Replace(file, DesktopEntry(link))) return false;
    // Desktops start only entries their owner marked executable.
    struct stat st;
    return ::stat(file.c_str(), &st) == 0 && ::chmod(file.c_str(), (st.st_mode | S_IXUSR) & 07777) == 0;
}

} // namespace shell

std::string RunningExecutable()
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace fenwake
