#include "rules/PlayerSettings.h"

#include "config/ConfigFile.h"

namespace fenwake::player {

std::optional<int> SpeedIndex(std::int32_t stored)
{
    for (std::size_t i = 0; i < kSpeedClasses.size(); ++i) {
        if (kSpeedClasses[i].value == stored) return static_cast<int>(i);
    }
    return std::nullopt;
}

Settings Read(const ConfigFile& user)
{
    Settings s;
    s.name = user.ReadText("DefaultPlayer", "Name", "Unknown player");
    s.speed = user.ReadNumber("Engine.Player", "ConfiguredInternetSpeed", 2600);
    s.helpMessages = user.ReadFlag("DeusEx.DeusExPlayer", "bHelpMessages", true);
    return s;
}

} // namespace fenwake::player
