#pragma once

#include <QDate>

// The Chinese lunisolar calendar by its astronomical rule (the one in use
// since 1929 and set down in GB/T 33661-2017): a month begins on the civil
// day of a new moon; the month holding the December solstice is the 11th;
// in a year of 13 months between two such 11th months, the first month
// holding no principal solar term (a multiple of 30 degrees of the Sun's
// longitude) repeats its predecessor's number as a leap month. Days are
// civil days of a zone east of Greenwich: UTC+8 (China Standard Time) for
// the calendar of China, Hong Kong and Singapore. New moons follow Meeus,
// "Astronomical Algorithms", chapter 49; the Sun's longitude solarlongitude.h.

namespace Dayloom {

// The Gregorian day of day (1-30) of month (1-12) in the Chinese year whose
// first month begins in Gregorian year (1001-2999); the leap month of that
// number when leap is set. An invalid QDate where there is no such day: a
// 30th in a month of 29 days, a leap month the year does not have.
QDate chineseCalendarDay(int year, int month, int day, bool leap = false,
                         int utcOffsetMinutes = 8 * 60);

// The moment (JD, Universal Time) of the k-th new moon after that of
// 6 January 2000 (k may be negative).
double newMoonMoment(int k);

} // namespace Dayloom
