#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace Dayloom {

// Reads device-independent bitmaps: bitmap files ("BM"), packed bitmaps
// that start with their info header (core, info, V4 and V5 headers and the
// second OS/2 header), and the images of icon files. 1, 4, 8, 16, 24 and 32
// bits; uncompressed, RLE8, RLE4 and bit fields (with or without alpha);
// bottom-up and top-down.
class DibReader
{
public:
    // True when the bytes start with an info header this reader accepts.
    static bool LooksLikePackedDib(const QByteArray &bytes);
    // A bitmap file with its 14-byte file header.
    static bool ReadFile(const QByteArray &bytes, QImage &image, QString *error);
    // A packed bitmap: info header, masks, colour table and pixels.
    static bool ReadPacked(const QByteArray &bytes, QImage &image, QString *error);
    // An icon's bitmap: a packed bitmap of twice the image's height, the
    // colour pixels followed by the transparency mask. 32-bit images keep
    // their alpha.
    static bool ReadIconImage(const QByteArray &bytes, QImage &image, QString *error);
};

} // namespace Dayloom
