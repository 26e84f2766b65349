#include "core/graphics/iconreader.h"

#include "core/graphics/dibreader.h"
#include "core/graphics/pluginimagereader.h"
#include "core/graphics/rasterbytes.h"

#include <QImage>

namespace Dayloom {

using namespace RasterBytes;

namespace {

constexpr qint64 DirectorySize = 6;
constexpr qint64 EntrySize = 16;

bool IsPng(const uchar *p, qint64 size)
{
    return size >= 8 && p[0] == 0x89 && p[1] == 'P' && p[2] == 'N' && p[3] == 'G';
}

quint32 BigEndian32(const uchar *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

// How good an image is, by what its own data says (the directory's sizes
// are often wrong): area first, then bits a pixel. -1 when unusable.
qint64 Rank(const uchar *p, qint64 size)
{
    int width = 0, height = 0, bits = 0;
    if (!IconReader::Measure(p, size, width, height, bits))
        return -1;
    return (qint64(width) * height) * 64 + bits;
}

} // namespace

bool IconReader::Measure(const uchar *p, qint64 size, int &width, int &height, int &bits)
{
    qint64 w = 0, h = 0, b = 0;
    if (IsPng(p, size)) {
        if (size < 24)
            return false;
        w = BigEndian32(p + 16);
        h = BigEndian32(p + 20);
        b = 32;
    } else {
        if (size < 16 || Le32(p) < 12)
            return false;
        if (Le32(p) == 12) {
            w = Le16(p + 4);
            h = Le16(p + 6) / 2;
            b = Le16(p + 10);
        } else {
            w = LeSigned32(p + 4);
            h = LeSigned32(p + 8) / 2;
            b = Le16(p + 14);
        }
    }
    if (w <= 0 || h <= 0 || w > 65536 || h > 65536 || b > 32)
        return false;
    width = int(w);
    height = int(h);
    bits = int(b);
    return true;
}

bool IconReader::ReadImage(const QByteArray &bytes, QImage &image, QString *error)
{
    QImage result;
    const bool ok = IsPng(Data(bytes), bytes.size())
                        ? PluginImageReader::Read(bytes, "png", result, error)
                        : DibReader::ReadIconImage(bytes, result, error);
    if (!ok)
        return false;
    result.convertTo(QImage::Format_ARGB32);
    image = result;
    return true;
}

bool IconReader::LooksLikeIcon(const QByteArray &bytes)
{
    if (bytes.size() < DirectorySize + EntrySize)
        return false;
    const uchar *p = Data(bytes);
    const int type = Le16(p + 2), count = Le16(p + 4);
    return Le16(p) == 0 && (type == 1 || type == 2) && count > 0 && p[DirectorySize + 3] == 0;
}

bool IconReader::Read(const QByteArray &bytes, QImage &image, QString *error)
{
    if (!LooksLikeIcon(bytes))
        return Fail(error, QStringLiteral("this is not an icon file"));
    const uchar *p = Data(bytes);
    const qint64 size = bytes.size();
    const qint64 count = Le16(p + 4);
    if (size < DirectorySize + count * EntrySize)
        return Fail(error, QStringLiteral("the icon is truncated"));
    qint64 bestRank = -1, bestOffset = 0, bestSize = 0;
    for (qint64 i = 0; i < count; ++i) {
        const uchar *entry = p + DirectorySize + i * EntrySize;
        const qint64 offset = Le32(entry + 12);
        if (offset >= size)
            continue;
        // Writers sometimes overstate an image's length: keep what is there.
        const qint64 length = qMin<qint64>(Le32(entry + 8), size - offset);
        const qint64 rank = Rank(p + offset, length);
        if (rank > bestRank) {
            bestRank = rank;
            bestOffset = offset;
            bestSize = length;
        }
    }
    if (bestRank < 0)
        return Fail(error, QStringLiteral("the icon holds no image"));
    return ReadImage(bytes.mid(bestOffset, bestSize), image, error);
}

} // namespace Dayloom
