#pragma once

#include "core/io/seterror.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace Dayloom {

// Little-endian reads and failure texts shared by the raster readers. The
// callers check every offset against the bytes they hold before reading.
namespace RasterBytes {

inline quint16 Le16(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

inline quint32 Le32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

inline qint32 LeSigned32(const uchar *p)
{
    return qint32(Le32(p));
}

inline const uchar *Data(const QByteArray &bytes)
{
    return reinterpret_cast<const uchar *>(bytes.constData());
}

inline bool Fail(QString *error, const QString &text)
{
    SetError(error, text);
    return false;
}

// Spreads a value of the given number of bits over 0..255.
inline uchar Scale(quint32 value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return uchar(value >> (bits - 8));
    const quint32 max = (1u << bits) - 1;
    return uchar((value * 255 + max / 2) / max);
}

} // namespace RasterBytes

} // namespace Dayloom
