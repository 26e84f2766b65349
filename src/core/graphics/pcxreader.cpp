#include "core/graphics/pcxreader.h"

#include "core/graphics/picturebudget.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/rasterbytes.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cstring>

namespace Dayloom {

using namespace RasterBytes;

namespace {

constexpr qint64 HeaderSize = 128;
constexpr qint64 PaletteTrailerSize = 769; // the marker 0x0C and 256 colours
constexpr int MaxRun = 63;

struct PcxHeader
{
    int version = 0;
    bool encoded = false;
    int bitsPerPixel = 0;
    int planes = 0;
    qint64 bytesPerLine = 0;
    qint64 width = 0;
    qint64 height = 0;
};

bool Supported(int bits, int planes)
{
    if (bits == 1)
        return planes >= 1 && planes <= 4;
    if (bits == 2 || bits == 4)
        return planes == 1;
    return bits == 8 && (planes == 1 || planes == 3 || planes == 4);
}

bool ParseHeader(const QByteArray &bytes, PcxHeader &header, QString *error)
{
    if (bytes.size() < HeaderSize)
        return Fail(error, QStringLiteral("the PCX picture is truncated"));
    const uchar *p = Data(bytes);
    if (p[0] != 0x0A || p[1] > 5 || p[2] > 1)
        return Fail(error, QStringLiteral("this is not a PCX picture"));
    header.version = p[1];
    header.encoded = p[2] == 1;
    header.bitsPerPixel = p[3];
    header.planes = p[65];
    header.bytesPerLine = Le16(p + 66);
    const qint64 xMin = Le16(p + 4), yMin = Le16(p + 6), xMax = Le16(p + 8), yMax = Le16(p + 10);
    header.width = xMax - xMin + 1;
    header.height = yMax - yMin + 1;
    if (!Supported(header.bitsPerPixel, header.planes))
        return Fail(error, QStringLiteral("PCX pictures of %1 planes of %2 bits are not supported")
                               .arg(header.planes)
                               .arg(header.bitsPerPixel));
    if (!CheckPictureSize(header.width, header.height, error))
        return false;
    if (header.bytesPerLine * 8 < header.width * header.bitsPerPixel)
        return Fail(error, QStringLiteral("the PCX picture's lines are shorter than its width"));
    return true;
}

// The colours of 1- to 4-bit pictures that say nothing of their palette.
constexpr std::array<QRgb, 16> DefaultPalette = {
    0xff000000, 0xff0000aa, 0xff00aa00, 0xff00aaaa, 0xffaa0000, 0xffaa00aa, 0xffaa5500, 0xffaaaaaa,
    0xff555555, 0xff5555ff, 0xff55ff55, 0xff55ffff, 0xffff5555, 0xffff55ff, 0xffffff55, 0xffffffff};

// Takes the bytes of the picture's lines one after another; runs may cross
// line ends, as some writers let them.
class LineSource
{
public:
    LineSource(const uchar *data, qint64 size, bool encoded)
        : m_data(data), m_size(size), m_encoded(encoded)
    {
    }

    bool Fill(uchar *out, qint64 count)
    {
        if (!m_encoded) {
            if (m_size - m_pos < count)
                return false;
            std::memcpy(out, m_data + m_pos, size_t(count));
            m_pos += count;
            return true;
        }
        qint64 done = 0;
        while (done < count) {
            if (m_runLeft > 0) {
                const qint64 take = qMin<qint64>(m_runLeft, count - done);
                std::memset(out + done, m_runValue, size_t(take));
                done += take;
                m_runLeft -= int(take);
                continue;
            }
            if (m_pos >= m_size)
                return false;
            const uchar c = m_data[m_pos++];
            if ((c & 0xC0) == 0xC0) {
                if (m_pos >= m_size)
                    return false;
                m_runLeft = c & 0x3F;
                m_runValue = m_data[m_pos++];
            } else {
                out[done++] = c;
            }
        }
        return true;
    }

private:
    const uchar *m_data;
    qint64 m_size;
    bool m_encoded;
    qint64 m_pos = 0;
    int m_runLeft = 0;
    uchar m_runValue = 0;
};

std::array<QRgb, 256> Palette(const QByteArray &bytes, const PcxHeader &header)
{
    std::array<QRgb, 256> palette;
    palette.fill(qRgb(0, 0, 0));
    const uchar *p = Data(bytes);
    if (header.bitsPerPixel == 1 && header.planes == 1) {
        // Two-colour pictures take the first two colours of the header; a
        // header with no colours at all (many writers leave it zero) means
        // black and white.
        const bool noColours = std::all_of(p + 16, p + 64, [](uchar b) { return b == 0; });
        palette[0] = noColours ? qRgb(0, 0, 0) : qRgb(p[16], p[17], p[18]);
        palette[1] = noColours ? qRgb(255, 255, 255) : qRgb(p[19], p[20], p[21]);
    } else if (header.bitsPerPixel == 8) {
        const qint64 trailer = bytes.size() - PaletteTrailerSize;
        const bool present = trailer >= HeaderSize && p[trailer] == 0x0C;
        for (int i = 0; i < 256; ++i)
            palette[i] = present ? qRgb(p[trailer + 1 + 3 * i], p[trailer + 2 + 3 * i],
                                        p[trailer + 3 + 3 * i])
                                 : qRgb(i, i, i);
    } else if (header.version == 3) {
        std::copy(DefaultPalette.begin(), DefaultPalette.end(), palette.begin());
    } else {
        for (int i = 0; i < 16; ++i)
            palette[i] = qRgb(p[16 + 3 * i], p[17 + 3 * i], p[18 + 3 * i]);
    }
    return palette;
}

} // namespace

bool PcxReader::LooksLikePcx(const QByteArray &bytes)
{
    PcxHeader header;
    return ParseHeader(bytes, header, nullptr);
}

bool PcxReader::Read(const QByteArray &bytes, QImage &image, QString *error)
{
    PcxHeader header;
    if (!ParseHeader(bytes, header, error))
        return false;
    const qint64 planeBytes = header.bytesPerLine;
    const qint64 lineBytes = planeBytes * header.planes;
    const qint64 remaining = bytes.size() - HeaderSize;
    // A run of two bytes gives at most 63 bytes of the picture.
    const qint64 needed = lineBytes * header.height;
    if ((header.encoded ? remaining * MaxRun : remaining) < needed)
        return Fail(error, QStringLiteral("the PCX picture is truncated"));

    if (!PictureBudget::ClaimPixels(header.width, header.height, error))
        return false;
    const std::array<QRgb, 256> palette = Palette(bytes, header);
    QImage result(int(header.width), int(header.height), QImage::Format_RGB32);
    if (result.isNull())
        return Fail(error, QStringLiteral("not enough memory for the PCX picture"));

    LineSource source(Data(bytes) + HeaderSize, remaining, header.encoded);
    QByteArray lineBuffer(lineBytes, Qt::Uninitialized);
    const uchar *line = reinterpret_cast<const uchar *>(lineBuffer.constData());
    const int width = int(header.width);
    const int bits = header.bitsPerPixel;
    for (int y = 0; y < header.height; ++y) {
        if (!source.Fill(reinterpret_cast<uchar *>(lineBuffer.data()), lineBytes))
            return Fail(error, QStringLiteral("the PCX picture is truncated"));
        QRgb *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        if (bits == 8 && header.planes == 1) {
            for (int x = 0; x < width; ++x)
                out[x] = palette[line[x]];
        } else if (bits == 8) {
            const uchar *red = line, *green = line + planeBytes, *blue = line + 2 * planeBytes;
            for (int x = 0; x < width; ++x)
                out[x] = qRgb(red[x], green[x], blue[x]);
        } else if (bits == 1) {
            for (int x = 0; x < width; ++x) {
                const int shift = 7 - (x & 7);
                int index = 0;
                for (int plane = 0; plane < header.planes; ++plane)
                    index |= ((line[plane * planeBytes + (x >> 3)] >> shift) & 1) << plane;
                out[x] = palette[index];
            }
        } else {
            const int perByte = 8 / bits, mask = (1 << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                out[x] = palette[(line[x / perByte] >> shift) & mask];
            }
        }
    }
    image = result;
    return true;
}

} // namespace Dayloom
