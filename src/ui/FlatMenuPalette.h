#pragma once

#include "ui/ColourValue.h"

// The working colours of the flat menu painter, derived before each item or
// button is painted from its colour settings and the display. No Qt.
namespace fenwake::ui {

struct FlatMenuColours {
    ColourValue font = kSystemMenuText; // the font's colour
    ColourValue color = kSystemBtnFace;
    ColourValue iconBack = kSystemBtnFace;
    ColourValue menuBar = kSystemBtnFace;
    ColourValue select = kSystemHighlight;
    ColourValue selectBorder = kSystemHighlight;
    ColourValue selectFont = kSystemMenuText;
    ColourValue disabled = kSystemInactiveCaption;
    ColourValue separator = kSystemBtnFace;
    ColourValue checked = kSystemHighlight;
    bool useSystemColors = true;
};

struct FlatMenuPalette {
    Rgb menuBackground;
    Rgb iconColumn;
    Rgb selection;
    Rgb selectionBorder;
    Rgb selectionText;
    Rgb selectionLight;
    Rgb selectionMedium;
    Rgb menuBar;
    Rgb disabledText;
    Rgb separator;
    Rgb checked;
    Rgb frameShadow;
    Rgb frameShadow2;
    Rgb text; // the font's colour
    Rgb hot;  // a tool button under the pointer
    Rgb toolBarBackground;
};

// richColour: the display has more than 15 bits per pixel.
FlatMenuPalette DerivePalette(const FlatMenuColours& colours, bool richColour, SystemColourLookup lookup);

} // namespace fenwake::ui
