// An import of a whole User.ini against a plain import of only the lines it
// takes from it, side by side: what reading past, counting and classing the
// rest of a player's file costs on top of the same writes.
#include "GameFolder.h"

#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "rules/BindingSet.h"
#include "rules/ChangeHistory.h"
#include "rules/KeyAliases.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <benchmark/benchmark.h>

namespace fenwake::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTargetSize = 40 * 1024;
constexpr std::string_view kWholeFile = "whole.ini";
constexpr std::string_view kLinesFile = "lines.ini";

// The file a player would pass: a real one where the folder is there, else
// one of the same shape (all engine keys in two sections, then the aliases).
std::string WholeUserIni(benchmark::State& state)
{
    std::ifstream in(fs::path(FENWAKE_REAL_WORLD_DIR) / "player-a_User.ini", std::ios::binary);
    if (!in) {
        state.SetLabel("synthetic User.ini (no real players' files)");
        return GameUserIni(kTargetSize);
    }
    state.SetLabel("player-a_User.ini");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Only the lines an import takes from it, as an exported set holds them.
std::string BindingLines(std::string_view whole)
{
    const std::string eol = "\r\n";
    const sets::SetLines set = sets::ReadSet(whole);
    std::string out = "[" + std::string(game::kInputExtSection) + "]" + eol;
    for (const auto& [key, value] : set.keys) out.append(key).append("=").append(value).append(eol);
    for (const auto& [n, value] : set.aliases) out.append(aliases::SlotKey(n)).append("=").append(value).append(eol);
    return out;
}

// The target as it was, dated an hour back so a write need not wait for it
// to settle.
void Restore(const std::string& bytes)
{
    std::ofstream("User.ini", std::ios::binary | std::ios::trunc) << bytes;
    fs::last_write_time("User.ini", fs::file_time_type::clock::now() - std::chrono::hours(1));
}

sets::Plan Plan(std::string_view source)
{
    const auto text = files::ReadAll(files::Resolve(source));
    return sets::PlanImport(game::UserIni(), sets::ReadSet(text ? *text : std::string()), true);
}

void RunImport(benchmark::State& state, std::string_view source)
{
    const GameFolder folder(kTargetSize);
    const std::string whole = WholeUserIni(state);
    std::ofstream(std::string(kWholeFile), std::ios::binary) << whole;
    std::ofstream(std::string(kLinesFile), std::ios::binary) << BindingLines(whole);
    const std::size_t writes = Plan(kWholeFile).writes.size();
    if (writes == 0 || Plan(kLinesFile).writes.size() != writes) {
        state.SkipWithError("the two imports do not make the same writes");
        return;
    }
    // Without the write, what the two imports differ in stands out: the
    // write's flushes to disk take most of the whole.
    const bool apply = state.range(0) != 0;
    for (auto _ : state) {
        if (!apply) {
            benchmark::DoNotOptimize(Plan(source));
            continue;
        }
        state.PauseTiming();
        Restore(folder.UserIni());
        state.ResumeTiming();
        sets::ApplyPlan(game::UserIni(), Plan(source), history::Recorder::None());
    }
    state.counters["writes"] = static_cast<double>(writes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fs::file_size(fs::path(source))));
}

void BM_ImportWholeUserIni(benchmark::State& state) { RunImport(state, kWholeFile); }
void BM_ImportBindingLines(benchmark::State& state) { RunImport(state, kLinesFile); }

void Apply(benchmark::internal::Benchmark* b)
{
    b->ArgName("apply")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_ImportBindingLines)->Apply(Apply);
BENCHMARK(BM_ImportWholeUserIni)->Apply(Apply);

} // namespace
} // namespace fenwake::bench
