#include "ui/image/tgimagebrowser.h"

#include "core/io/appfolders.h"
#include "ui/app/helpwindow.h"
#include "ui/app/uihelpers.h"
#include "ui/common/okcancelhelp.h"
#include "ui/common/picturefolderlists.h"
#include "ui/image/picturepreview.h"
#include "ui/image/picturepreviewloader.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Dayloom {

TGImageBrowser::TGImageBrowser(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TGImageBrowser"));
    setWindowTitle(QStringLiteral("Load Image File "));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    m_lists = new PictureFolderLists(FileMask(), this);

    m_image = new PicturePreview;
    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setBackgroundRole(QPalette::Base);
    m_scrollBox->setWidget(m_image);

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

    auto *lists = new QHBoxLayout;
    lists->addWidget(m_lists, 6);
    lists->addWidget(m_scrollBox, 4);
    auto *buttons = new QHBoxLayout;
    OkCancelHelp::AddTo(*this, *buttons, [this] { ShowHelp(); });
    buttons->addStretch(1);
    buttons->addWidget(options);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(592, 300);

    connect(m_lists, &PictureFolderLists::folderChanged, this, &TGImageBrowser::FolderChanged);
    connect(m_lists, &PictureFolderLists::fileChosen, this, &TGImageBrowser::FileChosen);
    m_loader = new PicturePreviewLoader(this);
    connect(m_loader, &PicturePreviewLoader::loaded, this, &TGImageBrowser::PreviewLoaded);
    connect(m_lists, &PictureFolderLists::fileActivated, this, &QDialog::accept);
    connect(m_stretch, &QCheckBox::clicked, this, &TGImageBrowser::StretchClicked);
    connect(m_autoSize, &QCheckBox::clicked, this, &TGImageBrowser::AutoSizeClicked);

    m_helpHandler = [this](int context) { HelpWindow::ShowTopicFor(this, context); };
    m_errorHandler = [this](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                        this);
        box.exec();
    };

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
    m_lists->Files()->setFocus();
}

QString TGImageBrowser::Folder() const
{
    return m_lists->Folder();
}

void TGImageBrowser::SetFolder(const QString &path)
{
    m_lists->SetFolder(path, ShippedFolder());
}

void TGImageBrowser::FolderChanged()
{
    m_preview = Picture();
    m_image->SetPicture(m_preview);
    UpdatePreviewSizing();
}

QString TGImageBrowser::SelectedFile() const
{
    return m_lists->SelectedFile();
}

void TGImageBrowser::FileChosen()
{
    const QString path = SelectedFile();
    if (path.isEmpty())
        return;
    // The preview fills in once the picture is read.
    m_preview = Picture();
    m_image->SetPicture(m_preview);
    UpdatePreviewSizing();
    m_loader->Load(path);
}

void TGImageBrowser::PreviewLoaded(const QString &path, const std::optional<Picture> &picture)
{
    // The user has moved on to another file meanwhile.
    if (path != SelectedFile())
        return;
    const QString extension = QFileInfo(path).suffix().toUpper();
    m_preview = picture ? *picture : Picture();
    m_image->SetPicture(m_preview);
    UpdatePreviewSizing();
    if (!picture && (extension == QLatin1String("BMP") || extension == QLatin1String("WMF")))
        m_errorHandler(QStringLiteral("Error loading file!"));
}

void TGImageBrowser::WaitForPreview()
{
    m_loader->Finish();
}

void TGImageBrowser::accept()
{
    // OK takes the chosen file's picture, also when its preview has not come yet.
    WaitForPreview();
    QDialog::accept();
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
