#pragma once

#include <ostream>

namespace fenwake {

// Where the window program's answers to --help and --version go: its
// standard output, or, where the platform starts a window program without
// one (Windows, from a console), the console of the program that started it.
std::ostream& CommandLineOutput();

} // namespace fenwake
