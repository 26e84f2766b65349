#pragma once

#include <QDate>

// Where the Sun stands on the ecliptic, for days fixed by it: the equinoxes
// and the solar terms (Qingming, the Chinese calendar's principal terms).
// Positions follow Meeus, "Astronomical Algorithms" (2nd ed.), chapter 25's
// higher-accuracy method: the VSOP87 series of the Earth, truncated to
// 116 terms (about 1 second of arc, a few seconds of time), corrected to FK5,
// with nutation (chapter 22, 0.5") and aberration. Times are Julian Days: a
// "JDE" counts Terrestrial Time, a "JD" Universal Time; the two differ by
// deltaTSeconds().

namespace Dayloom {

// TT - UT in seconds for a (fractional) year, by the polynomials of Espenak
// and Meeus fitted to the observed values; a parabola outside 1900-2150.
double deltaTSeconds(double year);

// The Sun's apparent geocentric longitude at jde, in degrees 0 <= x < 360,
// referred to the true equinox of the date.
double apparentSolarLongitude(double jde);

// The moment (JD, Universal Time) in Gregorian year 1000-3000 at which the
// Sun's apparent longitude reaches degrees (0 the March equinox, 90 the June
// solstice, 180 the September equinox, 270 the December solstice; any value
// is taken modulo 360). NaN for other years. A longitude the Sun reaches
// within a day of 1 January may fall in the year before or after.
double solarLongitudeMoment(int year, double degrees);

// The civil day, in the zone utcOffsetMinutes east of Greenwich, on which the
// Sun reaches degrees in that year; an invalid QDate where the moment is.
QDate solarLongitudeDay(int year, double degrees, int utcOffsetMinutes);

// The civil day, in the zone utcOffsetMinutes east of Greenwich, holding the
// moment jd (Universal Time).
QDate civilDayOf(double jd, int utcOffsetMinutes);

} // namespace Dayloom
