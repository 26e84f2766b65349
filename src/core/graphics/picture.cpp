#include "core/graphics/picture.h"

#include "core/graphics/dibwriter.h"
#include "core/graphics/emfwriter.h"
#include "core/graphics/imagedecoder.h"
#include "core/graphics/picturelimits.h"
#include "core/io/seterror.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace Dayloom {

namespace {

bool LooksLikeSvg(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(512).trimmed();
    return head.startsWith("<svg") || (head.startsWith("<?xml") && head.contains("<svg"));
}

std::optional<QImage> Decode(const QByteArray &bytes, RasterFormat format, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImage image;
    if (!DecodeRasterImage(buffer, format, image, error))
        return std::nullopt;
    return image;
}

} // namespace

Picture::Picture(Kind kind, QImage image, QByteArray file, MetafilePlayer player)
    : m_kind(kind), m_image(std::move(image)), m_file(std::move(file)),
      m_metafile(std::move(player))
{
}

std::optional<Picture> Picture::MetafileFromBytes(const QByteArray &bytes, QString *error)
{
    MetafilePlayer player;
    if (!player.Load(bytes, error))
        return std::nullopt;
    return Picture(Kind::Metafile, QImage(), bytes, std::move(player));
}

std::optional<Picture> Picture::IconFromBytes(const QByteArray &bytes, QString *error)
{
    const auto image = Decode(bytes, RasterFormat::Icon, error);
    if (!image)
        return std::nullopt;
    return Picture(Kind::Icon, *image, bytes, MetafilePlayer());
}

Picture Picture::FromImage(const QImage &image)
{
    if (image.isNull())
        return Picture();
    return Picture(Kind::Bitmap, image, QByteArray(), MetafilePlayer());
}

std::optional<Picture> Picture::FromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, file.errorString());
        return std::nullopt;
    }
    if (file.size() > MaxPictureFileBytes) {
        SetError(error, QStringLiteral("the file is too large for a picture"));
        return std::nullopt;
    }
    return FromBytes(file.readAll(), QFileInfo(path).fileName(), error);
}

std::optional<Picture> Picture::FromBytes(const QByteArray &bytes, const QString &fileName,
                                          QString *error)
{
    if (bytes.size() > MaxPictureFileBytes) {
        SetError(error, QStringLiteral("the file is too large for a picture"));
        return std::nullopt;
    }
    if (bytes.isEmpty()) {
        SetError(error, QStringLiteral("the file is empty"));
        return std::nullopt;
    }
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    if (suffix == QLatin1String("WMF") || suffix == QLatin1String("EMF") ||
        MetafilePlayer::LooksLikeMetafile(bytes))
        return MetafileFromBytes(bytes, error);
    if (suffix == QLatin1String("SVG") || suffix == QLatin1String("SVGZ") || LooksLikeSvg(bytes)) {
        QByteArray emf;
        if (!ConvertSvgToEmf(bytes, emf, error))
            return std::nullopt;
        return MetafileFromBytes(emf, error);
    }
    const RasterFormat format = RasterFormatForSuffix(suffix);
    if (format == RasterFormat::Icon)
        return IconFromBytes(bytes, error);
    const auto image = Decode(bytes, format, error);
    if (!image)
        return std::nullopt;
    return FromImage(*image);
}

std::optional<Picture> Picture::FromGraphicFile(QByteArrayView graphicClass, const QByteArray &file,
                                                QString *error)
{
    if (graphicClass.isEmpty())
        return Picture();
    const auto is = [graphicClass](const char *name) {
        return graphicClass.compare(name, Qt::CaseInsensitive) == 0;
    };
    if (is("TBitmap")) {
        const auto image = Decode(file, RasterFormat::Bmp, error);
        if (!image)
            return std::nullopt;
        return FromImage(*image);
    }
    if (is("TMetafile"))
        return MetafileFromBytes(file, error);
    if (is("TIcon"))
        return IconFromBytes(file, error);
    SetError(error, QStringLiteral("pictures of the kind '%1' are not supported")
                        .arg(QString::fromLatin1(graphicClass)));
    return std::nullopt;
}

QByteArray Picture::GraphicClass() const
{
    switch (m_kind) {
    case Kind::None:
        break;
    case Kind::Bitmap:
        return QByteArrayLiteral("TBitmap");
    case Kind::Metafile:
        return QByteArrayLiteral("TMetafile");
    case Kind::Icon:
        return QByteArrayLiteral("TIcon");
    }
    return QByteArray();
}

QByteArray Picture::GraphicFile() const
{
    if (m_kind != Kind::Bitmap)
        return m_file;
    // A 24-bit bitmap would turn transparent pixels black; opaque pictures
    // keep the form they always had.
    if (DibWriter::HasTransparency(m_image)) {
        if (QByteArray file = DibWriter::AlphaBitmapFile(m_image); !file.isEmpty())
            return file;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    m_image.save(&buffer, "BMP");
    return buffer.data();
}

QSize Picture::Size() const
{
    if (m_kind == Kind::Metafile)
        return m_metafile.NaturalSize().toSize();
    return m_image.size();
}

Picture Picture::AsBitmap() const
{
    return m_kind == Kind::Icon ? FromImage(m_image) : *this;
}

void Picture::Draw(QPainter &painter, const QRectF &target) const
{
    switch (m_kind) {
    case Kind::None:
        break;
    case Kind::Bitmap:
    case Kind::Icon:
        painter.drawImage(target, m_image);
        break;
    case Kind::Metafile:
        m_metafile.Play(painter, target);
        break;
    }
}

} // namespace Dayloom
