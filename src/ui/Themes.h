#pragma once

#include "ui/ColourValue.h"

#include <array>
#include <optional>
#include <string_view>

// The window's colour themes: what each entry of the theme list sets. No Qt.
namespace fenwake::ui {

// How the key list and the alias list draw their items.
enum class ListDrawing {
    Plain,  // the platform draws them in the list's own colours
    Custom, // the list item painter, fixed-height rows
};

struct ThemeRecord {
    ColourValue keyList = 0;  // ListBox1
    bool menuPainter = false; // XPMenu1.Active
    bool autoDetect = false;  // XPMenu1.AutoDetect
    ListDrawing lists = ListDrawing::Plain;
    ColourValue pageArea = 0;   // Notebook1
    ColourValue mainWindow = 0; // fMain
    ColourValue topStrip = 0;   // CoolBar1
    friend constexpr bool operator==(const ThemeRecord&, const ThemeRecord&) = default;
};

// The theme list's entries; an entry's position is its stored index.
inline constexpr std::array<std::string_view, 6> kThemeNames = {
    "System-defined (designed for Windows 2000)",
    "Blue && Yellow (default)",
    "Bright 1",
    "Bright 2",
    "Bright 3",
    "Dark 1",
};

// The design's cream: the command box at rest and the flat menu's body.
inline constexpr ColourValue kCream = FromHex(0xFDF0C8);

// What the window shows before any theme is applied (the colours of "Bright 1").
ThemeRecord DesignState();

// The record of a list index; nothing for an index outside the list
// (-1 included), which leaves the window as it is.
std::optional<ThemeRecord> ThemeFor(int index);

} // namespace fenwake::ui
