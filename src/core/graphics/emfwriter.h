#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

#include <memory>

namespace Dayloom {

class EmfPaintEngine;

// A paint device that records what a QPainter draws as an enhanced metafile:
// paths, fills, pens, text (as text) and images, so that pictures made by
// the program (borders, converted SVG files) are stored in the metafile
// format that designs keep.
//
// Coordinates are page pixels (96 per inch) from the top left of a frame of
// the given size. End the painter before Bytes().
class EmfWriter : public QPaintDevice
{
public:
    explicit EmfWriter(const QSize &framePixels);
    ~EmfWriter() override;

    QPaintEngine *paintEngine() const override;
    // The finished file; empty while a painter is active.
    QByteArray Bytes() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_frame;
    std::unique_ptr<EmfPaintEngine> m_engine;
};

// Converts an SVG file into an enhanced metafile drawn through EmfWriter at
// the SVG's own size. False with a reason for an unreadable SVG.
bool ConvertSvgToEmf(const QByteArray &svg, QByteArray &emf, QString *error);

} // namespace Dayloom
