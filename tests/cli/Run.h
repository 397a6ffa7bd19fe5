#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs a program to its end with the given standard input, capturing its
// output (Run_posix.cpp, Run_win.cpp).
namespace fenwake::test {

struct RunResult {
    int code = -1;
    std::string out;
    std::string err;
};

// In the current directory. The streams pass through files in scratch, so
// a child that fills one of them never blocks on a full pipe.
RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::string& input, const std::filesystem::path& scratch);

} // namespace fenwake::test
