#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/CommandLineOutput.h"
#include "app/InstanceLock.h"
#include "app/MainWindow.h"
#include "app/StartFolder.h"
#include "app/StartupTrace.h"
#include "config/GameLocator.h"
#include "shell/ShellLink.h"
#include "ui/Messages.h"

#include <QTimer>

int main(int argc, char** argv)
{
    using namespace fenwake;
    trace::Mark("main");
    if (const auto answered = AnswerCommandLine(argc, argv, CommandLineOutput)) return *answered;

    // Before anything else of the program: a second copy from the same path ends here.
    if (!AcquireInstanceLock(InstanceLockName(RunningExecutable()))) {
        QApplication app(argc, argv);
        ui::Ask(nullptr,
                QStringLiteral("Fenwake already running! :) You cannot load more than one copy of the \n\rprogram :D"),
                QStringLiteral("Information"), QMessageBox::Critical, QMessageBox::Ok);
        return 0;
    }

    trace::Mark("instance lock");
    Application app(argc, argv);
    ui::SetApplicationTitle(QStringLiteral("Fenwake"));
    const StartFolder start =
        trace::Phase("find the game's settings", [] { return ChooseStartFolder(locate::PlatformPlaces()); });
    if (!start.proceed) return 0;
    MainWindow fMain(start.switchedTo);
    trace::Mark("window built");
    fMain.show();
    trace::Mark("show");
    if (trace::Enabled()) QTimer::singleShot(0, &app, [] { trace::Mark("event loop running"); });
    // A missing configuration file asked for the end during start-up: leave
    // as soon as the loop runs, without asking.
    if (fMain.TerminateRequested()) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    app.exec();
    return 0;
}
