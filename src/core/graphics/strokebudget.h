#pragma once

#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>

#include <optional>

namespace Dayloom {

// What Qt keeps while it strokes a path, estimated before it does, and the
// cheaper stroke a metafile player draws instead when that is too much.
//
// Qt outlines a stroke whole before it fills the outline: every dash, join,
// cap and offset of a curve is kept until the stroke is drawn, and with
// antialiasing the rasteriser walks every pixel of the outline's edges,
// inside the device or not. A file decides all of it: a pen millions of
// pixels wide, a mapping that stretches one way a million times more than
// the other, dashes a thousandth of the pen long. The estimate counts the
// pieces of the outline (segments, dashes, the lines Qt makes of a curve)
// and what each keeps for a pen of its width on the device, at its widest.
//
// A stroke over the budget is drawn with the first of these that fits: its
// curves made into lines here (a quarter of a device pixel from the curve,
// as Qt itself would fill them), solid instead of dashed, with bevelled
// joins and square caps instead of round ones, and at last as a solid
// hairline, which Qt draws without keeping anything. Ordinary strokes are
// far within the budget and drawn as they are.
class StrokeBudget
{
public:
    // Bytes one stroke may keep, and edge pixels an antialiased one may walk
    // (about a tenth of a second).
    static constexpr double MaxBytes = 32.0 * 1024 * 1024;
    static constexpr double MaxEdgePixels = 2e6;

    // toDevice: painter units to device pixels (the painter's combined
    // transform); antialiased: whether the painter antialiases.
    StrokeBudget(const QTransform &toDevice, bool antialiased);

    struct Stroke
    {
        QPen pen;
        // The path made into lines, when only that fits; else the path as given.
        std::optional<QPainterPath> lines;
    };
    // How to stroke `path` (painter units) with `pen`.
    Stroke Bounded(const QPen &pen, const QPainterPath &path) const;
    // The pen to stroke a polyline with (closed: a polygon's outline).
    QPen Bounded(const QPen &pen, const QPolygonF &points, bool closed) const;

private:
    struct Shape
    {
        double subpaths = 0;
        double lines = 0;
        double curves = 0;
        double curveLines = 0;   // the lines the curves make here
        double qtCurveLines = 0; // the lines Qt makes of them
        double length = 0;       // painter units, curves by their control points
        double deviceLength = 0;
    };
    struct Cost
    {
        double bytes = 0;
        double edgePixels = 0;
    };

    Shape Measure(const QPainterPath &path) const;
    Shape Measure(const QPolygonF &points, bool closed) const;
    Cost Estimate(const QPen &pen, const Shape &shape, bool asLines) const;
    bool Fits(const Cost &cost) const;
    // One step cheaper: dashes made solid, then round joins and caps plain;
    // false when there is neither left.
    static bool Cheapen(QPen &pen);
    // The lines that keep within `tolerance` device pixels of a curve.
    double CurveSegments(const QPointF &p0, const QPointF &p1, const QPointF &p2, const QPointF &p3,
                         double tolerance) const;
    QPainterPath Lines(const QPainterPath &path) const;

    QTransform m_linear; // toDevice without its translation
    double m_stretch;    // the most toDevice stretches any direction
    bool m_antialiased;
};

} // namespace Dayloom
