#include "ui/supertext/tsupertextbrushimagebrowser.h"

#include "core/graphics/picture.h"
#include "core/io/appfolders.h"
#include "ui/app/helpwindow.h"
#include "ui/app/uihelpers.h"
#include "ui/common/okcancelhelp.h"
#include "ui/common/picturefolderlists.h"
#include "ui/supertext/supertextpreview.h"
#include "ui/supertext/tsupertextproperties.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Dayloom {

TSuperTextBrushImageBrowser::TSuperTextBrushImageBrowser(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSuperTextBrushImageBrowser"));
    setWindowTitle(QStringLiteral("Load Texture Image"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    m_lists = new PictureFolderLists(FileMask(), this);
    m_example = new SuperTextPreview;
    m_example->setObjectName(QStringLiteral("Example"));
    m_example->Sample().SetCaption(QStringLiteral("Text"));
    m_example->Sample().SetSurfaceType(TGSuperText::stBrushImage);
    m_example->FitSample();
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ExamplePanel"));
    scroll->setWidget(m_example);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setMinimumSize(300, 120);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkCancelHelp::AddTo(*this, *buttons, [this] {
        if (m_helpHandler)
            m_helpHandler(HelpContext);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lists, 1);
    layout->addWidget(scroll);
    layout->addLayout(buttons);
    resize(560, 420);

    connect(m_lists, &PictureFolderLists::fileChosen, this,
            &TSuperTextBrushImageBrowser::FileChosen);
    connect(m_lists, &PictureFolderLists::folderChanged, this, [this] { ShowPicture({}); });
    connect(m_lists, &PictureFolderLists::fileActivated, this, &QDialog::accept);

    m_helpHandler = [this](int context) { HelpWindow::ShowTopicFor(this, context); };
    m_errorHandler = [this](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                        this);
        box.exec();
    };
    m_lists->SetFolder(StartFolder(), ProgramFolder());
}

QStringList TSuperTextBrushImageBrowser::FileMask()
{
    return {QStringLiteral("*.BMP"), QStringLiteral("*.DIB"), QStringLiteral("*.JPG"),
            QStringLiteral("*.JIF"), QStringLiteral("*.PCX"), QStringLiteral("*.RLE"),
            QStringLiteral("*.TGA"), QStringLiteral("*.ICO"), QStringLiteral("*.PNG")};
}

QString TSuperTextBrushImageBrowser::StartFolder()
{
    for (const QString &folder : {QStringLiteral("bmbrush"), QStringLiteral("Textures")}) {
        const QString path = AssetPath(folder);
        if (QFileInfo(path).isDir())
            return path;
    }
    return ProgramFolder();
}

void TSuperTextBrushImageBrowser::OpenAt(const QString &lastPath)
{
    if (!lastPath.isEmpty() && QFileInfo(lastPath).isFile())
        m_lists->SelectFile(lastPath);
    else
        m_lists->SetFolder(StartFolder(), ProgramFolder());
}

void TSuperTextBrushImageBrowser::TakeLookOf(const TGSuperText &text)
{
    TSuperTextProperties::CopyLook(text, m_example->Sample());
    m_example->Sample().SetSurfaceType(TGSuperText::stBrushImage);
    ShowPicture(m_picture);
}

TGSuperText &TSuperTextBrushImageBrowser::Example()
{
    return m_example->Sample();
}

QString TSuperTextBrushImageBrowser::Folder() const
{
    return m_lists->Folder();
}

QString TSuperTextBrushImageBrowser::SelectedFile() const
{
    return m_lists->SelectedFile();
}

void TSuperTextBrushImageBrowser::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CenterForm(this, parentWidget() ? parentWidget()->window() : nullptr);
    m_lists->Files()->setFocus();
}

void TSuperTextBrushImageBrowser::FileChosen(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toUpper();
    QString error;
    // Icons arrive as a bitmap of their own size; every other kind through
    // the picture reader.
    const std::optional<Dayloom::Picture> picture = Dayloom::Picture::FromFile(path, &error);
    const QImage image = picture ? picture->AsBitmap().Image() : QImage();
    ShowPicture(image);
    if (image.isNull() && (extension == QLatin1String("BMP") || extension == QLatin1String("WMF")))
        m_errorHandler(QStringLiteral("Error loading file!"));
    m_lists->Files()->setFocus();
}

void TSuperTextBrushImageBrowser::ShowPicture(const QImage &picture)
{
    m_picture = picture;
    m_example->Sample().SetImage(picture);
    m_example->update();
}

} // namespace Dayloom
