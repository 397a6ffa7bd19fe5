#include "config/GameProcess.h"

#include "config/Ascii.h"

#include <windows.h>

#include <tlhelp32.h>

// Windows: the system's process list, one entry per process with its
// program file's name.
namespace fenwake::game {
namespace {

// The table's names are ASCII: any other character matches none of them.
bool SameName(const wchar_t* entry, std::string_view program)
{
    std::size_t i = 0;
    for (; entry[i] != L'\0'; ++i) {
        if (i == program.size() || entry[i] > 0x7F) return false;
        if (ascii::Lower(static_cast<char>(entry[i])) != ascii::Lower(program[i])) return false;
    }
    return i == program.size();
}

} // namespace

std::vector<RunningProgram> FindRunningGames(std::span<const std::string_view> programs)
{
    std::vector<RunningProgram> found;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        for (std::string_view p : programs) {
            if (SameName(entry.szExeFile, p)) {
                found.push_back({entry.th32ProcessID, p});
                break;
            }
        }
    }
    ::CloseHandle(snapshot);
    return found;
}

} // namespace fenwake::game
