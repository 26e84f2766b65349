#pragma once

#include "core/recurring/datedentry.h"

#include <QString>

#include <optional>

// A formula entry of "DLRECUR.DAX" as a dated entry with the same days, so
// that an iCalendar export holds the whole list:
//   "@MMDD"   FREQ=YEARLY;BYMONTH=MM;BYMONTHDAY=DD, FREQ=MONTHLY;BYMONTHDAY=DD
//             for MM 00
//   "$O D M"  the (O + 1)th weekday D of month M: FREQ=YEARLY;BYMONTH=M or,
//             for M 0, FREQ=MONTHLY, with BYDAY=1SU ... 5SA, -1 for O 5
//             (last); for D 7 (any day) BYMONTHDAY=O + 1, or -1 for last
//   "%DIGITS" FREQ=WEEKLY;BYDAY= the chosen weekdays
//   "#EASTER", "#GOODFRIDAY", "#PALMSUNDAY"
//             Western Easter plus 0, -2 and -7 days
// The rule starts on the first day the formula gives from 1 January 1900 on
// (the years its Easter rule is the Gregorian one for; after 2099 the
// formulas' Easter is that short rule's and the rule's is the Gregorian).

namespace Dayloom {

// The first year a converted formula entry falls in.
inline constexpr int FormulaRuleFirstYear = 1900;

// The dated entry for a recurring-dates line, with the given UID and the
// trimmed name as its description. Nothing for a line whose formula does not
// read, an unknown "#" keyword, a line without a formula, and a formula that
// falls on no day in four centuries ("@0230").
std::optional<DatedEntry> FormulaAsDatedEntry(const QString &line, const QString &uid);

} // namespace Dayloom
