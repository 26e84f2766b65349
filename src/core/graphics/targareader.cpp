#include "core/graphics/targareader.h"

#include "core/graphics/picturebudget.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/rasterbytes.h"

#include <QImage>

#include <vector>

namespace Dayloom {

using namespace RasterBytes;

namespace {

constexpr qint64 HeaderSize = 18;
constexpr qint64 MaxPacket = 128;

inline QRgb From555(quint16 v, bool alpha)
{
    return qRgba(Scale((v >> 10) & 31, 5), Scale((v >> 5) & 31, 5), Scale(v & 31, 5),
                 alpha && !(v & 0x8000) ? 0 : 255);
}

// Puts the decoded pixels, which come in file order, where the origin and
// direction bits of the descriptor say.
class PixelSink
{
public:
    PixelSink(QImage &image, bool topDown, bool rightToLeft)
        : m_image(image), m_width(image.width()), m_height(image.height()), m_topDown(topDown),
          m_rightToLeft(rightToLeft)
    {
        StartLine();
    }

    void Put(QRgb colour, qint64 count)
    {
        while (count > 0) {
            const qint64 take = qMin<qint64>(count, m_width - m_x);
            if (m_rightToLeft) {
                for (qint64 i = 0; i < take; ++i)
                    m_line[m_width - 1 - m_x - i] = colour;
            } else {
                std::fill(m_line + m_x, m_line + m_x + take, colour);
            }
            Advance(take);
            count -= take;
        }
    }

    void Put(QRgb colour)
    {
        m_line[m_rightToLeft ? m_width - 1 - m_x : m_x] = colour;
        Advance(1);
    }

private:
    void StartLine()
    {
        if (m_row < m_height)
            m_line = reinterpret_cast<QRgb *>(
                m_image.scanLine(int(m_topDown ? m_row : m_height - 1 - m_row)));
    }

    void Advance(qint64 count)
    {
        m_x += count;
        if (m_x == m_width) {
            m_x = 0;
            ++m_row;
            StartLine();
        }
    }

    QImage &m_image;
    qint64 m_width, m_height;
    bool m_topDown, m_rightToLeft;
    qint64 m_x = 0, m_row = 0;
    QRgb *m_line = nullptr;
};

// Decodes the pixels with convert(bytes) giving one colour; the caller has
// made sure that an uncompressed picture's bytes are all there.
template <int PixelBytes, typename Convert>
bool DecodePixels(const uchar *data, qint64 size, bool encoded, PixelSink &sink, qint64 pixels,
                  Convert convert)
{
    if (!encoded) {
        for (qint64 i = 0; i < pixels; ++i, data += PixelBytes)
            sink.Put(convert(data));
        return true;
    }
    qint64 pos = 0, done = 0;
    while (done < pixels) {
        if (pos >= size)
            return false;
        const uchar packet = data[pos++];
        const qint64 count = qMin<qint64>((packet & 0x7F) + 1, pixels - done);
        if (packet & 0x80) {
            if (size - pos < PixelBytes)
                return false;
            sink.Put(convert(data + pos), count);
            pos += PixelBytes;
        } else {
            if (size - pos < count * PixelBytes)
                return false;
            for (qint64 i = 0; i < count; ++i, pos += PixelBytes)
                sink.Put(convert(data + pos));
        }
        done += count;
    }
    return true;
}

// Makes a picture whose alpha is zero everywhere opaque: such files do not
// use their alpha bits.
void DropUnusedAlpha(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]))
                return;
    }
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xff000000;
    }
    image = image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

bool TargaReader::Read(const QByteArray &bytes, QImage &image, QString *error)
{
    const QString truncated = QStringLiteral("the Targa picture is truncated");
    if (bytes.size() < HeaderSize)
        return Fail(error, truncated);
    const uchar *p = Data(bytes);
    const int idLength = p[0], mapType = p[1], type = p[2];
    const qint64 mapFirst = Le16(p + 3), mapLength = Le16(p + 5);
    const int mapBits = p[7];
    const qint64 width = Le16(p + 12), height = Le16(p + 14);
    const int depth = p[16], descriptor = p[17];
    const int kind = type & 7;
    const bool encoded = type & 8;
    if (mapType > 1 ||
        (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11))
        return Fail(error, QStringLiteral("Targa pictures of type %1 are not supported").arg(type));
    if (kind == 1 && (mapType != 1 || mapLength == 0))
        return Fail(error, QStringLiteral("the Targa picture's colour map is missing"));
    const bool depthOk = kind == 1   ? depth == 8 || depth == 16
                         : kind == 2 ? depth == 15 || depth == 16 || depth == 24 || depth == 32
                                     : depth == 8 || depth == 16;
    if (!depthOk)
        return Fail(error,
                    QStringLiteral("Targa pictures of type %1 with %2 bits are not supported")
                        .arg(type)
                        .arg(depth));
    if (!CheckPictureSize(width, height, error))
        return false;

    qint64 pos = HeaderSize + idLength;
    const qint64 mapEntryBytes = (mapBits + 7) / 8;
    std::vector<QRgb> map;
    bool alpha = false;
    if (mapType == 1) {
        if (kind == 1 && mapBits != 8 && mapBits != 15 && mapBits != 16 && mapBits != 24 &&
            mapBits != 32)
            return Fail(
                error,
                QStringLiteral("Targa colour maps of %1 bits are not supported").arg(mapBits));
        if (bytes.size() - pos < mapLength * mapEntryBytes)
            return Fail(error, truncated);
        if (kind == 1) {
            // Every possible index has a colour; those outside the map are black.
            // Entries of 8 bits are grey levels.
            map.assign(depth == 8 ? 256 : 65536, qRgb(0, 0, 0));
            for (qint64 i = 0; i < mapLength && mapFirst + i < qint64(map.size()); ++i) {
                const uchar *e = p + pos + i * mapEntryBytes;
                map[mapFirst + i] = mapBits == 32   ? qRgba(e[2], e[1], e[0], e[3])
                                    : mapBits == 24 ? qRgb(e[2], e[1], e[0])
                                    : mapBits == 8  ? qRgb(e[0], e[0], e[0])
                                                    : From555(Le16(e), false);
            }
            alpha = mapBits == 32;
        }
        pos += mapLength * mapEntryBytes;
    }

    const qint64 pixelBytes = (depth + 7) / 8;
    const qint64 pixels = width * height;
    const qint64 remaining = bytes.size() - pos;
    // Every packet has a header byte and one pixel and covers at most 128.
    const qint64 needed =
        encoded ? (pixels + MaxPacket - 1) / MaxPacket * (1 + pixelBytes) : pixels * pixelBytes;
    if (remaining < needed)
        return Fail(error, truncated);

    const bool alphaBits = (descriptor & 0x0F) != 0;
    if (kind == 2)
        alpha = depth == 32 || (depth == 16 && alphaBits);
    else if (kind == 3)
        alpha = depth == 16;
    if (!PictureBudget::ClaimPixels(width, height, error))
        return false;
    QImage result(int(width), int(height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.isNull())
        return Fail(error, QStringLiteral("not enough memory for the Targa picture"));
    PixelSink sink(result, descriptor & 0x20, descriptor & 0x10);
    const uchar *data = p + pos;
    bool ok = false;
    if (kind == 1 && depth == 8) {
        ok = DecodePixels<1>(data, remaining, encoded, sink, pixels,
                             [&map](const uchar *s) { return map[s[0]]; });
    } else if (kind == 1) {
        ok = DecodePixels<2>(data, remaining, encoded, sink, pixels,
                             [&map](const uchar *s) { return map[Le16(s)]; });
    } else if (kind == 3 && depth == 8) {
        ok = DecodePixels<1>(data, remaining, encoded, sink, pixels,
                             [](const uchar *s) { return qRgb(s[0], s[0], s[0]); });
    } else if (kind == 3) {
        ok = DecodePixels<2>(data, remaining, encoded, sink, pixels,
                             [](const uchar *s) { return qRgba(s[0], s[0], s[0], s[1]); });
    } else if (depth == 32) {
        ok = DecodePixels<4>(data, remaining, encoded, sink, pixels,
                             [](const uchar *s) { return qRgba(s[2], s[1], s[0], s[3]); });
    } else if (depth == 24) {
        ok = DecodePixels<3>(data, remaining, encoded, sink, pixels,
                             [](const uchar *s) { return qRgb(s[2], s[1], s[0]); });
    } else {
        const bool withAlpha = alpha;
        ok = DecodePixels<2>(data, remaining, encoded, sink, pixels,
                             [withAlpha](const uchar *s) { return From555(Le16(s), withAlpha); });
    }
    if (!ok)
        return Fail(error, truncated);
    if (alpha)
        DropUnusedAlpha(result);
    image = result;
    return true;
}

} // namespace Dayloom
