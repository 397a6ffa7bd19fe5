#include "ui/Fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace fenwake::ui {

void InstallFonts()
{
    // Wine ships a Tahoma with the original's metrics; Debian installs it
    // outside the font path, so it is added for this process only.
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            if (QFile::exists(QString::fromLatin1(file))) QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
    }
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont::insertSubstitutions(QStringLiteral("Lucida Console"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

QFont PixelFont(const QString& family, int pixels, bool bold, bool underline)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

QFont Tahoma(bool bold, bool underline) { return PixelFont(QStringLiteral("Tahoma"), 11, bold, underline); }

} // namespace fenwake::ui
