#include "Process.h"

#include <cerrno>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace fenwake::test {

struct ChildProcess::Native {
    pid_t pid = -1;
};

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const StreamFiles* streams)
    : native_(std::make_unique<Native>())
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (streams) {
        posix_spawn_file_actions_addopen(&actions, 0, streams->in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, streams->out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, streams->err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    std::vector<std::string> all{program.string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int e = ::posix_spawn(&native_->pid, all[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (e != 0) {
        throw std::system_error(e, std::generic_category(), "posix_spawn " + all[0]);
    }
}

ChildProcess::~ChildProcess()
{
    if (native_->pid > 0) {
        ::kill(native_->pid, SIGKILL);
        ::waitpid(native_->pid, nullptr, 0);
    }
}

std::uint64_t ChildProcess::Id() const { return static_cast<std::uint64_t>(native_->pid); }

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit)
{
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (native_->pid > 0) {
        int status = 0;
        const pid_t done = ::waitpid(native_->pid, &status, WNOHANG);
        if (done == native_->pid) {
            native_->pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= giveUp) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

} // namespace fenwake::test
