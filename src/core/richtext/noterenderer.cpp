#include "core/richtext/noterenderer.h"

#include "core/richtext/noteimagehandler.h"
#include "core/richtext/twprtfstorage.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPicture>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace Dayloom {

namespace {

constexpr int DotsPerMeterAt96Dpi = 3780; // 96 per inch
constexpr double DotsPerInch = 96.0;

// The resolution the desktop lends fonts and text layouts (96, 120, 144
// ...), which a recorded picture reports as its own.
double ScreenDpi()
{
    const int dpi = QPicture().logicalDpiY();
    return dpi > 0 ? dpi : DotsPerInch;
}

// The device every note is laid out on, so that points become pixels at
// 96 per inch whatever the screen says.
QPaintDevice *LayoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(DotsPerMeterAt96Dpi);
        image.setDotsPerMeterY(DotsPerMeterAt96Dpi);
        return image;
    }();
    return &device;
}

// The length one unit of painter coordinates takes on the device, per axis.
QSizeF DeviceScale(const QPainter &painter)
{
    const QTransform t = painter.deviceTransform();
    return {std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22())};
}

// The part of `target` the painter can reach: its clip, and the device's
// window in painter coordinates (generous on images with a pixel ratio,
// whose window counts device pixels). Empty when nothing shows.
QRectF ReachablePart(const QPainter &painter, const QRectF &target)
{
    QRectF part = target;
    bool invertible = false;
    const QTransform toPainter = painter.worldTransform().inverted(&invertible);
    if (invertible && painter.device())
        part &= toPainter.mapRect(QRectF(painter.window()));
    if (painter.hasClipping())
        part &= painter.clipBoundingRect();
    return part;
}

} // namespace

NoteRenderer::NoteRenderer(int cacheCapacity) : m_capacity(std::max(1, cacheCapacity)) {}

NoteRenderer::~NoteRenderer() = default;

void NoteRenderer::SetZoom(double zoom)
{
    if (zoom > 0)
        m_view.zoom = zoom;
}

void NoteRenderer::SetPageSize(const QSizeF &size)
{
    if (size.width() > 0 && size.height() > 0)
        m_view.pageSize = size;
}

void NoteRenderer::PrepareLayout(QTextDocument &doc, double pageWidth)
{
    doc.documentLayout()->setPaintDevice(LayoutDevice());
    NoteImageHandler::Install(doc);
    doc.setUseDesignMetrics(true);
    // The layout takes lengths in the screen's pixels and scales them to its
    // device: give the margin so that it comes out at 96 per inch.
    doc.setDocumentMargin(DocumentMargin * ScreenDpi() / DotsPerInch);
    doc.setTextWidth(pageWidth);
}

void NoteRenderer::ClearCache()
{
    m_index.clear();
    m_entries.clear();
}

QTextDocument *NoteRenderer::CachedDocument(const QByteArray &rtf, double pageWidth) const
{
    if (const auto found = m_index.constFind(rtf); found != m_index.cend()) {
        m_entries.splice(m_entries.begin(), m_entries, found.value());
    } else {
        auto doc = std::make_unique<QTextDocument>();
        TWPRtfStorage note;
        note.SetRtfText(rtf);
        // An unreadable note stays cached as an empty document so that it
        // is not read again at every paint.
        note.LoadInto(*doc);
        m_entries.push_front(Entry{rtf, std::move(doc)});
        m_index.insert(rtf, m_entries.begin());
        if (int(m_entries.size()) > m_capacity) {
            m_index.remove(m_entries.back().rtf);
            m_entries.pop_back();
        }
    }
    QTextDocument *doc = m_entries.front().doc.get();
    if (doc->textWidth() != pageWidth || doc->documentLayout()->paintDevice() == nullptr)
        PrepareLayout(*doc, pageWidth);
    return doc;
}

void NoteRenderer::Paint(QPainter &painter, const QRectF &target, const TWPRtfStorage &note,
                         const View &view) const
{
    if (!(view.zoom > 0) || !(view.pageSize.width() > 0) || !(view.pageSize.height() > 0))
        return;
    PaintDocument(painter, target,
                  note.IsEmpty() ? nullptr : CachedDocument(note.RtfText(), view.pageSize.width()),
                  view);
}

void NoteRenderer::Paint(QPainter &painter, const QRectF &target, const QTextDocument &doc)
{
    const std::unique_ptr<QTextDocument> copy(doc.clone());
    PrepareLayout(*copy, m_view.pageSize.width());
    PaintDocument(painter, target, copy.get(), m_view);
}

void NoteRenderer::PaintDocument(QPainter &painter, const QRectF &target, QTextDocument *doc,
                                 const View &view) const
{
    if (!target.isValid())
        return;
    if (view.mode == Mode::Print)
        PaintPrint(painter, target, doc, view);
    else
        PaintScreen(painter, target, doc, view);
}

void NoteRenderer::PaintScreen(QPainter &painter, const QRectF &target, QTextDocument *doc,
                               const View &view) const
{
    // Only what can show is drawn: a note or label far larger than the
    // window costs no more than the window.
    const QRectF visible = ReachablePart(painter, target);
    if (visible.isEmpty())
        return;
    QSizeF scale = DeviceScale(painter);
    const double pixels = visible.width() * scale.width() * visible.height() * scale.height();
    if (pixels > MaxScratchPixels) // drawn coarser rather than not at all
        scale *= std::sqrt(MaxScratchPixels / pixels);
    const int width =
        std::clamp(int(std::ceil(visible.width() * scale.width())), 1, MaxScratchSide);
    const int height =
        std::clamp(int(std::ceil(visible.height() * scale.height())), 1, MaxScratchSide);
    if (m_scratch.width() < width || m_scratch.height() < height) {
        const QSize grown(std::max(width, m_scratch.width()), std::max(height, m_scratch.height()));
        m_scratch = QImage(qint64(grown.width()) * grown.height() <= MaxScratchPixels
                               ? grown
                               : QSize(width, height),
                           QImage::Format_ARGB32_Premultiplied);
    }
    const QRect area(0, 0, width, height);
    {
        QPainter scratch(&m_scratch);
        scratch.setCompositionMode(QPainter::CompositionMode_Source);
        scratch.fillRect(area,
                         view.background.alpha() > 0 ? view.background : QColor(Qt::transparent));
        scratch.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (doc) {
            scratch.setRenderHint(QPainter::TextAntialiasing);
            scratch.setRenderHint(QPainter::SmoothPixmapTransform);
            scratch.setClipRect(area);
            scratch.scale(width / visible.width(), height / visible.height());
            scratch.translate(target.topLeft() - visible.topLeft());
            scratch.scale(view.zoom, view.zoom);
            DrawText(scratch, *doc,
                     QRectF(0, 0, view.pageSize.width(), target.height() / view.zoom));
        }
    }
    painter.drawImage(visible, m_scratch, QRectF(area));
}

void NoteRenderer::PaintPrint(QPainter &painter, const QRectF &target, QTextDocument *doc,
                              const View &view)
{
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    if (view.background.alpha() > 0)
        painter.fillRect(target, view.background);
    if (doc) {
        const QSizeF &page = view.pageSize;
        painter.translate(target.topLeft());
        painter.scale(target.width() / page.width(), target.height() / page.height());
        DrawText(painter, *doc, QRectF(QPointF(0, 0), page));
    }
    painter.restore();
}

void NoteRenderer::DrawText(QPainter &painter, QTextDocument &doc, const QRectF &clip)
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.setClipRect(clip, Qt::IntersectClip);
    doc.documentLayout()->draw(&painter, context);
}

QList<NoteRenderer::LineRange> NoteRenderer::Lines(const TWPRtfStorage &note)
{
    if (note.IsEmpty())
        return {};
    return Lines(*CachedDocument(note.RtfText(), m_view.pageSize.width()));
}

QList<NoteRenderer::LineRange> NoteRenderer::Lines(const QTextDocument &doc)
{
    doc.documentLayout()->documentSize(); // completes a pending layout
    QList<LineRange> lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.append({block.position() + line.textStart(), line.textLength()});
        }
    }
    return lines;
}

} // namespace Dayloom
