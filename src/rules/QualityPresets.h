#pragma once

#include <array>
#include <optional>
#include <string_view>

// The quick graphics quality choices: what each sets, and which one a set of
// detail controls is taken for at start-up.
namespace fenwake::presets {

enum Choice : int { kLow = 0, kMedium = 1, kHigh = 2, kCustom = 3 };

inline constexpr std::array<std::string_view, 4> kItems{"Low", "Medium", "High", "Custom settings "};

// The selected indices of the three detail lists (graphics::kNone for none).
struct Details {
    int skin;
    int world;
    int decals;
    friend bool operator==(const Details&, const Details&) = default;
};

// What picking a choice sets; nothing for "Custom settings " or no choice.
std::optional<Details> Apply(int choice);

struct Recognised {
    Choice choice;
    std::string_view message; // empty: no message
};

// The first row that the controls match, or kCustom without a message. The
// rows also ask for the detail textures box, which applying never sets, and
// the Medium row asks for decals off while applying Medium turns them on.
Recognised Recognise(const Details& shown, bool detailTextures);

} // namespace fenwake::presets
