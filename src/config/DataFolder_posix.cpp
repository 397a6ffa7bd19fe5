#include "config/DataFolder.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace fenwake::data {
namespace fs = std::filesystem;

std::optional<fs::path> Folder()
{
    // The base directory specification ignores a relative path.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && fs::path(state).is_absolute())
        return fs::path(state) / "fenwake";
    fs::path home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (!home.is_absolute()) return std::nullopt;
    return home / ".local" / "state" / "fenwake";
}

} // namespace fenwake::data
