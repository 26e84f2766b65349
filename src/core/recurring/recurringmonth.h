#pragma once

#include <QString>

#include <optional>

// What recurring formulas need to know about one month, worked out once so
// that many entries can be evaluated against it cheaply.

namespace Dayloom {

class RecurringMonth
{
public:
    // Nothing for a month outside 1-12 or a year outside 1-9999.
    static std::optional<RecurringMonth> make(int year, int month);

    int year() const { return m_year; }
    int month() const { return m_month; }
    int dayCount() const { return m_dayCount; }
    // 1 = Sunday ... 7 = Saturday, for day 1 to dayCount().
    int weekdayOf(int day) const { return (m_firstWeekday - 1 + day - 1) % 7 + 1; }
    // Day of Easter Sunday, Good Friday or Palm Sunday in this month, 0 when
    // the feast lies in another month.
    int easterDay() const { return m_easterDay; }
    int goodFridayDay() const { return m_goodFridayDay; }
    int palmSundayDay() const { return m_palmSundayDay; }
    // The day in this month of a "#" keyword, 0 when it falls elsewhere or
    // the keyword is unknown.
    int keywordDay(const QString &keyword) const;

private:
    RecurringMonth() = default;

    int m_year = 0;
    int m_month = 0;
    int m_dayCount = 0;
    int m_firstWeekday = 1;
    int m_easterDay = 0;
    int m_goodFridayDay = 0;
    int m_palmSundayDay = 0;
};

} // namespace Dayloom
