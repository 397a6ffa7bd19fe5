#include "ui/FlatMenuPalette.h"

namespace fenwake::ui {

FlatMenuPalette DerivePalette(const FlatMenuColours& colours, bool rich, SystemColourLookup lookup)
{
    auto rgb = [lookup](ColourValue c) { return Resolve(c, lookup); };
    const Rgb white{255, 255, 255};
    const Rgb btnFace = rgb(kSystemBtnFace);
    const Rgb btnShadow = rgb(kSystemBtnShadow);
    const Rgb highlight = rgb(kSystemHighlight);

    FlatMenuPalette p;
    p.text = rgb(colours.font);
    if (!colours.useSystemColors) {
        p.menuBackground = rgb(colours.color);
        p.iconColumn = rgb(colours.iconBack);
        p.selection = rgb(colours.select);
        p.selectionBorder = rgb(colours.selectBorder);
        p.selectionText = rgb(colours.selectFont);
        p.selectionLight = rich ? Lighten(p.selection, 75) : white;
        p.selectionMedium = rich ? Lighten(p.selection, 50) : Rgb{0xC0, 0xC0, 0xC0};
        p.menuBar = rgb(colours.menuBar);
        p.disabledText = rgb(colours.disabled);
        p.separator = rgb(colours.separator);
        p.checked = rgb(colours.checked);
    } else {
        p.menuBackground = rich ? Lighten(btnFace, 86) : white;
        p.iconColumn = rich ? Lighten(btnFace, 16) : btnFace;
        p.selection = rich ? Lighten(highlight, 68) : white;
        p.selectionBorder = highlight;
        p.selectionText = p.text;
        p.selectionLight = rich ? Lighten(highlight, 75) : white;
        p.selectionMedium = rich ? Lighten(highlight, 50) : white;
        p.menuBar = btnFace;
        p.disabledText = rich ? Lighten(btnShadow, 10) : btnShadow;
        p.separator = rich ? Lighten(btnShadow, 25) : btnShadow;
        p.checked = highlight;
    }
    p.frameShadow = rich ? Darken(btnFace, 90) : btnShadow;
    p.frameShadow2 = rich ? Darken(btnFace, 76) : btnShadow;
    p.hot = rich && !colours.useSystemColors ? Lighten(rgb(colours.select), 68) : p.selection;
    p.toolBarBackground = rich ? Lighten(btnFace, 16) : btnFace;
    return p;
}

} // namespace fenwake::ui
