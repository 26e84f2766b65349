#pragma once

#include <QByteArray>

class QImage;

namespace Dayloom {

// Writes bitmap files that keep a picture's transparency: 32 bits per
// pixel, bottom-up, with a version 5 info header whose bit-field masks
// include alpha (blue, green, red, alpha bytes; alpha not premultiplied), as
// the system's toolkit and DibReader read them.
class DibWriter
{
public:
    // True when a pixel of the image is not fully opaque.
    static bool HasTransparency(const QImage &image);
    // The whole bitmap file ("BM" header, info header, pixels); empty for a
    // null image or one too large for a bitmap file's 32-bit sizes.
    static QByteArray AlphaBitmapFile(const QImage &image);
};

} // namespace Dayloom
