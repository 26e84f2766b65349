#include "ui/glyphs/glyphiconengine.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace Dayloom {

namespace {

constexpr int DesignSizes[] = {16, 22};
const QByteArray FileTextColor = QByteArrayLiteral("#232629");
const QByteArray FileAccentColor = QByteArrayLiteral("#3daee9");

QString ResourcePath(int designSize, const QString &name)
{
    return QStringLiteral(":/glyphs/%1/%2.svg").arg(designSize).arg(name);
}

QColor AccentColor(QIcon::Mode mode)
{
    if (mode == QIcon::Disabled)
        return GlyphIconEngine::TextColor(mode);
    if (mode == QIcon::Selected)
        return QApplication::palette().color(QPalette::HighlightedText);
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

} // namespace

GlyphIconEngine::GlyphIconEngine(const QString &name) : m_name(name) {}

bool GlyphIconEngine::Exists(const QString &name)
{
    for (const int size : DesignSizes) {
        if (QFile::exists(ResourcePath(size, name)))
            return true;
    }
    return false;
}

QColor GlyphIconEngine::TextColor(QIcon::Mode mode)
{
    const QPalette palette = QApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::ButtonText);
    case QIcon::Selected:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case QIcon::Normal:
    case QIcon::Active:
        break;
    }
    return palette.color(QPalette::Active, QPalette::ButtonText);
}

QString GlyphIconEngine::SourceFor(int pixels) const
{
    QString largest;
    for (const int size : DesignSizes) {
        const QString path = ResourcePath(size, m_name);
        if (!QFile::exists(path))
            continue;
        if (size >= pixels)
            return path;
        largest = path;
    }
    return largest;
}

QPixmap GlyphIconEngine::Render(int pixels, QIcon::Mode mode) const
{
    const QString source = SourceFor(pixels);
    if (source.isEmpty() || pixels <= 0)
        return {};
    const QColor text = TextColor(mode);
    const QColor accent = AccentColor(mode);
    const QString cacheKey = QStringLiteral("dayloom-glyph:%1:%2:%3:%4")
                                 .arg(source)
                                 .arg(pixels)
                                 .arg(text.rgba(), 0, 16)
                                 .arg(accent.rgba(), 0, 16);
    QPixmap picture;
    if (QPixmapCache::find(cacheKey, &picture))
        return picture;

    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    svg.replace(FileTextColor, text.name(QColor::HexRgb).toLatin1());
    svg.replace(FileAccentColor, accent.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};

    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // Text colours with their own alpha (disabled greys often have one)
        // fade the whole glyph, as they fade a caption.
        painter.setOpacity(text.alphaF());
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    }
    picture = QPixmap::fromImage(image);
    QPixmapCache::insert(cacheKey, picture);
    return picture;
}

void GlyphIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const int side = std::min(rect.width(), rect.height());
    QPixmap picture = Render(qRound(side * ratio), mode);
    if (picture.isNull())
        return;
    picture.setDevicePixelRatio(ratio);
    const QRect target(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2,
                       side, side);
    painter->drawPixmap(target, picture);
}

QPixmap GlyphIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    return Render(std::min(size.width(), size.height()), mode);
}

// QIcon asks with the size already in device pixels; `scale` only marks the
// picture so that it is drawn at its logical size.
QPixmap GlyphIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State,
                                      qreal scale)
{
    QPixmap picture = Render(std::min(size.width(), size.height()), mode);
    picture.setDevicePixelRatio(scale);
    return picture;
}

QSize GlyphIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    const int side = std::min(size.width(), size.height());
    return {side, side};
}

QList<QSize> GlyphIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    for (const int size : DesignSizes) {
        if (QFile::exists(ResourcePath(size, m_name)))
            sizes.append(QSize(size, size));
    }
    return sizes;
}

QIconEngine *GlyphIconEngine::clone() const
{
    return new GlyphIconEngine(m_name);
}

QString GlyphIconEngine::key() const
{
    return QStringLiteral("DayloomGlyph");
}

QString GlyphIconEngine::iconName()
{
    return m_name;
}

bool GlyphIconEngine::isNull()
{
    return !Exists(m_name);
}

} // namespace Dayloom
