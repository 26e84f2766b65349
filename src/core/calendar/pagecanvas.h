#pragma once

#include "core/calendar/calendargeometry.h"
#include "core/calendar/calendartypes.h"
#include "core/calendar/moonphases.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"

#include <QSize>
#include <QString>

#include <array>

class QPainter;

namespace Dayloom {

class TWPRtfStorage;

// How a text of the calendar page sits in its rectangle. Each target
// places the roles its own way: the screen centres titles and day numbers,
// paper puts day numbers at the top of their cell and cuts texts that do
// not fit where the screen clips them.
enum class TextRole
{
    Title,            // a grid's title, centred in its band
    WeekdayName,      // a weekday over its column, centred
    DayNumberCorner,  // a day number in the upper right corner
    DayNumberCentred, // a day number centred in its cell (mini calendars)
    PlannerTitle,     // a planner's title line
    PlannerLabel,     // a planner row's label, above the middle of its cell
    PlannerDate,      // the date under it
    WeekNumber,       // a week number at the top of its cell, centred
    DayCounter,       // day of the year and days left, at the top left of a cell
};

// What the page renderer draws on: the screen (and images) through a
// painter in device pixels, or paper through the print engine. The
// renderer decides what goes where (one geometry for every target); a
// canvas knows how its target measures text and how it draws fills,
// lines, texts and notes. Rectangles are device pixels of the target.
class PageCanvas
{
public:
    virtual ~PageCanvas() = default;

    // The painter underneath, for pictures drawn alike on every target.
    virtual QPainter &Painter() = 0;
    // Called once the renderer has saved the painter's state, before it
    // draws anything; the painter is restored after the drawing.
    virtual void Begin() {}
    // A rectangle of the page (page pixels, 1/96 inch) in device pixels; a
    // mini calendar's rectangle may be sized apart from the others.
    virtual TRect DeviceRect(const TRect &pageRect) const = 0;
    virtual TRect MiniCalendarRect(const TRect &pageRect) const = 0;

    // The minimum height of the main calendar's title band (1.5 inches).
    virtual int MinimumTitleHeight() const = 0;
    // The grid metrics of a weekday row in headerFont and day numbers in
    // cellFont (fonts at their stored point sizes).
    virtual GridMetrics MeasureGrid(const FontSpec &headerFont, const FontSpec &cellFont) = 0;
    // The height of a planner's title line in the font.
    virtual int PlannerTitleHeight(const FontSpec &titleFont) = 0;
    // Whether a white title band is painted (paper leaves it unfilled so
    // that the border picture shows through).
    virtual bool FillsWhiteTitleBand() const = 0;

    // Fills the rectangle's inside (its right and bottom edge excluded).
    virtual void Fill(const TRect &rect, TColor color) = 0;
    // The sides of a rectangle in a thin black line.
    virtual void Border(const TRect &rect, TCalBorderStyle style) = 0;
    // The four sides of a planner's grid.
    virtual void Outline(const TRect &rect) = 0;
    // A horizontal or vertical thin black line from (x1, y1) to (x2, y2).
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // The day-cell lines of a month grid in the cell border style.
    virtual void CellLines(const MonthGridGeometry &grid, TCalBorderStyle style) = 0;

    // The font (stored point size and colour) the next texts use.
    virtual void SelectFont(const FontSpec &font) = 0;
    virtual void Text(const TRect &rect, const QString &text, TextRole role) = 0;
    // A small drawn symbol of a moon phase filling the square box: a
    // black disc (new moon), a circle (full moon), or a circle whose left
    // (first quarter) or right (last quarter) half is black.
    virtual void MoonSymbol(const TRect &box, MoonPhase phase) = 0;

    // The notes of the drawn cells, into their note rectangles. Notes
    // without text are left out on paper, and on screen on week planners
    // (weekPlanner). The screen paints a note's rectangle in its cell's
    // colour (backgrounds; paper leaves it as it is). Returns the size notes
    // are laid out at when printed: the first note rectangle grown by 5
    // (device pixels) on screen, the size paper used (page pixels).
    virtual QSize DrawNotes(const std::array<CellRecord, 42> &cells,
                            const std::array<TWPRtfStorage, 42> &notes, bool weekPlanner,
                            const std::array<TColor, 42> &backgrounds) = 0;

    // Draws a moon symbol with a painter in device pixels (shared by the
    // canvases): antialiased, in black, leaving the painter as it was.
    static void DrawMoonSymbol(QPainter &painter, const TRect &box, MoonPhase phase);
};

} // namespace Dayloom
