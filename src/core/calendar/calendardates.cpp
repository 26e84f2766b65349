#include "core/calendar/calendardates.h"

#include <QDate>

namespace Dayloom::CalendarDates {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return Days[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

int DayOfWeek(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return 0;
    return date.dayOfWeek() % 7 + 1; // Qt: 1 = Monday ... 7 = Sunday
}

int FirstColumn(int month, int year, int startOfWeek)
{
    const int weekday = DayOfWeek(year, month, 1);
    if (startOfWeek == 1 || weekday == 0)
        return weekday;
    return weekday == 1 ? 7 : weekday - 1;
}

int DayInCell(int row, int column, int month, int year, int startOfWeek)
{
    const int day = row * 7 + column - FirstColumn(month, year, startOfWeek) + 2;
    return (day >= 1 && day <= DaysInMonth(month, year)) ? day : 0;
}

int HeaderDayIndex(int column, int startOfWeek)
{
    if (startOfWeek == 1)
        return column + 1;
    return column < 6 ? column + 2 : 1;
}

MonthYear ShiftMonth(int month, int year, int k)
{
    for (; k < 0; ++k) {
        if (--month < 1) {
            month = 12;
            --year;
        }
    }
    for (; k > 0; --k) {
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    return {month, year};
}

} // namespace Dayloom::CalendarDates
