#include "core/calendar/pagerenderer.h"

#include "core/calendar/pagecanvas.h"
#include "core/calendar/plannertexts.h"

#include <QPainter>

#include <exception>

namespace Dayloom {

CellRecord PageDrawing::CellRecordOf(int cell) const
{
    return (cell >= 1 && cell <= static_cast<int>(cells.size())) ? cells[cell - 1] : CellRecord{};
}

int PageDrawing::CellAt(const QPoint &point) const
{
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].rTotal.Contains(point))
            return static_cast<int>(i) + 1;
    return 0;
}

int PageDrawing::CellOfDay(int day) const
{
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].day == day)
            return static_cast<int>(i) + 1;
    return -1;
}

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

PageDrawing PageRenderer::Draw(PageCanvas &canvas) const
{
    PageDrawing out;
    QPainter &painter = canvas.Painter();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    canvas.Begin();

    if (!m_settings.wmfBorderFile.isEmpty())
        DrawBorderPicture(painter, m_borderPicture,
                          canvas.DeviceRect(m_layout.printableRect).toQRectF());

    if (m_layout.isPlanner) {
        DrawingBlock block = MainBlock(canvas);
        CalendarPainter::DrawPlanner(canvas, block, PlannerTexts::RowLabels(m_settings),
                                     PlannerTexts::DateTexts(m_settings),
                                     PlannerTexts::Title(m_settings));
        out.cells = block.cells;
        out.titleRect = block.titleRect;
        // The week planner draws only notes that have text.
        const TCalendarLayout layout = m_settings.calendarLayout;
        out.referenceNoteSize =
            canvas.DrawNotes(out.cells, m_notes, layout == loWeek || layout == lo2Week);
    } else if (m_layout.hasMainCalendar) {
        DrawingBlock block = MainBlock(canvas);
        CalendarPainter::DrawMonthGrid(canvas, block, m_settings.userTitle);
        out.cells = block.cells;
        out.titleRect = block.titleRect;
        out.headerRect = block.headerRect;
        out.referenceNoteSize = canvas.DrawNotes(out.cells, m_notes, false);
    }

    if (m_layout.hasMiniCalendars)
        DrawMiniCalendars(canvas);
    painter.restore();
    return out;
}

DrawingBlock PageRenderer::MainBlock(PageCanvas &canvas) const
{
    DrawingBlock b = CalendarPainter::MainCalendarBlock(m_settings);
    b.minimumTitleHeight = canvas.MinimumTitleHeight();
    b.rect = canvas.DeviceRect(m_layout.mainRect);
    return b;
}

void PageRenderer::DrawMiniCalendars(PageCanvas &canvas) const
{
    DrawingBlock b = CalendarPainter::MiniCalendarBlock(m_settings);
    for (int i = 0; i < m_layout.miniCount && i < PageLayout::MaxMinis; ++i) {
        b.month = m_layout.miniMonths[i].month;
        b.year = m_layout.miniMonths[i].year;
        b.rect = canvas.MiniCalendarRect(m_layout.miniRects[i]);
        CalendarPainter::DrawMonthGrid(canvas, b, QString());
    }
}

} // namespace Dayloom
