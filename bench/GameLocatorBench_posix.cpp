// The game-folder locator, run as start-up runs it from a desktop menu (in
// the home folder), against the least any search of the same places must
// do: list each folder the platform names, and the starting folder's
// parents, once.
#include "BenchPlatform.h"

#include "config/GameLocator.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <dirent.h>

namespace fenwake::bench {
namespace {
namespace fs = std::filesystem;

// A home folder of its own for as long as it lives, with no variable that
// would lead the locator elsewhere.
class FakeHome {
public:
    explicit FakeHome(bool withGames)
    {
        for (auto& [name, value] : saved_)
            if (const char* v = std::getenv(name)) value = v;
        home_ = MakeTempDir();
        ::setenv("HOME", home_.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("WINEPREFIX");
        if (withGames) Populate();
    }
    ~FakeHome()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name, value->c_str(), 1);
            else
                ::unsetenv(name);
        }
        std::error_code ec;
        fs::remove_all(home_, ec);
    }
    FakeHome(const FakeHome&) = delete;
    FakeHome& operator=(const FakeHome&) = delete;

    const fs::path& Path() const { return home_; }

private:
    // A System folder as big as the game's, with its settings.
    static void Game(const fs::path& system)
    {
        fs::create_directories(system);
        for (int i = 0; i < 300; ++i) std::ofstream(system / ("Package" + std::to_string(i) + ".u"));
        for (const char* name : {"DeusEx.exe", "DeusExe.exe", "User.ini", "DeusEx.ini"}) std::ofstream(system / name);
        for (const char* folder : {"Maps", "Music", "Sounds", "Textures", "Help"})
            fs::create_directories(system.parent_path() / folder);
    }

    // Steam with the game played through Proton and Kentie's launcher, and
    // Wine's default prefix with a GOG copy.
    void Populate() const
    {
        const fs::path steam = home_ / ".local/share/Steam";
        Game(steam / "steamapps/common/Deus Ex/System");
        const fs::path documents = steam / "steamapps/compatdata/6910/pfx/drive_c/users/steamuser/Documents";
        fs::create_directories(documents / "Deus Ex/System");
        std::ofstream(documents / "Deus Ex/System/User.ini");
        std::ofstream(steam / "steamapps/libraryfolders.vdf")
            << "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" << steam.string() << "\"\n\t}\n}\n";
        fs::create_directories(home_ / ".steam");
        fs::create_directory_symlink(steam, home_ / ".steam/steam");
        const fs::path drive = home_ / ".wine/drive_c";
        Game(drive / "GOG Games/Deus Ex GOTY/System");
        for (const char* folder : {"Program Files/Common Files", "Program Files (x86)/Common Files", "windows/system32",
                                   "users/me/Documents", "users/Public/Documents"})
            fs::create_directories(drive / folder);
    }

    fs::path home_;
    std::pair<const char*, std::optional<std::string>> saved_[3] = {
        {"HOME", {}}, {"XDG_DATA_HOME", {}}, {"WINEPREFIX", {}}};
};

// The folders the platform names, and the starting folder with its parents.
std::vector<std::string> FolderList(const fs::path& start)
{
    const locate::Places places = locate::PlatformPlaces();
    std::vector<std::string> folders;
    for (const auto& list : {places.steamRoots, places.winePrefixes})
        for (const fs::path& folder : list) folders.push_back(folder.string());
    for (fs::path at = start; at.has_relative_path(); at = at.parent_path()) folders.push_back(at.string());
    folders.push_back("/");
    return folders;
}

void RunFloor(benchmark::State& state, bool withGames)
{
    const FakeHome home(withGames);
    const std::vector<std::string> folders = FolderList(home.Path());
    for (auto _ : state) {
        std::size_t entries = 0;
        for (const std::string& folder : folders) {
            if (DIR* d = ::opendir(folder.c_str())) {
                while (::readdir(d) != nullptr) ++entries;
                ::closedir(d);
            }
        }
        benchmark::DoNotOptimize(entries);
    }
}

void RunLocator(benchmark::State& state, bool withGames)
{
    const FakeHome home(withGames);
    if (locate::FindInstalls(home.Path()).size() != (withGames ? 2u : 0u)) state.SkipWithError("unexpected installs");
    for (auto _ : state) {
        benchmark::DoNotOptimize(locate::FindInstalls(home.Path()));
    }
}

void BM_ListingFloor(benchmark::State& state) { RunFloor(state, state.range(0) != 0); }
void BM_FindInstalls(benchmark::State& state) { RunLocator(state, state.range(0) != 0); }

void Homes(benchmark::internal::Benchmark* b) { b->ArgName("games")->Arg(0)->Arg(1)->UseRealTime(); }

BENCHMARK(BM_ListingFloor)->Apply(Homes);
BENCHMARK(BM_FindInstalls)->Apply(Homes);

} // namespace
} // namespace fenwake::bench
