#pragma once

#include <QString>
#include <QtGlobal>

namespace Dayloom {

// Bounds every picture decoder keeps to, so that a hostile file cannot make
// the program allocate without limit. What many pictures of one playback or
// one document may take together is the business of PictureBudget.
inline constexpr qint64 MaxPictureSide = 16384;                      // pixels, each way
inline constexpr qint64 MaxPictureBytes = qint64(256) * 1024 * 1024; // decoded, 4 bytes a pixel
inline constexpr qint64 MaxPictureFileBytes = qint64(256) * 1024 * 1024;

// What one file may claim, whatever its headers say: records a metafile
// plays, slots of its object table, icons an icon library lists.
inline constexpr int MaxMetafileRecords = 1000000;
inline constexpr int MaxMetafileObjects = 65536;
inline constexpr int MaxLibraryIcons = 10000;

// True when an image of this size may be decoded; otherwise false with the
// reason in error (when given). Checks only; PictureBudget::ClaimPixels
// checks the same and counts the picture against the open budgets.
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
