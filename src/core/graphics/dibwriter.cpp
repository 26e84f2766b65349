#include "core/graphics/dibwriter.h"

#include <QImage>
#include <QtEndian>

#include <limits>

namespace Dayloom {

namespace {

constexpr quint32 FileHeaderSize = 14;
constexpr quint32 V5HeaderSize = 124;
constexpr quint32 BitFields = 3;
constexpr quint32 SrgbColorSpace = 0x73524742; // 'sRGB'
constexpr quint32 ImageIntent = 4;             // LCS_GM_IMAGES

void Put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void Put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

bool DibWriter::HasTransparency(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return true;
        }
    }
    return false;
}

QByteArray DibWriter::AlphaBitmapFile(const QImage &image)
{
    if (image.isNull())
        return QByteArray();
    const quint64 pixelBytes = quint64(image.width()) * quint64(image.height()) * 4;
    const quint64 offset = FileHeaderSize + V5HeaderSize;
    if (offset + pixelBytes > std::numeric_limits<quint32>::max())
        return QByteArray();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    out.reserve(qsizetype(offset + pixelBytes));
    out.append("BM", 2);
    Put32(out, quint32(offset + pixelBytes));
    Put32(out, 0); // reserved
    Put32(out, quint32(offset));
    Put32(out, V5HeaderSize);
    Put32(out, quint32(argb.width()));
    Put32(out, quint32(argb.height())); // positive: bottom-up rows
    Put16(out, 1);                      // planes
    Put16(out, 32);
    Put32(out, BitFields);
    Put32(out, quint32(pixelBytes));
    Put32(out, quint32(argb.dotsPerMeterX()));
    Put32(out, quint32(argb.dotsPerMeterY()));
    Put32(out, 0); // colours used
    Put32(out, 0); // colours important
    for (quint32 mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
        Put32(out, mask);
    Put32(out, SrgbColorSpace);
    out.append(36 + 3 * 4, '\0'); // end points and gammas: unused for sRGB
    Put32(out, ImageIntent);
    Put32(out, 0); // no profile data, size, reserved
    Put32(out, 0);
    Put32(out, 0);
    for (int y = argb.height() - 1; y >= 0; --y) {
        // Format_ARGB32 is the masks above in the machine's byte order.
        const auto *line = reinterpret_cast<const quint32 *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            Put32(out, line[x]);
    }
    return out;
}

} // namespace Dayloom
