// The Dayloom executable: the main window by default, headless commands
// (--version, --help, --export ...) without a display.

#include "commandline.h"
#include "ui/app/singleinstanceguard.h"
#include "ui/app/tcalendarmain.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    using namespace Dayloom;

    // Before any command: the name picks the per-user data folder, which the
    // window and the headless commands must share.
    QCoreApplication::setApplicationName(QStringLiteral("Dayloom"));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = CommandLine::Parse(arguments);
    if (command.kind != CommandLine::Kind::Window)
        return RunHeadless(command, argc, argv);

    if (!HasDisplay()) {
        std::fputs("dayloom: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "Start it on a desktop or under xvfb-run, or use a headless command;\n"
                   "see 'dayloom --help'.\n",
                   stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(DAYLOOM_VERSION));

    // One Dayloom per user: a second start hands its file to the first.
    SingleInstanceGuard guard;
    if (guard.HandOverTo(command.files))
        return 0;

    TCalendarMain window;
    QObject::connect(&guard, &SingleInstanceGuard::activationRequested, &window,
                     &TCalendarMain::ActivateFromOtherInstance);
    window.Start(command.files.value(0));
    return app.exec();
}
