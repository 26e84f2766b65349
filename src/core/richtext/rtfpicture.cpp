#include "core/richtext/rtfpicture.h"

#include "core/graphics/imagedecoder.h"
#include "core/graphics/metafileplayer.h"
#include "core/graphics/picturebudget.h"
#include "core/graphics/pluginimagereader.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cstring>

namespace Dayloom {

namespace {

constexpr double TwipsPerPixel = 15.0; // 1440 twips per inch, 96 pixels per inch
constexpr double PixelsPerHundredthMm = 96.0 / 2540.0;

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

QImage RtfPicture::ToImage(QString *error) const
{
    PictureBudget budget(MaxPixels * 4);
    const PictureBudget::Scope scope(budget);
    QString reason = QStringLiteral("the picture is damaged or of a kind that is not read");
    const QImage image = Decode(&reason);
    if (image.isNull() && error)
        *error = reason;
    return image;
}

QImage RtfPicture::Decode(QString *error) const
{
    if (m_overflow) {
        *error = QStringLiteral("the picture's data is too long");
        return {};
    }
    if (m_data.isEmpty())
        return {};
    switch (m_kind) {
    case Png:
        return ReadEncoded("png", error);
    case Jpeg:
        return ReadEncoded("jpeg", error);
    case Dib:
        return DibToImage(error);
    case DeviceBitmap:
        return DeviceBitmapToImage(error);
    case Metafile:
        return MetafileToImage(error);
    case Unknown:
        break;
    }
    return {};
}

QImage RtfPicture::ReadEncoded(const char *format, QString *error) const
{
    QImage image;
    return PluginImageReader::Read(m_data, format, image, error) ? image : QImage();
}

QImage RtfPicture::DibToImage(QString *error) const
{
    QImage image;
    return DecodePackedDib(m_data, image, error) ? image : QImage();
}

// Drawn at twice the size it is shown at, so that it stays sharp when the
// note is zoomed or printed; the device pixel ratio keeps the shown size.
QImage RtfPicture::MetafileToImage(QString *error) const
{
    MetafilePlayer player;
    if (!player.Load(m_data, error))
        return {};
    // Without a goal size, \picw and \pich of a metafile are its extent in
    // hundredths of a millimetre; only without them does its header decide.
    const QSizeF natural = player.NaturalSize();
    const auto extent = [](int hundredthsMm, double fallback) {
        return hundredthsMm > 0 ? hundredthsMm * PixelsPerHundredthMm : fallback;
    };
    const double width =
        m_goalWidth > 0 ? m_goalWidth / TwipsPerPixel : extent(m_pixelWidth, natural.width());
    const double height =
        m_goalHeight > 0 ? m_goalHeight / TwipsPerPixel : extent(m_pixelHeight, natural.height());
    constexpr int Sharpness = 2;
    const QSize pixels(qCeil(width * Sharpness), qCeil(height * Sharpness));
    if (!SaneSize(pixels.width(), pixels.height()) ||
        !PictureBudget::ClaimPixels(pixels.width(), pixels.height(), error))
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        player.Play(painter, QRectF(QPointF(0, 0), pixels));
    }
    image.setDevicePixelRatio(Sharpness);
    return image;
}

// \wbitmap data: rows top-down, m_widthBytes each, monochrome or true colour.
QImage RtfPicture::DeviceBitmapToImage(QString *error) const
{
    const int width = m_pixelWidth;
    const int height = m_pixelHeight;
    if (!SaneSize(width, height))
        return {};
    const qint64 minStride = (qint64(width) * m_bitsPerPixel + 7) / 8;
    const qint64 stride = m_widthBytes > 0 ? m_widthBytes : (minStride + 1) / 2 * 2;
    if (stride < minStride || stride * height > m_data.size() ||
        !PictureBudget::ClaimPixels(width, height, error))
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
    const QSizeF own = image.deviceIndependentSize();
    const double width = m_goalWidth > 0 ? m_goalWidth / TwipsPerPixel : own.width();
    const double height = m_goalHeight > 0 ? m_goalHeight / TwipsPerPixel : own.height();
    return {std::clamp(width * scaleX, 1.0, double(MaxSide)),
            std::clamp(height * scaleY, 1.0, double(MaxSide))};
}

} // namespace Dayloom
