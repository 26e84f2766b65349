#include "core/calendar/calendarpainter.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/pagecanvas.h"

namespace Dayloom::CalendarPainter {

namespace {

bool IsWhite(TColor color)
{
    return ColorToRGB(color) == clWhite;
}

QString TitleOf(const DrawingBlock &block, const QString &titleText)
{
    if (!titleText.isEmpty())
        return titleText;
    const QString month =
        (block.month >= 1 && block.month <= 12) ? block.monthNames[block.month - 1] : QString();
    return block.showYear ? month + QLatin1Char(' ') + QString::number(block.year) : month;
}

} // namespace

void DrawMonthGrid(PageCanvas &canvas, DrawingBlock &block, const QString &titleText)
{
    GridMetrics metrics = canvas.MeasureGrid(block.headerFont, block.cellFont);
    metrics.minimumTitleHeight = block.minimumTitleHeight;
    const bool upperRight = block.numberPosition == cnpUpperRight;
    const MonthGridGeometry g =
        LayOutMonthGrid(block.rect, metrics, block.month, block.year, block.weekStart, upperRight);
    const int L = g.left, T = g.top, R = g.right, B = g.bottom;

    canvas.Fill({L, T, R, B}, block.backgroundColor);
    if (canvas.FillsWhiteTitleBand() || !IsWhite(block.titleBackground))
        canvas.Fill({L, T + 1, R, g.titleBand.Bottom + 1}, block.titleBackground);
    canvas.SelectFont(block.titleFont);
    canvas.Text(g.titleBand, TitleOf(block, titleText), TextRole::Title);

    const TRect &header = g.headerRect;
    canvas.Fill({L, header.Top, R, header.Bottom + 1}, block.headerBackground);
    canvas.Border(header, block.headerBorder);
    canvas.SelectFont(block.headerFont);
    for (int c = 0; c < 7; ++c) {
        const int dayIndex = CalendarDates::HeaderDayIndex(c, block.weekStart);
        canvas.Text(g.headerCells[c],
                    CalendarDates::HeaderDayName(block.dayNames, dayIndex, block.headerStyle),
                    TextRole::WeekdayName);
    }

    canvas.CellLines(g, block.cellBorder);

    canvas.SelectFont(block.cellFont);
    const TextRole numberRole = upperRight ? TextRole::DayNumberCorner : TextRole::DayNumberCentred;
    for (const CellRecord &cell : g.cells)
        if (cell.day != 0)
            canvas.Text(cell.rTotal, QString::number(cell.day), numberRole);

    canvas.Border({L, T, R, B}, block.calendarBorder);

    block.cells = g.cells;
    block.titleRect = g.titleRect;
    block.headerRect = g.headerRect;
}

void DrawPlanner(PageCanvas &canvas, DrawingBlock &block, const QStringList &labels,
                 const QStringList &dateTexts, const QString &title)
{
    const int rows = static_cast<int>(labels.size());
    if (rows <= 0)
        return;
    const PlannerGeometry p =
        LayOutPlanner(block.rect, rows, canvas.PlannerTitleHeight(block.titleFont), dateTexts);

    canvas.Fill({p.left, p.top, p.right, p.bottom}, clWhite);
    canvas.SelectFont(block.titleFont);
    canvas.Text(p.titleRect, title, TextRole::PlannerTitle);

    canvas.Outline(p.grid);
    canvas.Fill(p.labelColumn, block.headerBackground);
    canvas.SelectFont(block.headerFont);
    for (int k = 0; k < rows; ++k) {
        canvas.Text(p.labelRects[k], labels[k], TextRole::PlannerLabel);
        canvas.Text(p.dateRects[k], k < dateTexts.size() ? dateTexts[k] : QString(),
                    TextRole::PlannerDate);
    }

    // The label column's edge and the row separators, then the outline
    // again over their ends.
    canvas.Line(p.labelColumn.Right, p.grid.Top, p.labelColumn.Right, p.grid.Bottom);
    for (int k = 1; k < rows; ++k) {
        const int y = p.grid.Top + k * p.rowHeight;
        canvas.Line(p.grid.Left, y, p.grid.Right, y);
    }
    canvas.Outline(p.grid);

    block.cells = p.cells;
    block.titleRect = p.titleRect;
}

DrawingBlock MainCalendarBlock(const CalendarSettings &s)
{
    DrawingBlock b;
    b.backgroundColor = clWhite;
    b.titleBackground = s.titleBGColor;
    b.month = s.mainCalMonth;
    b.year = s.mainCalYear;
    b.numberPosition = s.numberPosition;
    b.weekStart = s.startOfWeek;
    b.calendarBorder = s.calendarBorder;
    b.titleFont = s.titleFont;
    b.showYear = s.titleShowYear;
    b.headerFont = s.headersFont;
    b.headerBorder = s.headersBorder;
    b.headerStyle = s.headersStyle;
    b.headerBackground = s.headersBGColor;
    b.cellFont = s.cellFont;
    b.cellBorder = s.cellBorder;
    b.monthNames = s.monthNames;
    b.dayNames = s.dayNames;
    return b;
}

DrawingBlock MiniCalendarBlock(const CalendarSettings &s)
{
    DrawingBlock b;
    b.backgroundColor = s.miniCalBGColor;
    b.titleBackground = s.miniCalBGColor;
    b.numberPosition = cnpCenter;
    b.weekStart = s.startOfWeek;
    b.calendarBorder = s.miniCalBorder;
    b.titleFont = s.miniTitleFont;
    b.showYear = s.miniShowYear;
    b.headerFont = s.miniHeadersFont;
    b.headerBorder = s.miniHeadersBorder;
    b.headerStyle = s.miniHeadersStyle;
    b.headerBackground = s.miniHeadersBGColor;
    b.cellFont = s.miniCellFont;
    b.cellBorder = s.miniCellBorder;
    b.monthNames = s.monthNames;
    b.dayNames = s.dayNames;
    return b;
}

} // namespace Dayloom::CalendarPainter
