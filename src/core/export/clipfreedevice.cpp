#include "core/export/clipfreedevice.h"

#include "core/print/devicemetrics.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace Dayloom {

namespace {

constexpr int DefaultDpi = 96;
// Textured and patterned areas and masked pictures are drawn this many
// times finer than the target's units, within a bound on their pixels.
constexpr double PictureScale = 4.0;
constexpr double MaxPicturePixels = 4.0 * 1024 * 1024;

// Brushes the SVG writer renders: anything else becomes a picture.
bool TargetFills(const QBrush &brush)
{
    switch (brush.style()) {
    case Qt::NoBrush:
    case Qt::SolidPattern:
    case Qt::LinearGradientPattern:
    case Qt::RadialGradientPattern:
    case Qt::ConicalGradientPattern:
        return true;
    default:
        return false;
    }
}

template <typename Rect> QPainterPath RectsPath(const Rect *rects, int count)
{
    QPainterPath path;
    for (int i = 0; i < count; ++i)
        path.addRect(QRectF(rects[i]));
    return path;
}

template <typename Line> QPainterPath LinesPath(const Line *lines, int count)
{
    QPainterPath path;
    for (int i = 0; i < count; ++i) {
        path.moveTo(QLineF(lines[i]).p1());
        path.lineTo(QLineF(lines[i]).p2());
    }
    return path;
}

class ClipFreeEngine : public QPaintEngine
{
public:
    ClipFreeEngine(QPainter &target, const QRectF &area)
        : QPaintEngine(QPaintEngine::AllFeatures), m_target(target), m_base(target.transform()),
          m_area(area)
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags flags = state.state();
        if (flags & DirtyTransform)
            m_transform = state.transform();
        if (flags & DirtyPen)
            m_pen = state.pen();
        if (flags & DirtyBrush)
            m_brush = state.brush();
        if (flags & DirtyBrushOrigin)
            m_brushOrigin = state.brushOrigin();
        if (flags & DirtyHints)
            m_target.setRenderHints(state.renderHints());
        if (flags & DirtyOpacity)
            m_target.setOpacity(state.opacity());
        if (flags & DirtyClipPath)
            CombineClip(state.clipPath(), state.clipOperation());
        if (flags & DirtyClipRegion) {
            QPainterPath path;
            path.addRegion(state.clipRegion());
            CombineClip(path, state.clipOperation());
        }
        if (flags & DirtyClipEnabled)
            m_clipEnabled = state.isClipEnabled();
    }

    void drawPath(const QPainterPath &path) override
    {
        DrawShape(path, true, [&] { m_target.drawPath(path); });
    }
    void drawRects(const QRectF *rects, int count) override
    {
        DrawShape(RectsPath(rects, count), true, [&] { m_target.drawRects(rects, count); });
    }
    void drawRects(const QRect *rects, int count) override
    {
        DrawShape(RectsPath(rects, count), true, [&] { m_target.drawRects(rects, count); });
    }
    void drawLines(const QLineF *lines, int count) override
    {
        DrawShape(LinesPath(lines, count), false, [&] { m_target.drawLines(lines, count); });
    }
    void drawLines(const QLine *lines, int count) override
    {
        DrawShape(LinesPath(lines, count), false, [&] { m_target.drawLines(lines, count); });
    }
    void drawEllipse(const QRectF &rect) override
    {
        QPainterPath path;
        path.addEllipse(rect);
        DrawShape(path, true, [&] { m_target.drawEllipse(rect); });
    }
    void drawEllipse(const QRect &rect) override { drawEllipse(QRectF(rect)); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (count < 1)
            return;
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        if (mode != PolylineMode)
            path.closeSubpath();
        const Qt::FillRule rule = mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill;
        path.setFillRule(rule);
        DrawShape(path, mode != PolylineMode, [&] {
            if (mode == PolylineMode)
                m_target.drawPolyline(points, count);
            else
                m_target.drawPolygon(points, count, rule);
        });
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override
    {
        QList<QPointF> converted;
        converted.reserve(count);
        for (int i = 0; i < count; ++i)
            converted.append(points[i]);
        drawPolygon(converted.constData(), count, mode);
    }
    void drawPoints(const QPointF *points, int count) override
    {
        // A point is a dot of the pen's width.
        const double width = std::max(1.0, m_pen.widthF());
        QPainterPath path;
        for (int i = 0; i < count; ++i)
            path.addRect(
                QRectF(points[i].x() - width / 2, points[i].y() - width / 2, width, width));
        const QBrush saved = m_brush;
        const QPen pen = m_pen;
        m_brush = m_pen.brush();
        m_pen = QPen(Qt::NoPen);
        DrawShape(path, true, [&] { m_target.drawPath(path); });
        m_pen = pen;
        m_brush = saved;
    }
    void drawPoints(const QPoint *points, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QPointF point(points[i]);
            drawPoints(&point, 1);
        }
    }

    void drawImage(const QRectF &rect, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override
    {
        const QRectF onDevice = m_transform.mapRect(rect);
        if (!Clipping() || m_clip.contains(onDevice)) {
            UseTransform(m_transform);
            m_target.drawImage(rect, image, source, flags);
            return;
        }
        if (!m_clip.intersects(onDevice))
            return;
        // Only the picture's pixels inside the clip stay.
        QImage masked =
            image.copy(source.toAlignedRect()).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (masked.isNull())
            return;
        const QTransform pictureToUser =
            QTransform::fromTranslate(rect.left(), rect.top())
                .scale(rect.width() / masked.width(), rect.height() / masked.height());
        bool invertible = false;
        const QTransform deviceToPicture = (pictureToUser * m_transform).inverted(&invertible);
        if (!invertible)
            return;
        QImage mask(masked.size(), QImage::Format_ARGB32_Premultiplied);
        mask.fill(Qt::transparent);
        {
            QPainter inside(&mask);
            inside.setRenderHint(QPainter::Antialiasing);
            inside.setTransform(deviceToPicture);
            inside.fillPath(m_clip, Qt::black);
        }
        {
            QPainter keep(&masked);
            keep.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            keep.drawImage(0, 0, mask);
        }
        UseTransform(m_transform);
        m_target.drawImage(rect, masked);
    }
    void drawPixmap(const QRectF &rect, const QPixmap &pixmap, const QRectF &source) override
    {
        drawImage(rect, pixmap.toImage(), source, Qt::AutoColor);
    }
    void drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap, const QPointF &offset) override
    {
        QBrush tiles(pixmap);
        tiles.setTransform(
            QTransform::fromTranslate(rect.left() - offset.x(), rect.top() - offset.y()));
        QPainterPath path;
        path.addRect(rect);
        Fill(m_transform.map(path), tiles, m_transform);
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        QFont font = item.font();
        font.setUnderline(item.renderFlags() & QTextItem::Underline);
        font.setStrikeOut(item.renderFlags() & QTextItem::StrikeOut);
        font.setOverline(item.renderFlags() & QTextItem::Overline);
        const QRectF box(p.x(), p.y() - item.ascent(), item.width(),
                         item.ascent() + item.descent());
        const QRectF onDevice = m_transform.mapRect(box);
        if ((!Clipping() || m_clip.contains(onDevice)) && TargetFills(m_pen.brush())) {
            UseTransform(m_transform);
            m_target.setFont(font);
            m_target.setPen(m_pen);
            m_target.drawText(p, item.text());
            return;
        }
        if (Clipping() && !m_clip.intersects(onDevice))
            return;
        // Cut by the clip's edge: the letters' outlines, sized as the text
        // would have been at this device's resolution.
        if (font.pointSizeF() > 0)
            font.setPixelSize(std::max(
                1, int(std::lround(font.pointSizeF() * m_target.device()->logicalDpiY() / 72.0))));
        QPainterPath letters;
        letters.addText(p, font, item.text());
        Fill(Clipped(m_transform.map(letters)), m_pen.brush(), m_transform);
    }

private:
    bool Clipping() const { return m_clipEnabled && m_hasClip; }

    void CombineClip(const QPainterPath &path, Qt::ClipOperation operation)
    {
        const QPainterPath onDevice = m_transform.map(path);
        switch (operation) {
        case Qt::NoClip:
            m_hasClip = false;
            m_clip = QPainterPath();
            return;
        case Qt::ReplaceClip:
            m_clip = onDevice;
            break;
        case Qt::IntersectClip:
            m_clip = m_hasClip ? m_clip.intersected(onDevice) : onDevice;
            break;
        }
        m_hasClip = true;
        m_clipEnabled = true;
    }

    QPainterPath Clipped(const QPainterPath &onDevice) const
    {
        return Clipping() ? onDevice.intersected(m_clip) : onDevice;
    }

    // Every change of the target's state opens a new group in the SVG, so
    // an unchanged transform is not set again.
    void UseTransform(const QTransform &transform)
    {
        const QTransform wanted = transform * m_base;
        if (m_targetTransform && *m_targetTransform == wanted)
            return;
        m_target.setTransform(wanted);
        m_targetTransform = wanted;
    }

    // The path filled and its outline stroked with the current pen, each cut
    // to the clip; closed tells whether the shape has an inside to fill.
    // Without a clip and with brushes the target fills, `direct` draws the
    // shape on the target as it came.
    void DrawShape(const QPainterPath &path, bool closed, const std::function<void()> &direct)
    {
        const bool fill = closed && m_brush.style() != Qt::NoBrush;
        const bool stroke = m_pen.style() != Qt::NoPen && m_pen.brush().style() != Qt::NoBrush;
        if (!Clipping() && (!fill || TargetFills(m_brush)) &&
            (!stroke || TargetFills(m_pen.brush()))) {
            UseTransform(m_transform);
            m_target.setPen(m_pen);
            if (closed) {
                m_target.setBrush(m_brush);
                if (m_target.brushOrigin() != m_brushOrigin)
                    m_target.setBrushOrigin(m_brushOrigin);
            }
            direct();
            return;
        }
        if (fill) {
            QBrush brush = m_brush;
            brush.setTransform(brush.transform() *
                               QTransform::fromTranslate(m_brushOrigin.x(), m_brushOrigin.y()));
            Fill(Clipped(m_transform.map(path)), brush, m_transform);
        }
        if (stroke)
            Fill(Clipped(Outline(path)), m_pen.brush(), m_transform);
    }

    // The area the pen covers along the path, on the device.
    QPainterPath Outline(const QPainterPath &path) const
    {
        QPen pen = m_pen;
        if (pen.isCosmetic() || pen.widthF() <= 0) {
            // Cosmetic pens are as wide on the device whatever the transform.
            pen.setWidthF(std::max(1.0, pen.widthF()));
            QPainterPathStroker stroker(pen);
            return stroker.createStroke(m_transform.map(path));
        }
        QPainterPathStroker stroker(pen);
        return m_transform.map(stroker.createStroke(path));
    }

    // Fills an area of the device with a brush whose pattern lies in the
    // user space of `user`.
    void Fill(const QPainterPath &onDevice, QBrush brush, const QTransform &user)
    {
        if (onDevice.isEmpty() || brush.style() == Qt::NoBrush)
            return;
        brush.setTransform(brush.transform() * user);
        UseTransform(QTransform());
        if (TargetFills(brush)) {
            m_target.fillPath(onDevice, brush);
            return;
        }
        const QRectF bounds = onDevice.boundingRect().intersected(m_area);
        if (bounds.isEmpty())
            return;
        double scale = PictureScale;
        const double pixels = bounds.width() * bounds.height() * scale * scale;
        if (pixels > MaxPicturePixels)
            scale *= std::sqrt(MaxPicturePixels / pixels);
        QImage picture(std::max(1, int(std::ceil(bounds.width() * scale))),
                       std::max(1, int(std::ceil(bounds.height() * scale))),
                       QImage::Format_ARGB32_Premultiplied);
        if (picture.isNull())
            return;
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.scale(picture.width() / bounds.width(), picture.height() / bounds.height());
            painter.translate(-bounds.topLeft());
            painter.fillPath(onDevice, brush);
        }
        m_target.drawImage(bounds, picture);
    }

    QPainter &m_target;
    QTransform m_base;
    QRectF m_area;
    QTransform m_transform;
    std::optional<QTransform> m_targetTransform; // last given to the target
    QPen m_pen;
    QBrush m_brush;
    QPointF m_brushOrigin;
    QPainterPath m_clip; // on the device
    bool m_hasClip = false;
    bool m_clipEnabled = false;
};

} // namespace

ClipFreeDevice::ClipFreeDevice(QPainter &target, const QSize &size)
    : m_engine(std::make_unique<ClipFreeEngine>(target, QRectF(QPointF(0, 0), QSizeF(size)))),
      m_size(size),
      m_dpi(target.device() && target.device()->logicalDpiY() > 0 ? target.device()->logicalDpiY()
                                                                  : DefaultDpi)
{
}

ClipFreeDevice::~ClipFreeDevice() = default;

QPaintEngine *ClipFreeDevice::paintEngine() const
{
    return m_engine.get();
}

int ClipFreeDevice::metric(PaintDeviceMetric metric) const
{
    return RelayDeviceMetric(metric, m_size, m_dpi);
}

} // namespace Dayloom
