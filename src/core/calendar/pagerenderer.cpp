#include "core/calendar/pagerenderer.h"

#include "core/calendar/plannertexts.h"

#include <QPainter>

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

FontSpec ScaledFont(const FontSpec &font, float zoom)
{
    FontSpec scaled = font;
    scaled.SetSize(Scaled(font.Size(), zoom));
    return scaled;
}

void CopyCells(const DrawingBlock &block, PageDrawing &out)
{
    out.cells = block.cells;
    out.titleRect = block.titleRect;
}

} // namespace

PageRenderer::PageRenderer(const CalendarSettings &settings, const PageLayout &layout,
                           const std::array<TWPRtfStorage, 42> &notes,
                           const QByteArray &borderPicture)
    : m_settings(settings), m_layout(layout), m_notes(notes), m_borderPicture(borderPicture)
{
}

PageDrawing PageRenderer::Draw(QPainter &painter, const RenderTarget &target) const
{
    PageDrawing out;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (!m_settings.wmfBorderFile.isEmpty() && m_borderDrawer && !m_borderPicture.isEmpty())
        m_borderDrawer(painter, m_borderPicture,
                       Scaled(m_layout.printableRect, target.zoom).toQRect());

    if (m_layout.isPlanner) {
        DrawPlannerPage(painter, target, out);
    } else if (m_layout.hasMainCalendar) {
        DrawingBlock block = MainBlock(target);
        CalendarPainter::DrawMonthGrid(painter, block, m_settings.userTitle);
        CopyCells(block, out);
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
    const CalendarSettings &s = m_settings;
    const float zoom = target.zoom;
    DrawingBlock b;
    b.backgroundColor = clWhite;
    b.titleBackground = s.titleBGColor;
    b.minimumTitleHeight = static_cast<int>(PageLayout::PPI * 1.5 * static_cast<double>(zoom));
    b.month = s.mainCalMonth;
    b.year = s.mainCalYear;
    b.day = s.mainCalDay;
    b.rect = Scaled(m_layout.mainRect, zoom);
    b.numberPosition = s.numberPosition;
    b.weekStart = s.startOfWeek;
    b.calendarBorder = s.calendarBorder;
    b.titleFont = ScaledFont(s.titleFont, zoom);
    b.showYear = s.titleShowYear;
    b.headerFont = ScaledFont(s.headersFont, zoom);
    b.headerBorder = s.headersBorder;
    b.headerStyle = s.headersStyle;
    b.headerBackground = s.headersBGColor;
    b.cellFont = ScaledFont(s.cellFont, zoom);
    b.cellBorder = s.cellBorder;
    b.monthNames = s.monthNames;
    b.dayNames = s.dayNames;
    b.fontPpi = target.fontPpi;
    b.plannerStartTime = s.plannerStartTime;
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
    CopyCells(block, out);
    // The week planner draws only notes that have text; the day planner
    // every note area.
    const TCalendarLayout layout = m_settings.calendarLayout;
    DrawNotes(painter, out, target.zoom, layout == loWeek || layout == lo2Week);
}

void PageRenderer::DrawMiniCalendars(QPainter &painter, const RenderTarget &target) const
{
    const CalendarSettings &s = m_settings;
    const float zoom = target.zoom;
    DrawingBlock b;
    b.backgroundColor = s.miniCalBGColor;
    b.titleBackground = s.miniCalBGColor;
    b.minimumTitleHeight = 0;
    b.numberPosition = cnpCenter;
    b.weekStart = s.startOfWeek;
    b.calendarBorder = s.miniCalBorder;
    b.titleFont = ScaledFont(s.miniTitleFont, zoom);
    b.showYear = s.miniShowYear;
    b.headerFont = ScaledFont(s.miniHeadersFont, zoom);
    b.headerBorder = s.miniHeadersBorder;
    b.headerStyle = s.miniHeadersStyle;
    b.headerBackground = s.miniHeadersBGColor;
    b.cellFont = ScaledFont(s.miniCellFont, zoom);
    b.cellBorder = s.miniCellBorder;
    b.monthNames = s.monthNames;
    b.dayNames = s.dayNames;
    b.fontPpi = target.fontPpi;
    for (int i = 0; i < m_layout.miniCount && i < PageLayout::MaxMinis; ++i) {
        b.month = m_layout.miniMonths[i].month;
        b.year = m_layout.miniMonths[i].year;
        b.rect = Scaled(m_layout.miniRects[i], zoom);
        CalendarPainter::DrawMonthGrid(painter, b, QString());
    }
}

} // namespace Dayloom
