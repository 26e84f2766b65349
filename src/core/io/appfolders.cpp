#include "core/io/appfolders.h"

#include <QCoreApplication>

namespace Dayloom {

namespace {
QString &ProgramFolderOverride()
{
    static QString path;
    return path;
}
} // namespace

QString ProgramFolder()
{
    if (!ProgramFolderOverride().isEmpty())
        return ProgramFolderOverride();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

void SetProgramFolder(const QString &path)
{
    ProgramFolderOverride() = path;
}

} // namespace Dayloom
