#pragma once

#include <string>
#include <string_view>

// The single-instance guard: one copy of the program per executable path.
namespace fenwake {

// The lock's name: the path as far as it fits 255 bytes, with every
// backslash turned into a slash.
std::string InstanceLockName(std::string_view executablePath);

// Takes the system-wide lock named after the path and holds it until the
// process ends, however it ends. False when another copy holds it or the
// lock cannot be had at all.
bool AcquireInstanceLock(const std::string& lockName);

} // namespace fenwake
