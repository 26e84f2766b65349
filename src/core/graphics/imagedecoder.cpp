#include "core/graphics/imagedecoder.h"

#include "core/graphics/picturelimits.h"

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

} // namespace Dayloom
