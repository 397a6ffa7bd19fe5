#include "app/TApplication.h"

#include "app/StartupTrace.h"
#include "config/Errors.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"

namespace fenwake {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    trace::Mark("QApplication");
    setApplicationName(QStringLiteral("Fenwake"));
    // The window has its own confirmed close; quitting follows it alone.
    setQuitOnLastWindowClosed(false);
    ui::InstallFonts();
    trace::Mark("fonts");
}

bool TApplication::notify(QObject* receiver, QEvent* event)
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
