#include "StandIn.h"
#include "config/GameProcess.h"

#include <algorithm>

namespace fenwake {
namespace {

bool Lists(std::uint64_t id)
{
    const auto found = game::FindRunningGames();
    return std::any_of(found.begin(), found.end(), [&](const auto& p) { return p.id == id; });
}

// Wine's loader runs a Windows program under its own name until it renames
// the process; the program is then its first argument. The stand-in's first
// argument is its stop file.
TEST(GameRunsProcess, IsFoundUnderWinesLoaderByItsCommandLine)
{
    test::GameStandIn wine("wine64-preloader", {}, {}, "DeusEx.exe");
    test::GameStandIn editor("gedit", {}, {}, "DeusEx.exe");
    EXPECT_TRUE(Lists(wine.Id()));
    EXPECT_FALSE(Lists(editor.Id())) << "only a loader's argument names the program";
}

} // namespace
} // namespace fenwake
