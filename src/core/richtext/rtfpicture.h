#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSizeF>
#include <QString>

namespace Dayloom {

// The data and properties of one RTF \pict group, collected while reading
// and turned into an image at the group's end. Picture data is bounded:
// bytes beyond MaxDataSize are dropped and the picture is discarded, and
// pictures larger than MaxSide or MaxPixels are not decoded: each picture
// has a PictureBudget of MaxPixels that its decoder (and the playback of a
// metafile) claims from before allocating, within any budget open around
// it.
class RtfPicture
{
public:
    enum Kind
    {
        Unknown,
        Png,
        Jpeg,
        Dib,
        DeviceBitmap,
        Metafile
    };

    static constexpr qsizetype MaxDataSize = 32 * 1024 * 1024;
    static constexpr int MaxSide = 16384;
    static constexpr qint64 MaxPixels = 16 * 1024 * 1024;

    void SetKind(Kind kind) { m_kind = kind; }
    Kind PictureKind() const { return m_kind; }

    // \picw, \pich: pixels for bitmaps.
    void SetPixelWidth(int value) { m_pixelWidth = value; }
    void SetPixelHeight(int value) { m_pixelHeight = value; }
    // \picwgoal, \pichgoal: the shown size in twips.
    void SetGoalWidth(int twips) { m_goalWidth = twips; }
    void SetGoalHeight(int twips) { m_goalHeight = twips; }
    // \picscalex, \picscaley: percent.
    void SetScaleX(int percent) { m_scaleX = percent; }
    void SetScaleY(int percent) { m_scaleY = percent; }
    // \wbmbitspixel, \wbmwidthbytes of a device-dependent bitmap.
    void SetBitsPerPixel(int bits) { m_bitsPerPixel = bits; }
    void SetWidthBytes(int bytes) { m_widthBytes = bytes; }

    // Hex digits in any spacing; other characters are ignored.
    void AppendHex(QByteArrayView text);
    void AppendBinary(QByteArrayView bytes);
    bool Overflowed() const { return m_overflow; }
    const QByteArray &Data() const { return m_data; }

    // A null image for unknown kinds, bad or oversized data, with the reason
    // in error (when given). Metafiles are drawn into an image (at twice
    // their shown size).
    QImage ToImage(QString *error = nullptr) const;
    // The size the picture is shown at, in pixels at 96 per inch.
    QSizeF DisplaySize(const QImage &image) const;

private:
    QImage Decode(QString *error) const;
    QImage ReadEncoded(const char *format, QString *error) const;
    QImage MetafileToImage(QString *error) const;
    QImage DibToImage(QString *error) const;
    QImage DeviceBitmapToImage(QString *error) const;
    bool Reserve(qsizetype extra);

    Kind m_kind = Unknown;
    QByteArray m_data;
    int m_pendingNibble = -1;
    bool m_overflow = false;
    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
    int m_goalWidth = 0;
    int m_goalHeight = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
    int m_bitsPerPixel = 1;
    int m_widthBytes = 0;
};

} // namespace Dayloom
