#include "core/io/appfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString AssetPath(const QString &relative)
{
    const QString beside = QDir(ProgramFolder()).filePath(relative);
    if (QFileInfo::exists(beside) || !ProgramFolderOverride().isEmpty())
        return beside;
    const QString installed = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("dayloom/") + relative,
        QStandardPaths::LocateFile | QStandardPaths::LocateDirectory);
    return installed.isEmpty() ? beside : installed;
}

} // namespace Dayloom
