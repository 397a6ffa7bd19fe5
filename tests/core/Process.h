#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Another program run beside a test (Process_posix.cpp, Process_win.cpp).
namespace fenwake::test {

// Files for a child's standard streams; through files, a child that fills
// one never blocks on a full pipe.
struct StreamFiles {
    std::filesystem::path in, out, err;
};

class ChildProcess {
public:
    // Starts the program in the current directory, with the test's own
    // streams or the given files; throws when it cannot.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                 const StreamFiles* streams = nullptr);
    // A child still running is killed: no test leaves one behind.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or nothing when it has not ended within the limit.
    std::optional<int> Wait(std::chrono::milliseconds limit);
    // The system's id of the process.
    std::uint64_t Id() const;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

struct RunResult {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end with the given standard input, capturing its
// output through files in scratch (Process.cpp).
RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::string& input, const std::filesystem::path& scratch);

} // namespace fenwake::test
