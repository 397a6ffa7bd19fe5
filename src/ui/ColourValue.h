#pragma once

#include <cstdint>

// Colours as the window's design data holds them: 0x00BBGGRR (red in the low
// byte), or a system colour, 0x80000000 plus the platform's colour index,
// which is looked up only when something is painted. No Qt here.
namespace fenwake::ui {

using ColourValue = std::uint32_t;

// The platform's colour indices the window uses.
enum SystemColourIndex : int {
    kInactiveCaption = 3,
    kMenu = 4,
    kWindow = 5,
    kMenuText = 7,
    kWindowText = 8,
    kHighlight = 13,
    kHighlightText = 14,
    kBtnFace = 15,
    kBtnShadow = 16,
    kGrayText = 17,
    kBtnText = 18,
};

constexpr ColourValue kSystemColourFlag = 0x80000000u;

constexpr ColourValue kSystemInactiveCaption = kSystemColourFlag | kInactiveCaption;
constexpr ColourValue kSystemMenu = kSystemColourFlag | kMenu;
constexpr ColourValue kSystemWindow = kSystemColourFlag | kWindow;
constexpr ColourValue kSystemMenuText = kSystemColourFlag | kMenuText;
constexpr ColourValue kSystemWindowText = kSystemColourFlag | kWindowText;
constexpr ColourValue kSystemHighlight = kSystemColourFlag | kHighlight;
constexpr ColourValue kSystemHighlightText = kSystemColourFlag | kHighlightText;
constexpr ColourValue kSystemBtnFace = kSystemColourFlag | kBtnFace;
constexpr ColourValue kSystemBtnShadow = kSystemColourFlag | kBtnShadow;

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr bool IsSystemColour(ColourValue c) { return (c & kSystemColourFlag) != 0; }
constexpr int SystemIndex(ColourValue c) { return static_cast<int>(c & 0xFFu); }

// The design value of an RGB colour.
constexpr ColourValue ToColourValue(Rgb c)
{
    return static_cast<ColourValue>(c.r) | static_cast<ColourValue>(c.g) << 8 | static_cast<ColourValue>(c.b) << 16;
}

// #RRGGBB as written in the tables, as a design value.
constexpr ColourValue FromHex(std::uint32_t rrggbb)
{
    return ToColourValue({static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
                          static_cast<std::uint8_t>(rrggbb)});
}

// The RGB of a design value that is not a system colour (any flag bits in
// the high byte are ignored, as the platform does).
constexpr Rgb ToRgb(ColourValue c)
{
    return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16)};
}

// Looks up a system colour index on the running platform.
using SystemColourLookup = Rgb (*)(int index);

// A design value as RGB, system colours looked up now.
Rgb Resolve(ColourValue c, SystemColourLookup lookup);

// n / d rounded to the nearest integer, halves to the even neighbour. d > 0.
int DivideRoundHalfEven(int n, int d);

// Each channel moves p percent (at most 100) of the way towards 255.
Rgb Lighten(Rgb c, int percent);

// Red and blue lose n, green n - 2; each clipped to 0..255. A negative n brightens.
Rgb Darken(Rgb c, int n);

// The grey of the channels' mean raised by min(n, 100), at most 240.
Rgb Grey(Rgb c, int n);

// The colour a display of this many bits per pixel shows for c. Displays of
// 24 bits and more show every colour; 15- and 16-bit ones drop low bits.
Rgb NearestDisplayColour(Rgb c, int depth);

// More than 15 bits per pixel.
constexpr bool IsRichColour(int depth) { return depth > 15; }

} // namespace fenwake::ui
