#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenwake {
class ConfigFile;
}

// The graphics page's settings in DeusEx.ini and how each maps to its control.
namespace fenwake::graphics {

// A drop-down list with no item selected.
inline constexpr int kNone = -1;

inline constexpr std::array<std::string_view, 2> kSkinItems{"Low", "High"};
inline constexpr std::array<std::string_view, 3> kWorldItems{"Low", "Medium", "High"};
inline constexpr std::array<std::string_view, 2> kDecalItems{"Use", "Don't use"};
inline constexpr int kDecalsUse = 0;
inline constexpr int kDecalsDontUse = 1;

// The resolution lists: the same index in both makes a common screen mode.
inline constexpr std::array<std::string_view, 5> kWidthItems{"640", "800", "1024", "1280", "1600"};
inline constexpr std::array<std::string_view, 5> kHeightItems{"480", "600", "768", "1024", "1200"};

// The brightness track bar runs from 0 to 20.
inline constexpr int kGammaMax = 20;

struct Settings {
    std::string skinDetail;
    std::string textureDetail;
    bool decals = true;
    bool detailTextures = true;
    bool screenFlashes = false;
    bool fullscreen = true;
    std::string brightness;
    std::int32_t width = 640;
    std::int32_t height = 480;
};

// Reads the nine settings in the load's order: skin, world, decals, detail
// textures, screen flashes, full screen, brightness, width, height.
Settings Read(const ConfigFile& system);

// The list items the stored texts select; texts are matched exactly, with
// case, and anything else selects nothing (the list keeps its selection).
std::optional<int> SkinIndex(std::string_view stored);
std::optional<int> WorldIndex(std::string_view stored);
int DecalsIndex(bool decals);

// The track bar position of a stored brightness; only the table's exact
// six-decimal texts have one. Positions 4 and 5 are never the result.
std::optional<int> BrightnessPosition(std::string_view stored);

// The stored text a position stands for; nothing for 4 and 5.
std::optional<std::string_view> BrightnessText(int position);

} // namespace fenwake::graphics
