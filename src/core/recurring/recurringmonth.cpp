#include "core/recurring/recurringmonth.h"

#include "core/calendar/calendardates.h"
#include "core/recurring/easter.h"

namespace Dayloom {

namespace {

int dayWithinMonth(const QDate &date, int month)
{
    return date.isValid() && date.month() == month ? date.day() : 0;
}

} // namespace

std::optional<RecurringMonth> RecurringMonth::make(int year, int month)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        return std::nullopt;
    RecurringMonth facts;
    facts.m_year = year;
    facts.m_month = month;
    facts.m_dayCount = CalendarDates::DaysInMonth(month, year);
    facts.m_firstWeekday = CalendarDates::DayOfWeek(year, month, 1);
    // Easter and the feasts before it lie in March or April only.
    if (month == 3 || month == 4) {
        facts.m_easterDay = dayWithinMonth(easterSunday(year), month);
        facts.m_goodFridayDay = dayWithinMonth(goodFriday(year), month);
        facts.m_palmSundayDay = dayWithinMonth(palmSunday(year), month);
    }
    return facts;
}

int RecurringMonth::keywordDay(const QString &keyword) const
{
    if (keyword == QLatin1String("#EASTER"))
        return m_easterDay;
    if (keyword == QLatin1String("#GOODFRIDAY"))
        return m_goodFridayDay;
    if (keyword == QLatin1String("#PALMSUNDAY"))
        return m_palmSundayDay;
    return 0;
}

} // namespace Dayloom
