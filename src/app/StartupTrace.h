#pragma once

// A developer's view of where start-up time goes. Off unless the environment
// holds FENWAKE_TRACE_STARTUP=1; then every mark prints to stderr the
// milliseconds since the program's own code began and since the last mark.
namespace fenwake::trace {

bool Enabled();
void Mark(const char* what);

// Runs f and marks its end under the name.
template <class F>
decltype(auto) Phase(const char* what, F&& f)
{
    struct AtEnd {
        const char* what;
        ~AtEnd() { Mark(what); }
    } atEnd{what};
    return f();
}

} // namespace fenwake::trace
