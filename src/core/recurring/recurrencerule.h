#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// An iCalendar recurrence rule (the value of an RRULE property) at the
// resolution of whole days: FREQ (DAILY to YEARLY), INTERVAL, COUNT, UNTIL,
// BYDAY with ordinals, BYMONTHDAY, BYMONTH, BYYEARDAY, BYWEEKNO, BYSETPOS and
// WKST. Weekdays are numbered as QDate numbers them: 1 = Monday ... 7 = Sunday.

namespace Dayloom {

class RecurrenceRule
{
public:
    enum class Frequency
    {
        Daily,
        Weekly,
        Monthly,
        Yearly
    };

    // One BYDAY item: a weekday, with an ordinal (2 = second, -1 = last) or 0
    // for every such weekday of the period.
    struct WeekdayNumber
    {
        int ordinal = 0;
        int weekday = 1;
        friend bool operator==(const WeekdayNumber &, const WeekdayNumber &) = default;
    };

    Frequency frequency = Frequency::Yearly;
    int interval = 1;
    // The number of dates the rule makes from its first date, 0 for no limit.
    int count = 0;
    // The last day the rule may fall on; invalid for no limit.
    QDate until;
    QList<WeekdayNumber> byDay;
    QList<int> byMonthDay; // 1..31 or -31..-1 (from the month's end)
    QList<int> byMonth;    // 1..12
    QList<int> byYearDay;  // 1..366 or -366..-1
    QList<int> byWeekNo;   // 1..53 or -53..-1
    QList<int> bySetPos;   // 1..366 or -366..-1
    int weekStart = 1;

    // The largest COUNT, INTERVAL and list length read: a rule is a line of
    // text from files of any origin.
    static constexpr int MaxCount = 100000;
    static constexpr int MaxInterval = 10000;
    static constexpr int MaxListLength = 400;

    // Reads "FREQ=MONTHLY;BYDAY=-1FR" (an optional "RRULE:" in front, names in
    // any letter case). Parts below a day (BYHOUR, BYMINUTE, BYSECOND) are
    // accepted and ignored; HOURLY and finer frequencies, unknown parts and
    // values out of range are refused with a reason in error. COUNT together
    // with UNTIL, which some programs write, ends at whichever comes first.
    static std::optional<RecurrenceRule> parse(QStringView text, QString *error = nullptr);
    // The rule as RRULE text, parts in a fixed order, defaults left out.
    QString toString() const;

    // The dates on which the rule falls, starting at first (DTSTART, which
    // counts only when the rule itself falls on it), that lie within
    // from..to, in ascending order. Parts the rule leaves open are taken from
    // first: a yearly rule without day parts falls on first's month and day,
    // a monthly one on first's day of the month, a weekly one on first's
    // weekday. The work is bounded by the periods up to to (and COUNT), never
    // by the rule's own end. Nothing for invalid dates.
    QList<QDate> datesBetween(QDate first, QDate from, QDate to) const;

    friend bool operator==(const RecurrenceRule &, const RecurrenceRule &) = default;
};

} // namespace Dayloom
