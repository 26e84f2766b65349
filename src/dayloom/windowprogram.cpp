#include "windowprogram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace Dayloom {

namespace {

QString OwnDirectory()
{
    // No QCoreApplication exists yet, so ask the kernel where we were loaded from.
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

} // namespace

QString WindowProgramPath()
{
    const QDir own(OwnDirectory());
    const QString name = QStringLiteral("dayloom-window");
    for (const QString &candidate :
         {own.filePath(name), own.filePath(QStringLiteral("../libexec/dayloom/") + name)}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return {};
}

int RunWindowProgram(char *argv[])
{
    const QString program = WindowProgramPath();
    if (program.isEmpty()) {
        std::fprintf(stderr,
                     "dayloom: the window program 'dayloom-window' was not found beside %s;\n"
                     "the installation is incomplete. Headless commands still work: see "
                     "'dayloom --help'.\n",
                     qPrintable(QDir::toNativeSeparators(OwnDirectory())));
        return 1;
    }
    const QByteArray path = QFile::encodeName(program);
    ::execv(path.constData(), argv);
    std::fprintf(stderr, "dayloom: cannot start %s: %s\n", path.constData(), std::strerror(errno));
    return 1;
}

} // namespace Dayloom
