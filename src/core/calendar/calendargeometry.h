#pragma once

#include "core/calendar/calendartypes.h"
#include "core/common/trect.h"

#include <QStringList>

#include <array>

namespace Dayloom {

// One day cell as drawn, in the pixels of the device drawn on (page pixels
// times the zoom on screen). rTotal reacts to clicks; rFree is where the
// cell's note is drawn (all zero: no note area).
struct CellRecord
{
    TRect rTotal;
    int day = 0;
    TRect rFree;
};

// What a target measures a month grid's texts with, in its device pixels.
// These are where paper and screen differ: the screen's weekday row is 1.5
// times the header font's pixel size and a day number line is the cell
// font's line height; on paper both are 1.5 and 1 printed lines (leading
// included).
struct GridMetrics
{
    int minimumTitleHeight = 0; // the title band is at least this high
    int headerRowHeight = 0;    // the weekday row below the title band
    int numberLineHeight = 0;   // a note area starts this far below its cell's top
};

// Where everything of one month grid lies (main calendar or mini), in
// device pixels. Right and bottom of the grid (R, B) are inclusive: the
// drawn rectangle is one pixel inside the block's.
struct MonthGridGeometry
{
    int left = 0, top = 0, right = 0, bottom = 0; // L, T, R, B
    TRect titleRect;                              // the clickable title: 17 % of the height
    TRect titleBand;  // the drawn title band, at least minimumTitleHeight high
    TRect headerRect; // the weekday row
    std::array<TRect, 7> headerCells;
    int gridTop = 0; // the first day row's top line (G)
    // The left edge of the day columns: L, or right of the week-number
    // column when there is one.
    int daysLeft = 0;
    int columnWidth = 0; // (R - daysLeft) / 7
    int rowHeight = 0;   // (B - G) / 6; the last row takes the remainder
    // Cells row by row; the day 0 outside the month. The inner rectangle
    // (rTotal) holds the day number.
    std::array<CellRecord, 42> cells{};

    // The box of cell row 0-5, column 0-6 between its grid lines.
    TRect CellBox(int row, int column) const;
    bool HasWeekColumn() const { return daysLeft > left; }
    // The week-number column's box beside row 0-5 between its grid lines,
    // and the inner rectangle a week number is drawn in.
    TRect WeekBox(int row) const;
    TRect WeekCell(int row) const;
};

// The grid of a month drawn into rect (device pixels) by a target measuring
// with metrics, weeks starting on firstWeekday (1 = Sunday ... 7 =
// Saturday). upperRight: day numbers in the upper right corner with a note
// area below them; otherwise centred numbers and no note area.
// weekColumnWidth: device pixels at the left of the header row and the day
// rows kept for week numbers (0: none; more than half the width is not
// given).
MonthGridGeometry LayOutMonthGrid(const TRect &rect, const GridMetrics &metrics, int month,
                                  int year, int firstWeekday, bool upperRight,
                                  int weekColumnWidth = 0);

// Where everything of a week or day planner lies, in device pixels.
struct PlannerGeometry
{
    int left = 0, top = 0, right = 0, bottom = 0; // inclusive, as for grids
    TRect titleRect;
    TRect grid;        // the outlined rows
    TRect labelColumn; // the shaded column of row labels
    int rowHeight = 0;
    QList<TRect> labelRects; // a row's label: the upper half of its label cell
    QList<TRect> dateRects;  // its date: the lower half
    // Row k's note area in cells[k] (the rest stay blank); the day is the
    // number the row's date text starts with.
    std::array<CellRecord, 42> cells{};
};

// A planner of `dateTexts`-dated rows (one per label) drawn into rect, its
// title line titleHeight device pixels high. No rows: an empty geometry.
PlannerGeometry LayOutPlanner(const TRect &rect, int rows, int titleHeight,
                              const QStringList &dateTexts);

} // namespace Dayloom
