#include "core/graphics/strokebudget.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {

// What Qt 6's raster engine keeps of a stroke, measured as the peak of the
// heap while it strokes onto a small image, over thousands of strokes:
// pens from a tenth of a pixel to 10^5 pixels wide, mappings stretched up to
// 10^6 times one way, solid and dashed, every join and cap, curves of every
// size; counted here at up to several times what was measured.
//
// A segment or a dash keeps 600 bytes to 3.5 KB, the more the wider the pen.
constexpr double PieceBytes = 1024, PieceBytesPerRootPixel = 128;
// A round cap, or a round join of up to half a turn, is an arc made into
// lines a fraction of a pixel from it: about the square root of the pen's
// width of them, and as many times more as a painter unit is pixels (Qt
// makes the arcs in painter units): measured up to 64 KB a join.
constexpr double RoundBytesPerRootPixel = 1024;
// Qt offsets every cubic curve of a solid stroke into several curves and
// makes each into lines. While a painter unit is at most two pixels that
// costs 1 to 11 KB a curve, growing with the square root of its size (the
// lines Qt makes of it a quarter pixel from it, by Wang's bound, counted at
// 96 bytes each); with larger painter units Qt makes up to 512 lines of
// each offset, measured up to 75 KB a curve.
constexpr double CurveBytes = 4096, CurveBytesPerLine = 96, LargeUnitCurveBytes = 256 * 1024;
constexpr double SmallUnitPixels = 2; // the most pixels a small painter unit is
// Its dasher makes each curve into lines first, pieces of the dashes they
// fall in: up to 512 of them with larger painter units.
constexpr double LargeUnitDashedCurvePieces = 512;
// Pieces of the outline's edges Qt makes of a curve, as the rasteriser
// walks them.
constexpr double CurveEdgePieces = 4;
// A curve made into lines here turns its joins by up to a whole turn.
constexpr double CurveTurns = 2; // half turns
// How far the lines made of a curve here may stray from it: less than Qt's
// own lines of a curve when it fills it, so that the stroke is closer to
// the exact one than Qt's stroke of the curve.
constexpr double Tolerance = 1.0 / 16; // device pixels
// How far Qt's lines of a curve stray from it.
constexpr double QtTolerance = 1.0 / 4; // device pixels

double Length(const QPointF &vector)
{
    return std::hypot(vector.x(), vector.y());
}

// A solid line one device pixel wide in the pen's colour. (A new pen:
// QPen::setWidthF ignores a change of less than 10^-8.)
QPen Hairline(const QPen &pen)
{
    return QPen(pen.brush(), 0, Qt::SolidLine, pen.capStyle(), pen.joinStyle());
}

QPointF CubicPoint(const QPointF &p0, const QPointF &p1, const QPointF &p2, const QPointF &p3,
                   double t)
{
    const double s = 1 - t;
    return s * s * s * p0 + 3 * s * s * t * p1 + 3 * s * t * t * p2 + t * t * t * p3;
}

} // namespace

StrokeBudget::StrokeBudget(const QTransform &toDevice, bool antialiased)
    : m_linear(toDevice.m11(), toDevice.m12(), toDevice.m21(), toDevice.m22(), 0, 0),
      m_antialiased(antialiased)
{
    // The largest singular value of the linear part.
    const double half = (toDevice.m11() * toDevice.m11() + toDevice.m12() * toDevice.m12() +
                         toDevice.m21() * toDevice.m21() + toDevice.m22() * toDevice.m22()) /
                        2;
    const double area = std::abs(toDevice.determinant());
    m_stretch = std::sqrt(half + std::sqrt(std::max(0.0, half * half - area * area)));
}

double StrokeBudget::CurveSegments(const QPointF &p0, const QPointF &p1, const QPointF &p2,
                                   const QPointF &p3, double tolerance) const
{
    // Wang's bound: this many equal steps of the curve's parameter keep the
    // lines within the tolerance of the curve on the device.
    const double bend =
        std::max(Length(m_linear.map(p0 - 2 * p1 + p2)), Length(m_linear.map(p1 - 2 * p2 + p3)));
    return std::max(1.0, std::ceil(std::sqrt(0.75 * bend / tolerance)));
}

StrokeBudget::Shape StrokeBudget::Measure(const QPainterPath &path) const
{
    Shape shape;
    QPointF last;
    const int count = path.elementCount();
    const auto addLength = [&](const QPointF &from, const QPointF &to) {
        shape.length += QLineF(from, to).length();
        shape.deviceLength += Length(m_linear.map(to - from));
    };
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF point(e.x, e.y);
        if (e.isMoveTo()) {
            ++shape.subpaths;
        } else if (e.isLineTo()) {
            ++shape.lines;
            addLength(last, point);
        } else if (e.isCurveTo() && i + 2 < count) {
            const QPointF control(path.elementAt(i + 1).x, path.elementAt(i + 1).y);
            const QPointF end(path.elementAt(i + 2).x, path.elementAt(i + 2).y);
            ++shape.curves;
            shape.curveLines += CurveSegments(last, point, control, end, Tolerance);
            shape.qtCurveLines += CurveSegments(last, point, control, end, QtTolerance);
            addLength(last, point);
            addLength(point, control);
            addLength(control, end);
            last = end;
            i += 2;
            continue;
        }
        last = point;
    }
    return shape;
}

StrokeBudget::Shape StrokeBudget::Measure(const QPolygonF &points, bool closed) const
{
    Shape shape;
    shape.subpaths = 1;
    const auto addSegment = [&](const QPointF &from, const QPointF &to) {
        ++shape.lines;
        shape.length += QLineF(from, to).length();
        shape.deviceLength += Length(m_linear.map(to - from));
    };
    for (qsizetype i = 1; i < points.size(); ++i)
        addSegment(points[i - 1], points[i]);
    if (closed && points.size() > 2)
        addSegment(points.last(), points.first());
    return shape;
}

StrokeBudget::Cost StrokeBudget::Estimate(const QPen &pen, const Shape &shape, bool asLines) const
{
    const double width = pen.widthF();
    // Qt draws a cosmetic pen of at most a pixel (width 0 is one) with lines
    // of its own, which keep nothing.
    if (pen.style() == Qt::NoPen || (pen.isCosmetic() && width <= 1))
        return {};
    // Cosmetic widths are device pixels, others painter units.
    const double pixels = std::max(1.0, pen.isCosmetic() ? width : width * m_stretch);
    const bool round = pen.capStyle() == Qt::RoundCap || pen.joinStyle() == Qt::RoundJoin;
    const double pieceBytes = PieceBytes + PieceBytesPerRootPixel * std::sqrt(pixels);
    const double unitPixels = pen.isCosmetic() ? 1 : std::max(1.0, m_stretch);
    const double roundBytes = round ? RoundBytesPerRootPixel * std::sqrt(pixels) * unitPixels : 0;
    // Pieces that end in a cap or turn in a join, and pieces that barely turn.
    double ends = shape.subpaths + shape.lines, straight = 0, bytes = 0;
    if (asLines) {
        straight = shape.curveLines;
        bytes = shape.curves * CurveTurns * roundBytes +
                shape.curveLines * sizeof(QPainterPath::Element);
    } else if (pen.isCosmetic() || m_stretch <= SmallUnitPixels) {
        // Cosmetic pens are stroked on the device.
        if (pen.style() == Qt::SolidLine)
            bytes = shape.curves * (CurveBytes + CurveTurns * roundBytes) +
                    shape.qtCurveLines * CurveBytesPerLine;
        else
            ends += shape.curves + shape.qtCurveLines;
    } else if (pen.style() == Qt::SolidLine) {
        bytes = shape.curves * LargeUnitCurveBytes;
    } else {
        ends += shape.curves * LargeUnitDashedCurvePieces;
    }
    if (pen.style() != Qt::SolidLine) {
        // Qt dashes a cosmetic pen on the device, others in painter units,
        // the pattern in pen widths.
        const QList<qreal> pattern = pen.dashPattern();
        double period = 0;
        for (const qreal dash : pattern)
            period += std::max(dash, 0.0);
        const double length = pen.isCosmetic() ? shape.deviceLength : shape.length;
        const double unit = pen.isCosmetic() ? pixels : width;
        ends += std::ceil(pattern.size() / 2.0) * (length / (period * unit) + shape.subpaths);
    }
    bytes += ends * (pieceBytes + roundBytes) + straight * pieceBytes;
    // Both sides of the outline, and across the pen at every piece (a
    // curve's offsets make several).
    const double pieces = ends + straight + (asLines ? 0 : CurveEdgePieces * shape.curves);
    return {bytes, 2 * shape.deviceLength + 2 * pixels * pieces};
}

bool StrokeBudget::Fits(const Cost &cost) const
{
    return cost.bytes <= MaxBytes && (!m_antialiased || cost.edgePixels <= MaxEdgePixels);
}

QPainterPath StrokeBudget::Lines(const QPainterPath &path) const
{
    QPainterPath lines;
    lines.setFillRule(path.fillRule());
    QPointF last;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF point(e.x, e.y);
        if (e.isMoveTo()) {
            lines.moveTo(point);
        } else if (e.isCurveTo() && i + 2 < count) {
            const QPointF control(path.elementAt(i + 1).x, path.elementAt(i + 1).y);
            const QPointF end(path.elementAt(i + 2).x, path.elementAt(i + 2).y);
            const int steps = static_cast<int>(CurveSegments(last, point, control, end, Tolerance));
            for (int step = 1; step < steps; ++step)
                lines.lineTo(CubicPoint(last, point, control, end, double(step) / steps));
            lines.lineTo(end);
            last = end;
            i += 2;
            continue;
        } else {
            lines.lineTo(point);
        }
        last = point;
    }
    return lines;
}

bool StrokeBudget::Cheapen(QPen &pen)
{
    if (pen.style() != Qt::SolidLine) {
        pen.setStyle(Qt::SolidLine);
        return true;
    }
    if (pen.capStyle() == Qt::RoundCap || pen.joinStyle() == Qt::RoundJoin) {
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::BevelJoin);
        return true;
    }
    return false;
}

StrokeBudget::Stroke StrokeBudget::Bounded(const QPen &pen, const QPainterPath &path) const
{
    if (pen.style() == Qt::NoPen)
        return {pen, std::nullopt};
    const Shape shape = Measure(path);
    QPen candidate = pen;
    do {
        if (Fits(Estimate(candidate, shape, false)))
            return {candidate, std::nullopt};
        if (shape.curves > 0 && Fits(Estimate(candidate, shape, true)))
            return {candidate, Lines(path)};
    } while (Cheapen(candidate));
    return {Hairline(pen), std::nullopt};
}

QPen StrokeBudget::Bounded(const QPen &pen, const QPolygonF &points, bool closed) const
{
    if (pen.style() == Qt::NoPen)
        return pen;
    const Shape shape = Measure(points, closed);
    QPen candidate = pen;
    do {
        if (Fits(Estimate(candidate, shape, false)))
            return candidate;
    } while (Cheapen(candidate));
    return Hairline(pen);
}

} // namespace Dayloom
