#include "core/graphics/pluginimagereader.h"

#include "core/graphics/picturelimits.h"
#include "core/graphics/rasterbytes.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

namespace Dayloom {

bool PluginImageReader::Read(const QByteArray &bytes, const char *format, QImage &image,
                             QString *error)
{
    QImageReader::setAllocationLimit(int(MaxPictureBytes / (1024 * 1024)));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    if (!reader.canRead())
        return RasterBytes::Fail(
            error,
            QStringLiteral("this is not a %1 picture").arg(QString::fromLatin1(format).toUpper()));
    const QSize size = reader.size();
    if (size.isValid() && !CheckPictureSize(size.width(), size.height(), error))
        return false;
    QImage result;
    if (!reader.read(&result))
        return RasterBytes::Fail(
            error, QStringLiteral("the %1 picture cannot be read: %2")
                       .arg(QString::fromLatin1(format).toUpper(), reader.errorString()));
    if (!CheckPictureSize(result.width(), result.height(), error))
        return false;
    image = result.convertToFormat(result.hasAlphaChannel() ? QImage::Format_ARGB32
                                                            : QImage::Format_RGB32);
    if (image.isNull())
        return RasterBytes::Fail(error, QStringLiteral("not enough memory for the picture"));
    return true;
}

} // namespace Dayloom
