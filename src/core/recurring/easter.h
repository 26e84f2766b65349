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

} // namespace Dayloom
