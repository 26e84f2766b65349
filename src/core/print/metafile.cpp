#include "core/print/metafile.h"

#include "core/print/devicemetrics.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {

constexpr double PagePixelsPerInch = 96.0;
constexpr double HundredthsMmPerInch = 2540.0;

int PagePixels(int hundredthsMm)
{
    return std::max(
        1, static_cast<int>(std::lround(hundredthsMm * PagePixelsPerInch / HundredthsMmPerInch)));
}

// A device at the recording's own resolution whose drawing goes on to
// another painter through a transform: a picture played onto it needs no
// font adjustment, and every operation reaches the real device as vector
// output with fonts sized so that the transform alone scales them.
class Relay : public QPaintEngine
{
public:
    Relay(QPainter &target, const QTransform &base)
        : QPaintEngine(QPaintEngine::AllFeatures), m_target(target), m_base(base)
    {
        const QPaintDevice *device = target.device();
        m_targetDpi =
            device && device->logicalDpiY() > 0 ? device->logicalDpiY() : PagePixelsPerInch;
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags flags = state.state();
        if (flags & DirtyTransform)
            m_target.setTransform(state.transform() * m_base);
        if (flags & DirtyPen)
            m_target.setPen(state.pen());
        if (flags & DirtyBrush)
            m_target.setBrush(state.brush());
        if (flags & DirtyBrushOrigin)
            m_target.setBrushOrigin(state.brushOrigin());
        if (flags & DirtyBackground)
            m_target.setBackground(state.backgroundBrush());
        if (flags & DirtyBackgroundMode)
            m_target.setBackgroundMode(state.backgroundMode());
        if (flags & DirtyHints)
            m_target.setRenderHints(state.renderHints());
        if (flags & DirtyCompositionMode)
            m_target.setCompositionMode(state.compositionMode());
        if (flags & DirtyOpacity)
            m_target.setOpacity(state.opacity());
        if (flags & DirtyClipEnabled)
            m_target.setClipping(state.isClipEnabled());
        if (flags & DirtyClipPath)
            m_target.setClipPath(state.clipPath(), state.clipOperation());
        if (flags & DirtyClipRegion)
            m_target.setClipRegion(state.clipRegion(), state.clipOperation());
    }

    void drawRects(const QRectF *rects, int count) override { m_target.drawRects(rects, count); }
    void drawRects(const QRect *rects, int count) override { m_target.drawRects(rects, count); }
    void drawLines(const QLineF *lines, int count) override { m_target.drawLines(lines, count); }
    void drawLines(const QLine *lines, int count) override { m_target.drawLines(lines, count); }
    void drawEllipse(const QRectF &rect) override { m_target.drawEllipse(rect); }
    void drawPath(const QPainterPath &path) override { m_target.drawPath(path); }
    void drawPoints(const QPointF *points, int count) override
    {
        m_target.drawPoints(points, count);
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            m_target.drawPolyline(points, count);
        else
            m_target.drawPolygon(points, count,
                                 mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
    void drawPixmap(const QRectF &r, const QPixmap &pixmap, const QRectF &source) override
    {
        m_target.drawPixmap(r, pixmap, source);
    }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override
    {
        m_target.drawImage(r, image, source, flags);
    }
    void drawTiledPixmap(const QRectF &r, const QPixmap &pixmap, const QPointF &offset) override
    {
        m_target.drawTiledPixmap(r, pixmap, offset);
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        QFont font = item.font();
        // Point sizes are resolved at the device's resolution: give the
        // size they have in the drawing's page pixels, whatever resolution
        // the screen lends the recording.
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * PagePixelsPerInch / m_targetDpi);
        font.setUnderline(item.renderFlags() & QTextItem::Underline);
        font.setStrikeOut(item.renderFlags() & QTextItem::StrikeOut);
        font.setOverline(item.renderFlags() & QTextItem::Overline);
        m_target.setFont(font);
        m_target.drawText(p, item.text());
    }

private:
    QPainter &m_target;
    QTransform m_base;
    double m_targetDpi;
};

class RelayDevice : public QPaintDevice
{
public:
    RelayDevice(QPainter &target, const QTransform &base, int dpi)
        : m_engine(target, base), m_dpi(dpi)
    {
    }
    QPaintEngine *paintEngine() const override { return &m_engine; }
    int metric(PaintDeviceMetric metric) const override
    {
        return RelayDeviceMetric(metric, QSize(1 << 20, 1 << 20), m_dpi);
    }

private:
    mutable Relay m_engine;
    int m_dpi;
};

} // namespace

void Metafile::Stretch(const QPicture &picture, QPainter &painter, const QRectF &target)
{
    const QRect frame = picture.boundingRect();
    if (frame.isEmpty() || !target.isValid())
        return;
    QTransform base;
    base.translate(target.left(), target.top());
    base.scale(target.width() / frame.width(), target.height() / frame.height());
    base.translate(-frame.left(), -frame.top());
    painter.save();
    base *= painter.transform();
    RelayDevice device(painter, base, picture.logicalDpiY());
    QPainter relay(&device);
    relay.drawPicture(0, 0, picture);
    relay.end();
    painter.restore();
}

Metafile::Metafile(int widthHmm, int heightHmm)
    : m_widthHmm(std::max(0, widthHmm)), m_heightHmm(std::max(0, heightHmm)),
      m_frame(0, 0, PagePixels(m_widthHmm), PagePixels(m_heightHmm))
{
}

int Metafile::ToHundredthsMm(double pagePixels)
{
    return static_cast<int>(pagePixels / PagePixelsPerInch * 25.4 * 100);
}

const QPicture &Metafile::Picture()
{
    m_picture.setBoundingRect(m_frame);
    return m_picture;
}

} // namespace Dayloom
