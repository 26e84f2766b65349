// The Dayloom executable: headless commands (--version, --help, --export ...)
// run here without a display; the window is handed to "dayloom-window".

#include "commandline.h"
#include "core/common/scriptwarningfilter.h"
#include "core/holidays/holidaylinksource.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "windowprogram.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

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
    if (command.kind != CommandLine::Kind::Window) {
        SilenceMissingScriptWarnings();
        // Designs are read with the program's kinds of placed objects.
        RegisterObjectKinds(ObjectKindRegistry::Application());
        // Holiday sets that do not parse are left out, named with their line.
        UseShippedHolidays([](const QStringList &errors) {
            for (const QString &error : errors)
                std::fprintf(stderr, "dayloom: holiday set left out: %s\n", qPrintable(error));
        });
        return RunHeadless(command, argc, argv);
    }

    if (!HasDisplay()) {
        std::fputs("dayloom: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "Start it on a desktop or under xvfb-run, or use a headless command;\n"
                   "see 'dayloom --help'.\n",
                   stderr);
        return 2;
    }
    return RunWindowProgram(argv);
}
