#pragma once

#include "core/common/fontspec.h"
#include "core/objects/borderstyle.h"
#include "core/objects/tggraphiccontrol.h"

#include <QBrush>
#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QRect>

#include <functional>

class QPainter;
class QPainterPath;

namespace Dayloom {

// Special-effect text: one line of large text whose letters are filled with
// a solid colour, a colour gradient or a tiled picture, or left hollow, with
// an optional outline and an optional drop shadow, over an optional
// background box. The letters are traced as a path filled with the brush, on
// screen and on paper alike, so printing gives sharp vector outlines.
//
// Sizes are page pixels at zoom 1 (96 per inch). The size rules of the text
// (the object is never lower than its text, and a transparent borderless one
// no higher than 1.2 times it) apply whenever the shadow, the font or the
// bounds change, never while painting.
class TGSuperText : public TGGraphicControl
{
public:
    enum TSurfaceType : int
    {
        stNormal,           // solid, in the font's colour
        stBrushTransparent, // hollow letters: outline and shadow only
        stBrushImage,       // the picture tiled into the letters
        stGradientFill,     // a gradient from one colour to the other
    };
    enum TFillDirection : int
    {
        gdUp,
        gdDown,
        gdLeft,
        gdRight,
    };
    enum TShadowOrientation : int
    {
        sdNone,
        sdRight,
        sdLeft,
        sdDownRight,
        sdDownLeft,
        sdDown,
    };
    enum TPenStyle : int
    {
        psSolid,
        psDash,
        psDot,
        psDashDot,
        psDashDotDot,
        psClear, // no outline
        psInsideFrame,
    };

    static constexpr int DefaultWidth = 142;
    static constexpr int DefaultHeight = 33;

    // 142 x 33 pixels with the defaults of a file's object: transparent,
    // borderless, "Text" in 48-point bold Arial filled blue to yellow.
    TGSuperText();

    // "TGSuperText", the class name files store it under.
    static QByteArray StoredClassName() { return QByteArrayLiteral("TGSuperText"); }
    QByteArray ClassName() const override { return StoredClassName(); }
    const PropertyList &PublishedProperties() const override;
    void Loaded() override;
    // A box with a border on a white background.
    void PrepareForTool() override;

    // --- published properties ---------------------------------------------------------
    // Offset of the shadow in pixels at zoom 1.
    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int depth);
    TShadowOrientation ShadowOrientation() const { return m_shadowOrientation; }
    void SetShadowOrientation(TShadowOrientation orientation);
    TColor Shadowcolor() const { return m_shadowColor; }
    void SetShadowcolor(TColor color);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    // No background box.
    bool ControlTransparent() const { return m_controlTransparent; }
    void SetControlTransparent(bool transparent);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor color);
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    // Face, size and style; its colour fills stNormal letters.
    const FontSpec &Font() const { return m_font; }
    void SetFont(const FontSpec &font);
    TFillDirection FillDirection() const { return m_fillDirection; }
    void SetFillDirection(TFillDirection direction);
    TColor GradientToColor() const { return m_gradientTo; }
    void SetGradientToColor(TColor color);
    TColor GradientFromColor() const { return m_gradientFrom; }
    void SetGradientFromColor(TColor color);
    // The picture tiled into the letters of stBrushImage; null when empty.
    const QImage &Image() const { return m_image; }
    // A null image empties the picture.
    void SetImage(const QImage &image);
    // The picture as stored: the bytes of a bitmap file, empty for none.
    QByteArray ImageBitmapData() const;
    // Takes a stored bitmap file; one that cannot be decoded leaves the
    // picture empty but is kept for saving.
    void SetImageBitmapData(const QByteArray &bmp);
    TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(TColor color);
    TPenStyle OutlineStyle() const { return m_outlineStyle; }
    void SetOutlineStyle(TPenStyle style);
    // Pen width in pixels; below 1 no outline is drawn.
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int width);
    TSurfaceType SurfaceType() const { return m_surfaceType; }
    // Leaving stBrushImage discards the picture; hollow letters always get an
    // outline (psClear becomes psSolid).
    void SetSurfaceType(TSurfaceType type);
    // The picture file last loaded into Image (for the texture browser).
    const QString &LastBitmapFileNameandPath() const { return m_lastBitmapPath; }
    void SetLastBitmapFileNameandPath(const QString &path) { m_lastBitmapPath = path; }

    // --- layout ------------------------------------------------------------------------
    // Where the text goes at a zoom, in pixels from the object's top left.
    struct Metrics
    {
        QPoint shadowOffset; // (sx, sy), truncated at the zoom
        int textHeight = 0;  // th
        int textWidth = 0;   // tw: the caption and one blank
        QRect textRect;      // left, top, right, bottom as the text needs them
        QRect shadowRect;
        QPoint textOrigin; // the top left of the text's line
        QPoint shadowOrigin;
    };
    // Shadow offset (dx, dy) of the orientation and depth at zoom 1.
    QPoint ShadowOffset() const;
    // The metrics at `zoom` for an object `width` pixels wide (its width at
    // that zoom).
    Metrics ComputeMetrics(float zoom, int width) const;
    // The font the text is drawn with at `zoom`: the size times the zoom,
    // truncated, in pixels of a 96-per-inch page.
    QFont ZoomedFont(float zoom) const;
    // The longest start of the caption that fits `available` pixels.
    QString FittedCaption(const QFont &font, int available) const;
    // The length of the longest start of a text of `length` characters that
    // fits `available`, where widthOf(n) measures its first n characters
    // (growing with n). Found by halving: at most about 17 measurements for
    // the longest caption.
    static int FittingLength(int length, int available, const std::function<int(int)> &widthOf);
    // The size rules at zoom 1: an object 5 pixels wide or less takes the
    // text's width; a transparent borderless one higher than 1.2 times the
    // text (shadow included) shrinks to that; none stays lower than it.
    void ApplySizeRules();
    // The dialog preview's fit: bounds of 1.2 times the text and its offsets.
    // True when the object now holds the text.
    bool FitToText();

    // Fills the 256 bands of the gradient over the box of `size` pixels at
    // `origin` (painter coordinates), one solid rectangle each, straight onto
    // the painter. Bands that miss `needed` are left out.
    static void DrawGradientBands(QPainter &painter, const QPointF &origin, const QSize &size,
                                  TColor from, TColor to, TFillDirection direction,
                                  const QRectF &needed);
    // The same bands as one brush in painter coordinates: a linear gradient
    // whose stops keep each band a single colour, so a path can be filled
    // with it where clipping is not available.
    static QBrush GradientBandBrush(const QPointF &origin, const QSize &size, TColor from,
                                    TColor to, TFillDirection direction);
    // The colour of band i (0-255) between start and end.
    static QColor GradientBandColor(int band, TColor start, TColor end);

    // --- behaviour ---------------------------------------------------------------------
    void CheckBoundsChanged() override;
    bool HasFont() const override { return true; }
    void ApplyFont(const FontSpec &font) override;
    void PaintContent(QPainter &painter, const QRect &target, float zoom) const override;
    // The text as vector paths at the printer's resolution: the shadow as
    // text, the letters filled with the brush, the outline stroked.
    void PrintTo(PrintEngine &engine, double xInch, double yInch) const override;

    // "Font" and "Background Color" and "Properties" (carried out by the
    // window), "Transparent", "Border".
    QList<MenuEntry> MenuEntries() const override;
    bool RunMenuEntry(const QString &caption) override;

    void AssignProperties(const TGGraphicControl &source) override;

private:
    void Changed();
    void ChangedAndNotify();
    // The gradient's bands over a width x height object as a strip one pixel
    // across them, which a brush repeats along them.
    QImage GradientStrip(int width, int height) const;

    int m_shadowDepth = 0;
    TShadowOrientation m_shadowOrientation = sdDownRight;
    TColor m_shadowColor = clGray;
    TBorderStyle m_borderStyle = bsNone;
    bool m_controlTransparent = true;
    TColor m_bgColor = clWhite;
    QString m_caption = QStringLiteral("Text");
    FontSpec m_font = FontSpec(QStringLiteral("Arial"), 48, true);
    TFillDirection m_fillDirection = gdRight;
    TColor m_gradientTo = clYellow;
    TColor m_gradientFrom = clBlue;
    QImage m_image;
    QByteArray m_imageData; // the stored bitmap file, kept when it cannot be decoded
    TColor m_outlineColor = clBlack;
    TPenStyle m_outlineStyle = psSolid;
    int m_outlineWidth = 1;
    TSurfaceType m_surfaceType = stGradientFill;
    QString m_lastBitmapPath;
    bool m_applyingRules = false;
    mutable QImage m_gradient; // the strip last drawn
    mutable TColor m_gradientKeyFrom = 0;
    mutable TColor m_gradientKeyTo = 0;
    mutable TFillDirection m_gradientKeyDirection = gdRight;
};

} // namespace Dayloom
