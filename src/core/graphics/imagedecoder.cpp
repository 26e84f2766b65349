#include "core/graphics/imagedecoder.h"

#include "core/graphics/dibreader.h"
#include "core/graphics/iconreader.h"
#include "core/graphics/pcxreader.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/pluginimagereader.h"
#include "core/graphics/rasterbytes.h"
#include "core/graphics/targareader.h"

#include <QIODevice>
#include <QImage>

namespace Dayloom {

using RasterBytes::Fail;

namespace {

bool ReadDevice(QIODevice &device, QByteArray &bytes, QString *error)
{
    const QString tooLarge = QStringLiteral("the file is too large for a picture");
    if (!device.isSequential()) {
        if (device.size() - device.pos() > MaxPictureFileBytes)
            return Fail(error, tooLarge);
        bytes = device.readAll();
        return true;
    }
    bytes.clear();
    for (;;) {
        const QByteArray chunk = device.read(1 << 20);
        if (chunk.isEmpty())
            return true;
        if (bytes.size() + chunk.size() > MaxPictureFileBytes)
            return Fail(error, tooLarge);
        bytes += chunk;
    }
}

bool ReadBitmap(const QByteArray &bytes, QImage &image, QString *error)
{
    if (bytes.startsWith("BM") || !DibReader::LooksLikePackedDib(bytes))
        return DibReader::ReadFile(bytes, image, error);
    return DibReader::ReadPacked(bytes, image, error);
}

} // namespace

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

RasterFormat SniffRasterFormat(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return RasterFormat::Bmp;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return RasterFormat::Png;
    if (bytes.startsWith("\xff\xd8\xff"))
        return RasterFormat::Jpeg;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return RasterFormat::Gif;
    if (IconReader::LooksLikeIcon(bytes))
        return RasterFormat::Icon;
    if (DibReader::LooksLikePackedDib(bytes))
        return RasterFormat::Dib;
    if (PcxReader::LooksLikePcx(bytes))
        return RasterFormat::Pcx;
    return RasterFormat::Unknown;
}

bool DecodeRasterImage(QIODevice &device, RasterFormat format, QImage &image, QString *error)
{
    QByteArray bytes;
    if (!ReadDevice(device, bytes, error))
        return false;
    if (format != RasterFormat::Targa) {
        const RasterFormat shown = SniffRasterFormat(bytes);
        if (shown != RasterFormat::Unknown)
            format = shown;
    }
    QImage result;
    bool ok = false;
    switch (format) {
    case RasterFormat::Unknown:
        return Fail(error, bytes.isEmpty()
                               ? QStringLiteral("the file is empty")
                               : QStringLiteral("the file is not in a picture format this "
                                                "program reads"));
    case RasterFormat::Bmp:
    case RasterFormat::Dib:
    case RasterFormat::Rle:
        ok = ReadBitmap(bytes, result, error);
        break;
    case RasterFormat::Jpeg:
        ok = PluginImageReader::Read(bytes, "jpeg", result, error);
        break;
    case RasterFormat::Gif:
        ok = PluginImageReader::Read(bytes, "gif", result, error);
        break;
    case RasterFormat::Png:
        ok = PluginImageReader::Read(bytes, "png", result, error);
        break;
    case RasterFormat::Icon:
        ok = IconReader::Read(bytes, result, error);
        break;
    case RasterFormat::Pcx:
        ok = PcxReader::Read(bytes, result, error);
        break;
    case RasterFormat::Targa:
        ok = TargaReader::Read(bytes, result, error);
        break;
    }
    if (!ok)
        return false;
    image = result;
    return true;
}

bool DecodePackedDib(const QByteArray &packed, QImage &image, QString *error)
{
    return DibReader::ReadPacked(packed, image, error);
}

} // namespace Dayloom
