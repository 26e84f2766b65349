#include "core/graphics/pluginimagereader.h"

#include "core/graphics/picturebudget.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/rasterbytes.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace Dayloom {

namespace {

constexpr qint64 GifScreenEnd = 13; // signature and logical screen descriptor

// The canvas the GIF plugin makes for the first image: the logical screen,
// grown to hold the first image where that reaches past it. The plugin's
// own answer can be far smaller than what it allocates (a tall screen
// around a small image gives the screen's width and the image's height).
// Invalid when the bytes are not a GIF.
QSize GifCanvas(const QByteArray &bytes)
{
    if (bytes.size() < GifScreenEnd || (std::memcmp(bytes.constData(), "GIF87a", 6) &&
                                        std::memcmp(bytes.constData(), "GIF89a", 6)))
        return {};
    using RasterBytes::Le16;
    const uchar *p = RasterBytes::Data(bytes);
    const qint64 size = bytes.size();
    const int screenWidth = Le16(p + 6), screenHeight = Le16(p + 8);
    qint64 pos = GifScreenEnd;
    if (p[10] & 0x80) // a global colour table
        pos += 3 * (qint64(1) << ((p[10] & 7) + 1));
    while (pos < size) {
        if (p[pos] == 0x2C) { // image descriptor
            if (size - pos < 9)
                break;
            const int right = Le16(p + pos + 1) + Le16(p + pos + 5);
            const int bottom = Le16(p + pos + 3) + Le16(p + pos + 7);
            return QSize(std::max(screenWidth, right), std::max(screenHeight, bottom));
        }
        if (p[pos] != 0x21) // neither an extension: the trailer or damage
            break;
        pos += 2; // introducer and label, then sub-blocks up to an empty one
        while (pos < size && p[pos] != 0)
            pos += 1 + p[pos];
        ++pos;
    }
    return QSize(screenWidth, screenHeight);
}

} // namespace

bool PluginImageReader::Read(const QByteArray &bytes, const char *format, QImage &image,
                             QString *error)
{
    // Qt's own check is the last line of defence: whatever the plugin makes
    // of the file, it allocates no more than the open budgets have left.
    const qint64 available = PictureBudget::Available();
    const qint64 limit = available < 0 ? MaxPictureBytes : std::min(MaxPictureBytes, available);
    QImageReader::setAllocationLimit(int(std::max<qint64>(1, limit / (1024 * 1024))));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const QString name = QString::fromLatin1(format).toUpper();
    if (!reader.canRead())
        return RasterBytes::Fail(error, QStringLiteral("this is not a %1 picture").arg(name));
    // What the plugin will allocate is claimed before anything is decoded.
    const QSize size = qstrcmp(format, "gif") == 0 ? GifCanvas(bytes) : reader.size();
    if (!size.isValid())
        return RasterBytes::Fail(error,
                                 QStringLiteral("the %1 picture does not tell its size").arg(name));
    if (!PictureBudget::ClaimPixels(size.width(), size.height(), error))
        return false;
    QImage result;
    if (!reader.read(&result))
        return RasterBytes::Fail(
            error,
            QStringLiteral("the %1 picture cannot be read: %2").arg(name, reader.errorString()));
    if (!CheckPictureSize(result.width(), result.height(), error))
        return false;
    result.convertTo(result.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.isNull())
        return RasterBytes::Fail(error, QStringLiteral("not enough memory for the picture"));
    image = result;
    return true;
}

} // namespace Dayloom
