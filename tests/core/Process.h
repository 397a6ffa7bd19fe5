#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Another program run beside a test (Process_posix.cpp, Process_win.cpp).
namespace fenwake::test {

class ChildProcess {
public:
    // Starts the program in the current directory; throws when it cannot.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args);
    // A child still running is killed: no test leaves one behind.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or nothing when it has not ended within the limit.
    std::optional<int> Wait(std::chrono::milliseconds limit);

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

} // namespace fenwake::test
