// Start-up to the window being mapped: Fenwake against a bare Qt window of
// the same size built in this tree, and against that window with one line
// of text, each started as a whole process on a private Xvfb. Repetitions
// are interleaved at random so that the load of a shared machine falls on
// all alike; only the ratios of one run mean much.
//
// The window counts as mapped when the X server reports the map to a
// listener on the root window: the same cost for both programs, with no
// polling. Peak memory is the child's own high-water mark (VmHWM), read
// after its first paints had time to finish.
#include "../BenchPlatform.h"
#include "../GameFolder.h"

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fenwake::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kWidth = 543;
constexpr int kHeight = 407;
// Long enough for either program's first paints on a busy machine.
constexpr auto kSettle = 400ms;
constexpr auto kMapTimeout = 20s;
constexpr std::size_t kLargeSize = 4 * 1024 * 1024;

struct Program {
    std::string name;
    std::string exe;
};
// FENWAKE_BENCH_PEER names other builds of Fenwake to run in the same
// interleaved run: one path, run as "peer", or name=path pairs separated by
// commas (an earlier commit's build, the Debian package's, the Linux archive's).
std::vector<Program> Programs()
{
    std::vector<Program> programs = {{"bare", BARE_EXE}, {"text", TEXT_EXE}, {"fenwake", FENWAKE_EXE}};
    const char* peers = std::getenv("FENWAKE_BENCH_PEER");
    for (std::string rest = peers ? peers : ""; !rest.empty();) {
        const std::size_t comma = rest.find(',');
        const std::string peer = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        if (const std::size_t eq = peer.find('='); eq != std::string::npos)
            programs.push_back({peer.substr(0, eq), peer.substr(eq + 1)});
        else if (!peer.empty())
            programs.push_back({"peer", peer});
    }
    return programs;
}
const std::vector<Program> kPrograms = Programs();

// The terminal tool beside each program (the build's, fenwake-cli beside a
// peer), its help and its search for installs, against a process that does
// nothing: what the tool's start costs.
struct CliCase {
    const char* name;
    std::vector<const char*> args;
};
const CliCase kCliCases[] = {{"help", {"--help"}}, {"where", {"where"}}};
std::vector<Program> CliPrograms()
{
    std::vector<Program> programs = {{"true", "/bin/true"}, {"fenwake", FENWAKE_CLI_EXE}};
    for (std::size_t i = 3; i < kPrograms.size(); ++i)
        programs.push_back({kPrograms[i].name, (fs::path(kPrograms[i].exe).parent_path() / "fenwake-cli").string()});
    return programs;
}
const std::vector<Program> kCliPrograms = CliPrograms();

struct Case {
    const char* name;
    const char* title;
    double target; // for the time ratio
};
const Case kCases[] = {
    {"sample", "sample folder", 1.3},
    {"player", "real player's file", 1.3},
    {"large", "4 MB User.ini", 1.5},
};
constexpr double kMemoryTarget = 1.3;

// The real players' file used: the biggest with its own DeusEx.ini.
const fs::path kRealWorld = FENWAKE_REAL_WORLD_DIR;
const char* const kPlayerUserIni = "player-b_User.ini";
const char* const kPlayerDeusExIni = "player-b_deusex.ini";

struct Outcome {
    double seconds = 0;
    double peakMiB = 0;
    std::string error;
};

long VmHwmKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

pid_t Spawn(const char* exe, const std::vector<const char*>& args, const fs::path& dir, int stdoutFd)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe));
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(stdoutFd >= 0 ? stdoutFd : null, 1);
        ::dup2(null, 2);
        if (!dir.empty() && ::chdir(dir.c_str()) != 0) ::_exit(127);
        ::execvp(exe, argv.data());
        ::_exit(127);
    }
    return pid;
}

void Reap(pid_t pid)
{
    ::kill(pid, SIGTERM);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
}

// A private X server and a listener on its root window.
class Display {
public:
    Display()
    {
        int fds[2];
        if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
        const std::string fd = std::to_string(fds[1]);
        server_ = Spawn("Xvfb", {"-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {}, -1);
        ::close(fds[1]);
        std::string number;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (server_ < 0 || number.empty()) throw std::runtime_error("Xvfb did not start (is it installed?)");
        name_ = ":" + number;
        conn_ = xcb_connect(name_.c_str(), nullptr);
        if (xcb_connection_has_error(conn_)) throw std::runtime_error("cannot connect to Xvfb at " + name_);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        if (xcb_generic_error_t* e = xcb_request_check(
                conn_, xcb_change_window_attributes_checked(conn_, root_, XCB_CW_EVENT_MASK, &mask))) {
            std::free(e);
            throw std::runtime_error("cannot listen on the root window");
        }
    }
    ~Display()
    {
        xcb_disconnect(conn_);
        if (server_ > 0) Reap(server_);
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    const std::string& Name() const { return name_; }

    void Drain()
    {
        while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) std::free(e);
    }

    // The first ordinary top-level window mapped, with the time it was seen;
    // nothing when the child ended or the time ran out first.
    std::optional<std::pair<xcb_window_t, Clock::time_point>> WaitForMap(pid_t child, std::string& error)
    {
        const Clock::time_point deadline = Clock::now() + kMapTimeout;
        pollfd pfd{xcb_get_file_descriptor(conn_), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) {
                const Clock::time_point at = Clock::now();
                const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                                    !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect;
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(e)->window;
                std::free(e);
                if (mapped) return std::make_pair(window, at);
            }
            if (xcb_connection_has_error(conn_)) {
                error = "lost the X connection";
                return std::nullopt;
            }
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child) {
                error = "the program ended before its window was mapped";
                return std::nullopt;
            }
            if (Clock::now() > deadline) {
                error = "no window was mapped in time";
                return std::nullopt;
            }
            ::poll(&pfd, 1, 20);
        }
    }

    std::pair<int, int> Size(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, window), nullptr);
        if (!g) return {0, 0};
        const std::pair<int, int> size{g->width, g->height};
        std::free(g);
        return size;
    }

private:
    pid_t server_ = -1;
    std::string name_;
    xcb_connection_t* conn_ = nullptr;
    xcb_window_t root_ = 0;
};

// The X server, the game folders and the programs' environment, shared by
// every benchmark of the run.
class Bench {
public:
    Bench() : root_(MakeTempDir())
    {
        // A copy a developer has open must not meet these in the single-instance lock.
        const fs::path runtime = root_ / "runtime";
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("DISPLAY", display_.Name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::unsetenv("SESSION_MANAGER");
        ::unsetenv("FENWAKE_TRACE_STARTUP");

        const fs::path samples = fs::path(FENWAKE_SAMPLES_DIR) / "game" / "System";
        folders_["sample"] = Folder("sample", samples / "User.ini", samples / "DeusEx.ini");
        if (fs::exists(kRealWorld / kPlayerUserIni))
            folders_["player"] = Folder("player", kRealWorld / kPlayerUserIni, kRealWorld / kPlayerDeusExIni);
        else
            missing_["player"] = "real players' files not found at " + kRealWorld.string() + ": not measured";
        const fs::path large = Folder("large", {}, samples / "DeusEx.ini");
        std::ofstream(large / "User.ini", std::ios::binary) << GameUserIni(kLargeSize);
        folders_["large"] = large;

        // The first start makes the backups and caches both programs: the
        // runs measured are the ones a player makes every day.
        for (const auto& [name, dir] : folders_)
            for (const Program& p : kPrograms) Run(p, dir);
    }
    ~Bench()
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    const fs::path* FolderOf(const std::string& name, std::string& why) const
    {
        if (const auto it = folders_.find(name); it != folders_.end()) return &it->second;
        why = missing_.count(name) ? missing_.at(name) : "no such folder";
        return nullptr;
    }

    const std::map<std::string, std::string>& Missing() const { return missing_; }

    Outcome Run(const Program& program, const fs::path& dir)
    {
        Outcome out;
        display_.Drain();
        const Clock::time_point start = Clock::now();
        const pid_t pid = Spawn(program.exe.c_str(), {}, dir, -1);
        if (pid < 0) {
            out.error = "fork failed";
            return out;
        }
        const auto mapped = display_.WaitForMap(pid, out.error);
        if (mapped) {
            out.seconds = std::chrono::duration<double>(mapped->second - start).count();
            if (const auto [w, h] = display_.Size(mapped->first); w != kWidth || h != kHeight)
                out.error = "the first window mapped was " + std::to_string(w) + "x" + std::to_string(h) +
                            ", not the main window";
            std::this_thread::sleep_for(kSettle);
            out.peakMiB = static_cast<double>(VmHwmKiB(pid)) / 1024.0;
        }
        Reap(pid);
        return out;
    }

private:
    fs::path Folder(const char* name, const fs::path& userIni, const fs::path& deusExIni)
    {
        const fs::path dir = root_ / name;
        fs::create_directories(dir);
        if (!userIni.empty()) fs::copy_file(userIni, dir / "User.ini");
        fs::copy_file(deusExIni, dir / "DeusEx.ini");
        // Copies of read-only fixtures must be writable, as a player's are.
        for (const auto& f : fs::directory_iterator(dir))
            fs::permissions(f.path(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
        return dir;
    }

    fs::path root_;
    Display display_;
    std::map<std::string, fs::path> folders_;
    std::map<std::string, std::string> missing_;
};

Bench* gBench = nullptr;

void BM_Startup(benchmark::State& state, const Program& program, const Case& c)
{
    std::string why;
    const fs::path* dir = gBench->FolderOf(c.name, why);
    if (!dir) {
        state.SkipWithError(why.c_str());
        return;
    }
    for (auto _ : state) {
        const Outcome o = gBench->Run(program, *dir);
        if (!o.error.empty()) {
            state.SkipWithError(o.error.c_str());
            break;
        }
        state.SetIterationTime(o.seconds);
        state.counters["peak_MiB"] = o.peakMiB;
    }
}

void BM_Cli(benchmark::State& state, const Program& program, const CliCase& c)
{
    std::string why;
    const fs::path* dir = gBench->FolderOf("sample", why);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const pid_t pid = Spawn(program.exe.c_str(), c.args, *dir, -1);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        // Finding no install is an answer too; only a program that did not start is not.
        if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
            state.SkipWithError(("cannot run " + program.exe).c_str());
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// The console table, then the medians side by side.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Aggregate || r.aggregate_name != "median" || r.error_occurred) continue;
            const auto peak = r.counters.find("peak_MiB");
            medians_[r.run_name.function_name] = {r.GetAdjustedRealTime(),
                                                  peak == r.counters.end() ? 0.0 : peak->second.value};
        }
    }

    void Summary(const Bench& bench) const
    {
        for (std::size_t i = 1; i < kPrograms.size(); ++i) Summary(bench, kPrograms[i].name, "bare");
        // The share of the gap that any window with text pays.
        Summary(bench, "fenwake", "text");
        std::printf("\nMedians, the terminal tool against /bin/true:\n");
        for (const CliCase& c : kCliCases)
            for (std::size_t i = 1; i < kCliPrograms.size(); ++i) {
                const auto floor = medians_.find("Cli/true/" + std::string(c.name));
                const auto ours = medians_.find("Cli/" + kCliPrograms[i].name + "/" + c.name);
                if (floor == medians_.end() || ours == medians_.end()) continue;
                const double time = ours->second.first, floorTime = floor->second.first;
                std::printf("  %-8s %-10s %6.2f ms vs %6.2f ms = %.2fx\n", c.name, kCliPrograms[i].name.c_str(), time,
                            floorTime, time / floorTime);
            }
    }

    void Summary(const Bench& bench, const std::string& program, const std::string& base) const
    {
        const bool targets = base == "bare";
        std::printf("\nMedians, %s against the %s window%s:\n", program.c_str(), base.c_str(),
                    targets ? " (target in brackets)" : "");
        for (const Case& c : kCases) {
            const auto floor = medians_.find("Startup/" + base + "/" + c.name);
            const auto ours = medians_.find("Startup/" + program + "/" + c.name);
            if (floor == medians_.end() || ours == medians_.end()) {
                const auto missing = bench.Missing().find(c.name);
                std::printf("  %-20s %s\n", c.title,
                            missing != bench.Missing().end() ? missing->second.c_str() : "not measured");
                continue;
            }
            const auto [time, peak] = ours->second;
            const auto [floorTime, floorPeak] = floor->second;
            std::printf("  %-20s mapped %6.1f ms vs %6.1f ms = %.2fx", c.title, time, floorTime, time / floorTime);
            if (targets) std::printf(" (<= %.1f)", c.target);
            std::printf("   peak %5.1f MiB vs %5.1f MiB = %.2fx", peak, floorPeak, peak / floorPeak);
            if (targets) std::printf(" (<= %.1f)", kMemoryTarget);
            std::printf("\n");
        }
    }

private:
    std::map<std::string, std::pair<double, double>> medians_;
};

} // namespace
} // namespace fenwake::bench

int main(int argc, char** argv)
{
    using namespace fenwake::bench;
    // Defaults ahead of the command line, which may override them.
    std::string defaults[] = {"--benchmark_enable_random_interleaving=true", "--benchmark_repetitions=15",
                              "--benchmark_report_aggregates_only=true"};
    std::vector<char*> args(argv, argv + argc);
    for (std::string& d : defaults) args.insert(args.begin() + 1, d.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    for (const Case& c : kCases)
        for (const Program& p : kPrograms)
            benchmark::RegisterBenchmark(("Startup/" + p.name + "/" + c.name).c_str(),
                                         [&p, &c](benchmark::State& s) { BM_Startup(s, p, c); })
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);

    for (const CliCase& c : kCliCases)
        for (const Program& p : kCliPrograms)
            benchmark::RegisterBenchmark(("Cli/" + p.name + "/" + c.name).c_str(),
                                         [&p, &c](benchmark::State& s) { BM_Cli(s, p, c); })
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);

    try {
        Bench bench;
        gBench = &bench;
        for (const auto& [name, why] : bench.Missing()) std::fprintf(stderr, "%s: %s\n", name.c_str(), why.c_str());
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.Summary(bench);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "start-up benchmark: %s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
