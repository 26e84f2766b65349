#pragma once

#include <QByteArray>

#include <optional>

namespace Dayloom {

// A picture as component records store it: the class name of the graphic
// ("TBitmap", "TMetafile", "TIcon") and the graphic's file (a BMP file, a
// metafile, an ICO file). The bytes are kept as they are; decoding them is
// the business of the object that shows the picture.
class StoredPicture
{
public:
    StoredPicture() = default;
    StoredPicture(QByteArray graphicClass, QByteArray fileBytes)
        : m_graphicClass(std::move(graphicClass)), m_fileBytes(std::move(fileBytes))
    {
    }

    // Empty for no picture.
    const QByteArray &GraphicClass() const { return m_graphicClass; }
    const QByteArray &FileBytes() const { return m_fileBytes; }
    bool IsEmpty() const { return m_graphicClass.isEmpty(); }
    bool IsBitmap() const;

    bool IsMetafile() const;
    bool IsIcon() const;

    // The value of "Picture.Data": a one-byte-length class name, then the
    // graphic's data: for a bitmap a 4-byte length and the BMP file; for a
    // metafile a 4-byte length counting itself and the file, as the
    // system's toolkit stores it; for other graphics (icons among them)
    // their file.
    QByteArray ToPictureData() const;
    // Nothing when the lengths inside a bitmap's data do not fit. A metafile
    // or an icon is read with or without a 4-byte length in front, told
    // apart by the file's own header.
    static std::optional<StoredPicture> FromPictureData(const QByteArray &data);

    // The value of a bare bitmap property ("Image.Data"): a 4-byte length
    // and the BMP file.
    static QByteArray ToBitmapData(const QByteArray &bmpFile);
    static std::optional<QByteArray> FromBitmapData(const QByteArray &data);

    friend bool operator==(const StoredPicture &, const StoredPicture &) = default;

private:
    QByteArray m_graphicClass;
    QByteArray m_fileBytes;
};

} // namespace Dayloom
