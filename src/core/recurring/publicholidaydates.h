#pragma once

#include "core/recurring/holidaylink.h"

#include <QDate>
#include <QList>
#include <QSet>

namespace Dayloom {

// The public holidays a page draws as red days, between first and last
// (inclusive): the days of the linked holiday sets whose category is public
// (observed days off included, hidden holidays left out). The sets are
// those SetRedDayHolidayLinks named, else those linked in the user's list
// ("DLRECUR.ics" beside "DLRECUR.DAX"), read again only when that file
// changes. Pages ask for them through CalendarPage::SetRedDayLookup.
QSet<QDate> PublicHolidayDates(const QDate &first, const QDate &last);

// The sets red days come from instead of the user's list (the command
// line's --holidays); an empty list restores the user's.
void SetRedDayHolidayLinks(const QList<HolidayLink> &links);

} // namespace Dayloom
