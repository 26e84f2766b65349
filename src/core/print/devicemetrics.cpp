#include "core/print/devicemetrics.h"

#include <climits>

namespace Dayloom {

int RelayDeviceMetric(QPaintDevice::PaintDeviceMetric metric, const QSize &size, int dpi)
{
    switch (metric) {
    case QPaintDevice::PdmWidth:
        return size.width();
    case QPaintDevice::PdmHeight:
        return size.height();
    case QPaintDevice::PdmWidthMM:
        return static_cast<int>(size.width() * 25.4 / dpi);
    case QPaintDevice::PdmHeightMM:
        return static_cast<int>(size.height() * 25.4 / dpi);
    case QPaintDevice::PdmDpiX:
    case QPaintDevice::PdmDpiY:
    case QPaintDevice::PdmPhysicalDpiX:
    case QPaintDevice::PdmPhysicalDpiY:
        return dpi;
    case QPaintDevice::PdmDepth:
        return 32;
    case QPaintDevice::PdmNumColors:
        return INT_MAX;
    case QPaintDevice::PdmDevicePixelRatio:
        return 1;
    case QPaintDevice::PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace Dayloom
