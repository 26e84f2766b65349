#pragma once

#include "core/calendar/calendargeometry.h"
#include "core/calendar/calendarsettings.h"
#include "core/calendar/calendartypes.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"

#include <QString>
#include <QStringList>

#include <array>

namespace Dayloom {

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

    // Output of drawing.
    std::array<CellRecord, 42> cells;
    TRect titleRect;
    TRect headerRect;
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
