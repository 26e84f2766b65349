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

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date; exact for every
// 32-bit year (the era-based days-from-civil computation).
long long DaysFromCivil(long long year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

int FirstColumn(int month, int year, int startOfWeek)
{
    if (month < 1 || month > 12)
        return 0;
    const long long days = DaysFromCivil(year, month, 1);
    // 1970-01-01 was a Thursday.
    const int weekday = static_cast<int>(((days + 4) % 7 + 7) % 7) + 1;
    if (startOfWeek == 1)
        return weekday;
    return weekday == 1 ? 7 : weekday - 1;
}

int DayInCell(int row, int column, int firstColumn, int daysInMonth)
{
    if (firstColumn == 0)
        return 0;
    const int day = row * 7 + column - firstColumn + 2;
    return (day >= 1 && day <= daysInMonth) ? day : 0;
}

int CellOfDay(int day, int firstColumn, int daysInMonth)
{
    if (firstColumn == 0 || day < 1 || day > daysInMonth)
        return -1;
    const int cell = day - 2 + firstColumn;
    return cell < 42 ? cell : -1;
}

QString CutDayName(const QString &name, TCalHeadersStyle style)
{
    switch (style) {
    case dsFirstChar:
        return name.left(1);
    case dsThreeChars:
        return name.left(3);
    case dsWhole:
        break;
    }
    return name;
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
