#include "ui/common/picturefolderlists.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
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
    m_drives->setAccessibleName(QStringLiteral("Drive"));
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
    FillDrives();
}

void PictureFolderLists::FillDrives()
{
    for (const QFileInfo &drive : QDir::drives())
        m_drives->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()),
                          drive.absoluteFilePath());
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
    for (int i = 0; i < m_drives->count(); ++i) {
        if (m_folder.startsWith(m_drives->itemData(i).toString(), Qt::CaseInsensitive))
            m_drives->setCurrentIndex(i);
    }
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
