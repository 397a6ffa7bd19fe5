#pragma once

namespace fenwake {

// Ends the current operation after it has shown its own message; the
// standard error display lets it pass without showing anything. Not derived
// from std::exception so that no handler of real errors swallows it.
struct SilentAbort {};

} // namespace fenwake
