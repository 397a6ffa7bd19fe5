#include "app/StartupTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fenwake::trace {
namespace {

using Clock = std::chrono::steady_clock;

// Taken while static objects are built, before main: the closest our own
// code gets to the process start.
const Clock::time_point kOrigin = Clock::now();

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace

bool Enabled()
{
    static const bool on = [] {
        const char* v = std::getenv("FENWAKE_TRACE_STARTUP");
        return v && std::strcmp(v, "1") == 0;
    }();
    return on;
}

void Mark(const char* what)
{
    if (!Enabled()) return;
    static Clock::time_point last = kOrigin;
    const Clock::time_point now = Clock::now();
    std::fprintf(stderr, "startup %8.2f ms  +%7.2f  %s\n", Ms(now - kOrigin), Ms(now - last), what);
    last = now;
}

} // namespace fenwake::trace
