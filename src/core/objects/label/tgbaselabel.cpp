#include "core/objects/label/tgbaselabel.h"

#include "core/formats/propertylistbuilder.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace Dayloom {

const QString TGBaseLabel::FontCaption = QStringLiteral("Font");
const QString TGBaseLabel::EffectsCaption = QStringLiteral("3D Effects");
const QString TGBaseLabel::AlignmentCaption = QStringLiteral("Alignment");
const QString TGBaseLabel::LeftCaption = QStringLiteral("Left");
const QString TGBaseLabel::CenterCaption = QStringLiteral("Center");
const QString TGBaseLabel::RightCaption = QStringLiteral("Right");
const QString TGBaseLabel::TransparentCaption = QStringLiteral("Transparent");
const QString TGBaseLabel::BackgroundColorCaption = QStringLiteral("Background Color");
const QString TGBaseLabel::BorderCaption = QStringLiteral("Border");

TGBaseLabel::TGBaseLabel()
{
    // A new label keeps its size until its first change or until it is read.
    m_inLayout = true;
    SetBounds(QRect(0, 0, DefaultWidth, DefaultHeight));
    m_inLayout = false;
}

const PropertyList &TGBaseLabel::BaseLabelProperties()
{
    static const PropertyList list =
        PropertyListBuilder<TGBaseLabel>(TGGraphicControl::BaseProperties())
            .enumeration<TAlignment>("Alignment", &TGBaseLabel::Alignment,
                                     &TGBaseLabel::SetAlignment,
                                     {"taLeftJustify", "taRightJustify", "taCenter"}, taLeftJustify)
            .integer("DepthHighlight", &TGBaseLabel::DepthHighlight,
                     &TGBaseLabel::SetDepthHighlight, 0, -MaxDepth, MaxDepth)
            .integer("DepthShadow", &TGBaseLabel::DepthShadow, &TGBaseLabel::SetDepthShadow, 0,
                     -MaxDepth, MaxDepth)
            .enumeration<THighlightDirection>(
                "DirectionHighlight", &TGBaseLabel::DirectionHighlight,
                &TGBaseLabel::SetDirectionHighlight,
                {"hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp"}, hdUpLeft)
            .enumeration<TShadowDirection>(
                "DirectionShadow", &TGBaseLabel::DirectionShadow, &TGBaseLabel::SetDirectionShadow,
                {"sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"}, sdDownRight)
            .color("colorHighlight", &TGBaseLabel::colorHighlight, &TGBaseLabel::SetcolorHighlight,
                   clAqua)
            .color("colorShadow", &TGBaseLabel::colorShadow, &TGBaseLabel::SetcolorShadow, clGray)
            .integer("Angle", &TGBaseLabel::Angle, &TGBaseLabel::SetAngle, 0)
            // Always written: an empty caption must not come back as "Text".
            .string("Caption", &TGBaseLabel::Caption, &TGBaseLabel::SetCaption, std::nullopt)
            .font("Font", &TGBaseLabel::Font, &TGBaseLabel::SetFont, std::nullopt)
            .boolean("Transparent", &TGBaseLabel::Transparent, &TGBaseLabel::SetTransparent, true)
            .color("BackColor", &TGBaseLabel::BackColor, &TGBaseLabel::SetBackColor, clWhite)
            .enumeration<TBorderStyle>("BorderStyle", &TGBaseLabel::BorderStyle,
                                       &TGBaseLabel::SetBorderStyle, {"bsNone", "bsSingle"}, bsNone)
            .build();
    return list;
}

const PropertyList &TGBaseLabel::PublishedProperties() const
{
    return BaseLabelProperties();
}

void TGBaseLabel::Loaded()
{
    Layout();
}

void TGBaseLabel::Invalidate()
{
    if (!IsReading())
        Repaint();
}

// --- setters --------------------------------------------------------------------------------

void TGBaseLabel::SetAlignment(TAlignment alignment)
{
    if (alignment != taLeftJustify && alignment != taRightJustify && alignment != taCenter)
        return;
    if (m_alignment == alignment)
        return;
    m_alignment = alignment;
    LayoutChanged();
    if (IsReading())
        return;
    Invalidate();
    NotifyChanged();
}

void TGBaseLabel::SetDepthHighlight(int depth)
{
    if (m_depthHighlight == depth)
        return;
    m_depthHighlight = depth;
    LayoutChanged();
    Invalidate();
}

void TGBaseLabel::SetDepthShadow(int depth)
{
    if (m_depthShadow == depth)
        return;
    m_depthShadow = depth;
    LayoutChanged();
    Invalidate();
}

void TGBaseLabel::SetDirectionHighlight(THighlightDirection direction)
{
    if (direction < hdNone || direction > hdUp || m_directionHighlight == direction)
        return;
    m_directionHighlight = direction;
    LayoutChanged();
    Invalidate();
}

void TGBaseLabel::SetDirectionShadow(TShadowDirection direction)
{
    if (direction < sdNone || direction > sdDown || m_directionShadow == direction)
        return;
    m_directionShadow = direction;
    LayoutChanged();
    Invalidate();
}

void TGBaseLabel::SetcolorHighlight(TColor color)
{
    if (m_colorHighlight == color)
        return;
    m_colorHighlight = color;
    Invalidate();
}

void TGBaseLabel::SetcolorShadow(TColor color)
{
    if (m_colorShadow == color)
        return;
    m_colorShadow = color;
    Invalidate();
}

void TGBaseLabel::SetAngle(int angle)
{
    if (angle != 0 && angle != 90 && angle != 180 && angle != 270)
        return;
    if (m_angle == angle)
        return;
    m_angle = angle;
    m_layoutDirty = true;
    // A record stores Alignment before Angle: reading keeps what was stored.
    if (IsReading())
        return;
    if (angle != 0)
        m_alignment = taLeftJustify;
    const bool across = angle == 0 || angle == 180;
    m_inLayout = true; // the turn first, then the size rules
    if ((across && Width() < Height()) || (!across && Height() < Width()))
        SetBounds(QRect(Left(), Top(), Height(), Width()));
    m_inLayout = false;
    LayoutChanged();
    Invalidate();
}

void TGBaseLabel::SetCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    LayoutChanged();
    if (IsReading())
        return;
    Invalidate();
    NotifyChanged();
}

void TGBaseLabel::SetFont(const FontSpec &font)
{
    if (m_font == font)
        return;
    m_font = font;
    LayoutChanged();
    Invalidate();
}

void TGBaseLabel::SetTransparent(bool transparent)
{
    if (m_transparent == transparent)
        return;
    m_transparent = transparent;
    if (IsReading())
        return;
    NotifyChanged();
    Invalidate();
}

void TGBaseLabel::SetBackColor(TColor color)
{
    if (m_backColor == color)
        return;
    m_backColor = color;
    if (IsReading())
        return;
    NotifyChanged();
    Invalidate();
}

void TGBaseLabel::SetBorderStyle(TBorderStyle style)
{
    if ((style != bsNone && style != bsSingle) || m_borderStyle == style)
        return;
    m_borderStyle = style;
    if (IsReading())
        return;
    Invalidate();
    NotifyChanged();
}

// --- layout ---------------------------------------------------------------------------------

QFont TGBaseLabel::DrawingFont() const
{
    return m_font.ToQFontPoints(m_font.Size());
}

void TGBaseLabel::CheckBoundsChanged()
{
    if (!m_inLayout)
        m_layoutDirty = true;
    if (Width() < 1 || Height() < 1)
        SetBounds(QRect(Left(), Top(), std::max(1, Width()), std::max(1, Height())));
    if (!m_inLayout && !IsReading())
        Layout();
    TGGraphicControl::CheckBoundsChanged();
}

void TGBaseLabel::Layout()
{
    if (!m_layoutDirty || m_inLayout)
        return;
    m_inLayout = true;
    const QSize size = SettledSize();
    if (size != Bounds().size())
        SetBounds(QRect(Bounds().topLeft(), size));
    m_layout = ComputeLayout(Bounds().size());
    m_layoutDirty = false;
    m_inLayout = false;
}

void TGBaseLabel::LayoutChanged()
{
    m_layoutDirty = true;
    // The size rules settle the label within the change that needs them, so
    // that drawing never changes it.
    if (!IsReading() && !m_inLayout)
        Layout();
}

QSize TGBaseLabel::SettledSize() const
{
    const LabelLayout layout = ComputeLayout(Bounds().size());
    const int lineH = layout.lineHeight;
    const int textW = layout.textWidth;
    const QPoint s = ShadowOffset();
    const QPoint h = HighlightOffset();
    // The height a line needs with both copies, and the size rules.
    const int l = lineH + s.y() - h.y();
    int width = Width();
    int height = Height();
    if (m_angle == 0 || m_angle == 180) {
        if (m_angle == 180 && 2 * textW < width)
            width = 2 * textW;
        if (width <= 5)
            width = textW;
        if (1.2 * l < height)
            height = static_cast<int>(1.2 * l);
        if (height < l)
            height = l;
    } else {
        if (1.2 * textW < height)
            height = static_cast<int>(1.2 * textW);
        if (height < 5)
            height = textW;
        if (1.2 * l < width)
            width = static_cast<int>(1.2 * l);
        if (width < l)
            width = l;
    }
    return QSize(width, height);
}

TGBaseLabel::LabelLayout TGBaseLabel::ComputeLayout(const QSize &size) const
{
    LabelLayout layout;
    layout.font = DrawingFont();
    const QFontMetrics metrics(layout.font);
    layout.ascent = metrics.ascent();
    layout.textHeight = metrics.ascent() + metrics.descent();
    const int internalLeading = std::max(0, layout.textHeight - layout.font.pixelSize());
    layout.lineHeight = layout.textHeight + internalLeading + std::max(0, metrics.leading());
    layout.textWidth = metrics.horizontalAdvance(m_caption + QLatin1Char(' '));
    const int lineH = layout.lineHeight;
    const int textW = layout.textWidth;

    // Negative offsets never push a copy out of the left or top edge.
    const QPoint s = ShadowOffset();
    const QPoint h = HighlightOffset();
    int mx = s.x() < 0 ? -s.x() : 0;
    if (h.x() < 0)
        mx = std::max(mx, -h.x());
    int my = s.y() < 0 ? -s.y() : 0;
    if (h.y() < 0)
        my = std::max(my, -h.y());
    layout.margins = QPoint(mx, my);

    const int width = size.width();
    const int height = size.height();

    Box main;
    if (m_angle == 0 || m_angle == 180)
        main = {mx, my, width, lineH + my};
    else
        main = {my, mx, lineH + my, height - my};
    if (m_angle == 90)
        main = main.Moved(0, height - (main.Height() + 1) + h.x());
    else if (m_angle == 180)
        main = main.Moved(width - (main.Width() + 1) - s.y(), 0);
    layout.mainRect = main;

    // The copies' offsets turned with the text.
    const auto turned = [this](const QPoint &offset) {
        switch (m_angle) {
        case 90:
            return QPoint(offset.y(), -offset.x());
        case 180:
            return QPoint(-offset.x(), -offset.y());
        case 270:
            return QPoint(-offset.y(), offset.x());
        default:
            return offset;
        }
    };
    const QPoint shadowShift = turned(s);
    const QPoint highlightShift = turned(h);
    layout.shadowRect = main.Moved(shadowShift.x(), shadowShift.y());
    layout.highlightRect = main.Moved(highlightShift.x(), highlightShift.y());

    const auto origin = [this](const Box &box) {
        switch (m_angle) {
        case 90:
            return QPoint(box.left, box.bottom);
        case 180:
            return QPoint(box.right, box.bottom);
        case 270:
            return QPoint(box.right, box.top);
        default:
            return QPoint(box.left, box.top);
        }
    };
    layout.mainOrigin = origin(layout.mainRect);
    layout.shadowOrigin = origin(layout.shadowRect);
    layout.highlightOrigin = origin(layout.highlightRect);

    if (m_angle == 0) {
        int x = main.left;
        if (m_alignment == taRightJustify)
            x = main.right - textW;
        else if (m_alignment == taCenter)
            x = (main.right - main.left) / 2 - textW / 2;
        layout.mainOrigin.setX(x);
        layout.highlightOrigin.setX(x + h.x());
        layout.shadowOrigin.setX(x + s.x());
    }

    return layout;
}

// --- drawing --------------------------------------------------------------------------------

void TGBaseLabel::DrawCopy(QPainter &painter, const LabelLayout &layout, const Box &box,
                           const QPoint &origin, TColor color) const
{
    painter.save();
    painter.setClipRect(box.ToQRect(), Qt::IntersectClip);
    painter.translate(origin);
    if (m_angle != 0)
        painter.rotate(-m_angle);
    painter.setPen(ToQColor(color));
    painter.drawText(QPoint(0, layout.ascent), m_caption);
    painter.restore();
}

void TGBaseLabel::PaintContent(QPainter &painter, const QRect &target, float zoom) const
{
    Q_UNUSED(zoom);
    if (target.isEmpty())
        return;
    // The layout is part of drawing: a label whose size no longer fits its
    // text takes its size now (and reports it).
    // A label read but not yet settled draws with its size as it is.
    const LabelLayout layout = m_layoutDirty ? ComputeLayout(Bounds().size()) : m_layout;
    const int width = std::max(1, Width());
    const int height = std::max(1, Height());
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(target.topLeft());
    if (target.width() != width || target.height() != height)
        painter.scale(target.width() / double(width), target.height() / double(height));
    const QRect whole(0, 0, width, height);
    painter.setClipRect(whole, Qt::IntersectClip);
    if (!m_transparent)
        painter.fillRect(whole, ToQColor(m_backColor));
    painter.setFont(layout.font);
    painter.setBrush(Qt::NoBrush);
    DrawCopy(painter, layout, layout.shadowRect, layout.shadowOrigin, m_colorShadow);
    DrawCopy(painter, layout, layout.highlightRect, layout.highlightOrigin, m_colorHighlight);
    DrawCopy(painter, layout, layout.mainRect, layout.mainOrigin, m_font.Color());
    if (m_borderStyle == bsSingle) {
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    }
    painter.restore();
}

// --- popup items and actions ----------------------------------------------------------------

QList<TGGraphicControl::MenuEntry> TGBaseLabel::MenuEntries() const
{
    const QString separator = QStringLiteral("-");
    MenuEntry left{LeftCaption, true, m_alignment == taLeftJustify};
    left.parent = AlignmentCaption;
    left.undoText = QStringLiteral("Align label left");
    MenuEntry center{CenterCaption, true, m_alignment == taCenter};
    center.parent = AlignmentCaption;
    center.undoText = QStringLiteral("Center label text");
    MenuEntry right{RightCaption, true, m_alignment == taRightJustify};
    right.parent = AlignmentCaption;
    right.undoText = QStringLiteral("Align label right");
    MenuEntry transparent{TransparentCaption, true, m_transparent};
    transparent.undoText = m_transparent ? QStringLiteral("Make label opaque")
                                         : QStringLiteral("Make label transparent");
    MenuEntry border{BorderCaption, true, m_borderStyle == bsSingle};
    border.undoText = m_borderStyle == bsSingle ? QStringLiteral("Remove label border")
                                                : QStringLiteral("Add label border");
    return {
        {separator}, {FontCaption}, {EffectsCaption},         left,   center,
        right,       transparent,   {BackgroundColorCaption}, border,
    };
}

bool TGBaseLabel::RunMenuEntry(const QString &caption)
{
    if (caption == LeftCaption)
        SetAlignment(taLeftJustify);
    else if (caption == CenterCaption)
        SetAlignment(taCenter);
    else if (caption == RightCaption)
        SetAlignment(taRightJustify);
    else if (caption == TransparentCaption)
        SetTransparent(!m_transparent);
    else if (caption == BorderCaption)
        SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle);
    else
        return false;
    Layout();
    return true;
}

void TGBaseLabel::ApplyFont(const FontSpec &font)
{
    SetFont(font);
}

void TGBaseLabel::TakeChosenFont(const FontSpec &font)
{
    SetFont(font);
    NotifyChanged();
}

void TGBaseLabel::TakeBackgroundColor(TColor color)
{
    SetBackColor(color);
    SetTransparent(false);
    Invalidate();
}

void TGBaseLabel::TakeEffects(const TGBaseLabel &source)
{
    SetFont(source.m_font);
    SetDepthHighlight(source.m_depthHighlight);
    SetDepthShadow(source.m_depthShadow);
    SetDirectionHighlight(source.m_directionHighlight);
    SetDirectionShadow(source.m_directionShadow);
    SetcolorHighlight(source.m_colorHighlight);
    SetcolorShadow(source.m_colorShadow);
    NotifyChanged();
}

void TGBaseLabel::AssignProperties(const TGGraphicControl &source)
{
    if (const auto *label = dynamic_cast<const TGBaseLabel *>(&source)) {
        m_alignment = label->m_alignment;
        m_depthHighlight = label->m_depthHighlight;
        m_depthShadow = label->m_depthShadow;
        m_directionHighlight = label->m_directionHighlight;
        m_directionShadow = label->m_directionShadow;
        m_colorHighlight = label->m_colorHighlight;
        m_colorShadow = label->m_colorShadow;
        m_angle = label->m_angle;
        m_caption = label->m_caption;
        m_font = label->m_font;
        m_transparent = label->m_transparent;
        m_backColor = label->m_backColor;
        m_borderStyle = label->m_borderStyle;
        m_layoutDirty = true;
    }
    TGGraphicControl::AssignProperties(source);
    if (!IsReading())
        Layout();
}

} // namespace Dayloom
