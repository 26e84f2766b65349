// The Dayloom window, started by "dayloom" with the same arguments.

#include "commandline.h"
#include "core/common/scriptwarningfilter.h"
#include "core/holidays/holidaylinksource.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "ui/app/endwindowprogram.h"
#include "ui/app/singleinstanceguard.h"
#include "ui/app/tcalendarmain.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

namespace {

// The installed theme's icon when there is one, else the copy built into the
// program (packaging/icons), so the title bar and the About box show it either way.
QIcon ApplicationIcon()
{
    QIcon builtIn;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/dayloom/%1/dayloom.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("dayloom"), builtIn);
}

// The window until it is closed, with everything it owns destroyed on return.
int RunWindow(const Dayloom::CommandLine &command, QApplication &app)
{
    using namespace Dayloom;
    // One Dayloom per user: a second start hands its file to the first.
    SingleInstanceGuard guard;
    if (guard.HandOverTo(command.files))
        return 0;

    // The kinds of placed objects, before the window makes its page.
    RegisterObjectKinds(ObjectKindRegistry::Application());
    // Linked holiday sets expand from the shipped data; Add Holidays reports
    // the files left out.
    UseShippedHolidays();
    TCalendarMain window;
    QObject::connect(&guard, &SingleInstanceGuard::activationRequested, &window,
                     &TCalendarMain::ActivateFromOtherInstance);
    window.Start(command.files.value(0));
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace Dayloom;

    SilenceMissingScriptWarnings();
    QCoreApplication::setApplicationName(QStringLiteral("Dayloom"));
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(DAYLOOM_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("dayloom"));
    QApplication::setWindowIcon(ApplicationIcon());

    // The arguments were checked by "dayloom"; here only the files matter.
    const CommandLine command = CommandLine::Parse(QCoreApplication::arguments());

    return EndWindowProgram(RunWindow(command, app));
}
