#pragma once

// Small raster files written in code, for the decoders' tests, their
// fuzzing corpus and the benchmark. The writers are plain and independent of
// the readers.

#include "core/graphics/imagedecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace Dayloom::Testing {

inline void PutLe16(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

inline void PutLe32(QByteArray &out, quint32 v)
{
    PutLe16(out, int(v & 0xffff));
    PutLe16(out, int(v >> 16));
}

inline void SetLe16(QByteArray &out, int at, int v)
{
    out[at] = char(v & 0xff);
    out[at + 1] = char((v >> 8) & 0xff);
}

// A palette image with runs (the first third of each line is one colour).
inline QImage IndexedSample(int width, int height, int colours)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb((i * 67 + 13) & 0xff, (i * 151 + 40) & 0xff, (255 - i * 29) & 0xff));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 3 ? 1 % colours : (x + 2 * y + x * y) % colours);
    return image;
}

// A true-colour image with runs, with varied alpha when asked.
inline QImage TrueSample(int width, int height, bool alpha)
{
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           x < width / 3
                               ? qRgba(200, 30, 90, alpha ? 128 : 255)
                               : qRgba((x * 37) & 0xff, (y * 53) & 0xff, (x * y * 7) & 0xff,
                                       alpha ? (x * 40 + y * 20) & 0xff : 255));
    return image;
}

// Run-length lines of a PCX picture.
inline void PcxEncode(QByteArray &out, const QByteArray &line)
{
    for (int i = 0; i < line.size();) {
        int run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i])
            ++run;
        if (run > 1 || (uchar(line[i]) & 0xC0) == 0xC0)
            out.append(char(0xC0 | run));
        out.append(line[i]);
        i += run;
    }
}

// A PCX picture: bits 1 with 1 to 4 planes, 2, 4 or 8 bits in one plane
// (palette images), or 8 bits in 3 planes (true colour).
inline QByteArray MakePcx(const QImage &image, int bits, int planes, bool encoded)
{
    const int width = image.width(), height = image.height();
    const int bytesPerLine = ((width * bits + 7) / 8 + 1) & ~1;
    QByteArray out(128, 0);
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = encoded ? 1 : 0;
    out[3] = char(bits);
    SetLe16(out, 4, 2); // the picture's window starts at (2, 1)
    SetLe16(out, 6, 1);
    SetLe16(out, 8, 2 + width - 1);
    SetLe16(out, 10, 1 + height - 1);
    out[65] = char(planes);
    SetLe16(out, 66, bytesPerLine);
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < qMin<int>(16, table.size()); ++i) {
        out[16 + 3 * i] = char(qRed(table[i]));
        out[17 + 3 * i] = char(qGreen(table[i]));
        out[18 + 3 * i] = char(qBlue(table[i]));
    }
    for (int y = 0; y < height; ++y) {
        QByteArray line(bytesPerLine * planes, 0);
        for (int x = 0; x < width; ++x) {
            if (planes >= 3 && bits == 8) {
                const QRgb c = image.pixel(x, y);
                line[x] = char(qRed(c));
                line[bytesPerLine + x] = char(qGreen(c));
                line[2 * bytesPerLine + x] = char(qBlue(c));
                continue;
            }
            const int index = image.pixelIndex(x, y);
            for (int plane = 0; plane < planes; ++plane) {
                const int value = bits == 1 ? (index >> plane) & 1 : index;
                const int bit = x * bits;
                line[plane * bytesPerLine + bit / 8] = char(
                    uchar(line[plane * bytesPerLine + bit / 8]) | (value << (8 - bits - bit % 8)));
            }
        }
        if (encoded)
            PcxEncode(out, line);
        else
            out.append(line);
    }
    if (bits == 8 && planes == 1) {
        out.append(char(0x0C));
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < table.size() ? table[i] : 0;
            out.append(char(qRed(c)));
            out.append(char(qGreen(c)));
            out.append(char(qBlue(c)));
        }
    }
    return out;
}

inline quint16 Pack555(QRgb c)
{
    return quint16(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3) |
                   (qAlpha(c) >= 128 ? 0x8000 : 0));
}

// A Targa picture of the given type and depth: types 1 and 9 take a palette
// image, 3 and 11 a grey one (its red channel), 2 and 10 any. descriptor:
// 0x20 top-down, 0x10 right-to-left. The ID field is filled.
inline QByteArray MakeTarga(const QImage &image, int type, int depth, int descriptor,
                            int mapBits = 24, int mapFirst = 0)
{
    const int width = image.width(), height = image.height();
    const bool mapped = (type & 7) == 1;
    const QList<QRgb> table = image.colorTable();
    QByteArray out;
    const QByteArray id("dayloom");
    out.append(char(id.size()));
    out.append(char(mapped ? 1 : 0));
    out.append(char(type));
    PutLe16(out, mapped ? mapFirst : 0);
    PutLe16(out, mapped ? int(table.size()) : 0);
    out.append(char(mapped ? mapBits : 0));
    PutLe32(out, 0);
    PutLe16(out, width);
    PutLe16(out, height);
    out.append(char(depth));
    out.append(char(descriptor | (depth == 32 ? 8 : depth == 16 ? 1 : 0)));
    out.append(id);
    if (mapped) {
        for (QRgb c : table) {
            if (mapBits == 15 || mapBits == 16) {
                PutLe16(out, Pack555(c));
                continue;
            }
            if (mapBits == 8) { // grey entries: the red channel
                out.append(char(qRed(c)));
                continue;
            }
            out.append(char(qBlue(c)));
            out.append(char(qGreen(c)));
            out.append(char(qRed(c)));
            if (mapBits == 32)
                out.append(char(qAlpha(c)));
        }
    }
    // The pixels in file order, each of pixelBytes bytes.
    const int pixelBytes = mapped || (type & 7) == 3 ? 1 : (depth + 7) / 8;
    QByteArray pixels;
    pixels.reserve(qsizetype(width) * height * pixelBytes);
    for (int row = 0; row < height; ++row) {
        const int y = descriptor & 0x20 ? row : height - 1 - row;
        for (int col = 0; col < width; ++col) {
            const int x = descriptor & 0x10 ? width - 1 - col : col;
            const QRgb c = image.pixel(x, y);
            if (mapped) {
                pixels.append(char(image.pixelIndex(x, y) + mapFirst));
            } else if ((type & 7) == 3) {
                pixels.append(char(qRed(c)));
            } else if (depth == 15 || depth == 16) {
                PutLe16(pixels, Pack555(c));
            } else {
                pixels.append(char(qBlue(c)));
                pixels.append(char(qGreen(c)));
                pixels.append(char(qRed(c)));
                if (depth == 32)
                    pixels.append(char(qAlpha(c)));
            }
        }
    }
    if (!(type & 8))
        return out + pixels;
    // Packets run across line ends, as many writers let them.
    const qsizetype count = pixels.size() / pixelBytes;
    const auto same = [&](qsizetype a, qsizetype b) {
        return std::memcmp(pixels.constData() + a * pixelBytes, pixels.constData() + b * pixelBytes,
                           size_t(pixelBytes)) == 0;
    };
    for (qsizetype i = 0; i < count;) {
        int run = 1;
        while (i + run < count && run < 128 && same(i + run, i))
            ++run;
        if (run > 1) {
            out.append(char(0x80 | (run - 1)));
            out.append(pixels.constData() + i * pixelBytes, pixelBytes);
            i += run;
            continue;
        }
        int raw = 1;
        while (i + raw < count && raw < 128 &&
               (i + raw + 1 >= count || !same(i + raw, i + raw + 1)))
            ++raw;
        out.append(char(raw - 1));
        out.append(pixels.constData() + i * pixelBytes, raw * pixelBytes);
        i += raw;
    }
    return out;
}

// A packed bitmap: palette images for 1, 4 and 8 bits (with only the colours
// used in the table), 5-5-5 (or 5-6-5 with bit fields) for 16, BGR for 24,
// BGRx (or BGRA with an alpha mask) for 32. Compression 3 puts the masks
// after a 40-byte header, or in a larger one. pixelStart receives where the
// pixels begin.
inline QByteArray MakeDib(const QImage &image, int bits, quint32 compression = 0,
                          int headerSize = 40, bool topDown = false, int *pixelStart = nullptr)
{
    const int width = image.width(), height = image.height();
    QList<QRgb> table = bits <= 8 ? image.colorTable() : QList<QRgb>();
    if (headerSize == 12 && bits <= 8)
        table.resize(1 << bits); // core headers always have the whole table
    const bool alphaMask = compression == 3 && headerSize >= 56 && bits == 32;
    const quint32 masks[4] = {bits == 16 ? 0xF800u : 0xFF0000u, bits == 16 ? 0x07E0u : 0xFF00u,
                              bits == 16 ? 0x001Fu : 0xFFu, alphaMask ? 0xFF000000u : 0u};
    QByteArray out;
    PutLe32(out, quint32(headerSize));
    if (headerSize == 12) {
        PutLe16(out, width);
        PutLe16(out, height);
        PutLe16(out, 1);
        PutLe16(out, bits);
    } else {
        PutLe32(out, quint32(width));
        PutLe32(out, quint32(topDown ? -height : height));
        PutLe16(out, 1);
        PutLe16(out, bits);
        PutLe32(out, compression);
        PutLe32(out, 0);
        PutLe32(out, 2835);
        PutLe32(out, 2835);
        PutLe32(out, quint32(table.size()));
        PutLe32(out, 0);
        if (headerSize > 40) {
            for (int i = 0; i < 4; ++i)
                PutLe32(out, masks[i]);
            out.append(QByteArray(headerSize - 56, 0));
        } else if (compression == 3) {
            for (int i = 0; i < 3; ++i)
                PutLe32(out, masks[i]);
        }
    }
    for (QRgb c : table) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        if (headerSize != 12)
            out.append(char(0));
    }
    if (pixelStart)
        *pixelStart = int(out.size());
    const int stride = (width * bits + 31) / 32 * 4;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        QByteArray line(stride, 0);
        for (int x = 0; x < width; ++x) {
            const QRgb c = image.pixel(x, y);
            if (bits <= 8) {
                const int bit = x * bits;
                line[bit / 8] =
                    char(uchar(line[bit / 8]) | (image.pixelIndex(x, y) << (8 - bits - bit % 8)));
            } else if (bits == 16) {
                const int v = compression == 3 ? ((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) |
                                                     (qBlue(c) >> 3)
                                               : Pack555(c) & 0x7fff;
                line[2 * x] = char(v & 0xff);
                line[2 * x + 1] = char(v >> 8);
            } else {
                const int step = bits / 8;
                line[step * x] = char(qBlue(c));
                line[step * x + 1] = char(qGreen(c));
                line[step * x + 2] = char(qRed(c));
                if (bits == 32)
                    line[step * x + 3] = char(alphaMask ? qAlpha(c) : 0);
            }
        }
        out.append(line);
    }
    return out;
}

// A bitmap file around a packed bitmap.
inline QByteArray MakeBitmapFile(const QByteArray &packed, int pixelStart)
{
    QByteArray out("BM");
    PutLe32(out, quint32(14 + packed.size()));
    PutLe32(out, 0);
    PutLe32(out, quint32(14 + pixelStart));
    return out + packed;
}

// A run-length bitmap (compression 1 for RLE8, 2 for RLE4) of the given
// pixel codes with a 16-colour sample palette.
inline QByteArray MakeRleBitmap(int width, int height, int compression, const QByteArray &codes)
{
    const QImage palette = IndexedSample(1, 1, 16);
    QByteArray packed;
    PutLe32(packed, 40);
    PutLe32(packed, quint32(width));
    PutLe32(packed, quint32(height));
    PutLe16(packed, 1);
    PutLe16(packed, compression == 1 ? 8 : 4);
    PutLe32(packed, quint32(compression));
    PutLe32(packed, quint32(codes.size()));
    PutLe32(packed, 0);
    PutLe32(packed, 0);
    PutLe32(packed, 16);
    PutLe32(packed, 0);
    for (QRgb c : palette.colorTable()) {
        packed.append(char(qBlue(c)));
        packed.append(char(qGreen(c)));
        packed.append(char(qRed(c)));
        packed.append(char(0));
    }
    const int start = int(packed.size());
    return MakeBitmapFile(packed + codes, start);
}

inline QByteArray PngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An icon's bitmap image: 32 bits with alpha, or 8 bits where colour 0 is
// transparent through the mask.
inline QByteArray MakeIconDib(const QImage &image, int bits)
{
    const int width = image.width(), height = image.height();
    QImage source = image;
    if (bits == 32)
        source = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray dib = MakeDib(source, bits, bits == 32 ? 3 : 0, bits == 32 ? 56 : 40);
    // Icon images say twice their height and use plain compression.
    dib[8] = char((2 * height) & 0xff);
    dib[9] = char((2 * height) >> 8);
    dib[16] = 0;
    const int maskStride = (width + 31) / 32 * 4;
    for (int row = 0; row < height; ++row) {
        QByteArray line(maskStride, 0);
        for (int x = 0; x < width && bits <= 8; ++x)
            if (source.pixelIndex(x, height - 1 - row) == 0)
                line[x / 8] = char(uchar(line[x / 8]) | (0x80 >> (x % 8)));
        dib.append(line);
    }
    return dib;
}

// An icon file of the given images (PNG or bitmap bytes).
inline QByteArray MakeIcon(const QList<QByteArray> &images)
{
    QByteArray out;
    PutLe16(out, 0);
    PutLe16(out, 1);
    PutLe16(out, int(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (const QByteArray &image : images) {
        out.append(QByteArray(4, 0)); // sizes and colours, which readers ignore
        PutLe16(out, 1);
        PutLe16(out, 32);
        PutLe32(out, quint32(image.size()));
        PutLe32(out, offset);
        offset += quint32(image.size());
    }
    for (const QByteArray &image : images)
        out.append(image);
    return out;
}

// One sample of each decoder's kinds of file, named for the corpus.
struct SampleFile
{
    QString decoder; // pcx, targa, bitmap, raster
    QString name;
    QByteArray bytes;
};

// Decodes bytes the way the named decoder's fuzzing entry point does:
// "pcx", "targa", "bitmap" (a file, or a packed bitmap unless it starts with
// "BM"), "raster" (any format, known by its content).
inline bool DecodeAs(const QString &decoder, const QByteArray &bytes, QImage &image, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    if (decoder == QLatin1String("pcx"))
        return DecodeRasterImage(buffer, RasterFormat::Pcx, image, error);
    if (decoder == QLatin1String("targa"))
        return DecodeRasterImage(buffer, RasterFormat::Targa, image, error);
    if (decoder == QLatin1String("bitmap") && !bytes.startsWith("BM"))
        return DecodePackedDib(bytes, image, error);
    return DecodeRasterImage(
        buffer, decoder == QLatin1String("bitmap") ? RasterFormat::Bmp : RasterFormat::Unknown,
        image, error);
}

inline QList<SampleFile> SampleFiles()
{
    QList<SampleFile> files;
    const QImage mono = IndexedSample(13, 5, 2);
    const QImage sixteen = IndexedSample(11, 5, 16);
    const QImage many = IndexedSample(9, 6, 200);
    const QImage colour = TrueSample(10, 4, false);
    const QImage alpha = TrueSample(7, 5, true);
    const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
    files.append({"pcx", "mono.pcx", MakePcx(mono, 1, 1, true)});
    files.append({"pcx", "planes4.pcx", MakePcx(sixteen, 1, 4, true)});
    files.append({"pcx", "nibbles.pcx", MakePcx(sixteen, 4, 1, true)});
    files.append({"pcx", "palette8.pcx", MakePcx(many, 8, 1, true)});
    files.append({"pcx", "rgb24.pcx", MakePcx(colour, 8, 3, true)});
    files.append({"pcx", "plain24.pcx", MakePcx(colour, 8, 3, false)});
    files.append({"targa", "mapped.tga", MakeTarga(many, 1, 8, 0)});
    files.append({"targa", "mapped-rle.tga", MakeTarga(many, 9, 8, 0x20, 32, 20)});
    files.append({"targa", "rgb24-rle.tga", MakeTarga(colour, 10, 24, 0)});
    files.append({"targa", "rgb32-rle.tga", MakeTarga(alpha, 10, 32, 0x30)});
    files.append({"targa", "rgb16.tga", MakeTarga(colour, 2, 16, 0x10)});
    files.append({"targa", "grey-rle.tga", MakeTarga(grey, 11, 8, 0x20)});
    files.append({"targa", "grey-map.tga", MakeTarga(sixteen, 1, 8, 0, 8)});
    int start = 0;
    const QByteArray packed8 = MakeDib(many, 8, 0, 40, false, &start);
    files.append({"bitmap", "palette8.bmp", MakeBitmapFile(packed8, start)});
    files.append({"bitmap", "packed.dib", MakeDib(sixteen, 4, 0, 124, true)});
    files.append({"bitmap", "fields16.dib", MakeDib(colour, 16, 3, 40)});
    files.append({"bitmap", "alpha32.dib", MakeDib(alpha, 32, 3, 108)});
    files.append({"bitmap", "core.dib", MakeDib(mono, 1, 0, 12)});
    files.append(
        {"bitmap", "rle8.bmp",
         MakeRleBitmap(6, 3, 1,
                       QByteArray::fromHex("0301 0003 020304 00 0000 0002 0201 0205 0001"))});
    files.append({"bitmap", "rle4.bmp",
                  MakeRleBitmap(6, 2, 2, QByteArray::fromHex("0512 0000 0005 12345000 0001"))});
    files.append({"raster", "icon.ico",
                  MakeIcon({MakeIconDib(sixteen, 8), PngBytes(alpha), MakeIconDib(alpha, 32)})});
    files.append({"raster", "picture.png", PngBytes(alpha)});
    // One transparent pixel (Qt writes no GIF files).
    files.append({"raster", "picture.gif",
                  QByteArray::fromHex("47494638396101000100800000000000ffffff21f904010000"
                                      "00002c00000000010001000002024401003b")});
    files.append({"raster", "picture.jpg", [&] {
                      QByteArray bytes;
                      QBuffer buffer(&bytes);
                      buffer.open(QIODevice::WriteOnly);
                      colour.save(&buffer, "JPEG");
                      return bytes;
                  }()});
    return files;
}

// Run-length codes that fill nothing: runs of one pixel, then the end.
inline QByteArray EmptyRuns(int bytes)
{
    QByteArray codes;
    while (codes.size() < bytes - 2)
        codes += QByteArray::fromHex("0101");
    return codes + QByteArray::fromHex("0001");
}

// A GIF whose logical screen is width x height around one image of 10 x 10.
inline QByteArray GifScreen(int width, int height)
{
    QByteArray gif("GIF89a");
    PutLe16(gif, width);
    PutLe16(gif, height);
    gif += QByteArray::fromHex("000000");
    gif += QByteArray::fromHex("2c000000000a000a0000"); // the image descriptor
    gif += QByteArray::fromHex("0202448401003b");       // its pixels and the trailer
    return gif;
}

// Small files that claim far more memory than they hold, kept in the
// corpus as regression files.
inline QList<SampleFile> HostileSampleFiles()
{
    return {
        {"bitmap", "rle8-16384x4096-50-bytes.bmp", MakeRleBitmap(16384, 4096, 1, EmptyRuns(50))},
        {"bitmap", "rle4-16384x4096-50-bytes.bmp", MakeRleBitmap(16384, 4096, 2, EmptyRuns(50))},
        {"raster", "screen-522x65357.gif", GifScreen(522, 65357)}};
}

inline QByteArray SampleNamed(const QString &name)
{
    for (const SampleFile &file : SampleFiles())
        if (file.name == name)
            return file.bytes;
    return QByteArray();
}

} // namespace Dayloom::Testing
