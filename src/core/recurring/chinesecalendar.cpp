#include "core/recurring/chinesecalendar.h"

#include "core/calendar/moonphases.h"
#include "core/recurring/solarlongitude.h"

#include <QHash>
#include <QList>
#include <QMutex>

#include <cmath>

namespace Dayloom {

namespace {

constexpr double SynodicMonth = 29.530588861;
constexpr double FirstNewMoon2000 = 2451550.09766; // JDE of new moon k = 0

// The civil day (Julian day number) of the k-th new moon.
qint64 NewMoonDay(int k, int offset)
{
    return civilDayOf(newMoonMoment(k), offset).toJulianDay();
}

// The number of the last new moon whose civil day is on or before day.
int NewMoonOnOrBefore(qint64 day, int offset)
{
    int k = int(std::floor((day + 0.5 - FirstNewMoon2000) / SynodicMonth));
    while (NewMoonDay(k + 1, offset) <= day)
        ++k;
    while (NewMoonDay(k, offset) > day)
        --k;
    return k;
}

// The Sun's longitude at the start (local midnight) of a civil day.
double LongitudeAtStartOf(qint64 day, int offset)
{
    const double jd = day - 0.5 - offset / 1440.0;
    const double year = 2000.0 + (jd - 2451545.0) / 365.25;
    return apparentSolarLongitude(jd + deltaTSeconds(year) / 86400.0);
}

// Whether the month from day start up to (not including) next holds a
// principal term: whether the Sun crosses a multiple of 30 degrees.
bool HoldsPrincipalTerm(qint64 start, qint64 next, int offset)
{
    const double a = LongitudeAtStartOf(start, offset), b = LongitudeAtStartOf(next, offset);
    return std::floor(a / 30.0) != std::floor(b / 30.0 + (b < a ? 12 : 0));
}

struct Month
{
    qint64 start = 0; // Julian day number of its first day
    qint64 next = 0;  // of the next month's
    int year = 0;     // the Gregorian year in which its Chinese year begins
    int number = 0;
    bool leap = false;
};

// The months from the 11th month holding the December solstice of year - 1
// to the one before the 11th month holding that of year.
QList<Month> MonthsBetweenSolstices(int year, int offset)
{
    const qint64 solstice1 = solarLongitudeDay(year - 1, 270, offset).toJulianDay();
    const qint64 solstice2 = solarLongitudeDay(year, 270, offset).toJulianDay();
    const int first = NewMoonOnOrBefore(solstice1, offset);
    const int last = NewMoonOnOrBefore(solstice2, offset);
    QList<Month> months;
    for (int k = first; k < last; ++k)
        months.append({NewMoonDay(k, offset), NewMoonDay(k + 1, offset), year - 1, 0, false});
    // Thirteen months: the first without a principal term is the leap month.
    bool leapFound = months.size() != 13;
    int number = 11;
    months[0].number = 11;
    for (qsizetype i = 1; i < months.size(); ++i) {
        Month &month = months[i];
        if (!leapFound && !HoldsPrincipalTerm(month.start, month.next, offset)) {
            leapFound = true;
            month.leap = true;
        } else {
            number = number % 12 + 1;
        }
        month.number = number;
    }
    // Months 11 and 12 (and a leap month after either) close the year before.
    for (Month &month : months)
        month.year = month.number >= 11 ? year - 1 : year;
    return months;
}

// The same spans are asked for again and again (every festival of every
// year a page shows): keep the last few hundred.
QList<Month> CachedMonthsBetweenSolstices(int year, int offset)
{
    static QMutex mutex;
    static QHash<qint64, QList<Month>> cache;
    const qint64 key = qint64(year) * 4096 + offset;
    {
        const QMutexLocker lock(&mutex);
        if (const auto it = cache.constFind(key); it != cache.cend())
            return *it;
    }
    QList<Month> months = MonthsBetweenSolstices(year, offset);
    const QMutexLocker lock(&mutex);
    if (cache.size() >= 512)
        cache.clear();
    cache.insert(key, months);
    return months;
}

} // namespace

double newMoonMoment(int k)
{
    const double year = 2000.0 + k / 12.3685;
    return MoonPhases::PhaseJde(k) - deltaTSeconds(year) / 86400.0;
}

QDate chineseCalendarDay(int year, int month, int day, bool leap, int utcOffsetMinutes)
{
    if (year < 1001 || year > 2999 || month < 1 || month > 12 || day < 1 || day > 30)
        return {};
    // Months 11 and 12 of the year close the span up to the next solstice.
    for (const Month &m :
         CachedMonthsBetweenSolstices(month >= 11 ? year + 1 : year, utcOffsetMinutes)) {
        if (m.year == year && m.number == month && m.leap == leap)
            return m.start + day - 1 < m.next ? QDate::fromJulianDay(m.start + day - 1) : QDate();
    }
    return {};
}

} // namespace Dayloom
