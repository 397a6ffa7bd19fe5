#include "config/GameProcess.h"

#include "config/Ascii.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

// Linux: every process of /proc by its name, and where that says too little
// (a Wine loader, a name cut short), by its command line.
namespace fenwake::game {
namespace {

// The kernel keeps a process's name, its program's file name, to this many bytes.
constexpr std::size_t kNameLength = 15;
// Wine's loaders ("wine", "wine64", "wine-preloader", "wine64-preloader")
// until Wine renames the process after the Windows program it runs.
constexpr std::string_view kWineMark = "wine";
// A command line's first two words are all that is looked at.
constexpr std::size_t kCommandLineRead = 4096;

// The bytes of a small file under /proc, at most size of them.
std::size_t ReadSmall(int dir, const char* name, char* buf, std::size_t size)
{
    const int fd = ::openat(dir, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buf + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got;
}

std::string_view FileName(std::string_view path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::optional<std::string_view> ProgramNamed(std::string_view name, std::span<const std::string_view> programs)
{
    for (std::string_view p : programs)
        if (ascii::EqualsNoCase(name, p)) return p;
    return std::nullopt;
}

// The program a command line runs: its first word, or under a Wine loader
// the second ("wine DeusEx.exe").
std::optional<std::string_view> ProgramOfCommandLine(std::string_view line, std::span<const std::string_view> programs)
{
    const std::string_view first = line.substr(0, line.find('\0'));
    if (auto p = ProgramNamed(FileName(first), programs)) return p;
    if (!ascii::StartsWithNoCase(FileName(first), kWineMark) || first.size() >= line.size()) return std::nullopt;
    std::string_view second = line.substr(first.size() + 1);
    second = second.substr(0, second.find('\0'));
    return ProgramNamed(FileName(second), programs);
}

} // namespace

std::vector<RunningProgram> FindRunningGames(std::span<const std::string_view> programs)
{
    std::vector<RunningProgram> found;
    DIR* proc = ::opendir("/proc");
    if (!proc) return found;
    const int procFd = ::dirfd(proc);
    char path[sizeof(dirent::d_name) + 16];
    char buf[kCommandLineRead];
    while (const dirent* e = ::readdir(proc)) {
        char* end = nullptr;
        const unsigned long long id = std::strtoull(e->d_name, &end, 10);
        if (end == e->d_name || *end != '\0') continue; // not a process

        std::snprintf(path, sizeof path, "%s/comm", e->d_name);
        std::size_t n = ReadSmall(procFd, path, buf, kNameLength + 1);
        std::string_view name(buf, n);
        if (name.ends_with('\n')) name.remove_suffix(1);
        if (name.empty()) continue; // gone meanwhile

        bool cutShort = false;
        std::optional<std::string_view> program;
        for (std::string_view p : programs) {
            if (!ascii::EqualsNoCase(name, p.substr(0, kNameLength))) continue;
            if (p.size() <= kNameLength) program = p;
            cutShort = p.size() > kNameLength;
            break;
        }
        if (!program && (cutShort || ascii::StartsWithNoCase(name, kWineMark))) {
            std::snprintf(path, sizeof path, "%s/cmdline", e->d_name);
            n = ReadSmall(procFd, path, buf, sizeof buf);
            program = ProgramOfCommandLine(std::string_view(buf, n), programs);
        }
        if (program) found.push_back({id, *program});
    }
    ::closedir(proc);
    return found;
}

} // namespace fenwake::game
