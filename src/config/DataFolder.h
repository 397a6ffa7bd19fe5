#pragma once

#include <filesystem>
#include <optional>

// Fenwake's own folder among the user's files, for what it keeps between
// runs apart from the game's folders (DataFolder_posix.cpp, _win.cpp).
namespace fenwake::data {

// %LOCALAPPDATA%\Fenwake on Windows; $XDG_STATE_HOME/fenwake, or
// ~/.local/state/fenwake without it, on POSIX. Nothing when the platform
// names no such place. The folder need not exist yet.
std::optional<std::filesystem::path> Folder();

} // namespace fenwake::data
