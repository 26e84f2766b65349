#include "core/recurring/recurrencerule.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <limits>

namespace Dayloom {

namespace {

constexpr std::array<const char *, 7> WeekdayCodes{"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

int WeekdayOfCode(QStringView code)
{
    for (int i = 0; i < 7; ++i) {
        if (code.compare(QLatin1String(WeekdayCodes[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// A comma-separated list of integers, each with |value| in 1..limit (or
// 0..limit when zero is allowed).
bool ReadNumbers(QStringView name, QStringView value, int limit, bool signedValues, QList<int> &out,
                 QString *error)
{
    const auto items = value.split(u',');
    if (items.size() > RecurrenceRule::MaxListLength)
        return Fail(error, QStringLiteral("%1 lists too many values").arg(name));
    for (const QStringView item : items) {
        bool ok = false;
        const int number = item.trimmed().toInt(&ok);
        const int magnitude = number < 0 ? -number : number;
        if (!ok || number == 0 || magnitude > limit || (number < 0 && !signedValues))
            return Fail(error, QStringLiteral("%1 holds \"%2\", which is not a valid value")
                                   .arg(name, item.toString()));
        if (!out.contains(number))
            out.append(number);
    }
    return true;
}

bool ReadWeekdays(QStringView value, QList<RecurrenceRule::WeekdayNumber> &out, QString *error)
{
    const auto items = value.split(u',');
    if (items.size() > RecurrenceRule::MaxListLength)
        return Fail(error, QStringLiteral("BYDAY lists too many values"));
    for (QStringView item : items) {
        item = item.trimmed();
        const int weekday = item.size() >= 2 ? WeekdayOfCode(item.right(2)) : 0;
        int ordinal = 0;
        bool ok = weekday != 0;
        if (ok && item.size() > 2) {
            ordinal = item.left(item.size() - 2).toInt(&ok);
            ok = ok && ordinal != 0 && ordinal >= -53 && ordinal <= 53;
        }
        if (!ok)
            return Fail(
                error,
                QStringLiteral("BYDAY holds \"%1\", which is not a weekday").arg(item.toString()));
        const RecurrenceRule::WeekdayNumber entry{ordinal, weekday};
        if (!out.contains(entry))
            out.append(entry);
    }
    return true;
}

// UNTIL as a date ("20261231") or a date with a time ("20261231T235959Z");
// only the day is kept.
QDate ReadUntil(QStringView value)
{
    if (value.size() < 8)
        return {};
    for (int i = 0; i < 8; ++i) {
        if (!value[i].isDigit())
            return {};
    }
    if (value.size() > 8 && value[8] != u'T')
        return {};
    return QDate(value.left(4).toInt(), value.mid(4, 2).toInt(), value.mid(6, 2).toInt());
}

bool ReadFrequency(QStringView value, RecurrenceRule::Frequency &frequency, QString *error)
{
    using F = RecurrenceRule::Frequency;
    static const std::array<std::pair<const char *, F>, 4> names{{{"DAILY", F::Daily},
                                                                  {"WEEKLY", F::Weekly},
                                                                  {"MONTHLY", F::Monthly},
                                                                  {"YEARLY", F::Yearly}}};
    for (const auto &[name, f] : names) {
        if (value.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            frequency = f;
            return true;
        }
    }
    if (value.compare(u"HOURLY", Qt::CaseInsensitive) == 0 ||
        value.compare(u"MINUTELY", Qt::CaseInsensitive) == 0 ||
        value.compare(u"SECONDLY", Qt::CaseInsensitive) == 0)
        return Fail(error, QStringLiteral("a rule repeating every %1 is finer than a day")
                               .arg(value.toString().toLower().chopped(2)));
    return Fail(error, QStringLiteral("FREQ \"%1\" is not a frequency").arg(value.toString()));
}

bool ReadPositive(QStringView name, QStringView value, int limit, int &out, QString *error)
{
    bool ok = false;
    out = value.toInt(&ok);
    if (!ok || out < 1 || out > limit)
        return Fail(error, QStringLiteral("%1 \"%2\" is out of range").arg(name, value.toString()));
    return true;
}

bool ReadPart(RecurrenceRule &rule, QStringView name, QStringView value, bool &hasFrequency,
              QString *error)
{
    const auto is = [&](const char *part) {
        return name.compare(QLatin1String(part), Qt::CaseInsensitive) == 0;
    };
    if (is("FREQ")) {
        hasFrequency = true;
        return ReadFrequency(value, rule.frequency, error);
    }
    if (is("INTERVAL"))
        return ReadPositive(u"INTERVAL", value, RecurrenceRule::MaxInterval, rule.interval, error);
    if (is("COUNT"))
        return ReadPositive(u"COUNT", value, RecurrenceRule::MaxCount, rule.count, error);
    if (is("UNTIL")) {
        rule.until = ReadUntil(value);
        return rule.until.isValid() ||
               Fail(error, QStringLiteral("UNTIL \"%1\" is not a date").arg(value.toString()));
    }
    if (is("BYDAY"))
        return ReadWeekdays(value, rule.byDay, error);
    if (is("BYMONTHDAY"))
        return ReadNumbers(u"BYMONTHDAY", value, 31, true, rule.byMonthDay, error);
    if (is("BYMONTH"))
        return ReadNumbers(u"BYMONTH", value, 12, false, rule.byMonth, error);
    if (is("BYYEARDAY"))
        return ReadNumbers(u"BYYEARDAY", value, 366, true, rule.byYearDay, error);
    if (is("BYWEEKNO"))
        return ReadNumbers(u"BYWEEKNO", value, 53, true, rule.byWeekNo, error);
    if (is("BYSETPOS"))
        return ReadNumbers(u"BYSETPOS", value, 366, true, rule.bySetPos, error);
    if (is("WKST")) {
        rule.weekStart = WeekdayOfCode(value);
        return rule.weekStart != 0 ||
               Fail(error, QStringLiteral("WKST \"%1\" is not a weekday").arg(value.toString()));
    }
    if (is("BYHOUR") || is("BYMINUTE") || is("BYSECOND"))
        return true;
    return Fail(error,
                QStringLiteral("\"%1\" is not a part of a recurrence rule").arg(name.toString()));
}

QString JoinNumbers(const QList<int> &numbers)
{
    QStringList texts;
    for (const int n : numbers)
        texts.append(QString::number(n));
    return texts.join(u',');
}

// ---- expansion ---------------------------------------------------------

bool IsLeap(int year)
{
    return QDate::isLeapYear(year);
}

int DaysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

// Julian day of the first day of week 1 of year: the week (starting on
// weekStart) that holds at least four days of the year.
qint64 FirstDayOfWeekOne(int year, int weekStart)
{
    const QDate newYear(year, 1, 1);
    const int before = (newYear.dayOfWeek() - weekStart + 7) % 7;
    return newYear.toJulianDay() + (before <= 3 ? -before : 7 - before);
}

// One day of a period, with everything the BY parts look at.
struct Day
{
    qint64 julian = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    int weekday = 0; // 1 = Monday
    int yearDay = 0; // 1-based
    int monthLength = 0;
    int yearLength = 0;
};

Day DayOf(QDate date)
{
    Day d;
    d.julian = date.toJulianDay();
    date.getDate(&d.year, &d.month, &d.day);
    d.weekday = date.dayOfWeek();
    d.yearDay = date.dayOfYear();
    d.monthLength = DaysInMonth(d.year, d.month);
    d.yearLength = IsLeap(d.year) ? 366 : 365;
    return d;
}

void Advance(Day &d)
{
    ++d.julian;
    d.weekday = d.weekday % 7 + 1;
    ++d.yearDay;
    if (++d.day <= d.monthLength)
        return;
    d.day = 1;
    if (++d.month > 12) {
        d.month = 1;
        ++d.year;
        d.yearDay = 1;
        d.yearLength = IsLeap(d.year) ? 366 : 365;
    }
    d.monthLength = DaysInMonth(d.year, d.month);
}

// The rule with the parts it leaves open filled from its first date, split
// into what the day filter asks.
class Expansion
{
public:
    Expansion(const RecurrenceRule &rule, QDate first) : m_rule(rule), m_first(first)
    {
        using F = RecurrenceRule::Frequency;
        const bool noDayParts = m_rule.byWeekNo.isEmpty() && m_rule.byYearDay.isEmpty() &&
                                m_rule.byMonthDay.isEmpty() && m_rule.byDay.isEmpty();
        if (noDayParts) {
            if (m_rule.frequency == F::Yearly) {
                if (m_rule.byMonth.isEmpty())
                    m_rule.byMonth.append(first.month());
                m_rule.byMonthDay.append(first.day());
            } else if (m_rule.frequency == F::Monthly) {
                m_rule.byMonthDay.append(first.day());
            } else if (m_rule.frequency == F::Weekly) {
                m_rule.byDay.append({0, first.dayOfWeek()});
            }
        }
        // Ordinals mean something only within a month or a year.
        const bool ordinalsCount = m_rule.frequency == F::Monthly || m_rule.frequency == F::Yearly;
        for (const auto &wd : std::as_const(m_rule.byDay)) {
            if (wd.ordinal == 0 || !ordinalsCount)
                m_everyWeekday |= 1 << wd.weekday;
            else
                m_ordinalWeekdays.append(wd);
        }
        std::sort(m_rule.byMonth.begin(), m_rule.byMonth.end());
        for (const int m : std::as_const(m_rule.byMonth))
            m_monthMask |= 1 << m;
    }

    QList<QDate> run(QDate from, QDate to) const;

private:
    using F = RecurrenceRule::Frequency;

    // The number of periods between the first one and the one from lies in,
    // rounded down to whole intervals.
    qint64 periodsBefore(QDate from) const;
    void collectPeriod(qint64 index, QList<Day> &days) const;
    void collectRange(Day start, int length, QList<Day> &days) const;
    bool matches(const Day &d) const;
    bool matchesWeekNumber(const Day &d) const;
    bool matchesOrdinalWeekday(const Day &d) const;
    void applySetPositions(QList<Day> &days) const;
    qint64 periodStart(qint64 index) const;

    RecurrenceRule m_rule;
    QDate m_first;
    int m_everyWeekday = 0;
    int m_monthMask = 0;
    QList<RecurrenceRule::WeekdayNumber> m_ordinalWeekdays;
    // Where the weeks of the year last asked about begin.
    mutable struct
    {
        int year = std::numeric_limits<int>::min();
        qint64 weekOne = 0;
        qint64 nextWeekOne = 0;
        int lastYearWeeks = 0;
    } m_weeks;
};

qint64 Expansion::periodStart(qint64 index) const
{
    const qint64 step = index * m_rule.interval;
    switch (m_rule.frequency) {
    case F::Daily:
        return m_first.toJulianDay() + step;
    case F::Weekly:
        return m_first.toJulianDay() - (m_first.dayOfWeek() - m_rule.weekStart + 7) % 7 + 7 * step;
    case F::Monthly: {
        const qint64 months = qint64(m_first.year()) * 12 + m_first.month() - 1 + step;
        if (months / 12 > 9999)
            return std::numeric_limits<qint64>::max();
        return QDate(int(months / 12), int(months % 12) + 1, 1).toJulianDay();
    }
    case F::Yearly:
        if (m_first.year() + step > 9999)
            return std::numeric_limits<qint64>::max();
        return QDate(int(m_first.year() + step), 1, 1).toJulianDay();
    }
    return std::numeric_limits<qint64>::max();
}

qint64 Expansion::periodsBefore(QDate from) const
{
    qint64 periods = 0;
    switch (m_rule.frequency) {
    case F::Daily:
        periods = from.toJulianDay() - m_first.toJulianDay();
        break;
    case F::Weekly:
        periods = (from.toJulianDay() - periodStart(0)) / 7;
        break;
    case F::Monthly:
        periods = (qint64(from.year()) * 12 + from.month()) -
                  (qint64(m_first.year()) * 12 + m_first.month());
        break;
    case F::Yearly:
        periods = from.year() - m_first.year();
        break;
    }
    return std::max<qint64>(0, periods / m_rule.interval);
}

void Expansion::collectRange(Day d, int length, QList<Day> &days) const
{
    for (int i = 0; i < length; ++i, Advance(d)) {
        if (matches(d))
            days.append(d);
    }
}

void Expansion::collectPeriod(qint64 index, QList<Day> &days) const
{
    days.clear();
    const QDate start = QDate::fromJulianDay(periodStart(index));
    switch (m_rule.frequency) {
    case F::Daily:
        collectRange(DayOf(start), 1, days);
        break;
    case F::Weekly:
        // The first week holds only the days from the first date on, so
        // BYSETPOS counts from there.
        if (index == 0)
            collectRange(DayOf(m_first), 7 - int(m_first.toJulianDay() - start.toJulianDay()),
                         days);
        else
            collectRange(DayOf(start), 7, days);
        break;
    case F::Monthly:
        if (m_monthMask == 0 || (m_monthMask & (1 << start.month())))
            collectRange(DayOf(start), start.daysInMonth(), days);
        break;
    case F::Yearly:
        if (m_monthMask == 0) {
            collectRange(DayOf(start), start.daysInYear(), days);
        } else {
            for (const int month : m_rule.byMonth) {
                const QDate monthStart(start.year(), month, 1);
                collectRange(DayOf(monthStart), monthStart.daysInMonth(), days);
            }
        }
        break;
    }
    applySetPositions(days);
}

bool Expansion::matches(const Day &d) const
{
    if (m_monthMask && !(m_monthMask & (1 << d.month)))
        return false;
    if (!m_rule.byWeekNo.isEmpty() && !matchesWeekNumber(d))
        return false;
    if (!m_rule.byYearDay.isEmpty() && !m_rule.byYearDay.contains(d.yearDay) &&
        !m_rule.byYearDay.contains(d.yearDay - d.yearLength - 1))
        return false;
    if (!m_rule.byMonthDay.isEmpty() && !m_rule.byMonthDay.contains(d.day) &&
        !m_rule.byMonthDay.contains(d.day - d.monthLength - 1))
        return false;
    if (m_everyWeekday || !m_ordinalWeekdays.isEmpty()) {
        const bool every = m_everyWeekday & (1 << d.weekday);
        if (!every && !matchesOrdinalWeekday(d))
            return false;
    }
    return true;
}

// Week numbers as iCalendar counts them: week 1 is the first week, starting
// on WKST, with at least four days of the year. The days of the year that
// belong to week 1 of the next year match week 1; those that belong to the
// last week of the year before match that week's number or -1.
bool Expansion::matchesWeekNumber(const Day &d) const
{
    if (d.year != m_weeks.year) {
        m_weeks.year = d.year;
        m_weeks.weekOne = FirstDayOfWeekOne(d.year, m_rule.weekStart);
        m_weeks.nextWeekOne = FirstDayOfWeekOne(d.year + 1, m_rule.weekStart);
        m_weeks.lastYearWeeks =
            int((m_weeks.weekOne - FirstDayOfWeekOne(d.year - 1, m_rule.weekStart)) / 7);
    }
    const auto &wanted = m_rule.byWeekNo;
    if (d.julian >= m_weeks.nextWeekOne)
        return wanted.contains(1);
    if (d.julian < m_weeks.weekOne)
        return wanted.contains(m_weeks.lastYearWeeks) || wanted.contains(-1);
    const int weeks = int((m_weeks.nextWeekOne - m_weeks.weekOne) / 7);
    const int week = int((d.julian - m_weeks.weekOne) / 7) + 1;
    return wanted.contains(week) || wanted.contains(week - weeks - 1);
}

// "2MO" within the month for monthly rules and yearly rules with BYMONTH,
// within the year otherwise.
bool Expansion::matchesOrdinalWeekday(const Day &d) const
{
    const bool inMonth = m_rule.frequency == F::Monthly || m_monthMask != 0;
    const int index = inMonth ? d.day - 1 : d.yearDay - 1;
    const int length = inMonth ? d.monthLength : d.yearLength;
    const int fromStart = index / 7 + 1;
    const int fromEnd = -((length - 1 - index) / 7 + 1);
    return std::any_of(m_ordinalWeekdays.begin(), m_ordinalWeekdays.end(), [&](const auto &wd) {
        return wd.weekday == d.weekday && (wd.ordinal == fromStart || wd.ordinal == fromEnd);
    });
}

void Expansion::applySetPositions(QList<Day> &days) const
{
    if (m_rule.bySetPos.isEmpty() || days.isEmpty())
        return;
    QList<Day> chosen;
    const qsizetype size = days.size();
    for (const int position : m_rule.bySetPos) {
        const qsizetype index = position > 0 ? position - 1 : size + position;
        if (index < 0 || index >= size)
            continue;
        const Day &d = days[index];
        if (std::none_of(chosen.begin(), chosen.end(),
                         [&](const Day &c) { return c.julian == d.julian; }))
            chosen.append(d);
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const Day &a, const Day &b) { return a.julian < b.julian; });
    days = std::move(chosen);
}

QList<QDate> Expansion::run(QDate from, QDate to) const
{
    QList<QDate> dates;
    const qint64 first = m_first.toJulianDay();
    qint64 last = to.toJulianDay();
    if (m_rule.until.isValid())
        last = std::min(last, m_rule.until.toJulianDay());
    if (last < first)
        return dates;
    const qint64 wantedFrom = from.toJulianDay();
    // Without COUNT the periods before from make nothing that is kept.
    qint64 index = m_rule.count > 0 ? 0 : std::max<qint64>(0, periodsBefore(from) - 1);
    int made = 0;
    QList<Day> days;
    while (periodStart(index) <= last) {
        collectPeriod(index++, days);
        for (const Day &d : std::as_const(days)) {
            if (d.julian < first)
                continue;
            if (d.julian > last)
                return dates;
            if (m_rule.count > 0 && ++made > m_rule.count)
                return dates;
            if (d.julian >= wantedFrom)
                dates.append(QDate::fromJulianDay(d.julian));
        }
    }
    return dates;
}

} // namespace

std::optional<RecurrenceRule> RecurrenceRule::parse(QStringView text, QString *error)
{
    text = text.trimmed();
    if (text.startsWith(u"RRULE:", Qt::CaseInsensitive))
        text = text.mid(6);
    RecurrenceRule rule;
    bool hasFrequency = false;
    const auto parts = text.split(u';', Qt::SkipEmptyParts);
    if (parts.size() > 20) {
        Fail(error, QStringLiteral("the rule has too many parts"));
        return std::nullopt;
    }
    for (const QStringView part : parts) {
        const qsizetype equals = part.indexOf(u'=');
        if (equals <= 0) {
            Fail(error, QStringLiteral("\"%1\" is not NAME=VALUE").arg(part.toString()));
            return std::nullopt;
        }
        if (!ReadPart(rule, part.left(equals).trimmed(), part.mid(equals + 1).trimmed(),
                      hasFrequency, error))
            return std::nullopt;
    }
    if (!hasFrequency) {
        Fail(error, QStringLiteral("the rule has no FREQ"));
        return std::nullopt;
    }
    return rule;
}

QString RecurrenceRule::toString() const
{
    static const std::array<const char *, 4> frequencies{"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    QStringList parts{QStringLiteral("FREQ=") + QLatin1String(frequencies[int(frequency)])};
    if (interval != 1)
        parts.append(QStringLiteral("INTERVAL=%1").arg(interval));
    if (count > 0)
        parts.append(QStringLiteral("COUNT=%1").arg(count));
    if (until.isValid())
        parts.append(QStringLiteral("UNTIL=") + until.toString(u"yyyyMMdd"));
    const auto add = [&](const char *name, const QList<int> &numbers) {
        if (!numbers.isEmpty())
            parts.append(QLatin1String(name) + u'=' + JoinNumbers(numbers));
    };
    add("BYMONTH", byMonth);
    add("BYWEEKNO", byWeekNo);
    add("BYYEARDAY", byYearDay);
    add("BYMONTHDAY", byMonthDay);
    if (!byDay.isEmpty()) {
        QStringList days;
        for (const auto &wd : byDay)
            days.append((wd.ordinal ? QString::number(wd.ordinal) : QString()) +
                        QLatin1String(WeekdayCodes[wd.weekday - 1]));
        parts.append(QStringLiteral("BYDAY=") + days.join(u','));
    }
    add("BYSETPOS", bySetPos);
    if (weekStart != 1)
        parts.append(QStringLiteral("WKST=") + QLatin1String(WeekdayCodes[weekStart - 1]));
    return parts.join(u';');
}

QList<QDate> RecurrenceRule::datesBetween(QDate first, QDate from, QDate to) const
{
    if (!first.isValid() || !from.isValid() || !to.isValid() || to < from)
        return {};
    // QDate's own range is wider than the calendar a page shows.
    const QDate lowest(1, 1, 1), highest(9999, 12, 31);
    if (first < lowest || first > highest)
        return {};
    from = std::max(from, lowest);
    to = std::min(to, highest);
    return Expansion(*this, first).run(from, to);
}

} // namespace Dayloom
