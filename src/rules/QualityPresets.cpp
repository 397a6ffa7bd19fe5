#include "rules/QualityPresets.h"

#include "rules/GraphicsSettings.h"

namespace fenwake::presets {
namespace {

using graphics::kDecalsDontUse;
using graphics::kDecalsUse;

struct Row {
    Choice choice;
    Details details;
    bool detailTextures;
    std::string_view message;
};

// Tested in this order; the first full match wins.
constexpr Row kRecognition[] = {
    {kHigh, {1, 2, kDecalsUse}, false, "High"},
    {kMedium, {1, 1, kDecalsDontUse}, true, "Med"},
    {kLow, {0, 0, kDecalsDontUse}, true, "low"},
};

} // namespace

std::optional<Details> Apply(int choice)
{
    switch (choice) {
    case kLow:
        return Details{0, 0, kDecalsDontUse};
    case kMedium:
        return Details{1, 1, kDecalsUse};
    case kHigh:
        return Details{1, 2, kDecalsUse};
    default:
        return std::nullopt;
    }
}

Recognised Recognise(const Details& shown, bool detailTextures)
{
    for (const Row& row : kRecognition) {
        if (row.details == shown && row.detailTextures == detailTextures) return {row.choice, row.message};
    }
    return {kCustom, {}};
}

} // namespace fenwake::presets
