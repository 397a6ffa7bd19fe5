// The INI engine against the least any reader or crash-safe writer of the
// same file must do, run side by side so the ratio is what matters.
#include "GameFolder.h"

#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "config/IniText.h"
#include "rules/KeyBindings.h"

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace fenwake::bench {
namespace {

constexpr std::size_t kGameSize = 40 * 1024;
constexpr std::size_t kLargeSize = 4 * 1024 * 1024;

// The last line of the file: every reader has to get through all of it.
constexpr std::string_view kSection = "Extension.InputExt";
constexpr std::string_view kKey = "Aliases[39]";

void RunReadBaseline(benchmark::State& state)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    std::unique_ptr<char[]> buf;
    for (auto _ : state) {
        const std::size_t size = ReadPlain("User.ini", buf);
        std::size_t lines = 0;
        for (const char *p = buf.get(), *end = p + size; p < end; ++lines) {
            const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (!hit) break;
            p = static_cast<const char*>(hit) + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void RunReadText(benchmark::State& state, const char* programName)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    const ConfigFile ini(programName);
    if (ini.ReadText(kSection, kKey, "").empty()) state.SkipWithError("the last key was not found");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ini.ReadText(kSection, kKey, "NOBIND"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// Start-up's 44 reads of User.ini: the forty alias slots and four settings.
std::vector<std::pair<std::string, std::string>> StartupKeys()
{
    std::vector<std::pair<std::string, std::string>> keys;
    for (int i = 0; i < 40; ++i) keys.emplace_back("Extension.InputExt", "Aliases[" + std::to_string(i) + "]");
    keys.insert(keys.end(), {{"DefaultPlayer", "Name"},
                             {"Engine.Player", "ConfiguredInternetSpeed"},
                             {"DeusEx.DeusExPlayer", "bHelpMessages"},
                             {"Extension.InputExt", "F1"}});
    return keys;
}

template <typename Read>
void RunStartupReads(benchmark::State& state, Read read)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    const auto keys = StartupKeys();
    for (auto _ : state) {
        for (const auto& [section, key] : keys) benchmark::DoNotOptimize(read(section, key));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_StartupReads(benchmark::State& state)
{
    const ConfigFile ini(".\\User.ini");
    RunStartupReads(state,
                    [&](const std::string& section, const std::string& key) { return ini.ReadText(section, key, ""); });
}

// Each read reading and scanning the whole file, as every read once did.
void BM_StartupReadsUncached(benchmark::State& state)
{
    RunStartupReads(state, [](const std::string& section, const std::string& key) {
        const auto bytes = files::ReadAll(files::Resolve(".\\User.ini"));
        const auto raw = bytes ? ini::FindValue(*bytes, section, key) : std::nullopt;
        return raw ? ini::ShapeValue(*raw) : std::string();
    });
}

// What the start-up pays once: the file read and parsed, then the 44 reads
// answered from that parse. Beside BM_ReadBaseline, the read alone.
void BM_StartupReadsFirst(benchmark::State& state)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    const auto keys = StartupKeys();
    for (auto _ : state) {
        const auto bytes = files::ReadAll(files::Resolve(".\\User.ini"));
        const ini::Index index(bytes ? *bytes : std::string_view());
        for (const auto& [section, key] : keys) {
            const auto raw = index.Find(section, key);
            benchmark::DoNotOptimize(raw ? ini::ShapeValue(*raw) : std::string());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_ReadBaseline(benchmark::State& state) { RunReadBaseline(state); }
void BM_ReadText(benchmark::State& state) { RunReadText(state, ".\\User.ini"); }
// The file is User.ini; the attribute reset and the backups spell it user.ini.
void BM_ReadTextOtherCase(benchmark::State& state) { RunReadText(state, ".\\user.ini"); }

// Read, write a flushed temporary beside the file, rename it over the file;
// durable also makes the rename itself survive a power cut, as every write
// of the engine does.
void RunWriteBaseline(benchmark::State& state, bool durable)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    std::unique_ptr<char[]> buf;
    for (auto _ : state) {
        const std::size_t size = ReadPlain("User.ini", buf);
        if (size == 0 || !ReplacePlain("User.ini", buf.get(), size, durable)) {
            state.SkipWithError("the plain replacement failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_WriteBaseline(benchmark::State& state) { RunWriteBaseline(state, false); }
void BM_WriteBaselineDurable(benchmark::State& state) { RunWriteBaseline(state, true); }

void BM_WriteText(benchmark::State& state)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    const ConfigFile ini(".\\User.ini");
    // Two values of different lengths, so every write moves the bytes after it.
    const std::string values[2] = {"(Command=\"Say first\",Alias=Alias39)",
                                   "(Command=\"Say second one\",Alias=Alias39)"};
    std::size_t i = 0;
    for (auto _ : state) {
        ini.WriteText(kSection, kKey, values[i++ & 1]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// One change of the command box: the key's binding in both sections.
void BM_WriteBinding(benchmark::State& state)
{
    const GameFolder folder(static_cast<std::size_t>(state.range(0)));
    const std::string values[2] = {"ActivateBelt 0 | onrelease ParseLeftClick", "ActivateBelt 0"};
    std::size_t i = 0;
    for (auto _ : state) {
        keys::WriteBinding(game::UserIni(), "F10", values[i++ & 1], history::Recorder::None());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void Sizes(benchmark::internal::Benchmark* b) { b->ArgName("bytes")->Arg(kGameSize)->Arg(kLargeSize)->UseRealTime(); }

BENCHMARK(BM_ReadBaseline)->Apply(Sizes);
BENCHMARK(BM_ReadText)->Apply(Sizes);
BENCHMARK(BM_StartupReads)->Apply(Sizes);
BENCHMARK(BM_StartupReadsFirst)->Apply(Sizes);
BENCHMARK(BM_StartupReadsUncached)->Apply(Sizes);
BENCHMARK(BM_ReadTextOtherCase)->ArgName("bytes")->Arg(kGameSize)->UseRealTime();
BENCHMARK(BM_WriteBaseline)->Apply(Sizes);
BENCHMARK(BM_WriteBaselineDurable)->Apply(Sizes);
BENCHMARK(BM_WriteText)->Apply(Sizes);
BENCHMARK(BM_WriteBinding)->Apply(Sizes);

} // namespace
} // namespace fenwake::bench
