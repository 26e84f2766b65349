#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/objects/borderstyle.h"
#include "core/objects/label/labeltypes.h"
#include "core/objects/tggraphiccontrol.h"

#include <QByteArray>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

namespace Dayloom {

// A placed line of text in one font, turned by a quarter turn or not, with
// an optional background and frame and a raised look made of two copies of
// the text drawn behind it: a shadow copy and a highlight copy, each at a
// small offset in its own colour.
//
// Layout. The rectangles of the three copies and where each copy starts are
// worked out at zoom 1 by Layout(), which runs within every change that
// makes them stale (a setter, a resize through the handle, reading a label
// once it is read), so the size it settles on is part of that change's undo
// step and drawing never changes the label. Layout keeps the label's size in
// step with its text: the height of an unturned label ends between l and
// 1.2 x l (l = the line height plus the room the copies take), a turned
// label the same across; an empty caption still measures one space, so a
// label never collapses.
//
// Drawing at another zoom is the zoom-1 drawing scaled, and printing
// records that drawing as vectors stretched into the label's inch
// rectangle (the base's PrintTo), so paper and PDF show text as text.
class TGBaseLabel : public TGGraphicControl
{
public:
    static constexpr int DefaultWidth = 142;
    static constexpr int DefaultHeight = 33;
    // Depths read from a file are kept within this many pixels.
    static constexpr int MaxDepth = 1000;

    // Left, top, right and bottom with right and bottom outside the box, as
    // the layout arithmetic counts them.
    struct Box
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;

        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
        Box Moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
        QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
        friend bool operator==(const Box &, const Box &) = default;
    };

    // What Layout() worked out, in zoom-1 pixels of the label.
    struct LabelLayout
    {
        QFont font;         // Font in pixels at zoom 1
        int ascent = 0;     // of that font
        int textHeight = 0; // ascent + descent
        int lineHeight = 0; // text height + internal and external leading
        int textWidth = 0;  // Caption followed by one space
        QPoint margins;     // (mx, my)
        Box mainRect;
        Box shadowRect;
        Box highlightRect;
        QPoint mainOrigin;
        QPoint shadowOrigin;
        QPoint highlightOrigin;
    };

    // "Text" in Arial 10, 142 x 33 pixels, transparent, no frame, no depth.
    TGBaseLabel();

    static QByteArray StoredClassName() { return QByteArrayLiteral("TGBaseLabel"); }
    QByteArray ClassName() const override { return StoredClassName(); }
    // The base properties, then Alignment, DepthHighlight, DepthShadow,
    // DirectionHighlight, DirectionShadow, colorHighlight, colorShadow,
    // Angle, Caption, Font, Transparent, BackColor, BorderStyle.
    const PropertyList &PublishedProperties() const override;
    // The same list for classes derived from this one.
    static const PropertyList &BaseLabelProperties();
    // A label read from a file or the clipboard settles its size at once.
    void Loaded() override;

    // --- published properties ---------------------------------------------------------
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    int DepthHighlight() const { return m_depthHighlight; }
    void SetDepthHighlight(int depth);
    int DepthShadow() const { return m_depthShadow; }
    void SetDepthShadow(int depth);
    THighlightDirection DirectionHighlight() const { return m_directionHighlight; }
    void SetDirectionHighlight(THighlightDirection direction);
    TShadowDirection DirectionShadow() const { return m_directionShadow; }
    void SetDirectionShadow(TShadowDirection direction);
    TColor colorHighlight() const { return m_colorHighlight; }
    void SetcolorHighlight(TColor color);
    TColor colorShadow() const { return m_colorShadow; }
    void SetcolorShadow(TColor color);
    // Counter-clockwise degrees: 0, 90, 180 or 270; other values are
    // ignored. A turn makes the text left-aligned and swaps width and height
    // when the text would otherwise run across the short side.
    int Angle() const { return m_angle; }
    void SetAngle(int angle);
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    const FontSpec &Font() const { return m_font; }
    void SetFont(const FontSpec &font);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor color);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);

    // The offsets of the copies from their direction and depth.
    QPoint ShadowOffset() const { return Dayloom::ShadowOffset(m_directionShadow, m_depthShadow); }
    QPoint HighlightOffset() const
    {
        return Dayloom::HighlightOffset(m_directionHighlight, m_depthHighlight);
    }

    // --- layout --------------------------------------------------------------------------
    bool LayoutDirty() const { return m_layoutDirty; }
    // Recomputes the layout when it is stale: the size rules (which may
    // change the bounds), then the three rectangles and origins.
    void Layout();
    // The last layout (run Layout() first to have it current).
    const LabelLayout &CurrentLayout() const { return m_layout; }
    // Font at zoom 1 in pixels, as drawing uses it.
    QFont DrawingFont() const;

    // Also marks the layout stale and keeps width and height at least 1.
    void CheckBoundsChanged() override;

    // --- drawing ----------------------------------------------------------------------------
    // Background, the shadow, highlight and main copies each clipped to its
    // rectangle, then the frame; the zoom-1 drawing scaled into `target`.
    void PaintContent(QPainter &painter, const QRect &target, float zoom) const override;

    // --- popup items and actions ---------------------------------------------------------
    // "Font", "3D Effects" and "Background Color" are dialogs the window
    // carries out; "Alignment" (Left, Center, Right), "Transparent" and
    // "Border" the label itself.
    QList<MenuEntry> MenuEntries() const override;
    bool RunMenuEntry(const QString &caption) override;
    // Whether the menu has "Rotation" (the placed kind has).
    virtual bool HasRotationMenu() const { return false; }

    bool HasFont() const override { return true; }
    // Takes the font; the layout follows on the next drawing.
    void ApplyFont(const FontSpec &font) override;
    // What the "Font" dialog's choice does: the font is taken (the placed
    // kind then grows to fit its text).
    virtual void TakeChosenFont(const FontSpec &font);
    // The colour dialog's choice of "Background Color": the colour, and the
    // background becomes opaque.
    void TakeBackgroundColor(TColor color);
    // The 3D effects dialog's OK: the font and the six effect properties of
    // `source`, then the change event.
    void TakeEffects(const TGBaseLabel &source);

    void AssignProperties(const TGGraphicControl &source) override;

    // Menu captions.
    static const QString FontCaption;
    static const QString EffectsCaption;
    static const QString AlignmentCaption;
    static const QString LeftCaption;
    static const QString CenterCaption;
    static const QString RightCaption;
    static const QString TransparentCaption;
    static const QString BackgroundColorCaption;
    static const QString BorderCaption;

protected:
    // Marks the layout stale and, outside reading, lays out at once.
    void LayoutChanged();
    // Drops the kept drawing and asks for a repaint (not while reading).
    void Invalidate();

private:
    void DrawCopy(QPainter &painter, const LabelLayout &layout, const Box &box,
                  const QPoint &origin, TColor color) const;
    // The size the size rules give the label as it is now.
    QSize SettledSize() const;
    // The layout for a label of `size`, without the size rules.
    LabelLayout ComputeLayout(const QSize &size) const;

    TAlignment m_alignment = taLeftJustify;
    int m_depthHighlight = 0;
    int m_depthShadow = 0;
    THighlightDirection m_directionHighlight = hdUpLeft;
    TShadowDirection m_directionShadow = sdDownRight;
    TColor m_colorHighlight = clAqua;
    TColor m_colorShadow = clGray;
    int m_angle = 0;
    QString m_caption = QStringLiteral("Text");
    FontSpec m_font = FontSpec(QStringLiteral("Arial"), 10);
    bool m_transparent = true;
    TColor m_backColor = clWhite;
    TBorderStyle m_borderStyle = bsNone;

    bool m_layoutDirty = true;
    bool m_inLayout = false;
    LabelLayout m_layout;
};

} // namespace Dayloom
