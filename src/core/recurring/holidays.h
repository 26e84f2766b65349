#pragma once

#include <QStringList>

namespace Dayloom {

// The 26 built-in holiday entries offered by the Holidays dialog, sorted by
// name. Each is the name padded to 120 characters followed by its formula;
// "@" and "$" formulas are padded to 10 characters, the three "#" formulas
// ("#EASTER", "#GOODFRIDAY", "#PALMSUNDAY") are not.
const QStringList &builtInHolidays();

} // namespace Dayloom
