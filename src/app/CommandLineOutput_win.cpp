#include "app/CommandLineOutput.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace fenwake {

std::ostream& CommandLineOutput()
{
    // A program of the windows subsystem has a standard output only when it
    // is redirected to a file or a pipe; typed at a prompt, the answer goes
    // to the prompt's console instead.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (std::freopen("CONOUT$", "w", stdout)) std::cout.clear();
    }
    return std::cout;
}

} // namespace fenwake
