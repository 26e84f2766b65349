#include "ui/image/loadimagefromdisk.h"

#include "core/objects/image/tgimage.h"
#include "core/surface/pagedocument.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/surface/tgbasepanel.h"

#include <QDir>
#include <QMessageBox>

namespace Dayloom {

ImageLoadServices ImageLoadServices::standard()
{
    ImageLoadServices services;
    services.runBrowser = [](TGImageBrowser &browser) {
        return browser.exec() == QDialog::Accepted;
    };
    services.showError = [](QWidget *parent, const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                        parent);
        box.exec();
    };
    return services;
}

bool LoadImageFromDisk(QWidget *parent, PageDocument &document, TGImage &image, QString &folder,
                       const ImageLoadServices &services)
{
    const QString workingFolder = QDir::currentPath();
    TGImageBrowser browser(parent);
    browser.SetFolder(folder);
    browser.SetStretch(image.Stretch());
    browser.SetAutoSize(image.AutoSize());
    const bool accepted = services.runBrowser(browser);
    folder = browser.Folder();
    QDir::setCurrent(workingFolder);
    if (!accepted)
        return false;
    if (browser.SelectedFile().isEmpty())
        return true;

    const Picture picture = browser.PreviewPicture();
    const bool stretch = browser.Stretch();
    const bool autoSize = browser.AutoSize();
    document.EditObject(&image, QStringLiteral("Load Image"), [&](TGGraphicControl &object) {
        auto &target = static_cast<TGImage &>(object);
        target.SetPicture(picture);
        target.SetSizing(stretch, autoSize);
    });
    if (picture.IsEmpty())
        services.showError(parent, QStringLiteral("Error loading file!"));
    return true;
}

void RegisterImageActions(TGBasePanel &panel, QString &folder, const ImageLoadServices &services)
{
    const QByteArray kind = TGImage::StoredClassName();
    const auto load = [&panel, &folder, services](TGGraphicControl &object) {
        auto *image = dynamic_cast<TGImage *>(&object);
        return !image ||
               LoadImageFromDisk(panel.window(), panel.Document(), *image, folder, services);
    };
    ObjectKindActions &kinds = panel.KindActions();
    kinds.SetToolButton(kind, {QStringLiteral("DrawImageButton"), QStringLiteral("insert-image"),
                               QStringLiteral("Clip Art"), QStringLiteral("Clip Art Tool")});
    kinds.SetCreatedAction(kind, load);
    kinds.AddMenuItem(kind, QStringLiteral("Load Image From Disk"), load);
}

} // namespace Dayloom
