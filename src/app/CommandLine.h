#pragma once

#include <functional>
#include <optional>
#include <ostream>

// What the window program answers from its command line alone: its help and
// its version. Both come before the instance lock and before Qt, so they
// touch no file and need no display.
namespace fenwake {

// The exit code when the arguments asked for the help or the version, which
// are then written to the stream output gives; nothing otherwise (Qt takes
// its own options), and output is not asked for.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, const std::function<std::ostream&()>& output);

} // namespace fenwake
