#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace Dayloom {

// Reads Targa pictures: colour-mapped, true-colour and grey images (types 1,
// 2, 3 and their run-length forms 9, 10, 11) of 8, 15, 16, 24 and 32 bits,
// colour maps of 15, 16, 24 and 32 bits, either origin and either
// direction. Targa files carry no signature, so nothing recognises them by
// their content.
class TargaReader
{
public:
    // The picture in Format_RGB32, or Format_ARGB32 when it has alpha.
    static bool Read(const QByteArray &bytes, QImage &image, QString *error);
};

} // namespace Dayloom
