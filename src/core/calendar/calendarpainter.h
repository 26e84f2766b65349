#pragma once

#include "core/calendar/calendarextras.h"
#include "core/calendar/calendargeometry.h"
#include "core/calendar/calendarsettings.h"
#include "core/calendar/calendartypes.h"
#include "core/calendar/moonphases.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"

#include <QDate>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>

namespace Dayloom {

// What days show beyond their numbers (see CalendarExtras), as one grid or
// planner draws it. The sets are the caller's and must outlive the drawing.
struct DayMarking
{
    WeekNumbering weekNumbers = WeekNumbering::None;
    int weekColumnWidth = 0; // device pixels; 0: no week-number column
    int weekendDays = 0;     // a WeekdayBit set; 0: weekends are not marked
    TColor weekendCellColor = clWhite;
    TColor weekendNumberColor = clBlack;
    const QSet<QDate> *redDays = nullptr; // null: no red days
    TColor redDayCellColor = clWhite;
    TColor redDayNumberColor = clBlack;
    const QMap<QDate, MoonPhase> *moonDays = nullptr; // null: no moon phases
    bool dayCounters = false;
};

// Everything one month grid or planner is drawn from, plus what drawing
// records for hit testing. Font sizes are the stored points; the canvas
// scales them for its target.
struct DrawingBlock
{
    TColor backgroundColor = clWhite;
    TColor titleBackground = clWhite;
    int minimumTitleHeight = 0;
    int month = 1;
    int year = 1997;
    TRect rect;
    TCalendarNumberPosition numberPosition = cnpUpperRight;
    // The weekday weeks start on: 1 = Sunday ... 7 = Saturday.
    int firstWeekday = 1;
    TCalBorderStyle calendarBorder = cbAll;
    FontSpec titleFont;
    bool showYear = true;
    FontSpec headerFont;
    TCalBorderStyle headerBorder = cbAll;
    TCalHeadersStyle headerStyle = dsThreeChars;
    TColor headerBackground = clWhite;
    FontSpec cellFont;
    TCalBorderStyle cellBorder = cbAll;
    std::array<QString, 12> monthNames;
    std::array<QString, 7> dayNames;
    DayMarking marking;
    // Planners: the date of the first row (rows follow day by day); an
    // invalid date for rows without dates.
    QDate plannerFirstDate;

    // Output of drawing.
    std::array<CellRecord, 42> cells;
    // The colour each cell (planners: each row's note area) was filled
    // with, white where nothing was.
    std::array<TColor, 42> cellColors = WhiteCells();
    TRect titleRect;
    TRect headerRect;

    static std::array<TColor, 42> WhiteCells()
    {
        std::array<TColor, 42> cells;
        cells.fill(clWhite);
        return cells;
    }
};

class PageCanvas;

// The month grids and planners of the page, drawn alike on every target:
// where things go comes from one geometry (LayOutMonthGrid, LayOutPlanner)
// measured by the canvas; how they look on screen or paper is the canvas's.
// All coordinates are device pixels of the canvas.
namespace CalendarPainter {

// The look of the page's month grid or planner, and of its mini calendars,
// taken from the settings: colours, borders, fonts at their own sizes, names
// and the date. The rectangle, the minimum title height and, for minis, the
// month are the caller's to set.
DrawingBlock MainCalendarBlock(const CalendarSettings &settings);
DrawingBlock MiniCalendarBlock(const CalendarSettings &settings);
// The day marking of the settings' extras, without the week-number width
// (a device length) and the sets of red days and moon phases (the
// caller's).
DayMarking MarkingOf(const CalendarExtras &extras);

// A month grid (main calendar or mini) into block.rect; fills the block's
// cell records and title and header rectangles. An empty title text draws
// the month name (and year when block.showYear).
void DrawMonthGrid(PageCanvas &canvas, DrawingBlock &block, const QString &titleText);

// A week or day planner: a title line, then rows with a label column. Fills
// the cell records of the drawn rows (1 .. rows) and the title rectangle.
void DrawPlanner(PageCanvas &canvas, DrawingBlock &block, const QStringList &labels,
                 const QStringList &dateTexts, const QString &title);

} // namespace CalendarPainter
} // namespace Dayloom
