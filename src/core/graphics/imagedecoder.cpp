#include "core/graphics/imagedecoder.h"

#include "core/graphics/picturelimits.h"

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QImageReader>

namespace Dayloom {

RasterFormat RasterFormatForSuffix(const QString &suffix)
{
    const QString upper = suffix.toUpper();
    if (upper == QLatin1String("BMP"))
        return RasterFormat::Bmp;
    if (upper == QLatin1String("DIB"))
        return RasterFormat::Dib;
    if (upper == QLatin1String("RLE"))
        return RasterFormat::Rle;
    if (upper == QLatin1String("JPG") || upper == QLatin1String("JPEG") ||
        upper == QLatin1String("JIF"))
        return RasterFormat::Jpeg;
    if (upper == QLatin1String("GIF"))
        return RasterFormat::Gif;
    if (upper == QLatin1String("ICO"))
        return RasterFormat::Icon;
    if (upper == QLatin1String("PCX"))
        return RasterFormat::Pcx;
    if (upper == QLatin1String("TGA"))
        return RasterFormat::Targa;
    if (upper == QLatin1String("PNG"))
        return RasterFormat::Png;
    return RasterFormat::Unknown;
}

bool DecodeRasterImage(QIODevice &device, RasterFormat format, QImage &image, QString *error)
{
    Q_UNUSED(format);
    QImageReader reader(&device);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && !CheckPictureSize(size.width(), size.height(), error))
        return false;
    if (!reader.read(&image)) {
        if (error)
            *error = reader.errorString();
        return false;
    }
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                          : QImage::Format_RGB32);
    return true;
}

bool DecodePackedDib(const QByteArray &packed, QImage &image, QString *error)
{
    // A file header in front makes it a bitmap file.
    if (packed.size() < 40) {
        if (error)
            *error = QStringLiteral("the bitmap is truncated");
        return false;
    }
    QByteArray file("BM");
    const quint32 fileSize = quint32(14 + packed.size());
    for (int i = 0; i < 4; ++i)
        file.append(char((fileSize >> (8 * i)) & 0xff));
    file.append(QByteArray(4, 0));
    const quint32 headerSize = quint32(uchar(packed[0]) | uchar(packed[1]) << 8);
    const quint32 bitCount = quint32(uchar(packed[14]) | uchar(packed[15]) << 8);
    const quint32 colours = bitCount <= 8 ? (1u << bitCount) : 0;
    const quint32 offset = 14 + headerSize + 4 * colours;
    for (int i = 0; i < 4; ++i)
        file.append(char((offset >> (8 * i)) & 0xff));
    file.append(packed);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return DecodeRasterImage(buffer, RasterFormat::Bmp, image, error);
}

} // namespace Dayloom
