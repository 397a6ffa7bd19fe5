#include "rules/GraphicsSettings.h"

#include "config/ConfigFile.h"

#include <utility>

namespace fenwake::graphics {
namespace {

constexpr std::string_view kClient = "WinDrv.WindowsClient";
constexpr std::string_view kOpenGL = "OpenGLDrv.OpenGLRenderDevice";

// The game stores brightness as a float with six decimals; the bar has one
// step per 0.05, with the four lowest values squeezed onto positions 0 to 3.
constexpr std::pair<std::string_view, int> kBrightness[] = {
    {"0.100000", 0},  {"0.150000", 1},  {"0.200000", 2},  {"0.250000", 3},  {"0.300000", 6},
    {"0.350000", 7},  {"0.400000", 8},  {"0.450000", 9},  {"0.500000", 10}, {"0.550000", 11},
    {"0.600000", 12}, {"0.650000", 13}, {"0.700000", 14}, {"0.750000", 15}, {"0.800000", 16},
    {"0.850000", 17}, {"0.900000", 18}, {"0.950000", 19}, {"1.000000", 20},
};

template <std::size_t N>
std::optional<int> IndexOf(const std::array<std::string_view, N>& items, std::string_view text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (items[i] == text) return static_cast<int>(i);
    }
    return std::nullopt;
}

} // namespace

Settings Read(const ConfigFile& system)
{
    Settings s;
    s.skinDetail = system.ReadText(kClient, "SkinDetail", "High");
    s.textureDetail = system.ReadText(kClient, "TextureDetail", "High");
    s.decals = system.ReadFlag(kClient, "Decals", true);
    s.detailTextures = system.ReadFlag(kOpenGL, "DetailTextures", true);
    s.screenFlashes = system.ReadFlag(kClient, "ScreenFlashes", false);
    s.fullscreen = system.ReadFlag(kClient, "StartupFullscreen", true);
    s.brightness = system.ReadText(kClient, "Brightness", "0.0");
    s.width = system.ReadNumber(kClient, "FullscreenViewportX", 640);
    s.height = system.ReadNumber(kClient, "FullscreenViewportY", 480);
    return s;
}

std::optional<int> SkinIndex(std::string_view stored) { return IndexOf(kSkinItems, stored); }

std::optional<int> WorldIndex(std::string_view stored) { return IndexOf(kWorldItems, stored); }

int DecalsIndex(bool decals) { return decals ? kDecalsUse : kDecalsDontUse; }

std::optional<int> BrightnessPosition(std::string_view stored)
{
    for (const auto& [text, position] : kBrightness) {
        if (text == stored) return position;
    }
    return std::nullopt;
}

std::optional<std::string_view> BrightnessText(int position)
{
    for (const auto& [text, at] : kBrightness) {
        if (at == position) return text;
    }
    return std::nullopt;
}

} // namespace fenwake::graphics
