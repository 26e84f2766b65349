#pragma once

#include "core/recurring/recurringformula.h"
#include "core/recurring/recurringmonth.h"

#include <QList>
#include <QStringView>

namespace Dayloom {

// The days (ascending, each a day the month has) on which a formula falls:
//   "@"  day DD when MM is 0 or the month;
//   "$"  when M is 0 or the month: any day (D = 7) gives day O + 1, or the
//        last day for O = 5; a weekday gives its (O + 1)th occurrence, none
//        when the month has fewer, or its last one for O = 5;
//   "%"  every day whose weekday is chosen;
//   "#"  Easter Sunday, Good Friday or Palm Sunday when in the month.
// A day the month lacks ("@0231" in February) is left out. Invalid formulas
// fall on no day.
QList<int> DatesInMonth(const RecurringFormula &formula, const RecurringMonth &month);
// Same for a formula text (line positions 121 onwards), month 1-12 and year
// 1-9999; other months and years give no days.
QList<int> DatesInMonth(QStringView formula, int year, int month);

} // namespace Dayloom
