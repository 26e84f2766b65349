#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace Dayloom {

// Reads icon files (and cursors): the largest image of the file, with the
// most colours among equals; bitmap and PNG-compressed images, alpha kept.
class IconReader
{
public:
    // True when the bytes start with an icon directory.
    static bool LooksLikeIcon(const QByteArray &bytes);
    // The image in Format_ARGB32, or false with the reason.
    static bool Read(const QByteArray &bytes, QImage &image, QString *error);

    // The size and bits a pixel of one icon image (a bitmap with its mask, or
    // PNG), by what its own header says; false when it is not one.
    static bool Measure(const uchar *data, qint64 size, int &width, int &height, int &bits);
    // Decodes one icon image, with its transparency, in Format_ARGB32.
    static bool ReadImage(const QByteArray &bytes, QImage &image, QString *error);
};

} // namespace Dayloom
