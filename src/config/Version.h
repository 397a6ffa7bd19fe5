#pragma once

#include <string_view>

namespace fenwake {

// What `--version` prints, for the window program and fenwake-cli alike; the
// number comes from the top CMakeLists.txt's project() alone.
inline constexpr std::string_view kVersionLine = "Fenwake " FENWAKE_VERSION;

} // namespace fenwake
