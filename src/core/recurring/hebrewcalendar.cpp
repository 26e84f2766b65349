#include "core/recurring/hebrewcalendar.h"

namespace Dayloom {

namespace {

// Days are counted as in Reingold & Dershowitz, "Calendrical Calculations":
// a fixed day 1 is 1 January 1 (Gregorian), which is Julian day 1721426.
constexpr qint64 FixedToJulianDay = 1721425;
// The fixed day before 1 Tishri AM 1 (7 October 3761 BCE, Julian).
constexpr qint64 HebrewEpoch = -1373428;

enum Month
{
    Nisan = 1,
    Iyyar,
    Sivan,
    Tammuz,
    Av,
    Elul,
    Tishri,
    Heshvan,
    Kislev,
    Tevet,
    Shevat,
    Adar,
    AdarII
};

// Days from the epoch to 1 Tishri of year, before the postponements for the
// length of the neighbouring years: the molad of Tishri, moved a day when
// it falls on Sunday, Wednesday or Friday (lo ADU Rosh).
qint64 ElapsedDays(int year)
{
    const qint64 months = (235 * qint64(year) - 234) / 19;
    const qint64 parts = 12084 + 13753 * months;
    const qint64 days = 29 * months + parts / 25920;
    return (3 * (days + 1)) % 7 < 3 ? days + 1 : days;
}

// The postponements that keep every year 353-355 or 383-385 days long.
int YearLengthCorrection(int year)
{
    const qint64 before = ElapsedDays(year - 1), now = ElapsedDays(year),
                 after = ElapsedDays(year + 1);
    if (after - now == 356)
        return 2;
    if (now - before == 382)
        return 1;
    return 0;
}

qint64 NewYear(int year)
{
    return HebrewEpoch + ElapsedDays(year) + YearLengthCorrection(year) + 1;
}

int DaysInYear(int year)
{
    return int(NewYear(year + 1) - NewYear(year));
}

int LastMonth(int year)
{
    return isHebrewLeapYear(year) ? AdarII : Adar;
}

int DaysInMonth(int year, int month)
{
    switch (month) {
    case Iyyar:
    case Tammuz:
    case Elul:
    case Tevet:
    case AdarII:
        return 29;
    case Adar:
        return isHebrewLeapYear(year) ? 30 : 29;
    case Heshvan:
        return DaysInYear(year) % 10 == 5 ? 30 : 29; // a full year: 355 or 385
    case Kislev:
        return DaysInYear(year) % 10 == 3 ? 29 : 30; // a deficient one: 353 or 383
    default:
        return 30;
    }
}

} // namespace

bool isHebrewLeapYear(int hebrewYear)
{
    return (7 * qint64(hebrewYear) + 1) % 19 < 7;
}

QDate hebrewCalendarDay(int hebrewYear, int month, int day)
{
    if (hebrewYear < 1 || hebrewYear > 9999 || month < Nisan || month > AdarII || day < 1)
        return {};
    // In a common year the 13th month is its only Adar.
    if (month == AdarII && !isHebrewLeapYear(hebrewYear))
        month = Adar;
    if (day > DaysInMonth(hebrewYear, month))
        return {};
    // The year begins with Tishri; Nisan to Elul come after Adar.
    qint64 fixed = NewYear(hebrewYear) + day - 1;
    if (month < Tishri) {
        for (int m = Tishri; m <= LastMonth(hebrewYear); ++m)
            fixed += DaysInMonth(hebrewYear, m);
        for (int m = Nisan; m < month; ++m)
            fixed += DaysInMonth(hebrewYear, m);
    } else {
        for (int m = Tishri; m < month; ++m)
            fixed += DaysInMonth(hebrewYear, m);
    }
    return QDate::fromJulianDay(fixed + FixedToJulianDay);
}

} // namespace Dayloom
