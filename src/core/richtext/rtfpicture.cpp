#include "core/richtext/rtfpicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace Dayloom {

namespace {

constexpr double TwipsPerPixel = 15.0; // 1440 twips per inch, 96 pixels per inch
constexpr qsizetype BitmapInfoHeaderSize = 40;
constexpr qsizetype FileHeaderSize = 14;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool SaneSize(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= RtfPicture::MaxSide &&
           height <= RtfPicture::MaxSide && width * height <= RtfPicture::MaxPixels;
}

} // namespace

bool RtfPicture::Reserve(qsizetype extra)
{
    if (m_overflow || extra > MaxDataSize - m_data.size()) {
        m_overflow = true;
        return false;
    }
    return true;
}

void RtfPicture::AppendHex(QByteArrayView text)
{
    if (!Reserve(text.size() / 2 + 1))
        return;
    for (const char c : text) {
        const int value = HexValue(c);
        if (value < 0)
            continue;
        if (m_pendingNibble < 0) {
            m_pendingNibble = value;
        } else {
            m_data.append(static_cast<char>(m_pendingNibble * 16 + value));
            m_pendingNibble = -1;
        }
    }
}

void RtfPicture::AppendBinary(QByteArrayView bytes)
{
    if (Reserve(bytes.size()))
        m_data.append(bytes);
}

QImage RtfPicture::ToImage() const
{
    if (m_overflow || m_data.isEmpty())
        return {};
    switch (m_kind) {
    case Png:
        return ReadEncoded("PNG");
    case Jpeg:
        return ReadEncoded("JPEG");
    case Dib:
        return DibToImage();
    case DeviceBitmap:
        return DeviceBitmapToImage();
    case Metafile:
    case Unknown:
        break;
    }
    return {};
}

QImage RtfPicture::ReadEncoded(const char *format) const
{
    return ReadEncoded(m_data, format);
}

// The size is checked from the header before any pixel memory is taken.
QImage RtfPicture::ReadEncoded(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!SaneSize(size.width(), size.height()))
        return {};
    return reader.read();
}

// A packed DIB is a BMP file without its 14-byte file header; rebuild that
// header so that Qt's BMP reader (which checks every length) can decode it.
QImage RtfPicture::DibToImage() const
{
    if (m_data.size() < BitmapInfoHeaderSize)
        return {};
    const auto *bytes = reinterpret_cast<const uchar *>(m_data.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes);
    const qint32 width = qFromLittleEndian<qint32>(bytes + 4);
    const qint32 height = qFromLittleEndian<qint32>(bytes + 8);
    const quint16 bitCount = qFromLittleEndian<quint16>(bytes + 14);
    const quint32 compression = qFromLittleEndian<quint32>(bytes + 16);
    const quint32 colorsUsed = qFromLittleEndian<quint32>(bytes + 32);
    if (headerSize < BitmapInfoHeaderSize || headerSize > quint32(m_data.size()) ||
        !SaneSize(width, qAbs(qint64(height))) || bitCount == 0 || bitCount > 32)
        return {};

    qint64 paletteEntries = colorsUsed;
    if (paletteEntries == 0 && bitCount <= 8)
        paletteEntries = qint64(1) << bitCount;
    qint64 offset = FileHeaderSize + headerSize + std::min<qint64>(paletteEntries, 256) * 4;
    if (compression == 3 && headerSize == BitmapInfoHeaderSize)
        offset += 12; // BI_BITFIELDS masks follow the header
    if (offset > FileHeaderSize + m_data.size())
        return {};

    QByteArray file(FileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(FileHeaderSize + m_data.size()),
                             reinterpret_cast<uchar *>(file.data()) + 2);
    qToLittleEndian<quint32>(quint32(offset), reinterpret_cast<uchar *>(file.data()) + 10);
    file.append(m_data);
    return ReadEncoded(file, "BMP");
}

// \wbitmap data: rows top-down, m_widthBytes each, monochrome or true colour.
QImage RtfPicture::DeviceBitmapToImage() const
{
    const int width = m_pixelWidth;
    const int height = m_pixelHeight;
    if (!SaneSize(width, height))
        return {};
    const qint64 minStride = (qint64(width) * m_bitsPerPixel + 7) / 8;
    const qint64 stride = m_widthBytes > 0 ? m_widthBytes : (minStride + 1) / 2 * 2;
    if (stride < minStride || stride * height > m_data.size())
        return {};

    QImage image;
    const auto *bits = reinterpret_cast<const uchar *>(m_data.constData());
    switch (m_bitsPerPixel) {
    case 1:
        image = QImage(width, height, QImage::Format_Mono);
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < height; ++y)
            memcpy(image.scanLine(y), bits + y * stride, size_t(minStride));
        return image;
    case 24:
    case 32: {
        image = QImage(width, height, QImage::Format_RGB32);
        const int step = m_bitsPerPixel / 8;
        for (int y = 0; y < height; ++y) {
            const uchar *row = bits + y * stride;
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x, row += step)
                out[x] = qRgb(row[2], row[1], row[0]);
        }
        return image;
    }
    default:
        return {};
    }
}

QSizeF RtfPicture::DisplaySize(const QImage &image) const
{
    const double scaleX = (m_scaleX > 0 ? m_scaleX : 100) / 100.0;
    const double scaleY = (m_scaleY > 0 ? m_scaleY : 100) / 100.0;
    const double width = m_goalWidth > 0 ? m_goalWidth / TwipsPerPixel : image.width();
    const double height = m_goalHeight > 0 ? m_goalHeight / TwipsPerPixel : image.height();
    return {std::clamp(width * scaleX, 1.0, double(MaxSide)),
            std::clamp(height * scaleY, 1.0, double(MaxSide))};
}

} // namespace Dayloom
