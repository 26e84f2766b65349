#pragma once

#include "core/graphics/gdiobjecttable.h"
#include "core/graphics/gdistate.h"
#include "core/graphics/picturebudget.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPolygonF>
#include <QRawFont>
#include <QRectF>

#include <optional>
#include <vector>

class QPainter;

namespace Dayloom {

class StrokeBudget;

// A run of text as ExtTextOut records carry it; positions in logical units.
struct GdiTextRun
{
    QPointF reference;
    QString text;
    quint32 options = 0;
    QRectF rect;      // for opaque and clipped runs
    QList<double> dx; // advance of each character, empty for the font's own
};

// The device context a metafile draws through: the state records change
// (objects, colours, modes, mapping, clip, path) and the drawing calls in
// logical units, carried out on a QPainter as vector drawing.
//
// Device units are those of the metafile's reference device; the picture's
// frame, given in device units, is stretched onto the target rectangle of
// the painter. Text is drawn as text at a font size close to the painter
// device's own pixels, so that it stays sharp and selectable in PDF output
// at any stretch. Glyphs that the font engine would have to render under
// a transform far from upright (squeezed one way and stretched the other) or
// larger than any page are drawn as their outlines instead.
//
// The context holds the playback's PictureBudget and keeps it open while it
// lives: the bitmaps, brushes and regions of the metafile draw from it. So
// contexts on one thread end in the reverse order of their making, as
// playbacks do.
class GdiContext
{
public:
    enum class ArcKind
    {
        Arc,
        Chord,
        Pie,
        ArcTo
    };

    // Rectangles of a region kept at most, and characters of a text run.
    static constexpr int MaxRegionRects = 1024;
    static constexpr int MaxTextLength = 8192;
    // Text drawn as glyphs: at most this ratio between the glyphs' stretch
    // along one axis and the other (wide fonts and the mapping together),
    // and glyphs at most this many device pixels large.
    static constexpr double MaxGlyphAspect = 16;
    static constexpr double MaxGlyphPixels = 4096;

    // devicePerMm: device units per millimetre, for the metric map modes.
    GdiContext(QPainter &painter, const QRectF &frame, const QRectF &target, double devicePerMm);

    GdiObjectTable &Objects() { return m_objects; }
    // What the playback has taken of its budget so far.
    const PictureBudget &Budget() const { return m_budget; }
    void LimitObjects(int limit) { m_objects = GdiObjectTable(limit); }
    const GdiState &State() const { return m_state; }

    // Pens and brushes as GDI describes them (style bits, width in logical
    // units, 0 for one device pixel).
    static QPen MakePen(quint32 style, double width, const QColor &color,
                        const QList<double> &userDashes = {});
    static QBrush MakeBrush(quint32 style, const QColor &color, quint32 hatch);
    // Text in the Windows Western code page.
    static QString AnsiText(const QByteArray &bytes);
    // A packed device-independent bitmap; bottomUp tells whether its rows
    // were stored bottom row first. False for a damaged bitmap.
    static bool DecodeDib(const QByteArray &packed, QImage &image, bool *bottomUp);
    // A source rectangle of a bitmap record in the decoded image's pixels;
    // bottomBased when the record measures y from the bottom row.
    static QRectF DibSource(const QImage &image, const QRectF &source, bool bottomBased);

    // State.
    void SaveDc();
    void RestoreDc(int which);
    void SetMapMode(int mode);
    void SetWindowOrg(const QPointF &origin);
    void SetWindowExt(const QSizeF &extent);
    void SetViewportOrg(const QPointF &origin);
    void SetViewportExt(const QSizeF &extent);
    void OffsetWindowOrg(const QPointF &offset);
    void OffsetViewportOrg(const QPointF &offset);
    void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void SetWorldTransform(const QTransform &transform);
    // 1 identity, 2 left multiply, 3 right multiply, 4 set.
    void ModifyWorldTransform(const QTransform &transform, int mode);
    void SelectObject(const GdiObject &object);
    void SetTextColor(const QColor &color) { m_state.textColor = color; }
    void SetBkColor(const QColor &color) { m_state.bkColor = color; }
    void SetBkMode(int mode);
    void SetTextAlign(quint32 align) { m_state.textAlign = align; }
    void SetPolyFillMode(int mode);
    void SetArcDirection(int direction) { m_state.clockwise = direction == 2; }
    void SetMiterLimit(double limit);
    void MoveTo(const QPointF &point);

    // Clip.
    void IntersectClipRect(const QRectF &rect);
    void ExcludeClipRect(const QRectF &rect);
    void OffsetClip(const QPointF &offset);
    void ResetClip();
    // Combines an area in logical units (regions) with the clip.
    void CombineClip(const QPainterPath &logical, int mode);
    void CombineDeviceClip(const QPainterPath &device, int mode);

    // Paths.
    void BeginPath();
    void EndPath() { m_recording = false; }
    void CloseFigure();
    void AbortPath();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(int mode);

    // Drawing, in logical units.
    void LineTo(const QPointF &point);
    void Polyline(const QPolygonF &points);
    void PolylineTo(const QPolygonF &points);
    void Polygon(const QPolygonF &points);
    void PolyPolygon(const QList<QPolygonF> &polygons);
    void PolyPolyline(const QList<QPolygonF> &polylines);
    void PolyBezier(const QPolygonF &points);
    void PolyBezierTo(const QPolygonF &points);
    void PolyDraw(const QPolygonF &points, const QByteArray &types);
    void Rectangle(const QRectF &rect);
    void RoundRect(const QRectF &rect, const QSizeF &corner);
    void Ellipse(const QRectF &rect);
    void Arc(ArcKind kind, const QRectF &box, const QPointF &start, const QPointF &end);
    void AngleArc(const QPointF &center, double radius, double startAngle, double sweepAngle);
    void SetPixel(const QPointF &point, const QColor &color);
    // Fills an area (regions) with a brush; the current brush when null.
    void FillArea(const QPainterPath &logical, const QBrush *brush);
    void FrameArea(const QPainterPath &logical, const QBrush &brush);
    void Text(const GdiTextRun &run);
    // A bitmap stretched into dest (logical units; negative sizes mirror);
    // source in the image's pixels, top row first.
    void Bitmap(const QRectF &dest, const QImage &image, const QRectF &source, quint32 rop);
    // A raster operation without a source bitmap.
    void PatBlt(const QRectF &dest, quint32 rop);

private:
    enum class Space
    {
        Unknown,
        Logical,
        Device,
        Other
    };

    QTransform PageTransform() const;
    const QTransform &LogicalToDevice();
    void MappingChanged() { m_mappingDirty = true; }
    void UseSpace(Space space);
    void ApplyClip();
    void SetPainterPen(const QPen &pen);
    // What a stroke may cost with the painter as it is now (StrokeBudget).
    StrokeBudget Strokes() const;
    // Fills and strokes a path in the painter's units, the stroke as the
    // budget allows.
    void DrawWithinBudget(const QPainterPath &path, const QBrush &brush, const QPen &pen);
    void SetPainterBrush(const QBrush &brush);
    void SetPainterBackground();
    QPen CurrentPen(bool device);
    QBrush CurrentBrush(const QBrush &brush, bool pattern, bool device);
    void Draw(const QPainterPath &logical, bool fill, bool stroke);
    // Recording a path: a move to deviceStart unless the open figure ends there.
    void ContinueFigure(const QPointF &deviceStart);
    // Adds a figure that continues from the current position to the path.
    void AppendOpenFigure(const QPainterPath &logical);
    QRectF InsideFrame(const QRectF &rect) const;
    void DrawDevicePath(bool fill, bool stroke);
    QFont TextFont(const GdiLogFont &logFont, int pixelSize);

    QPainter &m_painter;
    QTransform m_base; // the painter's transform when playback began
    bool m_baseHasClip = false;
    QPainterPath m_baseClip;
    QTransform m_deviceToPainter; // frame onto target, then m_base
    QTransform m_deviceToPixels;  // the same onto the paint device's pixels
    double m_devicePerMm;
    double m_pixelsPer96; // paint device pixels in a 96-per-inch pixel

    GdiState m_state;
    std::vector<GdiState> m_saved;
    GdiObjectTable m_objects;

    QTransform m_logicalToDevice;
    bool m_mappingDirty = true;
    Space m_space = Space::Unknown;
    bool m_clipDirty = false;

    bool m_penValid = false;
    QPen m_painterPen;
    bool m_brushValid = false;
    QBrush m_painterBrush;
    bool m_backgroundValid = false;
    bool m_painterOpaque = false;
    QColor m_painterBackground;

    bool m_recording = false;
    bool m_figureOpen = false;
    QPainterPath m_path; // device units

    // The last text font, kept because runs mostly share one.
    GdiLogFont m_fontKey;
    int m_fontPixels = 0;
    std::optional<QFont> m_font;
    std::optional<QFontMetricsF> m_metrics;
    std::optional<QRawFont> m_rawFont; // the same at the exact device size
    double m_rawPixels = 0;

    PictureBudget m_budget;
    PictureBudget::Scope m_budgetScope{m_budget};
};

} // namespace Dayloom
