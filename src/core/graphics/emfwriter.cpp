#include "core/graphics/emfwriter.h"

#include "core/graphics/emfpaintengine.h"
#include "core/graphics/picturelimits.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace Dayloom {

EmfWriter::EmfWriter(const QSize &framePixels)
    : m_frame(framePixels), m_engine(std::make_unique<EmfPaintEngine>(framePixels))
{
}

EmfWriter::~EmfWriter() = default;

QPaintEngine *EmfWriter::paintEngine() const
{
    return m_engine.get();
}

QByteArray EmfWriter::Bytes() const
{
    return m_engine->isActive() ? QByteArray() : m_engine->File();
}

int EmfWriter::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_frame.width();
    case PdmHeight:
        return m_frame.height();
    case PdmWidthMM:
        return int(std::lround(m_frame.width() * 25.4 / 96));
    case PdmHeightMM:
        return int(std::lround(m_frame.height() * 25.4 / 96));
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 24;
    case PdmDevicePixelRatio:
        return 1;
    default:
        return QPaintDevice::metric(metric);
    }
}

bool ConvertSvgToEmf(const QByteArray &svg, QByteArray &emf, QString *error)
{
    emf.clear();
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    QSvgRenderer renderer;
    if (svg.isEmpty() || !renderer.load(svg) || !renderer.isValid())
        return fail(QStringLiteral("the SVG file could not be read"));
    QSizeF size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBoxF().size();
    if (!std::isfinite(size.width()) || !std::isfinite(size.height()) || size.width() < 1 ||
        size.height() < 1)
        return fail(QStringLiteral("the SVG file gives no size"));
    const QSize frame(int(std::ceil(std::min(size.width(), 1e9))),
                      int(std::ceil(std::min(size.height(), 1e9))));
    if (!CheckPictureSize(frame.width(), frame.height(), error))
        return false;
    EmfWriter writer(frame);
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(QStringLiteral("the SVG file could not be drawn"));
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    emf = writer.Bytes();
    return !emf.isEmpty() || fail(QStringLiteral("the SVG file could not be drawn"));
}

} // namespace Dayloom
