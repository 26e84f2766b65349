#pragma once

#include <QString>
#include <QtGlobal>

namespace Dayloom {

// Bounds every picture decoder keeps to, so that a hostile file cannot make
// the program allocate without limit.
inline constexpr qint64 MaxPictureSide = 16384;                      // pixels, each way
inline constexpr qint64 MaxPictureBytes = qint64(256) * 1024 * 1024; // decoded, 4 bytes a pixel
inline constexpr qint64 MaxPictureFileBytes = qint64(256) * 1024 * 1024;

// True when an image of this size may be decoded; otherwise false with the
// reason in error (when given).
inline bool CheckPictureSize(qint64 width, qint64 height, QString *error)
{
    if (width <= 0 || height <= 0 || width > MaxPictureSide || height > MaxPictureSide ||
        width * height * 4 > MaxPictureBytes) {
        if (error)
            *error = QStringLiteral("the picture's size %1 x %2 is not supported")
                         .arg(width)
                         .arg(height);
        return false;
    }
    return true;
}

} // namespace Dayloom
