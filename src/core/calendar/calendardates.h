#pragma once

#include "core/calendar/calendartypes.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>

// Date rules shared by the page, its drawing, the planners, the floating
// calendar and the recurring dates. Months are 1-12, weekdays 1 = Sunday ... 7 = Saturday.

namespace Dayloom {

struct MonthYear
{
    int month = 1;
    int year = 1997;
    friend constexpr bool operator==(const MonthYear &, const MonthYear &) = default;
};

namespace CalendarDates {

bool IsLeapYear(int year);
// 28-31; 0 for a month outside 1-12.
int DaysInMonth(int month, int year);
// 1 = Sunday ... 7 = Saturday; 0 for an invalid date.
int DayOfWeek(int year, int month, int day);
// Column (1-7) of the first of the month in a grid of 6 weeks: with
// Sunday weeks (startOfWeek 1) the weekday (1 = Sunday), with Monday weeks
// (any other value) Monday = 1 ... Sunday = 7. Works for any year, 0 and
// negative ones included (proleptic Gregorian calendar, astronomical
// years); 0 for a month outside 1-12.
int FirstColumn(int month, int year, int startOfWeek);
// The same for weeks starting on any weekday (1 = Sunday ... 7 = Saturday):
// the first of the month stands in column 1 when it falls on that weekday.
int FirstColumnOn(int month, int year, int firstWeekday);
// The weekday (1 = Sunday) a week starts on for a page's StartOfWeek field:
// Sunday for 1, Monday for any other value.
int WeekdayOfStartOfWeek(int startOfWeek);
// The latest date not after `date` that falls on the weekday (1 = Sunday).
QDate LatestOnOrBefore(const QDate &date, int weekday);
// Day of the month shown in grid row (0-5) and column (0-6) of a month
// starting in firstColumn with daysInMonth days; 0 when the cell lies
// outside the month (always when firstColumn is 0).
int DayInCell(int row, int column, int firstColumn, int daysInMonth);
// The cell (0-41, row by row) showing the day; -1 when the day lies
// outside the month.
int CellOfDay(int day, int firstColumn, int daysInMonth);
// Day-name index (1 = Sunday) shown over header column 0-6.
int HeaderDayIndex(int column, int startOfWeek);
// The same for weeks starting on any weekday (1 = Sunday ... 7 = Saturday).
int HeaderWeekday(int column, int firstWeekday);
// A weekday name as a header style shows it: its first letter, its first
// three or whole.
QString CutDayName(const QString &name, TCalHeadersStyle style);
// The longest start of the text, cut between characters (never between the
// halves of a surrogate pair), that `fits`; the whole text when it fits.
// Fitting must shrink with the length, so the cut is found by halving: a
// name from a file may be thousands of characters long. Paper and screen
// cut a text too wide for its place with it.
QString FittingStart(const QString &text, const std::function<bool(const QString &)> &fits);
// Day `index` (1 = Sunday) of the week's names as a page's header shows it.
// The five built-in languages and names of the user's own are cut
// (CutDayName); names that are a locale's long day names (a language chosen
// through "Other...") take that locale's own narrow and short names, since
// cutting them repeats one start ("星期日" ... "星期六") or breaks letters.
QString HeaderDayName(const std::array<QString, 7> &names, int index, TCalHeadersStyle style);
// Steps k months back (k < 0) or forward (k > 0), wrapping across years.
MonthYear ShiftMonth(int month, int year, int k);

} // namespace CalendarDates
} // namespace Dayloom
