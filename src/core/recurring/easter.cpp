#include "core/recurring/easter.h"

namespace Dayloom {

namespace {

constexpr int MinYear = 1;
constexpr int MaxYear = 9999;

// Qt numbers weekdays 1 = Monday ... 7 = Sunday.
QDate lastWeekdayBefore(const QDate &date, int qtWeekday)
{
    if (!date.isValid())
        return {};
    QDate day = date.addDays(-1);
    while (day.dayOfWeek() != qtWeekday)
        day = day.addDays(-1);
    return day;
}

} // namespace

QDate easterSunday(int year)
{
    if (year < MinYear || year > MaxYear)
        return {};
    const int r = year % 19;
    int d = (204 - 11 * r) % 30 + 21;
    if (d > 48)
        --d;
    const int e = (year + year / 4 + d + 1) % 7;
    d = d + 7 - e;
    return d >= 32 ? QDate(year, 4, d - 31) : QDate(year, 3, d);
}

QDate goodFriday(int year)
{
    return lastWeekdayBefore(easterSunday(year), Qt::Friday);
}

QDate palmSunday(int year)
{
    return lastWeekdayBefore(easterSunday(year), Qt::Sunday);
}

QDate westernEasterSunday(int year)
{
    if (year < 1583 || year > MaxYear)
        return {};
    const int a = year % 19, b = year / 100, c = year % 100;
    const int h = (19 * a + b - b / 4 - (8 * b + 13) / 25 + 15) % 30;
    const int l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - c % 4) % 7;
    const int m = (a + 11 * h + 19 * l) / 433;
    const int month = (h + l - 7 * m + 90) / 25;
    return QDate(year, month, (h + l - 7 * m + 33 * month + 19) % 32);
}

QDate orthodoxEasterSunday(int year)
{
    if (year < 1583 || year > MaxYear)
        return {};
    const int d = (19 * (year % 19) + 15) % 30;
    const int e = (2 * (year % 4) + 4 * (year % 7) - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const QDate julian(year, month, (d + e + 114) % 31 + 1);
    // Easter lies after the end of February, so the gap between the two
    // calendars is that of the year's own century.
    return julian.addDays(year / 100 - year / 400 - 2);
}

} // namespace Dayloom
