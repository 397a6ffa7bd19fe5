#include "app/Application.h"

#include "app/StartupTrace.h"
#include "config/Errors.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"

#include <QDir>
#include <QIcon>

namespace fenwake {
namespace {

// Rendered from packaging/fenwake.svg by scripts/make-icons.sh: Qt's SVG
// plugin may be missing where the program runs.
QIcon ProgramIcon()
{
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    return icon;
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    trace::Mark("QApplication");
    setApplicationName(QStringLiteral("Fenwake"));
    // Docks group the windows under the installed menu entry of this name.
    setDesktopFileName(QStringLiteral("org.fenwake.Fenwake"));
    setWindowIcon(ProgramIcon());
    // The window has its own confirmed close; quitting follows it alone.
    setQuitOnLastWindowClosed(false);
    ui::InstallFonts();
    trace::Mark("fonts");
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const SilentAbort&) {
        return false;
    } catch (const std::exception& e) {
        ui::ShowError(e);
        return false;
    }
}

} // namespace fenwake
