#include "ui/image/tgimagebrowser.h"

#include "core/io/appfolders.h"
#include "ui/app/helpwindow.h"
#include "ui/app/uihelpers.h"
#include "ui/image/picturepreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Dayloom {

namespace {
const QString ParentFolder = QStringLiteral("..");
} // namespace

TGImageBrowser::TGImageBrowser(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TGImageBrowser"));
    setWindowTitle(QStringLiteral("Load Image File "));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

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
    m_files->setToolTip(FileMask().join(QLatin1Char(';')));

    m_image = new PicturePreview;
    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setBackgroundRole(QPalette::Base);
    m_scrollBox->setWidget(m_image);

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_help = new QPushButton(QStringLiteral("Help"), this);
    m_help->setObjectName(QStringLiteral("HelpButton"));
    m_help->setAutoDefault(false);

    auto *options = new QGroupBox(QStringLiteral(" Options "), this);
    options->setObjectName(QStringLiteral("OptionsGroup"));
    m_stretch = new QCheckBox(QStringLiteral("Stretch"), options);
    m_stretch->setObjectName(QStringLiteral("StretchBox"));
    m_stretch->setToolTip(QStringLiteral("Stretch image to max display size"));
    m_autoSize = new QCheckBox(QStringLiteral("AutoSize"), options);
    m_autoSize->setObjectName(QStringLiteral("AutoSizeBox"));
    m_autoSize->setToolTip(QStringLiteral("AutoSize TImage"));
    auto *optionsLayout = new QHBoxLayout(options);
    optionsLayout->setContentsMargins(6, 2, 6, 2);
    optionsLayout->addWidget(m_stretch);
    optionsLayout->addWidget(m_autoSize);

    auto *folderColumn = new QVBoxLayout;
    folderColumn->addWidget(m_drives);
    folderColumn->addWidget(m_folderLabel);
    folderColumn->addWidget(m_folders, 1);
    auto *lists = new QHBoxLayout;
    lists->addLayout(folderColumn, 3);
    lists->addWidget(m_files, 3);
    lists->addWidget(m_scrollBox, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    buttons->addWidget(options);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(592, 300);

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { SetFolder(m_drives->itemData(index).toString()); });
    connect(m_folders, &QListWidget::itemActivated, this, &TGImageBrowser::OpenFolderItem);
    connect(m_files, &QListWidget::itemSelectionChanged, this, &TGImageBrowser::FileChosen);
    connect(m_files, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(m_stretch, &QCheckBox::clicked, this, &TGImageBrowser::StretchClicked);
    connect(m_autoSize, &QCheckBox::clicked, this, &TGImageBrowser::AutoSizeClicked);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, &TGImageBrowser::ShowHelp);

    m_helpHandler = [this](int context) {
        // A child of the browser, so that it takes input while the browser
        // is modal.
        auto *help = findChild<HelpWindow *>();
        if (!help)
            help = new HelpWindow(this);
        help->ShowHelpTopic(context);
    };
    m_errorHandler = [this](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                        this);
        box.exec();
    };

    FillDrives();
    SetFolder(ShippedFolder());
    UpdatePreviewSizing();
}

QStringList TGImageBrowser::FileMask()
{
    return {QStringLiteral("*.BMP"), QStringLiteral("*.DIB"), QStringLiteral("*.JPG"),
            QStringLiteral("*.JIF"), QStringLiteral("*.PCX"), QStringLiteral("*.RLE"),
            QStringLiteral("*.TGA"), QStringLiteral("*.WMF"), QStringLiteral("*.ICO"),
            QStringLiteral("*.PNG"), QStringLiteral("*.SVG")};
}

QString TGImageBrowser::ShippedFolder()
{
    return AssetPath(QStringLiteral("Clipart"));
}

void TGImageBrowser::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CenterForm(this, parentWidget() ? parentWidget()->window() : nullptr);
    m_files->setFocus();
}

void TGImageBrowser::FillDrives()
{
    for (const QFileInfo &drive : QDir::drives())
        m_drives->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()),
                          drive.absoluteFilePath());
}

void TGImageBrowser::SetFolder(const QString &path)
{
    QString folder = path;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QFileInfo(ShippedFolder()).isDir() ? ShippedFolder() : QDir::homePath();
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
}

void TGImageBrowser::FillLists()
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
        dir.entryList(FileMask(), QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase));
    m_files->setCurrentRow(-1);
    m_preview = Picture();
    m_image->SetPicture(m_preview);
    UpdatePreviewSizing();
}

void TGImageBrowser::OpenFolderItem(QListWidgetItem *item)
{
    if (!item)
        return;
    QDir dir(m_folder);
    if (item->text() == ParentFolder)
        dir.cdUp();
    else
        dir.cd(item->text());
    SetFolder(dir.absolutePath());
}

QString TGImageBrowser::SelectedFile() const
{
    const QListWidgetItem *item = m_files->currentItem();
    if (!item || !item->isSelected())
        return QString();
    return QDir(m_folder).filePath(item->text());
}

void TGImageBrowser::FileChosen()
{
    const QString path = SelectedFile();
    if (path.isEmpty())
        return;
    const QString extension = QFileInfo(path).suffix().toUpper();
    QString error;
    std::optional<Picture> picture = Picture::FromFile(path, &error);
    if (picture && picture->GetKind() == Picture::Kind::Icon)
        picture = picture->AsBitmap();
    m_preview = picture ? *picture : Picture();
    m_image->SetPicture(m_preview);
    UpdatePreviewSizing();
    if (!picture && (extension == QLatin1String("BMP") || extension == QLatin1String("WMF")))
        m_errorHandler(QStringLiteral("Error loading file!"));
}

bool TGImageBrowser::Stretch() const
{
    return m_stretch->isChecked();
}

void TGImageBrowser::SetStretch(bool on)
{
    m_stretch->setChecked(on);
    UpdatePreviewSizing();
}

bool TGImageBrowser::AutoSize() const
{
    return m_autoSize->isChecked();
}

void TGImageBrowser::SetAutoSize(bool on)
{
    m_autoSize->setChecked(on);
    UpdatePreviewSizing();
}

void TGImageBrowser::StretchClicked()
{
    if (m_stretch->isChecked())
        m_autoSize->setChecked(false);
    UpdatePreviewSizing();
}

void TGImageBrowser::AutoSizeClicked()
{
    if (m_autoSize->isChecked())
        m_stretch->setChecked(false);
    UpdatePreviewSizing();
}

void TGImageBrowser::UpdatePreviewSizing()
{
    m_image->SetStretch(m_stretch->isChecked());
    // An auto-sized preview has the picture's size (the box scrolls);
    // otherwise it fills the box.
    const bool autoSized = m_autoSize->isChecked() && !m_preview.IsEmpty();
    m_scrollBox->setWidgetResizable(!autoSized);
    if (autoSized)
        m_image->resize(m_preview.Size());
}

void TGImageBrowser::ShowHelp()
{
    if (m_helpHandler)
        m_helpHandler(HelpContext);
}

} // namespace Dayloom
