#pragma once

#include "core/calendar/calendarextras.h"

#include <QDate>

namespace Dayloom::WeekNumbers {

// The number of the week holding the date: ISO 8601 (1-53; days early in
// January may belong to the last week of the year before, days late in
// December to week 1 of the next) or US (1-54: the Sunday-to-Saturday week
// holding 1 January is week 1, also for the December days in it). 0 for
// WeekNumbering::None or an invalid date.
int OfDate(const QDate &date, WeekNumbering numbering);

// The number shown beside a row of seven days starting on `rowStart`: that
// of the week holding most of the row's days, which is the week of the
// row's fourth day. With rows starting on the numbering's own first weekday
// every day of the row lies in that week.
int OfRow(const QDate &rowStart, WeekNumbering numbering);

} // namespace Dayloom::WeekNumbers
