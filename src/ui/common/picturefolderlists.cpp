#include "ui/common/picturefolderlists.h"

#include "core/io/appfolders.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace Dayloom {

namespace {
const QString ParentFolder = QStringLiteral("..");
} // namespace

PictureFolderLists::PictureFolderLists(const QStringList &mask, QWidget *parent)
    : QWidget(parent), m_mask(mask)
{
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
    m_drives->setAccessibleName(QStringLiteral("Places"));
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("FolderLabel"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the folder column.
    m_folderLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_folders->setAccessibleName(QStringLiteral("Folders"));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("FileListBox1"));
    m_files->setAccessibleName(QStringLiteral("Files"));
    m_files->setToolTip(m_mask.join(QLatin1Char(';')));

    auto *folderColumn = new QVBoxLayout;
    folderColumn->addWidget(m_drives);
    folderColumn->addWidget(m_folderLabel);
    folderColumn->addWidget(m_folders, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(folderColumn, 1);
    layout->addWidget(m_files, 1);

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { SetFolder(m_drives->itemData(index).toString(), m_fallback); });
    connect(m_folders, &QListWidget::itemActivated, this, &PictureFolderLists::OpenFolderItem);
    connect(m_files, &QListWidget::itemSelectionChanged, this, [this] {
        const QString path = SelectedFile();
        if (!path.isEmpty())
            Q_EMIT fileChosen(path);
    });
    connect(m_files, &QListWidget::itemActivated, this, &PictureFolderLists::fileActivated);
    FillPlaces();
}

void PictureFolderLists::FillPlaces()
{
    // A system with one root has nothing to choose among drives: the places
    // people keep pictures in come first, the whole computer last.
    AddPlace(QStringLiteral("Home"), QDir::homePath(), QStyle::SP_DirHomeIcon);
    AddPlace(QStringLiteral("Pictures"),
             QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
             QStyle::SP_DirIcon);
    AddPlace(QStringLiteral("Clip Art"), AssetPath(QStringLiteral("Clipart")), QStyle::SP_DirIcon);
    AddPlace(QStringLiteral("Textures"), AssetPath(QStringLiteral("Textures")), QStyle::SP_DirIcon);
    const QFileInfoList drives = QDir::drives();
    for (const QFileInfo &drive : drives) {
        const QString name = drives.size() == 1
                                 ? QStringLiteral("Computer")
                                 : QDir::toNativeSeparators(drive.absoluteFilePath());
        AddPlace(name, drive.absoluteFilePath(), QStyle::SP_DriveHDIcon);
    }
}

void PictureFolderLists::AddPlace(const QString &name, const QString &path,
                                  QStyle::StandardPixmap icon)
{
    // Missing folders are left out, and a folder that is already a place
    // (Pictures set to the home folder) is not listed twice.
    const QString folder = path.isEmpty() ? QString() : QDir(path).canonicalPath();
    if (folder.isEmpty() || m_drives->findData(folder) >= 0)
        return;
    m_drives->addItem(style()->standardIcon(icon), name, folder);
}

int PictureFolderLists::PlaceOf(const QString &folder) const
{
    // The innermost place holding the folder, so that the clip art shows as
    // "Clip Art" even when it lies inside the home folder.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_drives->count(); ++i) {
        const QString place = m_drives->itemData(i).toString();
        const QString inside = place.endsWith(QLatin1Char('/')) ? place : place + QLatin1Char('/');
        if ((folder == place || folder.startsWith(inside)) && place.size() > bestLength) {
            best = i;
            bestLength = place.size();
        }
    }
    return best;
}

void PictureFolderLists::SetFolder(const QString &path, const QString &fallback)
{
    m_fallback = fallback;
    QString folder = path;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QFileInfo(fallback).isDir() ? fallback : QDir::homePath();
    m_folder = QDir(folder).canonicalPath();
    if (m_folder.isEmpty())
        m_folder = QDir(folder).absolutePath();
    m_drives->setCurrentIndex(PlaceOf(m_folder));
    m_folderLabel->setText(QDir::toNativeSeparators(m_folder));
    m_folderLabel->setToolTip(m_folderLabel->text());
    FillLists();
    Q_EMIT folderChanged();
}

void PictureFolderLists::FillLists()
{
    const QDir dir(m_folder);
    m_folders->clear();
    if (!dir.isRoot())
        m_folders->addItem(ParentFolder);
    m_folders->addItems(
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));

    const QSignalBlocker blocker(m_files);
    m_files->clear();
    // Without QDir::CaseSensitive the patterns match "holly.png" as well as
    // "HOLLY.PNG".
    m_files->addItems(
        dir.entryList(m_mask, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase));
    m_files->setCurrentRow(-1);
}

void PictureFolderLists::OpenFolderItem(QListWidgetItem *item)
{
    if (!item)
        return;
    QDir dir(m_folder);
    if (item->text() == ParentFolder)
        dir.cdUp();
    else
        dir.cd(item->text());
    SetFolder(dir.absolutePath(), m_fallback);
}

QString PictureFolderLists::SelectedFile() const
{
    const QListWidgetItem *item = m_files->currentItem();
    if (!item || !item->isSelected())
        return QString();
    return QDir(m_folder).filePath(item->text());
}

void PictureFolderLists::SelectFile(const QString &path)
{
    const QFileInfo file(path);
    SetFolder(file.absolutePath(), m_fallback);
    const QList<QListWidgetItem *> found = m_files->findItems(file.fileName(), Qt::MatchExactly);
    if (!found.isEmpty())
        m_files->setCurrentItem(found.first());
}

} // namespace Dayloom
