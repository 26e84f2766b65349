// The Dayloom window, started by "dayloom" with the same arguments.

#include "commandline.h"
#include "ui/app/singleinstanceguard.h"
#include "ui/app/tcalendarmain.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    using namespace Dayloom;

    QCoreApplication::setApplicationName(QStringLiteral("Dayloom"));
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(DAYLOOM_VERSION));

    // The arguments were checked by "dayloom"; here only the files matter.
    const CommandLine command = CommandLine::Parse(QCoreApplication::arguments());

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
