#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenwake {
class ConfigFile;
}

// The player page's settings in User.ini and the connection speed classes.
namespace fenwake::player {

struct SpeedClass {
    std::string_view text;
    std::int32_t value;
};

// The items of the connection speed list, in order, with the value each stores.
inline constexpr std::array<SpeedClass, 7> kSpeedClasses{{
    {"33.6k (1600)", 1600},
    {"56k-low (2600)", 2600},
    {"56k-High (3200)", 3200},
    {"ISDN (5200)", 5200},
    {"DSL (10000)", 10000},
    {"Cable (15 000)", 15000},
    {"T1/LAN (20 000)", 20000},
}};

// The item standing for a stored speed; nothing for a value outside the
// table, which must leave the list's selection as it is.
std::optional<int> SpeedIndex(std::int32_t stored);

struct Settings {
    std::string name;
    std::int32_t speed = 0;
    bool helpMessages = true;
};

// Reads the three settings (name, speed, help messages, in that order).
Settings Read(const ConfigFile& user);

} // namespace fenwake::player
