#pragma once

#include "config/GameFiles.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Whether Deus Ex is running. The engine keeps its settings in memory and
// writes User.ini back whole when the game exits, undoing whatever was
// saved in the meantime.
namespace fenwake::game {

// The programs that run the engine, each of which writes its settings when
// it exits: the game, Kentie's launcher, and the programs of mods that run
// under a name of their own (the engine names its files after its program).
// A table: several names to a line.
// clang-format off
inline constexpr std::array<std::string_view, 9> kGamePrograms = {
    kGameProgram, kLauncherProgram,
    "DXRando.exe",                // Deus Ex Randomizer's launcher
    "GMDX.exe", "GMDXv10.exe",    // GMDX v9 and RSD; v10
    "Revision.exe", "HX.exe",     // Deus Ex: Revision; HX, the co-op mod
    "VMDSim.exe", "DXMG.exe",     // Vanilla? Madder.; Machine God
};
// clang-format on

// What the window and the terminal tool say while one runs.
inline constexpr std::string_view kRunningWarning =
    "Deus Ex is running. It writes its settings when it exits and may undo the changes you make now. "
    "Close the game first.";

struct RunningProgram {
    std::uint64_t id = 0; // the process id
    std::string_view program;

    bool operator==(const RunningProgram&) const = default;
};

// Every running process of one of the programs, named as the table spells
// it (GameProcess_posix.cpp, GameProcess_win.cpp). Windows lists processes
// by program file; Linux names a process after its program, cut to fifteen
// bytes, and Wine and Proton give the Windows program's path as the
// command line. Never throws for what it cannot read.
std::vector<RunningProgram> FindRunningGames(std::span<const std::string_view> programs = kGamePrograms);

// FindRunningGames at most once per interval, so that a check may come
// with every save: in between, the last answer stands.
class GameWatch {
public:
    static constexpr std::chrono::seconds kInterval{3};

    explicit GameWatch(std::chrono::steady_clock::duration interval = kInterval);

    bool Running();

private:
    std::chrono::steady_clock::duration interval_;
    std::chrono::steady_clock::time_point checked_{};
    bool everChecked_ = false;
    bool running_ = false;
};

} // namespace fenwake::game
