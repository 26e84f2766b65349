#pragma once

#include "core/recurring/recurrencerule.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QTime>

#include <optional>

// When an entry of the recurring-dates list falls, beyond what the four
// formulas of "DLRECUR.DAX" say: an iCalendar recurrence from a first date
// with extra dates and exceptions, or Easter of either reckoning plus or
// minus days, or a day fixed by the Sun or by another calendar (Hebrew,
// Chinese, Islamic); any of them moved off chosen weekdays (and off other
// entries' dates) to a workday, and shown on a span of days.

namespace Dayloom {

class DateRule
{
public:
    enum class Kind
    {
        Recurrence,
        Easter,
        // The civil day on which the Sun reaches solarLongitude degrees.
        SolarLongitude,
        // A day of the Hebrew, Chinese or tabular Islamic calendar.
        Hebrew,
        Chinese,
        Hijri
    };
    enum class Reckoning
    {
        Western,
        Orthodox
    };
    enum class Shift
    {
        None,
        NextWorkday,
        PreviousWorkday,
        NearestWorkday
    };

    // Weekday masks hold bit 1 << n for Qt's weekday n (1 = Monday).
    static constexpr int Saturday = 1 << 6;
    static constexpr int Sunday = 1 << 7;
    static constexpr int Weekend = Saturday | Sunday;
    // The longest span and the farthest shift a rule may ask for, in days.
    static constexpr int MaxSpanDays = 366;
    static constexpr int MaxEasterOffset = 366;

    Kind kind = Kind::Recurrence;
    // The first day (DTSTART): where a recurrence starts, and the day {years}
    // counts from. An Easter rule falls from first's year on (every year when
    // first is invalid).
    QDate first;
    // Without a recurrence a Recurrence rule falls on first alone.
    std::optional<RecurrenceRule> recurrence;
    QList<QDate> extraDates; // RDATE, before any shift
    QList<QDate> exceptions; // EXDATE, before any shift
    Reckoning reckoning = Reckoning::Western;
    int easterOffset = 0;
    // The calendar kinds: month (Hebrew 1-13 as hebrewcalendar.h numbers
    // them, Chinese and Hijri 1-12) and day (1-30). A day the month lacks in a
    // year does not fall that year.
    int calendarMonth = 1;
    int calendarDay = 1;
    // The Sun and calendar kinds: days after (or before) the day they fix.
    int calendarOffset = 0;
    static constexpr int MaxCalendarOffset = 30;
    // SolarLongitude: degrees, 0-359 (0 the March equinox).
    int solarLongitude = 0;
    // SolarLongitude and Chinese: the zone whose civil days count, in minutes
    // east of Greenwich (540 for Japan, 480 for China Standard Time).
    int utcOffsetMinutes = 0;
    static constexpr int MaxUtcOffsetMinutes = 14 * 60;
    Shift shift = Shift::None;
    // The weekdays a date is moved off (the weekend by default).
    int shiftOffWeekdays = Weekend;
    int spanDays = 1;
    // An event's start time; invalid for an all-day entry.
    QTime startTime;

    // The first days of the occurrences whose span reaches into from..to,
    // after the shift, ascending. blocked holds the Julian days of other
    // entries' dates that the shift also moves off. The work is bounded by
    // the range and the rule's own limits.
    QList<QDate> startsBetween(QDate from, QDate to, const QSet<qint64> &blocked = {}) const;
    // Every day of from..to that an occurrence's span covers, ascending, each
    // with the first day of that occurrence (the day {years} counts at).
    struct ShownDay
    {
        QDate day;
        QDate start;
    };
    QList<ShownDay> daysBetween(QDate from, QDate to, const QSet<qint64> &blocked = {}) const;

    // The whole years from first to start, for the "{years}" in a description;
    // 0 without a first date.
    int yearsAt(QDate start) const;

    friend bool operator==(const DateRule &, const DateRule &) = default;

private:
    QList<QDate> unshiftedBetween(QDate from, QDate to) const;
    QList<QDate> calendarDaysBetween(QDate from, QDate to) const;
    QDate shifted(QDate date, const QSet<qint64> &blocked) const;
};

} // namespace Dayloom
