#include "core/recurring/hijricalendar.h"

#include <cmath>

namespace Dayloom {

namespace {

// Julian day number of 1 Muharram AH 1.
constexpr qint64 Epoch = 1948440;

qint64 DayNumber(int year, int month, int day)
{
    return Epoch - 1 + qint64(year - 1) * 354 + (3 + 11 * qint64(year)) / 30 + 29 * (month - 1) +
           month / 2 + day;
}

bool IsLeap(int year)
{
    return (14 + 11 * qint64(year)) % 30 < 11;
}

} // namespace

QDate hijriCalendarDay(int hijriYear, int month, int day)
{
    if (hijriYear < 1 || hijriYear > 9666 || month < 1 || month > 12 || day < 1 || day > 30)
        return {};
    const int length = month % 2 == 1 || (month == 12 && IsLeap(hijriYear)) ? 30 : 29;
    if (day > length)
        return {};
    return QDate::fromJulianDay(DayNumber(hijriYear, month, day));
}

int hijriYearOf(QDate date)
{
    if (!date.isValid())
        return 0;
    const qint64 day = date.toJulianDay();
    int year = int(std::floor((30.0 * (day - Epoch) + 10646) / 10631.0));
    while (year > 1 && DayNumber(year, 1, 1) > day)
        --year;
    while (DayNumber(year + 1, 1, 1) <= day)
        ++year;
    return year;
}

} // namespace Dayloom
