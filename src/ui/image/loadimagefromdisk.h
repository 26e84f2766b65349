#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Dayloom {

class PageDocument;
class TGBasePanel;
class TGImage;
class TGImageBrowser;

// What LoadImageFromDisk asks of the world around it; the defaults show the
// browser modally and an error box. Tests replace them.
struct ImageLoadServices
{
    // Runs the browser (already set up); true for Ok.
    std::function<bool(TGImageBrowser &browser)> runBrowser;
    // "Error loading file!" with an error icon and an OK button.
    std::function<void(QWidget *parent, const QString &text)> showError;

    static ImageLoadServices standard();
};

// "Load Image From Disk": the browser opens in `folder` (then remembered
// there) with the image's Stretch and AutoSize in its boxes. Ok with a
// chosen file gives the image the file's picture and both boxes as they
// are, as the one undo step "Load Image"; a chosen file that could not be
// read shows "Error loading file!" and empties the picture. True when the
// browser ended with Ok, false when it was cancelled.
bool LoadImageFromDisk(QWidget *parent, PageDocument &document, TGImage &image, QString &folder,
                       const ImageLoadServices &services = ImageLoadServices::standard());

// Gives the clip art of a page its tool button and "Load Image From Disk",
// which also runs as soon as the tool has made a new image. The browser
// starts in `folder` and leaves the folder it ended in there; the string
// must outlive the panel's use of it (the window's preferences).
void RegisterImageActions(TGBasePanel &panel, QString &folder,
                          const ImageLoadServices &services = ImageLoadServices::standard());

} // namespace Dayloom
