#pragma once

#include "ui/ColourValue.h"

// The working colours of the flat menu painter, derived before each item or
// button is painted from its colour settings and the display. No Qt.
namespace fenwake::ui {

struct XPMenuColours {
    TColor font = clMenuText; // the font's colour
    TColor color = clBtnFace;
    TColor iconBack = clBtnFace;
    TColor menuBar = clBtnFace;
    TColor select = clHighlight;
    TColor selectBorder = clHighlight;
    TColor selectFont = clMenuText;
    TColor disabled = clInactiveCaption;
    TColor separator = clBtnFace;
    TColor checked = clHighlight;
    bool useSystemColors = true;
};

struct XPMenuPalette {
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
XPMenuPalette DerivePalette(const XPMenuColours& colours, bool richColour, SystemColourLookup lookup);

} // namespace fenwake::ui
