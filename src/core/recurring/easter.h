#pragma once

#include <QDate>

// Easter and the two feasts tied to it.

namespace Dayloom {

// Easter Sunday of year 1-9999 by the short integer rule that matches the
// Gregorian date for 1900-2099 (outside those years it is that rule's date,
// not the Gregorian one). An invalid QDate for other years.
QDate easterSunday(int year);
// The Friday before Easter Sunday: stepping back from the day before it.
QDate goodFriday(int year);
// The Sunday before Easter Sunday: stepping back from the day before it.
QDate palmSunday(int year);

// Easter Sunday by the full Gregorian reckoning of the Western churches,
// for years 1583-9999 (an invalid QDate otherwise).
QDate westernEasterSunday(int year);
// Easter Sunday by the Julian reckoning of the Orthodox churches, given as
// the Gregorian date, for years 1583-9999 (an invalid QDate otherwise).
QDate orthodoxEasterSunday(int year);

} // namespace Dayloom
