#include "ui/ColourValue.h"

#include <algorithm>

namespace fenwake::ui {
namespace {

std::uint8_t Clip(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

// Keeps the top bits of a channel and repeats them below, as a display with
// that many bits per channel shows it.
std::uint8_t Quantise(std::uint8_t v, int bits)
{
    const int top = v >> (8 - bits);
    int out = top << (8 - bits);
    for (int shift = 8 - 2 * bits; shift > -bits; shift -= bits) out |= shift >= 0 ? top << shift : top >> -shift;
    return static_cast<std::uint8_t>(out);
}

} // namespace

Rgb Resolve(ColourValue c, SystemColourLookup lookup)
{
    if (IsSystemColour(c)) return lookup(SystemIndex(c));
    return ToRgb(c);
}

int DivideRoundHalfEven(int n, int d)
{
    int q = n / d;
    int r = n % d;
    if (r < 0) { // toward minus infinity, so the remainder is never negative
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q % 2 != 0))) ++q;
    return q;
}

Rgb Lighten(Rgb c, int percent)
{
    const int p = std::min(percent, 100);
    auto up = [p](std::uint8_t v) { return Clip(v + DivideRoundHalfEven((255 - v) * p, 100)); };
    return {up(c.r), up(c.g), up(c.b)};
}

Rgb Darken(Rgb c, int n) { return {Clip(c.r - n), Clip(c.g - n + 2), Clip(c.b - n)}; }

Rgb Grey(Rgb c, int n)
{
    const int g = std::min((c.r + c.g + c.b) / 3 + std::min(n, 100), 240);
    const auto v = Clip(g);
    return {v, v, v};
}

Rgb NearestDisplayColour(Rgb c, int depth)
{
    if (depth >= 24 || depth < 15) return c;
    const int greenBits = depth == 16 ? 6 : 5;
    return {Quantise(c.r, 5), Quantise(c.g, greenBits), Quantise(c.b, 5)};
}

} // namespace fenwake::ui
