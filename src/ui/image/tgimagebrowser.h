#pragma once

#include "core/graphics/picture.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QScrollArea;

namespace Dayloom {

class PictureFolderLists;
class PicturePreview;
class PicturePreviewLoader;

// "Load Image File ": the clip-art browser. A drive list, the folders of
// the current folder and its picture files (bitmaps, JPEG, PCX, Targa,
// metafiles, icons, PNG, SVG; extensions in any case); choosing a file
// shows it in the preview. The " Options " group chooses between stretching
// the picture over the object and sizing the object to the picture. Ok
// closes with the chosen file's picture in PreviewPicture().
class TGImageBrowser : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 40003;

    explicit TGImageBrowser(QWidget *parent = nullptr);

    // "*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.WMF;*.ICO;*.PNG;*.SVG" as
    // patterns, compared ignoring case.
    static QStringList FileMask();
    // The clip art shipped with the program ("Clipart" beside it).
    static QString ShippedFolder();

    // The folder whose files are listed; a folder that does not exist shows
    // the shipped clip art (or the home folder when that is missing too).
    QString Folder() const;
    void SetFolder(const QString &path);

    // The file chosen in the list (full path); empty when none is.
    QString SelectedFile() const;
    // The picture of the chosen file; empty when none is chosen or it could
    // not be read, and until it is read (pictures are read on a worker
    // thread: WaitForPreview). Icons arrive as bitmaps.
    const Picture &PreviewPicture() const { return m_preview; }
    // Waits until the chosen file's picture is read and shown.
    void WaitForPreview();

    // The two option boxes.
    bool Stretch() const;
    void SetStretch(bool on);
    bool AutoSize() const;
    void SetAutoSize(bool on);

    // What Help does (opens the manual at the browser's section); tests
    // replace it.
    void SetHelpHandler(std::function<void(int context)> handler)
    {
        m_helpHandler = std::move(handler);
    }
    // What a failed ".BMP" or ".WMF" preview shows ("Error loading file!"
    // in an error box by default).
    void SetErrorHandler(std::function<void(const QString &text)> handler)
    {
        m_errorHandler = std::move(handler);
    }

    // Waits for the chosen file's picture first.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FolderChanged();
    void FileChosen();
    void PreviewLoaded(const QString &path, const std::optional<Picture> &picture);
    void StretchClicked();
    void AutoSizeClicked();
    void ShowHelp();
    void UpdatePreviewSizing();

    Picture m_preview;
    PictureFolderLists *m_lists;
    QScrollArea *m_scrollBox;
    PicturePreview *m_image;
    PicturePreviewLoader *m_loader;
    QCheckBox *m_stretch;
    QCheckBox *m_autoSize;
    std::function<void(int)> m_helpHandler;
    std::function<void(const QString &)> m_errorHandler;
};

} // namespace Dayloom
