#pragma once

#include "core/calendar/calendarsettings.h"
#include "core/calendar/calendartypes.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <array>

class QPainter;

namespace Dayloom {

// One day cell as last drawn, in the pixels of the device drawn on (page
// pixels times the zoom on screen). rTotal reacts to clicks; rFree is where
// the cell's note is drawn (all zero: no note area).
struct CellRecord
{
    TRect rTotal;
    int day = 0;
    TRect rFree;
};

// Everything one month grid or planner is drawn from, plus what drawing
// records for hit testing. Font sizes are in points, already scaled by the
// zoom; fontPpi converts them to device pixels.
struct DrawingBlock
{
    TColor backgroundColor = clWhite;
    TColor titleBackground = clWhite;
    int minimumTitleHeight = 0;
    int month = 1;
    int year = 1997;
    int day = 0;
    TRect rect;
    TCalendarNumberPosition numberPosition = cnpUpperRight;
    int weekStart = 1;
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
    int fontPpi = 96;

    // Output of drawing.
    std::array<CellRecord, 42> cells;
    TRect titleRect;
    TRect headerRect;

    // Planners only.
    int plannerDays = 7;
    int plannerHours = 10;
    QTime plannerStartTime{8, 0};
};

// The drawing routines shared by the screen, images and the printer. All
// coordinates are device pixels of the painter.
namespace CalendarPainter {

// The look of the page's month grid or planner, and of its mini calendars,
// taken from the settings: colours, borders, fonts at their own sizes, names
// and the date. The rectangle, the minimum title height and, for minis, the
// month are the caller's to set.
DrawingBlock MainCalendarBlock(const CalendarSettings &settings);
DrawingBlock MiniCalendarBlock(const CalendarSettings &settings);

// Lines with a black solid pen: cbAll the four sides, cbTop / cbBottom one
// side, cbTopBottom both, cbNone nothing. Right and bottom are inclusive.
void DrawBorder(QPainter &painter, const TRect &rect, TCalBorderStyle style);
// The same lines in the painter's current pen.
void DrawBorderLines(QPainter &painter, const TRect &rect, TCalBorderStyle style);

// A month grid (main calendar or mini) into block.rect; fills the block's
// cell records and title and header rectangles. An empty title text draws
// the month name (and year when block.showYear).
void DrawMonthGrid(QPainter &painter, DrawingBlock &block, const QString &titleText);

// A week or day planner: a title line, then rows with a label column. Fills
// the cell records of the drawn rows (1 .. rows) and the title rectangle.
void DrawPlanner(QPainter &painter, DrawingBlock &block, const QStringList &labels,
                 const QStringList &dateTexts, const QString &title);

// The inner rectangle of the day cell in row 0-5, column 0-6 of a grid whose
// day rows start at gridTop: one pixel inside its lines, narrowed for a
// number in the upper right corner. Screen and paper share it.
TRect DayCellRect(int left, int gridTop, int columnWidth, int rowHeight, int row, int column,
                  bool upperRight);
// The day of the month shown in a cell, or 0 when the cell lies outside
// the month.
int DayInCell(int row, int column, int firstColumn, int daysInMonth);
// The record of a day cell: clicks react to its inner rectangle; with the
// number in the upper right its note area starts numberHeight lower, a
// centred number leaves no note area.
CellRecord DayCellRecord(const TRect &inner, int day, bool upperRight, int numberHeight);

// A weekday name cut by the header style (first letter, first three, whole).
QString CutDayName(const QString &name, TCalHeadersStyle style);

// One line of text in the painter's font and pen, aligned in a rectangle
// and clipped to it, without prefix handling. On screens and images the
// laid-out text is kept for the next paint.
void DrawTextInRect(QPainter &painter, const TRect &rect, const QString &text, Qt::Alignment align);

// A horizontal or vertical line up to but excluding its end point, in the
// painter's pen.
void DrawLineTo(QPainter &painter, int x1, int y1, int x2, int y2);

} // namespace CalendarPainter
} // namespace Dayloom
