#pragma once

#include <QDate>
#include <QString>

class QIODevice;

namespace Dayloom {

class RecurringDates;

// The dates of a list over from..to as CSV for spreadsheets: a header line
// "Date,Description", then a line per day and entry, the date as YYYY-MM-DD,
// a description with a comma, quote or line break quoted ("" for a quote),
// lines ended by CR LF. At most RecurringDates::MaxRangeDays days; false with
// the reason for a longer or invalid range or a failed write.
bool WriteDatesCsv(QIODevice &device, const RecurringDates &dates, QDate from, QDate to,
                   QString *error = nullptr);

} // namespace Dayloom
