#include "core/calendar/pagerenderer.h"

#include "core/calendar/plannertexts.h"

#include <QPainter>

#include <exception>

namespace Dayloom {

namespace {

int Scaled(int value, float zoom)
{
    return static_cast<int>(value * static_cast<double>(zoom));
}

TRect Scaled(const TRect &r, float zoom)
{
    return {Scaled(r.Left, zoom), Scaled(r.Top, zoom), Scaled(r.Right, zoom),
            Scaled(r.Bottom, zoom)};
}

// Point sizes times the zoom, truncated, converted at the target's resolution.
void ScaleFonts(DrawingBlock &block, const RenderTarget &target)
{
    for (FontSpec *font : {&block.titleFont, &block.headerFont, &block.cellFont})
        font->SetSize(Scaled(font->Size(), target.zoom));
    block.fontPpi = target.fontPpi;
}

} // namespace

void DrawBorderPicture(QPainter &painter, const Picture &picture, const QRectF &target)
{
    if (picture.IsEmpty() || target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    try {
        picture.Draw(painter, target);
    } catch (const std::exception &) {
        // A picture that cannot be drawn does not stop the page.
    }
    painter.restore();
}

PageRenderer::PageRenderer(const CalendarSettings &settings, const PageLayout &layout,
                           const std::array<TWPRtfStorage, 42> &notes, const Picture &borderPicture)
    : m_settings(settings), m_layout(layout), m_notes(notes), m_borderPicture(borderPicture)
{
}

PageDrawing PageRenderer::Draw(QPainter &painter, const RenderTarget &target) const
{
    PageDrawing out;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (!m_settings.wmfBorderFile.isEmpty())
        DrawBorderPicture(painter, m_borderPicture,
                          Scaled(m_layout.printableRect, target.zoom).toQRectF());

    if (m_layout.isPlanner) {
        DrawPlannerPage(painter, target, out);
    } else if (m_layout.hasMainCalendar) {
        DrawingBlock block = MainBlock(target);
        CalendarPainter::DrawMonthGrid(painter, block, m_settings.userTitle);
        out.TakeRecords(block);
        out.headerRect = block.headerRect;
        DrawNotes(painter, out, target.zoom, false);
    }

    const TRect &firstFree = out.cells[0].rFree;
    out.referenceNoteSize = QSize(firstFree.Width() + 5, firstFree.Height() + 5);

    if (m_layout.hasMiniCalendars)
        DrawMiniCalendars(painter, target);
    painter.restore();
    return out;
}

DrawingBlock PageRenderer::MainBlock(const RenderTarget &target) const
{
    DrawingBlock b = CalendarPainter::MainCalendarBlock(m_settings);
    b.minimumTitleHeight =
        static_cast<int>(PageLayout::PPI * 1.5 * static_cast<double>(target.zoom));
    b.rect = Scaled(m_layout.mainRect, target.zoom);
    ScaleFonts(b, target);
    return b;
}

void PageRenderer::DrawNotes(QPainter &painter, const PageDrawing &drawing, float zoom,
                             bool skipEmptyNotes) const
{
    if (!m_noteDrawer)
        return;
    for (size_t i = 0; i < m_notes.size(); ++i) {
        const TRect &free = drawing.cells[i].rFree;
        if (free.IsEmpty() || (skipEmptyNotes && m_notes[i].IsEmpty()))
            continue;
        m_noteDrawer(painter, m_notes[i], free, zoom);
    }
}

void PageRenderer::DrawPlannerPage(QPainter &painter, const RenderTarget &target,
                                   PageDrawing &out) const
{
    DrawingBlock block = MainBlock(target);
    block.plannerDays = PlannerTexts::DayCount(m_settings);
    block.plannerHours = PlannerTexts::HourCount(m_settings);
    CalendarPainter::DrawPlanner(painter, block, PlannerTexts::RowLabels(m_settings),
                                 PlannerTexts::DateTexts(m_settings),
                                 PlannerTexts::Title(m_settings));
    out.TakeRecords(block);
    // The week planner draws only notes that have text; the day planner
    // every note area.
    const TCalendarLayout layout = m_settings.calendarLayout;
    DrawNotes(painter, out, target.zoom, layout == loWeek || layout == lo2Week);
}

void PageRenderer::DrawMiniCalendars(QPainter &painter, const RenderTarget &target) const
{
    const float zoom = target.zoom;
    DrawingBlock b = CalendarPainter::MiniCalendarBlock(m_settings);
    ScaleFonts(b, target);
    for (int i = 0; i < m_layout.miniCount && i < PageLayout::MaxMinis; ++i) {
        b.month = m_layout.miniMonths[i].month;
        b.year = m_layout.miniMonths[i].year;
        b.rect = Scaled(m_layout.miniRects[i], zoom);
        CalendarPainter::DrawMonthGrid(painter, b, QString());
    }
}

} // namespace Dayloom
