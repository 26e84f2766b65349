#pragma once

#include <QString>
#include <QStringList>
#include <QStyle>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace Dayloom {

// The folder and file lists of the picture browsers: a list of places
// (Home, Pictures, the shipped clip art and textures, the drives), the
// current folder, its sub-folders (with ".." above them) and the files that
// match a mask, compared ignoring case. Activating a folder opens it;
// choosing a file reports its full path.
class PictureFolderLists : public QWidget
{
    Q_OBJECT

public:
    // `mask` as patterns such as "*.BMP".
    explicit PictureFolderLists(const QStringList &mask, QWidget *parent = nullptr);

    QString Folder() const { return m_folder; }
    // Lists `path`; one that is not a folder lists `fallback` instead.
    void SetFolder(const QString &path, const QString &fallback);
    // The chosen file (full path); empty when none is.
    QString SelectedFile() const;
    // Opens the file's folder and chooses the file.
    void SelectFile(const QString &path);
    QListWidget *Files() const { return m_files; }

Q_SIGNALS:
    // Another file was chosen (its full path).
    void fileChosen(const QString &path);
    // A file was double-clicked or Return pressed on it.
    void fileActivated();
    // A new folder is listed; no file is chosen in it yet.
    void folderChanged();

private:
    void FillPlaces();
    void AddPlace(const QString &name, const QString &path, QStyle::StandardPixmap icon);
    // The index of the place the folder lies in; -1 for none.
    int PlaceOf(const QString &folder) const;
    void FillLists();
    void OpenFolderItem(QListWidgetItem *item);

    QStringList m_mask;
    QString m_folder;
    QString m_fallback;
    QComboBox *m_drives;
    QLabel *m_folderLabel;
    QListWidget *m_folders;
    QListWidget *m_files;
};

} // namespace Dayloom
