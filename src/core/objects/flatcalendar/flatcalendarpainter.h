#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"
#include "core/objects/flatcalendar/flatcalendartypes.h"

#include <QString>

#include <array>

class QPainter;

namespace Dayloom {

// One day cell of a floating calendar as laid out: the rectangle its number
// is centred in (exclusive right and bottom, device pixels) and the day of
// the month it shows, 0 for an empty cell.
struct FlatCalendarCell
{
    TRect rect;
    int day = 0;
    friend bool operator==(const FlatCalendarCell &, const FlatCalendarCell &) = default;
};

// Everything one floating calendar is drawn from, refilled before every
// drawing, plus what the drawing works out. Coordinates are device pixels
// of the painter; font sizes are points (already multiplied by the zoom)
// that turn into pixels at 96 per inch.
struct TGFlatCalendarAttributes
{
    TColor backgroundColor = clWhite;
    TColor titleBackgroundColor = clWhite;
    int titleTextHeight = 0; // output: height of "Wy" in the title font
    int month = 1;
    int year = 2000;
    // The calendar rectangle, exclusive right and bottom (the shadow lies
    // outside it).
    TRect rect;
    int startOfWeek = 1; // the first weekday: 1 = Sunday ... 7 = Saturday
    TFlatCalBorderStyle calendarBorderStyle = fcbAll;
    FontSpec titleFont;
    bool showYear = false;
    FontSpec dayNameFont;
    TFlatCalBorderStyle dayNameBorderStyle = fcbAll;
    TFlatCalHeadersStyle dayNameStyle = fdsFirstChar;
    TColor dayNameBackgroundColor = clWhite;
    FontSpec cellFont;
    TFlatCalBorderStyle cellBorderStyle = fcbNone;
    std::array<QString, 12> monthNames; // January first
    std::array<QString, 7> dayNames;    // Sunday first
    // Outputs. The title band (L, T, R, band bottom) in which the title is
    // centred; the day-name row (L, row top, R, row bottom) whose border
    // lines run on its right and bottom values. L, T are the calendar
    // rectangle's left and top, R its last pixel column.
    TRect titleRect;
    TRect dayNameRect;
    bool transparent = false;

    // Further outputs of the layout.
    int columnWidth = 0;
    int rowHeight = 0;
    int gridTop = 0; // y of the first grid line (the day-name row's bottom)
    std::array<TRect, 7> dayNameCells;
    std::array<FlatCalendarCell, 42> cells; // row by row, 6 x 7
};

// The drawing of a floating calendar, shared by the screen, images and the
// printer: plain vector drawing (fills, one-pixel cosmetic lines, text) that
// a QPicture records faithfully.
namespace FlatCalendarPainter {

// A day name cut by the style: first character, first three, or whole.
QString CutDayName(const QString &name, TFlatCalHeadersStyle style);

// The title: the month name, or the month name, a blank and the year.
// Empty for a month outside 1-12.
QString TitleText(const TGFlatCalendarAttributes &attributes);

// Works out the outputs (title band, day-name row, grid, cells) from the
// inputs without drawing.
void Layout(TGFlatCalendarAttributes &attributes);

// Draws the calendar into attributes.rect (backgrounds unless transparent,
// title, day names, grid lines, day numbers, outer border) and fills the
// outputs. Leaves the painter's state as it found it.
void DrawCalendar(QPainter &painter, TGFlatCalendarAttributes &attributes);

// Border lines of a rectangle whose right and bottom are the last pixel
// column and row, drawn as the desktop's move-to/line-to pairs (a line-to
// leaves its end point unpainted) with the painter's current pen.
void DrawBorder(QPainter &painter, const TRect &rect, TFlatCalBorderStyle style);

} // namespace FlatCalendarPainter
} // namespace Dayloom
