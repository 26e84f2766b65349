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

} // namespace Dayloom
