#pragma once

#include "core/graphics/iconlibrary.h"

#include <QImage>
#include <QListWidget>
#include <QString>

#include <optional>
#include <vector>

class QMimeData;

namespace Dayloom {

// A grid of the icons in one icon library file (".ICL", ".DLL", ".EXE",
// ".ICO", ".NIL"). Each item's text is the icon's index; the icon itself is
// read out of the file the first time its cell is drawn and kept (or, with
// caching off, all are read when the file is loaded). The items run down the
// columns and the list scrolls sideways, `YIcons` rows high; its size is
// fixed to show exactly `XIcons` whole columns of them.
//
// Icons are read at 32 pixels times the screen's device pixel ratio, so
// they stay crisp on high-density screens. Dragging an icon carries its
// image (and IconMimeType naming the library and the index) to the drop
// target.
class TIconListBox : public QListWidget
{
    Q_OBJECT

public:
    // The icon size the grid is laid out for, and the room round each icon.
    static constexpr int SystemIconSize = 32;
    static constexpr int CellPadding = 6;
    // The private drag format: "<index>\n<library path>" in UTF-8.
    static const QString IconMimeType;

    explicit TIconListBox(QWidget *parent = nullptr);
    ~TIconListBox() override;

    const QString &FileName() const { return m_fileName; }
    // A different value reloads the list and raises OnFileChange.
    void SetFileName(const QString &fileName);
    bool AutoDisable() const { return m_autoDisable; }
    void SetAutoDisable(bool on);
    bool EnableCaching() const { return m_enableCaching; }
    void SetEnableCaching(bool on);
    // -1 while nothing is loaded.
    int NumberOfIcons() const { return m_numberOfIcons; }
    int XIcons() const { return m_xIcons; }
    void SetXIcons(int columns); // values below 1 are ignored
    int YIcons() const { return m_yIcons; }
    void SetYIcons(int rows); // values below 1 are ignored
    static QString Version() { return QStringLiteral("TIconListBox v1.10"); }

    int ColumnWidth() const { return SystemIconSize + CellPadding; }
    int RowHeight() const { return SystemIconSize + CellPadding; }

    // Icon `index`, read on first use (and kept when caching); a null image
    // when the file holds no such icon or it cannot be read.
    QImage Icon(int index) const;
    // The icon of the current item; null when there is none.
    QImage SelectedIcon() const;
    // How many icons have been read out of the file since it was loaded.
    int ExtractedCount() const { return m_extracted; }
    // Whether a drag came from an icon list.
    static bool IsIconDrag(const QMimeData *data);
    // The icon image a drag from an icon list carries; null for other drags.
    static QImage DraggedIcon(const QMimeData *data);

Q_SIGNALS:
    // After every reload caused by a new FileName.
    void OnFileChange();

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void Reload();
    void UpdateSize();
    void ForgetIcons();
    int IconPixels() const;

    QString m_fileName;
    bool m_autoDisable = true;
    bool m_enableCaching = true;
    int m_numberOfIcons = -1;
    int m_xIcons = 4;
    int m_yIcons = 1;
    IconLibrary m_library;
    // The icons read so far, by index, and the pixel size they were read at.
    mutable std::vector<std::optional<QImage>> m_icons;
    mutable int m_extracted = 0;
    mutable int m_iconPixels = 0;
};

} // namespace Dayloom
