#pragma once

#include "Process.h"
#include "TempDir.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fenwake::test {

// The game's stand-in (tests/helpers/StandIn.cpp), running under a program
// name of the game's from a folder of its own. Tests that start one belong
// to suites named GameRuns*, which run alone: every Fenwake started beside
// them would see the game running.
class GameStandIn {
public:
    // With a settings file, Stop has it write the saved copy over it, as the
    // game writes its settings back when it exits. The stop file's name is
    // its first argument.
    explicit GameStandIn(std::string_view program, const std::filesystem::path& settings = {},
                         const std::filesystem::path& savedCopy = {}, std::string_view stopName = "stop")
        : dir_(MakeTempDir()), stop_(dir_ / stopName)
    {
        const std::filesystem::path exe = dir_ / program;
        std::filesystem::copy_file(FENWAKE_STAND_IN, exe);
        std::vector<std::string> args{stop_.string()};
        if (!settings.empty()) args.insert(args.end(), {settings.string(), savedCopy.string()});
        child_ = std::make_unique<ChildProcess>(exe, args);
    }
    ~GameStandIn()
    {
        child_.reset();
        RemoveTree(dir_);
    }
    GameStandIn(const GameStandIn&) = delete;
    GameStandIn& operator=(const GameStandIn&) = delete;

    std::uint64_t Id() const { return child_->Id(); }

    // Ends it the way the game ends, and waits for that.
    void Stop()
    {
        std::ofstream(stop_) << "stop";
        EXPECT_EQ(child_->Wait(std::chrono::seconds(20)), 0);
    }

private:
    std::filesystem::path dir_;
    std::filesystem::path stop_;
    std::unique_ptr<ChildProcess> child_;
};

} // namespace fenwake::test
