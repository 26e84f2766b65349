#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class QImage;

namespace Dayloom {

// The raster formats a picture file can hold.
enum class RasterFormat
{
    Unknown,
    Bmp,  // bitmap file, uncompressed or RLE4/RLE8
    Dib,  // a bitmap file, or a headerless bitmap starting with its info header
    Rle,  // a bitmap file with run-length compression
    Jpeg, // ".JPG", ".JPEG", ".JIF"
    Gif,
    Icon,  // ".ICO": the largest image of the file
    Pcx,   // 1, 4, 8 and 24 bits, run-length
    Targa, // types 1, 2, 3, 9, 10, 11; 8, 15, 16, 24 and 32 bits; both origins
    Png
};

// The format named by a file's extension (without the dot, any case);
// Unknown for others.
RasterFormat RasterFormatForSuffix(const QString &suffix);

// The format the bytes' content shows (bitmap file, packed bitmap, PCX,
// PNG, JPEG, GIF, icon); Unknown when none. Targa files have no signature
// and are known only by their extension.
RasterFormat SniffRasterFormat(const QByteArray &bytes);

// Decodes a whole raster picture from the device. The content decides the
// format where it shows one; format (from the file's extension) otherwise,
// and always for Targa. Hostile input is refused
// with a reason, never read past its end, and never larger than the bounds of
// picturelimits.h; run-length data must be long enough to fill the size it
// claims. The pixels are claimed from the open PictureBudget (if any) before
// they are allocated. The image is in a 32-bit format (alpha kept where the
// file has it).
bool DecodeRasterImage(QIODevice &device, RasterFormat format, QImage &image, QString *error);

// Decodes a packed device-independent bitmap held in memory: the info
// header (and colour table, and masks) directly followed by the pixels, as
// metafile records and clipboard data carry them. Same rules as above.
bool DecodePackedDib(const QByteArray &packed, QImage &image, QString *error);

} // namespace Dayloom
