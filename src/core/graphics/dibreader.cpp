#include "core/graphics/dibreader.h"

#include "core/graphics/picturebudget.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/pluginimagereader.h"
#include "core/graphics/rasterbytes.h"

#include <QImage>
#include <QtAlgorithms>

#include <array>

namespace Dayloom {

using namespace RasterBytes;

namespace {

constexpr qint64 FileHeaderSize = 14;
// Two bytes of run-length data fill at most 255 pixels. Bitmaps that leave
// most of their pixels untouched (with jumps or an early end) are let
// through only up to this many pixels.
constexpr qint64 RunPixelsPerByte = 128;
constexpr qint64 SparseRunLengthPixels = 65536;

enum Compression : quint32
{
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitFields = 6
};

enum class Mode
{
    File,
    Packed,
    Icon
};

struct InfoHeader
{
    quint32 size = 0;
    qint64 width = 0;
    qint64 height = 0; // of the image, always positive
    bool topDown = false;
    int bits = 0;
    quint32 compression = Rgb;
    qint64 coloursUsed = 0;
    int entryBytes = 4;                          // of the colour table
    std::array<quint32, 4> masks = {0, 0, 0, 0}; // red, green, blue, alpha
};

bool KnownHeaderSize(quint32 size)
{
    return size == 12 || size == 16 || size == 40 || size == 52 || size == 56 || size == 64 ||
           size == 108 || size == 124;
}

bool ParseInfo(const uchar *p, qint64 size, Mode mode, InfoHeader &info, QString *error)
{
    const QString truncated = QStringLiteral("the bitmap is truncated");
    if (size < 4)
        return Fail(error, truncated);
    info.size = Le32(p);
    if (!KnownHeaderSize(info.size))
        return Fail(
            error,
            QStringLiteral("bitmaps with a header of %1 bytes are not supported").arg(info.size));
    if (size < info.size)
        return Fail(error, truncated);
    qint64 height = 0;
    if (info.size == 12) {
        info.width = Le16(p + 4);
        height = Le16(p + 6);
        info.bits = Le16(p + 10);
        info.entryBytes = 3;
    } else {
        info.width = LeSigned32(p + 4);
        height = LeSigned32(p + 8);
        info.bits = Le16(p + 14);
        if (info.size >= 20)
            info.compression = Le32(p + 16);
        if (info.size >= 36)
            info.coloursUsed = Le32(p + 32);
        if (info.size >= 52)
            info.masks = {Le32(p + 40), Le32(p + 44), Le32(p + 48), 0};
        if (info.size >= 56)
            info.masks[3] = Le32(p + 52);
    }
    info.topDown = height < 0;
    info.height = height < 0 ? -height : height;
    if (mode == Mode::Icon)
        info.height /= 2;
    const bool os2 = info.size == 16 || info.size == 64;
    const quint32 c = info.compression;
    const int b = info.bits;
    const bool fits = (c == Rgb && (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32)) ||
                      (c == Rle8 && b == 8) || (c == Rle4 && b == 4) ||
                      ((c == BitFields || c == AlphaBitFields) && !os2 && (b == 16 || b == 32)) ||
                      ((c == Jpeg || c == Png) && !os2);
    if (!fits)
        return Fail(error,
                    QStringLiteral("bitmaps of %1 bits with compression %2 are not supported")
                        .arg(b)
                        .arg(c));
    return CheckPictureSize(info.width, info.height, error);
}

// One colour channel of a bit-field pixel.
struct Channel
{
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(quint32 m = 0) : mask(m)
    {
        if (m) {
            shift = int(qCountTrailingZeroBits(m));
            bits = int(qPopulationCount(m >> shift));
        }
    }
    uchar Get(quint32 v) const { return Scale((v & mask) >> shift, bits); }
};

class Decoder
{
public:
    Decoder(const uchar *p, qint64 size, const InfoHeader &info, QImage &image)
        : m_p(p), m_size(size), m_info(info), m_image(image)
    {
    }

    std::array<QRgb, 256> palette{};

    QRgb *Line(qint64 fileRow) const
    {
        const qint64 y = m_info.topDown ? fileRow : m_info.height - 1 - fileRow;
        return reinterpret_cast<QRgb *>(m_image.scanLine(int(y)));
    }

    void Uncompressed(qint64 offset, qint64 stride)
    {
        const int width = int(m_info.width);
        const Channel red(m_info.masks[0]), green(m_info.masks[1]), blue(m_info.masks[2]),
            alpha(m_info.masks[3]);
        const bool plain32 = m_info.bits == 32 && m_info.masks[0] == 0xff0000 &&
                             m_info.masks[1] == 0xff00 && m_info.masks[2] == 0xff;
        for (qint64 row = 0; row < m_info.height; ++row) {
            const uchar *s = m_p + offset + row * stride;
            QRgb *out = Line(row);
            switch (m_info.bits) {
            case 1:
            case 4:
            case 8: {
                const int bits = m_info.bits, perByte = 8 / bits, mask = (1 << bits) - 1;
                for (int x = 0; x < width; ++x)
                    out[x] = palette[(s[x / perByte] >> (8 - bits * (x % perByte + 1))) & mask];
                break;
            }
            case 24:
                for (int x = 0; x < width; ++x, s += 3)
                    out[x] = qRgb(s[2], s[1], s[0]);
                break;
            default:
                for (int x = 0; x < width; ++x) {
                    const quint32 v = m_info.bits == 16 ? Le16(s + 2 * x) : Le32(s + 4 * x);
                    if (plain32)
                        out[x] = v | (alpha.mask ? 0 : 0xff000000);
                    else
                        out[x] = qRgba(red.Get(v), green.Get(v), blue.Get(v),
                                       alpha.mask ? alpha.Get(v) : 255);
                }
                break;
            }
        }
    }

    // Run-length pixels; those the runs leave untouched stay transparent.
    // False when the data ends before the last line (many writers leave out
    // the final end-of-bitmap).
    bool RunLength(qint64 pos)
    {
        const bool four = m_info.compression == Rle4;
        const qint64 width = m_info.width, height = m_info.height;
        m_image.fill(Qt::transparent);
        qint64 x = 0, y = 0;
        QRgb *line = Line(0);
        const auto index = [four](uchar v, qint64 i) {
            return four ? (i & 1 ? v & 15 : v >> 4) : v;
        };
        while (y < height) {
            if (m_size - pos < 2)
                return y >= height - 1;
            const uchar count = m_p[pos], value = m_p[pos + 1];
            pos += 2;
            if (count > 0) {
                for (qint64 i = 0; i < count && x < width; ++i, ++x)
                    line[x] = palette[index(value, i)];
                continue;
            }
            if (value == 0) { // end of line
                x = 0;
                if (++y < height)
                    line = Line(y);
            } else if (value == 1) { // end of bitmap
                return true;
            } else if (value == 2) { // move right and up
                if (m_size - pos < 2)
                    return false;
                x += m_p[pos];
                y += m_p[pos + 1];
                pos += 2;
                if (y < height)
                    line = Line(y);
            } else { // absolute pixels, padded to a word
                const qint64 bytes = four ? (value + 1) / 2 : value;
                if (m_size - pos < bytes)
                    return false;
                for (qint64 i = 0; i < value && x < width; ++i, ++x)
                    line[x] = palette[index(m_p[pos + (four ? i / 2 : i)], i)];
                pos += (bytes + 1) & ~qint64(1);
            }
        }
        return true;
    }

private:
    const uchar *m_p;
    qint64 m_size;
    const InfoHeader &m_info;
    QImage &m_image;
};

bool AllAlphaZero(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]))
                return false;
    }
    return true;
}

bool HasTransparency(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return true;
    }
    return false;
}

void SetAlpha(QImage &image, bool opaque)
{
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = opaque ? line[x] | 0xff000000 : line[x];
    }
}

// p: the info header; size: the bytes from there to the end; pixelOffset:
// where the pixels start counted from p, or -1 for right after the colour
// table.
bool Decode(const uchar *p, qint64 size, qint64 pixelOffset, Mode mode, QImage &image,
            QString *error)
{
    const QString truncated = QStringLiteral("the bitmap is truncated");
    InfoHeader info;
    if (!ParseInfo(p, size, mode, info, error))
        return false;
    qint64 pos = info.size;
    if (info.size == 40 && (info.compression == BitFields || info.compression == AlphaBitFields)) {
        const int count = info.compression == BitFields ? 3 : 4;
        if (size - pos < 4 * count)
            return Fail(error, truncated);
        for (int i = 0; i < count; ++i)
            info.masks[i] = Le32(p + pos + 4 * i);
        pos += 4 * count;
    }
    if (info.compression == Rgb) {
        if (info.bits == 16)
            info.masks = {0x7c00, 0x03e0, 0x001f, 0};
        else if (info.bits == 32)
            info.masks = {0xff0000, 0xff00, 0xff, mode == Mode::Icon ? 0xff000000 : 0};
    }
    if (info.compression == BitFields && info.size < 56)
        info.masks[3] = 0;

    // The colour table: as many entries as used, or all that the bits allow.
    const qint64 paletteSize = info.bits >= 1 && info.bits <= 8 ? (1 << info.bits) : 0;
    const qint64 tableEntries = info.coloursUsed ? info.coloursUsed : paletteSize;
    const qint64 readEntries = qMin(tableEntries, paletteSize);
    if (size - pos < readEntries * info.entryBytes)
        return Fail(error, truncated);

    const qint64 tableEnd = pos + tableEntries * info.entryBytes;
    const qint64 offset = pixelOffset >= pos && pixelOffset < size ? pixelOffset : tableEnd;
    if (offset > size)
        return Fail(error, truncated);
    if (info.compression == Jpeg || info.compression == Png) {
        // The pixels are a whole JPEG or PNG stream, as printers take them.
        const QByteArray stream(reinterpret_cast<const char *>(p + offset), size - offset);
        return PluginImageReader::Read(stream, info.compression == Jpeg ? "jpeg" : "png", image,
                                       error);
    }
    const bool runLength = info.compression == Rle8 || info.compression == Rle4;
    const qint64 stride = (info.width * info.bits + 31) / 32 * 4;
    const qint64 lastRow = (info.width * info.bits + 7) / 8;
    if (!runLength && size - offset < (info.height - 1) * stride + lastRow)
        return Fail(error, truncated);
    // The size claimed must be one the run-length data could fill, before
    // the image is made.
    if (runLength && info.width * info.height > SparseRunLengthPixels &&
        info.width * info.height > (size - offset) * RunPixelsPerByte)
        return Fail(error, QStringLiteral("the bitmap's run-length data is too short for its "
                                          "size %1 x %2")
                               .arg(info.width)
                               .arg(info.height));
    if (!PictureBudget::ClaimPixels(info.width, info.height, error))
        return false;

    const bool alpha = info.masks[3] != 0 || runLength;
    QImage result(int(info.width), int(info.height),
                  alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.isNull())
        return Fail(error, QStringLiteral("not enough memory for the bitmap"));
    Decoder decoder(p, size, info, result);
    decoder.palette.fill(qRgb(0, 0, 0));
    for (qint64 i = 0; i < readEntries; ++i) {
        const uchar *e = p + pos + i * info.entryBytes;
        decoder.palette[i] = qRgb(e[2], e[1], e[0]);
    }

    qint64 maskOffset = -1;
    if (runLength) {
        if (!decoder.RunLength(offset))
            return Fail(error, truncated);
    } else {
        decoder.Uncompressed(offset, stride);
        maskOffset = offset + info.height * stride;
    }

    if (mode == Mode::Icon) {
        // The mask applies unless 32-bit pixels bring alpha of their own.
        const bool ownAlpha = info.bits == 32 && !AllAlphaZero(result);
        const qint64 maskStride = (info.width + 31) / 32 * 4;
        if (!ownAlpha) {
            result.convertTo(QImage::Format_ARGB32);
            SetAlpha(result, true);
            if (maskOffset >= 0 && size - maskOffset >= maskStride * info.height) {
                for (qint64 row = 0; row < info.height; ++row) {
                    const uchar *m = p + maskOffset + row * maskStride;
                    QRgb *out = decoder.Line(row);
                    for (qint64 x = 0; x < info.width; ++x)
                        if ((m[x >> 3] >> (7 - (x & 7))) & 1)
                            out[x] = 0;
                }
            }
        }
    } else if (runLength) {
        if (!HasTransparency(result))
            result.convertTo(QImage::Format_RGB32);
    } else if (alpha && AllAlphaZero(result)) {
        // An alpha mask with nothing in it: the writer did not mean it.
        SetAlpha(result, true);
        result.convertTo(QImage::Format_RGB32);
    }
    image = result;
    return true;
}

} // namespace

bool DibReader::LooksLikePackedDib(const QByteArray &bytes)
{
    if (bytes.size() < 16)
        return false;
    const uchar *p = Data(bytes);
    const quint32 size = Le32(p);
    if (!KnownHeaderSize(size) || size == 16 || size == 64)
        return false;
    const int planes = size == 12 ? Le16(p + 8) : Le16(p + 12);
    InfoHeader info;
    return planes == 1 && ParseInfo(p, bytes.size(), Mode::Packed, info, nullptr);
}

bool DibReader::ReadFile(const QByteArray &bytes, QImage &image, QString *error)
{
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(error, QStringLiteral("this is not a bitmap file"));
    if (bytes.size() < FileHeaderSize)
        return Fail(error, QStringLiteral("the bitmap is truncated"));
    const qint64 offBits = Le32(Data(bytes) + 10);
    return Decode(Data(bytes) + FileHeaderSize, bytes.size() - FileHeaderSize,
                  offBits - FileHeaderSize, Mode::File, image, error);
}

bool DibReader::ReadPacked(const QByteArray &bytes, QImage &image, QString *error)
{
    return Decode(Data(bytes), bytes.size(), -1, Mode::Packed, image, error);
}

bool DibReader::ReadIconImage(const QByteArray &bytes, QImage &image, QString *error)
{
    return Decode(Data(bytes), bytes.size(), -1, Mode::Icon, image, error);
}

} // namespace Dayloom
