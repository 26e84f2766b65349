#pragma once

#include <QDate>
#include <QSet>

namespace Dayloom {

// The public holidays a page draws as red days, between first and last
// (inclusive): the dates of the user's linked holiday sets whose category
// is public. Pages ask for them through CalendarPage::SetRedDayLookup.
//
// No holiday sets exist yet, so there are none: this is the one place that
// looks them up once they do.
QSet<QDate> PublicHolidayDates(const QDate &first, const QDate &last);

} // namespace Dayloom
