#pragma once

#include "core/common/tcolor.h"
#include "core/objects/tggraphiccontrol.h"

#include <QByteArray>
#include <QLineF>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace Dayloom {

// A drawn shape: a rectangle, a rounded rectangle, an ellipse, or a line
// across the object's box from top left to bottom right (shLineDown) or from
// bottom left to top right (shLineUp). The outline is drawn with a pen of a
// colour, width and style; closed shapes are filled with a brush of a colour
// unless the brush is clear. The whole stroke lies inside the box.
//
// Widths and radii are pixels of the page at zoom 1 (96 per inch): on screen
// they scale with the zoom, on paper with the printer's resolution (a pen 1
// pixel wide is 1/96 inch), so the shape prints as vectors, never as a
// picture. A line is hit only near itself, not anywhere in its box.
class TGShape : public TGGraphicControl
{
public:
    enum TShapeType : int
    {
        shRectangle,
        shRoundRect,
        shEllipse,
        shLineDown, // top left to bottom right
        shLineUp,   // bottom left to top right
    };
    enum TPenStyle : int
    {
        psSolid,
        psDash,
        psDot,
        psDashDot,
    };
    enum TBrushStyle : int
    {
        bsSolid,
        bsClear,
    };

    static constexpr int DefaultWidth = 120;
    static constexpr int DefaultHeight = 80;
    static constexpr int DefaultCornerRadius = 10;
    // Pens wider than this (over an inch) are stored as this.
    static constexpr int MaxPenWidth = 100;
    // How wide the band around a line is that a click hits, in screen pixels
    // (wider when the pen is).
    static constexpr int LineHitWidth = 4;

    // A rectangle of 120 x 80 pixels, black 1-pixel solid outline, clear
    // (white) brush, corner radius 10.
    TGShape();

    // "TGShape", the class name files store it under.
    static QByteArray StoredClassName() { return QByteArrayLiteral("TGShape"); }
    QByteArray ClassName() const override { return StoredClassName(); }
    // The base properties, then Shape, Pen.Color, Pen.Width, Pen.Style,
    // Brush.Color, Brush.Style and CornerRadius, each written only when it
    // differs from its default.
    const PropertyList &PublishedProperties() const override;

    // --- published properties ------------------------------------------------------
    TShapeType Shape() const { return m_shape; }
    void SetShape(TShapeType shape);
    TColor PenColor() const { return m_penColor; }
    void SetPenColor(TColor color);
    // Pixels at zoom 1, kept within 1..MaxPenWidth.
    int PenWidth() const { return m_penWidth; }
    void SetPenWidth(int width);
    TPenStyle PenStyle() const { return m_penStyle; }
    void SetPenStyle(TPenStyle style);
    TColor BrushColor() const { return m_brushColor; }
    void SetBrushColor(TColor color);
    TBrushStyle BrushStyle() const { return m_brushStyle; }
    void SetBrushStyle(TBrushStyle style);
    // The corner radius of a round rectangle, pixels at zoom 1 (at least 0;
    // at most half the shorter side is drawn).
    int CornerRadius() const { return m_cornerRadius; }
    void SetCornerRadius(int radius);

    bool IsLine() const { return m_shape == shLineDown || m_shape == shLineUp; }

    // --- drawing ---------------------------------------------------------------------
    void PaintContent(QPainter &painter, const QRect &target, float zoom) const override;
    // The shape through the engine's painter at the device's resolution:
    // the zoom-1 bounds converted to inches, pen width and corner radius
    // scaled by the device's pixels per inch over 96.
    void PrintTo(PrintEngine &engine, double xInch, double yInch) const override;

    // --- hit testing -------------------------------------------------------------------
    // A line covers the band LineHitWidth screen pixels wide along it (or
    // its pen's width at the zoom, when wider); other shapes their box.
    bool Covers(const QPoint &surfacePoint) const override;
    bool Touches(const QRect &surfaceRect) const override;

    // --- popup items ---------------------------------------------------------------------
    // "Shape" (Rectangle, Rounded Rectangle, Ellipse, Line Down, Line Up),
    // "Line Colour..." (carried out by the window), "Line Width" (1, 2, 3, 5
    // and 8 pixels), "Line Style" (Solid, Dash, Dot, Dash Dot), "Fill
    // Colour..." (the window) and "No Fill"; the current choices are checked.
    QList<MenuEntry> MenuEntries() const override;
    bool RunMenuEntry(const QString &caption) override;
    static const QString LineColourCaption;
    static const QString FillColourCaption;

    void AssignProperties(const TGGraphicControl &source) override;

private:
    // The shape in `box` (device pixels of the painter) with a pen `penWidth`
    // device pixels wide and corners of the given radii.
    void Draw(QPainter &painter, const QRectF &box, double penWidth, double radiusX,
              double radiusY) const;
    // The box the pen's centre follows: `box` less half the pen all round.
    static QRectF StrokeBox(const QRectF &box, double penWidth);
    // The line's centre from end to end within `box` (lines only).
    QLineF Line(const QRectF &box, double penWidth) const;
    // The band a click hits along the line, in surface pixels.
    QPainterPath LineHitArea() const;

    TShapeType m_shape = shRectangle;
    TColor m_penColor = clBlack;
    int m_penWidth = 1;
    TPenStyle m_penStyle = psSolid;
    TColor m_brushColor = clWhite;
    TBrushStyle m_brushStyle = bsClear;
    int m_cornerRadius = DefaultCornerRadius;
};

} // namespace Dayloom
