#include "core/calendar/weeknumbers.h"

namespace Dayloom::WeekNumbers {

namespace {

// Days from the Sunday on or before the date (0 for a Sunday).
int DaysSinceSunday(const QDate &date)
{
    return date.dayOfWeek() % 7; // Qt: 1 = Monday ... 7 = Sunday
}

int UsWeek(const QDate &date)
{
    const QDate sunday = date.addDays(-DaysSinceSunday(date));
    const QDate saturday = sunday.addDays(6);
    // The week running into a new year holds its 1 January: week 1.
    if (saturday.year() != sunday.year())
        return 1;
    const QDate newYear(date.year(), 1, 1);
    const QDate firstSunday = newYear.addDays(-DaysSinceSunday(newYear));
    return static_cast<int>(firstSunday.daysTo(sunday) / 7) + 1;
}

} // namespace

int OfDate(const QDate &date, WeekNumbering numbering)
{
    if (!date.isValid())
        return 0;
    switch (numbering) {
    case WeekNumbering::None:
        return 0;
    case WeekNumbering::Iso:
        return date.weekNumber();
    case WeekNumbering::Us:
        return UsWeek(date);
    }
    return 0;
}

int OfRow(const QDate &rowStart, WeekNumbering numbering)
{
    return OfDate(rowStart.addDays(3), numbering);
}

} // namespace Dayloom::WeekNumbers
