#pragma once

#include <QDate>

// The fixed (arithmetic) Hebrew calendar: months from the mean conjunction
// (molad) counted in parts, a leap month in 7 of every 19 years, and the
// postponements (dehiyyot) of 1 Tishri. Months are numbered from Nisan as in
// the Torah: 1 Nisan, 2 Iyyar, 3 Sivan, 4 Tammuz, 5 Av, 6 Elul, 7 Tishri,
// 8 Heshvan, 9 Kislev, 10 Tevet, 11 Shevat, 12 Adar (Adar I in a leap year),
// 13 Adar II in a leap year and Adar in a common one: the Adar of Purim.
// A Hebrew day begins at the sunset before; the Gregorian day given here is
// the one of its daylight, the day a holiday is kept.

namespace Dayloom {

// The Gregorian day of day (1-30) of month (1-13) of Hebrew year 1-9999
// (Anno Mundi: 5784 began in September 2023); an invalid QDate for a day
// the month does not have that year (30 Heshvan in a short year).
QDate hebrewCalendarDay(int hebrewYear, int month, int day);

// Whether hebrewYear has thirteen months.
bool isHebrewLeapYear(int hebrewYear);

} // namespace Dayloom
