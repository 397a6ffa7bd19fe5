#include "app/CommandLineOutput.h"

#include <iostream>

namespace fenwake {

std::ostream& CommandLineOutput() { return std::cout; }

} // namespace fenwake
