#pragma once

#include "core/graphics/metafileplayer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <optional>

class QPainter;
class QRectF;

namespace Dayloom {

// A picture as placed objects, page borders and notes use it: a bitmap, a
// metafile (kept as its file, played as vectors) or an icon (kept as its
// file, shown through its largest image). A value type; empty by default.
//
// Every way in treats its input as hostile: a failure leaves no picture and
// says why in one line.
class Picture
{
public:
    enum class Kind
    {
        None,
        Bitmap,
        Metafile,
        Icon
    };

    Picture() = default;

    // A bitmap of the image (an empty image gives no picture).
    static Picture FromImage(const QImage &image);
    // Reads a picture file of any supported format. The format comes from
    // the extension and, where the extension says nothing, from the content.
    // SVG files become metafiles; icons stay icons (see AsBitmap).
    static std::optional<Picture> FromFile(const QString &path, QString *error);
    // The same for bytes; fileName supplies the extension (may be empty).
    static std::optional<Picture> FromBytes(const QByteArray &bytes, const QString &fileName,
                                            QString *error);
    // The picture of a graphic kept as files keep it: the graphic's class
    // name ("TBitmap", "TMetafile" or "TIcon", in any case; empty for no
    // picture) and its file.
    static std::optional<Picture> FromGraphicFile(QByteArrayView graphicClass,
                                                  const QByteArray &file, QString *error);

    // The same form: the class name ("TBitmap", "TMetafile", "TIcon"; empty
    // for no picture) and the file: for a bitmap a BMP file (32 bits with an
    // alpha mask when a pixel is not opaque, else as Qt writes it), for a
    // metafile the metafile as read, for an icon the icon file.
    QByteArray GraphicClass() const;
    QByteArray GraphicFile() const;

    Kind GetKind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == Kind::None; }
    bool IsBitmap() const { return m_kind == Kind::Bitmap; }
    bool IsMetafile() const { return m_kind == Kind::Metafile; }

    // The picture's own size in page pixels (96 per inch).
    QSize Size() const;
    // Bitmaps and icons: the pixels. Empty for metafiles.
    const QImage &Image() const { return m_image; }
    // An icon turned into a bitmap of its size (other kinds unchanged).
    Picture AsBitmap() const;

    // Stretches the whole picture into target; metafiles are played as
    // vectors. Nothing for an empty picture.
    void Draw(QPainter &painter, const QRectF &target) const;

    friend bool operator==(const Picture &a, const Picture &b)
    {
        return a.m_kind == b.m_kind && a.m_image == b.m_image && a.m_file == b.m_file;
    }

private:
    Picture(Kind kind, QImage image, QByteArray file, MetafilePlayer player);
    static std::optional<Picture> MetafileFromBytes(const QByteArray &bytes, QString *error);
    static std::optional<Picture> IconFromBytes(const QByteArray &bytes, QString *error);

    Kind m_kind = Kind::None;
    QImage m_image;            // Bitmap, Icon
    QByteArray m_file;         // Metafile, Icon: the file's bytes
    MetafilePlayer m_metafile; // Metafile
};

} // namespace Dayloom
