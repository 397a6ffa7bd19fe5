#include "app/Application.h"

#include "app/StartupTrace.h"
#include "config/Errors.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"

namespace fenwake {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    trace::Mark("QApplication");
    setApplicationName(QStringLiteral("Fenwake"));
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
