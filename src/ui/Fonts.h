#pragma once

#include <QFont>
#include <QString>

namespace fenwake::ui {

// The window is laid out in fixed pixels for Tahoma, Arial and Lucida
// Console; where those are missing, metric-compatible free fonts stand in.
void InstallFonts();

QFont PixelFont(const QString& family, int pixels, bool bold = false, bool underline = false);

// The window's own font: Tahoma at the 11 pixels the layout was drawn for.
QFont Tahoma(bool bold = false, bool underline = false);

} // namespace fenwake::ui
