#include "core/objects/richlabel/tgprichbaselabel.h"

#include "core/formats/propertylistbuilder.h"
#include "core/objects/objecthost.h"
#include "core/richtext/noterenderer.h"

#include <QPainter>

#include <algorithm>

namespace Dayloom {

namespace {
const QString TransparentCaption = QStringLiteral("Transparent");
const QString BackgroundCaption = QStringLiteral("Background Color");
const QString BorderCaption = QStringLiteral("Border");
const QString EditCaption = QStringLiteral("Edit");
} // namespace

TGPRichBaseLabel::TGPRichBaseLabel()
{
    SetBounds(QRect(0, 0, DefaultWidth, DefaultHeight));
}

const PropertyList &TGPRichBaseLabel::PublishedProperties() const
{
    static const PropertyList list =
        PropertyListBuilder<TGPRichBaseLabel>(TGGraphicControl::BaseProperties())
            .binary("RTFText", &TGPRichBaseLabel::RTFText, &TGPRichBaseLabel::SetRTFText)
            .enumeration<TBorderStyle>("BorderStyle", &TGPRichBaseLabel::BorderStyle,
                                       &TGPRichBaseLabel::SetBorderStyle, {"bsNone", "bsSingle"},
                                       bsSingle)
            .boolean("Transparent", &TGPRichBaseLabel::Transparent,
                     &TGPRichBaseLabel::SetTransparent, true)
            .color("BGColor", &TGPRichBaseLabel::BGColor, &TGPRichBaseLabel::SetBGColor, clWhite)
            .build();
    return list;
}

// --- properties ---------------------------------------------------------------------------

void TGPRichBaseLabel::Changed()
{
    if (IsReading())
        return;
    Repaint();
    NotifyChanged();
}

void TGPRichBaseLabel::SetRTFText(const QByteArray &rtf)
{
    // A file can claim any size; text beyond the bound is not kept at all,
    // rather than cut in the middle of a group.
    m_storage.SetRtfText(rtf.size() > MaxRtfSize ? QByteArray() : rtf);
    Changed();
}

void TGPRichBaseLabel::SetBorderStyle(TBorderStyle style)
{
    if ((style != bsNone && style != bsSingle) || style == m_borderStyle)
        return;
    m_borderStyle = style;
    Changed();
}

void TGPRichBaseLabel::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    if (!IsReading())
        Repaint();
}

void TGPRichBaseLabel::SetBGColor(TColor color)
{
    if (color == m_bgColor)
        return;
    m_bgColor = color;
    Changed();
}

void TGPRichBaseLabel::ChooseBackground(TColor color)
{
    SetBGColor(color);
    NotifyChanged();
    SetTransparent(false);
}

// --- drawing ------------------------------------------------------------------------------

NoteRenderer *TGPRichBaseLabel::MasterRenderer() const
{
    return Host() ? Host()->MasterRichText() : nullptr;
}

QString TGPRichBaseLabel::PlacementError() const
{
    return MasterRenderer() ? QString() : QStringLiteral("No master rich text object found");
}

void TGPRichBaseLabel::DrawTo(QPainter &painter, const QRect &target, float zoom, bool print) const
{
    NoteRenderer *master = MasterRenderer();
    if (!master || target.isEmpty() || Width() <= 0 || Height() <= 0)
        return;
    painter.save();
    const QColor background = m_transparent ? QColor(Qt::transparent) : ToQColor(m_bgColor);
    if (!m_transparent)
        painter.fillRect(target, background);
    // The master is shared by every label: each paint brings its own view.
    // The page is the label at zoom 1, so the zoom never moves a line break.
    NoteRenderer::View view;
    view.background = background;
    view.mode = print ? NoteRenderer::Mode::Print : NoteRenderer::Mode::Screen;
    view.zoom = NoteRenderer::WholePercent(zoom);
    view.pageSize = QSizeF(Width(), Height());
    master->Paint(painter, QRectF(target), m_storage, view);
    if (m_borderStyle == bsSingle) {
        QPen pen(Qt::black, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(target).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter.restore();
}

void TGPRichBaseLabel::PaintContent(QPainter &painter, const QRect &target, float zoom) const
{
    DrawTo(painter, target, zoom, !DrawsOnScreen(painter));
}

// --- popup items --------------------------------------------------------------------------

QList<TGGraphicControl::MenuEntry> TGPRichBaseLabel::MenuEntries() const
{
    return {
        {QStringLiteral("-")}, {TransparentCaption, true, m_transparent},
        {BackgroundCaption},   {BorderCaption, true, m_borderStyle == bsSingle},
        {EditCaption},
    };
}

bool TGPRichBaseLabel::RunMenuEntry(const QString &caption)
{
    if (caption == TransparentCaption) {
        SetTransparent(!m_transparent);
        // A change of the design, unlike the bare setter's.
        NotifyChanged();
    } else if (caption == BorderCaption) {
        SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle);
    } else {
        return false;
    }
    return true;
}

void TGPRichBaseLabel::AssignProperties(const TGGraphicControl &source)
{
    if (const auto *label = dynamic_cast<const TGPRichBaseLabel *>(&source)) {
        m_storage = label->m_storage;
        m_borderStyle = label->m_borderStyle;
        m_transparent = label->m_transparent;
        m_bgColor = label->m_bgColor;
    }
    TGGraphicControl::AssignProperties(source);
}

} // namespace Dayloom
