#pragma once

#include <QPaintDevice>
#include <QSize>

namespace Dayloom {

// What a paint device that relays drawing elsewhere reports of itself: an
// area of `size` pixels at `dpi` dots per inch both ways, 32 bits deep, a
// pixel ratio of 1. Unknown metrics are 0.
int RelayDeviceMetric(QPaintDevice::PaintDeviceMetric metric, const QSize &size, int dpi);

} // namespace Dayloom
