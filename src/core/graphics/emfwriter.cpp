#include "core/graphics/emfwriter.h"

namespace Dayloom {

class EmfPaintEngine
{
};

EmfWriter::EmfWriter(const QSize &framePixels) : m_frame(framePixels) {}

EmfWriter::~EmfWriter() = default;

QPaintEngine *EmfWriter::paintEngine() const
{
    return nullptr;
}

QByteArray EmfWriter::Bytes() const
{
    return QByteArray();
}

int EmfWriter::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_frame.width();
    case PdmHeight:
        return m_frame.height();
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    default:
        return QPaintDevice::metric(metric);
    }
}

bool ConvertSvgToEmf(const QByteArray &svg, QByteArray &emf, QString *error)
{
    Q_UNUSED(svg);
    emf.clear();
    if (error)
        *error = QStringLiteral("SVG files cannot be converted yet");
    return false;
}

} // namespace Dayloom
