#pragma once

#include <QPaintDevice>
#include <QSize>

#include <memory>

class QPainter;
class QPaintEngine;

namespace Dayloom {

// A paint device that hands everything drawn on it to another painter,
// doing itself what that painter's device cannot: Qt's SVG writer keeps no
// clip paths and fills with no textures or patterns, so through this device
// every drawing reaches it already cut to the clip (areas as the
// intersection of their outline with the clip, lines as their stroked
// outline, text that crosses the clip's edge as outlines, pictures masked)
// and textured or patterned areas arrive as pictures of themselves. Text
// wholly inside the clip stays text; what lies wholly outside is left out.
//
// `size` is the drawing area in the target's units at the target's
// resolution (the SVG's page at 96 per inch). The target painter must be
// active and outlive the device; its transform is the base of all drawing.
class ClipFreeDevice : public QPaintDevice
{
public:
    ClipFreeDevice(QPainter &target, const QSize &size);
    ~ClipFreeDevice() override;
    ClipFreeDevice(const ClipFreeDevice &) = delete;
    ClipFreeDevice &operator=(const ClipFreeDevice &) = delete;

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<QPaintEngine> m_engine;
    QSize m_size;
    int m_dpi;
};

} // namespace Dayloom
