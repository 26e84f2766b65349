#include "core/recurring/chinesecalendar.h"

#include "core/recurring/solarlongitude.h"

#include <QHash>
#include <QList>
#include <QMutex>

#include <cmath>
#include <numbers>

namespace Dayloom {

namespace {

constexpr double SynodicMonth = 29.530588861;
constexpr double FirstNewMoon2000 = 2451550.09766; // JDE of new moon k = 0

double Sin(double degrees)
{
    return std::sin(degrees * std::numbers::pi / 180.0);
}

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
    const double t = k / 1236.85; // Julian centuries from J2000
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double jde = FirstNewMoon2000 + SynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 +
                       0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
    const double mm =
        201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
    const double f =
        160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
    const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;
    double correction =
        -0.40720 * Sin(mm) + 0.17241 * e * Sin(m) + 0.01608 * Sin(2 * mm) + 0.01039 * Sin(2 * f) +
        0.00739 * e * Sin(mm - m) - 0.00514 * e * Sin(mm + m) + 0.00208 * e * e * Sin(2 * m) -
        0.00111 * Sin(mm - 2 * f) - 0.00057 * Sin(mm + 2 * f) + 0.00056 * e * Sin(2 * mm + m) -
        0.00042 * Sin(3 * mm) + 0.00042 * e * Sin(m + 2 * f) + 0.00038 * e * Sin(m - 2 * f) -
        0.00024 * e * Sin(2 * mm - m) - 0.00017 * Sin(omega) - 0.00007 * Sin(mm + 2 * m) +
        0.00004 * Sin(2 * mm - 2 * f) + 0.00004 * Sin(3 * m) + 0.00003 * Sin(mm + m - 2 * f) +
        0.00003 * Sin(2 * mm + 2 * f) - 0.00003 * Sin(mm + m + 2 * f) +
        0.00003 * Sin(mm - m + 2 * f) - 0.00002 * Sin(mm - m - 2 * f) - 0.00002 * Sin(3 * mm + m) +
        0.00002 * Sin(4 * mm);
    // The planetary arguments.
    static constexpr double planetary[14][3] = {
        {299.77, 0.107408, 325},  {251.88, 0.016321, 165}, {251.83, 26.651886, 164},
        {349.42, 36.412478, 126}, {84.66, 18.206239, 110}, {141.74, 53.303771, 62},
        {207.14, 2.453732, 60},   {154.84, 7.306860, 56},  {34.52, 27.261239, 47},
        {207.19, 0.121824, 42},   {291.34, 1.844379, 40},  {161.72, 24.198154, 37},
        {239.56, 25.513099, 35},  {331.55, 3.592518, 23}};
    for (int i = 0; i < 14; ++i) {
        double argument = planetary[i][0] + planetary[i][1] * k;
        if (i == 0)
            argument -= 0.009173 * t2;
        correction += planetary[i][2] * 1e-6 * Sin(argument);
    }
    const double year = 2000.0 + k / 12.3685;
    return jde + correction - deltaTSeconds(year) / 86400.0;
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
