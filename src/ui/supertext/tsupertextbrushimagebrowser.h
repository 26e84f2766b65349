#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>

namespace Dayloom {

class PictureFolderLists;
class SuperTextPreview;
class TGSuperText;

// "Load Texture Image": folder and file lists of pictures that can fill
// letters, and a SuperText example showing the chosen picture in its
// letters. Ok closes with that picture in Picture() and its file in
// SelectedFile().
class TSuperTextBrushImageBrowser : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 40012;

    explicit TSuperTextBrushImageBrowser(QWidget *parent = nullptr);

    // "*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.ICO;*.PNG" as patterns,
    // compared ignoring case.
    static QStringList FileMask();
    // Where the lists open when no last picture exists: "bmbrush" beside the
    // program, else "Textures", else the program's folder.
    static QString StartFolder();

    // Opens at the last picture's file when it still exists, else at the
    // start folder.
    void OpenAt(const QString &lastPath);
    // The example takes the look of `text` (fill, font, outline, shadow and
    // size) and keeps showing the chosen picture.
    void TakeLookOf(const TGSuperText &text);
    TGSuperText &Example();
    QString Folder() const;
    QString SelectedFile() const;
    // The chosen file's picture; null when none is chosen or it failed.
    const QImage &Picture() const { return m_picture; }

    // Tests replace what Help and a failed bitmap show.
    void SetHelpHandler(std::function<void(int)> handler) { m_helpHandler = std::move(handler); }
    void SetErrorHandler(std::function<void(const QString &)> handler)
    {
        m_errorHandler = std::move(handler);
    }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FileChosen(const QString &path);
    void ShowPicture(const QImage &picture);

    PictureFolderLists *m_lists = nullptr;
    SuperTextPreview *m_example = nullptr;
    QImage m_picture;
    std::function<void(int)> m_helpHandler;
    std::function<void(const QString &)> m_errorHandler;
};

} // namespace Dayloom
