#include "core/calendar/pagerenderer.h"

#include "core/calendar/pagecanvas.h"
#include "core/calendar/plannertexts.h"

#include <QPainter>

#include <algorithm>
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

std::pair<QDate, QDate> PageDateRange(const CalendarSettings &s, const PageLayout &layout)
{
    if (layout.isPlanner) {
        const QDate first = PlannerTexts::FirstDate(s);
        const bool days = s.calendarLayout == loWeek || s.calendarLayout == lo2Week;
        return {first, first.addDays(days ? PlannerTexts::DayCount(s) - 1 : 0)};
    }
    QDate first, last;
    const auto cover = [&first, &last](int month, int year) {
        const QDate start(year, month, 1);
        if (!start.isValid())
            return;
        const QDate end = start.addDays(start.daysInMonth() - 1);
        first = first.isValid() ? std::min(first, start) : start;
        last = last.isValid() ? std::max(last, end) : end;
    };
    if (layout.hasMainCalendar)
        cover(s.mainCalMonth, s.mainCalYear);
    if (layout.hasMiniCalendars)
        for (int i = 0; i < layout.miniCount && i < PageLayout::MaxMinis; ++i)
            cover(layout.miniMonths[i].month, layout.miniMonths[i].year);
    return {first, last};
}

namespace {

// A length of the page (page pixels) from the left edge of a rectangle, in
// device pixels as the canvas places that rectangle.
int DeviceWidth(const PageCanvas &canvas, const TRect &pageRect, int length, bool mini)
{
    if (length <= 0)
        return 0;
    const TRect shifted{pageRect.Left + length, pageRect.Top, pageRect.Right, pageRect.Bottom};
    return mini ? canvas.MiniCalendarRect(shifted).Left - canvas.MiniCalendarRect(pageRect).Left
                : canvas.DeviceRect(shifted).Left - canvas.DeviceRect(pageRect).Left;
}

// The moon phases among the days of the month grid or the week planner.
QMap<QDate, MoonPhase> MoonDaysOf(const CalendarSettings &s, const PageLayout &layout)
{
    if (!s.extras.moonPhases || !(layout.hasMainCalendar || layout.isPlanner))
        return {};
    if (layout.isPlanner) {
        if (s.calendarLayout != loWeek && s.calendarLayout != lo2Week)
            return {};
        const auto [first, last] = PageDateRange(s, layout);
        return MoonPhases::Days(first, last);
    }
    const QDate first(s.mainCalYear, s.mainCalMonth, 1);
    return MoonPhases::Days(first, first.addDays(first.daysInMonth() - 1));
}

} // namespace

PageRenderer::PageRenderer(const CalendarSettings &settings, const PageLayout &layout,
                           const std::array<TWPRtfStorage, 42> &notes, const Picture &borderPicture,
                           const QSet<QDate> &redDays)
    : m_settings(settings), m_layout(layout), m_notes(notes), m_borderPicture(borderPicture),
      m_redDays(redDays)
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

    const QMap<QDate, MoonPhase> moonDays = MoonDaysOf(m_settings, m_layout);
    if (m_layout.isPlanner) {
        DrawingBlock block = MainBlock(canvas, moonDays);
        const TCalendarLayout layout = m_settings.calendarLayout;
        if (layout == loWeek || layout == lo2Week)
            block.plannerFirstDate = PlannerTexts::FirstDate(m_settings);
        CalendarPainter::DrawPlanner(canvas, block, PlannerTexts::RowLabels(m_settings),
                                     PlannerTexts::DateTexts(m_settings),
                                     PlannerTexts::Title(m_settings));
        out.cells = block.cells;
        out.titleRect = block.titleRect;
        // The week planner draws only notes that have text.
        out.referenceNoteSize = canvas.DrawNotes(
            out.cells, m_notes, layout == loWeek || layout == lo2Week, block.cellColors);
    } else if (m_layout.hasMainCalendar) {
        DrawingBlock block = MainBlock(canvas, moonDays);
        block.marking.weekColumnWidth =
            DeviceWidth(canvas, m_layout.mainRect, m_layout.mainWeekColumn, false);
        CalendarPainter::DrawMonthGrid(canvas, block, m_settings.userTitle);
        out.cells = block.cells;
        out.titleRect = block.titleRect;
        out.headerRect = block.headerRect;
        out.referenceNoteSize = canvas.DrawNotes(out.cells, m_notes, false, block.cellColors);
    }

    if (m_layout.hasMiniCalendars)
        DrawMiniCalendars(canvas);
    painter.restore();
    return out;
}

DrawingBlock PageRenderer::MainBlock(PageCanvas &canvas,
                                     const QMap<QDate, MoonPhase> &moonDays) const
{
    DrawingBlock b = CalendarPainter::MainCalendarBlock(m_settings);
    b.minimumTitleHeight = canvas.MinimumTitleHeight();
    b.rect = canvas.DeviceRect(m_layout.mainRect);
    if (m_settings.extras.redDays)
        b.marking.redDays = &m_redDays;
    if (m_settings.extras.moonPhases)
        b.marking.moonDays = &moonDays;
    return b;
}

void PageRenderer::DrawMiniCalendars(PageCanvas &canvas) const
{
    DrawingBlock b = CalendarPainter::MiniCalendarBlock(m_settings);
    // Minis are too small for moon symbols and day counters.
    b.marking.dayCounters = false;
    if (m_settings.extras.redDays)
        b.marking.redDays = &m_redDays;
    for (int i = 0; i < m_layout.miniCount && i < PageLayout::MaxMinis; ++i) {
        b.month = m_layout.miniMonths[i].month;
        b.year = m_layout.miniMonths[i].year;
        b.rect = canvas.MiniCalendarRect(m_layout.miniRects[i]);
        b.marking.weekColumnWidth =
            DeviceWidth(canvas, m_layout.miniRects[i], m_layout.miniWeekColumn, true);
        CalendarPainter::DrawMonthGrid(canvas, b, QString());
    }
}

} // namespace Dayloom
