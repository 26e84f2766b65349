#include "core/io/datafolder.h"

#include "core/io/appfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Dayloom {

QString DataFolder()
{
    const QString chosen = qEnvironmentVariable("DAYLOOM_DATA_FOLDER");
    if (!chosen.isEmpty())
        return QDir().mkpath(chosen) ? QDir::cleanPath(QDir(chosen).absolutePath()) : QString();
    const QString program = ProgramFolder();
    // An installed copy never writes into its prefix: "dayloom" (in bin) and
    // "dayloom-window" (in libexec/dayloom) would each pick its own folder.
    if (!program.isEmpty() && InstalledShareFolder().isEmpty()) {
        const QFileInfo info(program);
        if (info.isDir() && info.isWritable())
            return QDir::cleanPath(program);
    }
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty() || !QDir().mkpath(user))
        return QString();
    return QDir::cleanPath(user);
}

} // namespace Dayloom
