#pragma once

// Date rules shared by the page, its drawing, the planners and the
// recurring dates. Months are 1-12, weekdays 1 = Sunday ... 7 = Saturday.

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
// Column (1-7) of the first of the month. StartOfWeek 1 means Sunday-first
// weeks; any other value Monday-first.
int FirstColumn(int month, int year, int startOfWeek);
// Day of the month shown in grid row (0-5) and column (0-6), 0 when empty.
int DayInCell(int row, int column, int month, int year, int startOfWeek);
// Day-name index (1 = Sunday) shown over header column 0-6.
int HeaderDayIndex(int column, int startOfWeek);
// Steps k months back (k < 0) or forward (k > 0), wrapping across years.
MonthYear ShiftMonth(int month, int year, int k);

} // namespace CalendarDates
} // namespace Dayloom
