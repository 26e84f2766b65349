#include "core/calendar/calendargeometry.h"

#include "core/calendar/calendardates.h"

#include <algorithm>

namespace Dayloom {

namespace {

// The inner rectangle of a day cell: one pixel inside its lines, narrowed
// for a number in the upper right corner.
TRect DayCellRect(const MonthGridGeometry &g, int row, int column, bool upperRight)
{
    TRect inner{g.daysLeft + column * g.columnWidth + 1, g.gridTop + row * g.rowHeight + 1, 0, 0};
    inner.Right = inner.Left + g.columnWidth - 2;
    inner.Bottom = inner.Top + g.rowHeight - 2;
    if (upperRight) {
        inner.Left += 4;
        inner.Right -= 5;
    }
    return inner;
}

} // namespace

TRect MonthGridGeometry::CellBox(int row, int column) const
{
    return {daysLeft + column * columnWidth, gridTop + row * rowHeight,
            column == 6 ? right : daysLeft + (column + 1) * columnWidth,
            row == 5 ? bottom : gridTop + (row + 1) * rowHeight};
}

TRect MonthGridGeometry::WeekBox(int row) const
{
    return {left, gridTop + row * rowHeight, daysLeft,
            row == 5 ? bottom : gridTop + (row + 1) * rowHeight};
}

TRect MonthGridGeometry::WeekCell(int row) const
{
    const int top = gridTop + row * rowHeight + 1;
    return {left + 1, top, daysLeft - 1, top + rowHeight - 2};
}

MonthGridGeometry LayOutMonthGrid(const TRect &rect, const GridMetrics &metrics, int month,
                                  int year, int firstWeekday, bool upperRight, int weekColumnWidth)
{
    MonthGridGeometry g;
    g.left = rect.Left;
    g.top = rect.Top;
    g.right = rect.Right - 1;
    g.bottom = rect.Bottom - 1;
    const int L = g.left, T = g.top, R = g.right, B = g.bottom;

    // The clickable title keeps the 17 % height even when the band is
    // drawn taller.
    const int bandHeight = static_cast<int>((B - T) * 0.17);
    g.titleRect = {L, T + 1, R, T + 1 + bandHeight};
    const int bandBottom = T + 1 + std::max(bandHeight, metrics.minimumTitleHeight);
    g.titleBand = {L, T + 1, R, bandBottom};

    const int headerTop = bandBottom + 1;
    const int headerBottom = headerTop + metrics.headerRowHeight;
    g.headerRect = {L, headerTop, R, headerBottom};
    g.daysLeft = L + std::max(0, std::min(weekColumnWidth, (R - L) / 2));
    g.columnWidth = (R - g.daysLeft) / 7;
    for (int c = 0; c < 7; ++c) {
        const int cellLeft = g.daysLeft + c * g.columnWidth + 1;
        g.headerCells[c] = {cellLeft, headerTop, cellLeft + g.columnWidth - 2, headerBottom};
    }

    g.gridTop = headerBottom;
    g.rowHeight = (B - g.gridTop) / 6;
    const int first = CalendarDates::FirstColumnOn(month, year, firstWeekday);
    const int days = CalendarDates::DaysInMonth(month, year);
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            CellRecord &cell = g.cells[r * 7 + c];
            cell.rTotal = DayCellRect(g, r, c, upperRight);
            cell.day = CalendarDates::DayInCell(r, c, first, days);
            if (upperRight)
                cell.rFree = {cell.rTotal.Left, cell.rTotal.Top + metrics.numberLineHeight,
                              cell.rTotal.Right, cell.rTotal.Bottom};
        }
    }
    return g;
}

PlannerGeometry LayOutPlanner(const TRect &rect, int rows, int titleHeight,
                              const QStringList &dateTexts)
{
    PlannerGeometry p;
    if (rows <= 0)
        return p;
    p.left = rect.Left;
    p.top = rect.Top;
    p.right = rect.Right - 1;
    p.bottom = rect.Bottom - 1;
    const int L = p.left, T = p.top, R = p.right, B = p.bottom;

    const int titleBottom = T + 1 + titleHeight;
    p.titleRect = {L + 5, T + 1, R - 5, titleBottom};
    p.grid = {L, titleBottom + 1, R, B};
    p.rowHeight = p.grid.Height() / rows;
    p.labelColumn = {p.grid.Left + 1, p.grid.Top + 1,
                     p.grid.Left + static_cast<int>(p.grid.Width() * 0.15), p.grid.Bottom - 1};

    const int half = p.rowHeight / 2;
    for (int k = 0; k < rows; ++k) {
        const int top = p.grid.Top + k * p.rowHeight + 1;
        p.labelRects.append({p.labelColumn.Left, top, p.labelColumn.Right, top + half});
        p.dateRects.append({p.labelColumn.Left, top + half, p.labelColumn.Right, top + 2 * half});
    }
    for (int k = 0; k < rows && k < static_cast<int>(p.cells.size()); ++k) {
        const int rowBottom = k == rows - 1 ? p.grid.Bottom : p.grid.Top + (k + 1) * p.rowHeight;
        bool ok = false;
        const int day = k < dateTexts.size() ? dateTexts[k].left(2).trimmed().toInt(&ok) : 0;
        CellRecord &cell = p.cells[k];
        cell.day = ok ? day : 0;
        cell.rTotal = {p.labelColumn.Right + 4, p.grid.Top + k * p.rowHeight + 4, p.grid.Right - 4,
                       rowBottom - 4};
        cell.rFree = cell.rTotal;
    }
    return p;
}

} // namespace Dayloom
