#include "ui/ColourValue.h"
#include "ui/FlatMenuPalette.h"
#include "ui/Themes.h"

#include <gtest/gtest.h>

#include <ostream>

namespace fenwake::ui {

void PrintTo(Rgb c, std::ostream* os)
{
    static const char* hex = "0123456789ABCDEF";
    *os << '#';
    for (int v : {c.r, c.g, c.b}) *os << hex[v >> 4] << hex[v & 15];
}

namespace {

constexpr Rgb Hex(std::uint32_t rrggbb) { return ToRgb(FromHex(rrggbb)); }

TEST(ColourValue, DesignValuesKeepRedInTheLowByte)
{
    EXPECT_EQ(FromHex(0x3068FF), 0x00FF6830u);
    EXPECT_EQ(FromHex(0xFDF0C8), 0x00C8F0FDu);
    EXPECT_EQ(ToRgb(0x00D7D9BDu), (Rgb{0xBD, 0xD9, 0xD7}));
    EXPECT_FALSE(IsSystemColour(0x00FFFFFFu));
    EXPECT_TRUE(IsSystemColour(kSystemWindow));
    EXPECT_EQ(SystemIndex(kSystemWindow), 5);
    EXPECT_EQ(SystemIndex(kSystemBtnFace), 15);

    static int asked = -1;
    auto lookup = [](int index) {
        asked = index;
        return Rgb{1, 2, 3};
    };
    EXPECT_EQ(Resolve(kSystemBtnFace, lookup), (Rgb{1, 2, 3}));
    EXPECT_EQ(asked, 15);
    EXPECT_EQ(Resolve(FromHex(0x123456), lookup), (Rgb{0x12, 0x34, 0x56}));
}

TEST(ColourValue, RoundingSendsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(DivideRoundHalfEven(495, 10), 50);
    EXPECT_EQ(DivideRoundHalfEven(285, 10), 28);
    EXPECT_EQ(DivideRoundHalfEven(5, 2), 2);
    EXPECT_EQ(DivideRoundHalfEven(7, 2), 4);
    EXPECT_EQ(DivideRoundHalfEven(51, 100), 1);
    EXPECT_EQ(DivideRoundHalfEven(49, 100), 0);
    EXPECT_EQ(DivideRoundHalfEven(-5, 2), -2);
    EXPECT_EQ(DivideRoundHalfEven(-7, 2), -4);
    EXPECT_EQ(DivideRoundHalfEven(-51, 100), -1);
}

TEST(ColourValue, LightenMovesEachChannelTowardsWhite)
{
    const Rgb select = Hex(0xBDD9D7);
    EXPECT_EQ(Lighten(select, 68), Hex(0xEAF3F2));
    // Red 66 * 0.75 = 49.5 goes up to 50, green 38 * 0.75 = 28.5 down to 28.
    EXPECT_EQ(Lighten(select, 75), Hex(0xEFF5F5));
    EXPECT_EQ(Lighten(select, 50), Hex(0xDEECEB));
    EXPECT_EQ(Lighten(select, 0), select);
    EXPECT_EQ(Lighten(select, 100), Hex(0xFFFFFF));
    EXPECT_EQ(Lighten(select, 250), Hex(0xFFFFFF));
    EXPECT_EQ(Lighten(Hex(0x000000), 30), Hex(0x4C4C4C)); // 76.5 rounds to 76
    EXPECT_EQ(Lighten(Hex(0x010101), 30), Hex(0x4D4D4D)); // 76.2 rounds to 76
}

TEST(ColourValue, DarkenSparesGreenTwoAndClips)
{
    EXPECT_EQ(Darken(Hex(0xBDD9D7), 50), Hex(0x8BA9A5));
    EXPECT_EQ(Darken(Hex(0x101010), 20), Hex(0x000000));
    EXPECT_EQ(Darken(Hex(0x101010), 17), Hex(0x000100));
    EXPECT_EQ(Darken(Hex(0x400040), -40), Hex(0x682A68));
    EXPECT_EQ(Darken(Hex(0xF0F0F0), -40), Hex(0xFFFFFF));
}

TEST(ColourValue, GreyRaisesTheMeanAndStopsAt240)
{
    EXPECT_EQ(Grey(Hex(0x000000), 90), Hex(0x5A5A5A));
    EXPECT_EQ(Grey(Hex(0x0A141F), 90), Hex(0x6E6E6E));  // 61 / 3 = 20, + 90
    EXPECT_EQ(Grey(Hex(0x0A141F), 500), Hex(0x787878)); // the raise stops at 100
    EXPECT_EQ(Grey(Hex(0xFFFFFF), 0), Hex(0xF0F0F0));
}

TEST(ColourValue, FewerBitsPerPixelDropTheLowBits)
{
    EXPECT_EQ(NearestDisplayColour(Hex(0x123456), 32), Hex(0x123456));
    EXPECT_EQ(NearestDisplayColour(Hex(0x123456), 24), Hex(0x123456));
    EXPECT_EQ(NearestDisplayColour(Hex(0xFFFFFF), 16), Hex(0xFFFFFF));
    EXPECT_EQ(NearestDisplayColour(Hex(0x000000), 15), Hex(0x000000));
    EXPECT_EQ(NearestDisplayColour(Hex(0xBDD9D7), 16), Hex(0xBDDBD6));
    EXPECT_EQ(NearestDisplayColour(Hex(0xBDD9D7), 15), Hex(0xBDDED6));
    EXPECT_TRUE(IsRichColour(16));
    EXPECT_FALSE(IsRichColour(15));
}

// A platform with Windows 2000's colours.
Rgb Classic(int index)
{
    switch (index) {
    case kBtnFace:
        return Hex(0xD4D0C8);
    case kBtnShadow:
        return Hex(0x808080);
    case kHighlight:
        return Hex(0x0A246A);
    case kMenuText:
        return Hex(0x000000);
    case kInactiveCaption:
        return Hex(0x808080);
    default:
        return Hex(0xFFFFFF);
    }
}

FlatMenuColours WindowSettings()
{
    FlatMenuColours c;
    c.color = FromHex(0xFDF0C8);
    c.iconBack = FromHex(0xFDF0C8);
    c.menuBar = FromHex(0x3068FF);
    c.select = FromHex(0xBDD9D7);
    c.selectBorder = FromHex(0x3068FF);
    c.selectFont = FromHex(0x400040);
    c.disabled = kSystemInactiveCaption;
    c.separator = FromHex(0xFF8000);
    c.checked = kSystemHighlight;
    c.useSystemColors = false;
    return c;
}

TEST(MenuPalette, TheWindowsSettingsOnARichDisplay)
{
    const FlatMenuPalette p = DerivePalette(WindowSettings(), true, &Classic);
    EXPECT_EQ(p.menuBackground, Hex(0xFDF0C8));
    EXPECT_EQ(p.iconColumn, Hex(0xFDF0C8));
    EXPECT_EQ(p.selection, Hex(0xBDD9D7));
    EXPECT_EQ(p.selectionBorder, Hex(0x3068FF));
    EXPECT_EQ(p.selectionText, Hex(0x400040));
    EXPECT_EQ(p.selectionLight, Hex(0xEFF5F5));
    EXPECT_EQ(p.selectionMedium, Hex(0xDEECEB));
    EXPECT_EQ(p.separator, Hex(0xFF8000));
    EXPECT_EQ(p.disabledText, Hex(0x808080));
    EXPECT_EQ(p.checked, Hex(0x0A246A));
    EXPECT_EQ(p.hot, Hex(0xEAF3F2));
    EXPECT_EQ(p.frameShadow, Darken(Hex(0xD4D0C8), 90));
    EXPECT_EQ(p.frameShadow2, Darken(Hex(0xD4D0C8), 76));
    EXPECT_EQ(p.toolBarBackground, Lighten(Hex(0xD4D0C8), 16));
    EXPECT_EQ(p.text, Hex(0x000000));
}

TEST(MenuPalette, FewerColoursUseWhiteSilverAndTheShadow)
{
    const FlatMenuPalette p = DerivePalette(WindowSettings(), false, &Classic);
    EXPECT_EQ(p.selectionLight, Hex(0xFFFFFF));
    EXPECT_EQ(p.selectionMedium, Hex(0xC0C0C0));
    EXPECT_EQ(p.frameShadow, Hex(0x808080));
    EXPECT_EQ(p.frameShadow2, Hex(0x808080));
    EXPECT_EQ(p.hot, Hex(0xBDD9D7));
    EXPECT_EQ(p.toolBarBackground, Hex(0xD4D0C8));
}

TEST(MenuPalette, SystemColoursDeriveFromTheDesktop)
{
    FlatMenuColours c = WindowSettings();
    c.useSystemColors = true;
    const FlatMenuPalette rich = DerivePalette(c, true, &Classic);
    EXPECT_EQ(rich.menuBackground, Lighten(Hex(0xD4D0C8), 86));
    EXPECT_EQ(rich.iconColumn, Lighten(Hex(0xD4D0C8), 16));
    EXPECT_EQ(rich.selection, Lighten(Hex(0x0A246A), 68));
    EXPECT_EQ(rich.selectionBorder, Hex(0x0A246A));
    EXPECT_EQ(rich.selectionText, rich.text);
    EXPECT_EQ(rich.selectionLight, Lighten(Hex(0x0A246A), 75));
    EXPECT_EQ(rich.menuBar, Hex(0xD4D0C8));
    EXPECT_EQ(rich.disabledText, Lighten(Hex(0x808080), 10));
    EXPECT_EQ(rich.separator, Lighten(Hex(0x808080), 25));
    EXPECT_EQ(rich.hot, rich.selection);

    const FlatMenuPalette poor = DerivePalette(c, false, &Classic);
    EXPECT_EQ(poor.menuBackground, Hex(0xFFFFFF));
    EXPECT_EQ(poor.iconColumn, Hex(0xD4D0C8));
    EXPECT_EQ(poor.selection, Hex(0xFFFFFF));
    EXPECT_EQ(poor.selectionMedium, Hex(0xFFFFFF));
    EXPECT_EQ(poor.separator, Hex(0x808080));
}

TEST(ThemeRecords, TheFirstThreeAreTheDesignedOnes)
{
    const ThemeRecord system = *ThemeFor(0);
    EXPECT_EQ(system.keyList, kSystemWindow);
    EXPECT_EQ(system.pageArea, kSystemBtnFace);
    EXPECT_EQ(system.mainWindow, kSystemBtnFace);
    EXPECT_EQ(system.topStrip, kSystemBtnFace);
    EXPECT_FALSE(system.menuPainter);
    EXPECT_FALSE(system.autoDetect);
    EXPECT_EQ(system.lists, ListDrawing::Plain);

    const ThemeRecord blue = *ThemeFor(1);
    EXPECT_EQ(blue.keyList, 0x00E2EDFEu);
    EXPECT_EQ(blue.pageArea, 0x00FFEEEAu);
    EXPECT_EQ(blue.mainWindow, 0x00C5F1F1u);
    EXPECT_EQ(blue.topStrip, 0x007CCAF3u);
    EXPECT_TRUE(blue.menuPainter && blue.autoDetect);
    EXPECT_EQ(blue.lists, ListDrawing::Custom);

    const ThemeRecord bright = *ThemeFor(2);
    EXPECT_EQ(bright.keyList, 0x00FDE8FDu);
    EXPECT_EQ(bright.pageArea, 0x00E8E8F9u);
    EXPECT_EQ(bright.mainWindow, 0x00D8E9ECu);
    EXPECT_EQ(bright.topStrip, 0x00ECFFFEu);
    EXPECT_EQ(DesignState(), bright);

    for (int index : {-1, 6, 7, 1000}) EXPECT_FALSE(ThemeFor(index).has_value()) << index;
    EXPECT_EQ(kThemeNames[1], "Blue && Yellow (default)");
}

TEST(ThemeRecords, TheLastThreeHaveColoursOfTheirOwn)
{
    for (int index : {3, 4, 5}) {
        const auto theme = ThemeFor(index);
        ASSERT_TRUE(theme.has_value()) << index;
        EXPECT_TRUE(theme->menuPainter) << index;
        EXPECT_EQ(theme->lists, ListDrawing::Custom) << index;
        for (ColourValue c : {theme->keyList, theme->pageArea, theme->mainWindow, theme->topStrip})
            EXPECT_FALSE(IsSystemColour(c)) << index;
        for (int other = 0; other < 6; ++other) {
            if (other != index) {
                EXPECT_NE(*ThemeFor(other), *theme) << index << " " << other;
            }
        }
    }
}

} // namespace
} // namespace fenwake::ui
