// The game-running check against a bare read of the process list, and an
// append to the history of changes against a bare flushed append, side by
// side in one run; and what the last 10,000 changes take on disk and to read.
#include "BenchPlatform.h"
#include "HistoryData.h"

#include "config/FileSystem.h"
#include "config/GameProcess.h"
#include "rules/ChangeHistory.h"
#include "rules/KeyBindings.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace fenwake::bench {
namespace {
namespace fs = std::filesystem;

void BM_ProcessListPlain(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(ListProcessesPlain());
    state.counters["processes"] = static_cast<double>(ListProcessesPlain());
}
BENCHMARK(BM_ProcessListPlain)->Unit(benchmark::kMillisecond);

void BM_FindRunningGames(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(game::FindRunningGames());
}
BENCHMARK(BM_FindRunningGames)->Unit(benchmark::kMillisecond);

// What a save costs the window while the last answer stands.
void BM_GameWatchBetweenChecks(benchmark::State& state)
{
    game::GameWatch watch;
    watch.Running();
    for (auto _ : state) benchmark::DoNotOptimize(watch.Running());
}
BENCHMARK(BM_GameWatchBetweenChecks);

void BM_AppendPlain(benchmark::State& state)
{
    const Folder folder;
    const std::string file = (folder / "plain.txt").string();
    std::ofstream(file) << history::HeaderLine("/games/Deus Ex/System");
    const std::string line = history::RecordLine(Typed(1));
    for (auto _ : state) benchmark::DoNotOptimize(AppendPlain(file.c_str(), line.data(), line.size()));
}
BENCHMARK(BM_AppendPlain)->Unit(benchmark::kMillisecond);

void BM_HistoryAppend(benchmark::State& state)
{
    const Folder folder;
    history::ChangeHistory history(folder / "history.txt", "/games/Deus Ex/System");
    const history::Record record = Typed(1);
    for (auto _ : state) history.Append({&record, 1}, Ignore);
}
BENCHMARK(BM_HistoryAppend)->Unit(benchmark::kMillisecond);

// The history at its bound: its size, and the read the start-up makes of it.
void BM_LoadTenThousand(benchmark::State& state)
{
    const Folder folder;
    history::ChangeHistory history(folder / "history.txt", "/games/Deus Ex/System");
    history.Append(TenThousand(), Ignore);
    for (auto _ : state) benchmark::DoNotOptimize(history.Load(Ignore));
    const auto bytes = static_cast<double>(fs::file_size(folder / "history.txt"));
    state.counters["file_bytes"] = bytes;
    state.counters["bytes_per_record"] = bytes / static_cast<double>(history::kKeptRecords);
}
BENCHMARK(BM_LoadTenThousand)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fenwake::bench
