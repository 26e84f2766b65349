#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace Dayloom {

// Reads PCX pictures: 1 bit (one to four planes), 2 and 4 bits in one
// plane, 8 bits with the palette at the end of the file (or grey without
// it) and 24 bits in three planes; run-length encoded or plain.
class PcxReader
{
public:
    // True when the bytes start with a header this reader accepts.
    static bool LooksLikePcx(const QByteArray &bytes);
    // The picture in Format_RGB32, or false with the reason.
    static bool Read(const QByteArray &bytes, QImage &image, QString *error);
};

} // namespace Dayloom
