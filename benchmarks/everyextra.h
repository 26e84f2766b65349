#pragma once

#include "core/calendar/calendarpage.h"

#include <QDate>
#include <QSet>

// Every drawing option of the calendar frame switched on: weeks from
// Saturday, ISO week numbers, Friday and Saturday marked, a red day every
// ninth day (looked up on every drawing, as holiday sets are), moon phases
// and day counters.
inline void UseEveryExtra(Dayloom::CalendarPage &page)
{
    using namespace Dayloom;
    page.SetFirstWeekday(7);
    CalendarExtras extras = page.Extras();
    extras.weekPlannersFromFirstWeekday = true;
    extras.weekNumbers = WeekNumbering::Iso;
    extras.markWeekends = true;
    extras.weekendDays = WeekdayBit(6) | WeekdayBit(7);
    extras.redDays = true;
    extras.moonPhases = true;
    extras.dayCounters = true;
    page.SetExtras(extras);
    page.SetRedDayLookup([](const QDate &first, const QDate &last) {
        QSet<QDate> days;
        for (QDate day = first; day <= last; day = day.addDays(9))
            days.insert(day);
        return days;
    });
}
