#include "core/io/appfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

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

QString InstalledShareFolder()
{
    const QString program = ProgramFolder();
    if (program.isEmpty())
        return {};
    const QDir folder(program);
    // <prefix>/bin/dayloom and <prefix>/libexec/dayloom/dayloom-window.
    QStringList candidates{QStringLiteral("../share/dayloom")};
    if (QFileInfo(program).fileName() == QLatin1String("dayloom"))
        candidates << QStringLiteral("../../share/dayloom");
    for (const QString &up : candidates) {
        const QString share = QDir::cleanPath(folder.absoluteFilePath(up));
        if (QFileInfo(share).isDir())
            return share;
    }
    return {};
}

QString AssetPath(const QString &relative)
{
    const QString beside = QDir(ProgramFolder()).filePath(relative);
    if (QFileInfo::exists(beside))
        return beside;
    const QString share = InstalledShareFolder();
    if (!share.isEmpty() && QFileInfo::exists(QDir(share).filePath(relative)))
        return QDir(share).filePath(relative);
    if (!ProgramFolderOverride().isEmpty())
        return beside;
    const QString installed = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("dayloom/") + relative,
        QStandardPaths::LocateFile | QStandardPaths::LocateDirectory);
    return installed.isEmpty() ? beside : installed;
}

QString FindIgnoringCase(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

} // namespace Dayloom
