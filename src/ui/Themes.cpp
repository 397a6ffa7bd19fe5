#include "ui/Themes.h"

namespace fenwake::ui {
namespace {

constexpr ThemeRecord kSystemDefined{kSystemWindow,  false,          false,         ListDrawing::Plain,
                                     kSystemBtnFace, kSystemBtnFace, kSystemBtnFace};

constexpr ThemeRecord kBlueAndYellow{
    FromHex(0xFEEDE2), true, true, ListDrawing::Custom, FromHex(0xEAEEFF), FromHex(0xF1F1C5), FromHex(0xF3CA7C)};

constexpr ThemeRecord kBright1{FromHex(0xFDE8FD), true, true, ListDrawing::Custom, FromHex(0xF9E8E8), FromHex(0xECE9D8),
                               FromHex(0xFEFFEC)};

// The last three entries were listed without colours of their own; they get
// sets in the spirit of their names so that picking one visibly does something.
constexpr ThemeRecord kBright2{FromHex(0xEEF8E6), true, true, ListDrawing::Custom, FromHex(0xEDF5E4), FromHex(0xE2EDD6),
                               FromHex(0xD2E8BE)};

constexpr ThemeRecord kBright3{FromHex(0xFFF4E8), true, true, ListDrawing::Custom, FromHex(0xF6EEF8), FromHex(0xEFE6F2),
                               FromHex(0xFBE3C4)};

// Dark, but not so dark that the pages' black captions and blue links stop
// being readable: those keep their own colours in every theme.
constexpr ThemeRecord kDark1{FromHex(0xDCE2EC), true, true, ListDrawing::Custom, FromHex(0xB9C3D3), FromHex(0xA3AFC3),
                             FromHex(0x8D9DB8)};

} // namespace

ThemeRecord DesignState() { return kBright1; }

std::optional<ThemeRecord> ThemeFor(int index)
{
    switch (index) {
    case 0:
        return kSystemDefined;
    case 1:
        return kBlueAndYellow;
    case 2:
        return kBright1;
    case 3:
        return kBright2;
    case 4:
        return kBright3;
    case 5:
        return kDark1;
    default:
        return std::nullopt;
    }
}

} // namespace fenwake::ui
