#include "ui/SystemColours.h"

#include <QApplication>
#include <QPalette>

#include <array>
#include <optional>

namespace fenwake::ui {
namespace {

std::optional<QPalette::ColorRole> RoleOf(int index)
{
    switch (index) {
    case kMenu:
    case kBtnFace:
        return QPalette::Button;
    case kWindow:
        return QPalette::Base;
    case kMenuText:
    case kWindowText:
        return QPalette::Text;
    case kHighlight:
        return QPalette::Highlight;
    case kHighlightText:
        return QPalette::HighlightedText;
    case kBtnShadow:
        return QPalette::Dark;
    case kBtnText:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light; // button highlight
    case 21:
        return QPalette::Shadow; // dark 3D shadow
    case 22:
        return QPalette::Midlight; // 3D light
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    case 26:
        return QPalette::Link;
    default:
        return std::nullopt;
    }
}

// The rest, which the toolkit's palette does not carry: Windows 2000's own values.
constexpr std::array<std::uint32_t, 31> kClassic = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xD4D0C8,
    0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040,
    0xD4D0C8, 0x000000, 0xFFFFE1, 0xB5B5B5, 0x0000FF, 0xA6CAF0, 0xC0C0C0, 0x316AC5, 0xECE9D8,
};

} // namespace

Rgb SystemColour(int index)
{
    if (const auto role = RoleOf(index)) return ToRgb(QApplication::palette().color(QPalette::Active, *role));
    if (index == kGrayText) return ToRgb(QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    if (index >= 0 && index < static_cast<int>(kClassic.size())) return ToRgb(QColor(QRgb(kClassic[index])));
    return {};
}

Rgb ToRgb(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return {static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
            static_cast<std::uint8_t>(rgb.blue())};
}

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QColor ToQColor(ColourValue c) { return ToQColor(Resolve(c, &SystemColour)); }

} // namespace fenwake::ui
