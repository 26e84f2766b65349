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
};

} // namespace Dayloom
