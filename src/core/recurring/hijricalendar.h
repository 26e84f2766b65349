#pragma once

#include <QDate>

// The tabular Islamic calendar: months of 30 and 29 days in turn, the 12th
// of 30 days in 11 years of every 30 (years 2, 5, 7, 10, 13, 16, 18, 21, 24,
// 26 and 29 of the cycle), counted from 16 July 622 (Julian), the "civil"
// epoch. Countries that fix their days by sighting the crescent or by their
// own computation may keep a day either side of it. Months: 1 Muharram ...
// 9 Ramadan, 10 Shawwal, 11 Dhu al-Qadah, 12 Dhu al-Hijjah.

namespace Dayloom {

// The Gregorian day (of its daylight) of day (1-30) of month (1-12) of Hijri
// year 1-9666; an invalid QDate for a 30th the month does not have.
QDate hijriCalendarDay(int hijriYear, int month, int day);

// The Hijri year in which the Gregorian date falls.
int hijriYearOf(QDate date);

} // namespace Dayloom
