#include "core/recurring/dateruletext.h"

#include "core/recurring/calendarrule.h"

#include <QStringList>

#include <array>

namespace Dayloom {

namespace {

constexpr std::array<const char *, 8> WeekdayNames{"",         "Monday", "Tuesday",  "Wednesday",
                                                   "Thursday", "Friday", "Saturday", "Sunday"};
constexpr std::array<const char *, 13> MonthNames{
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

QString ShortDate(QDate date)
{
    return QStringLiteral("%1 %2 %3")
        .arg(date.day())
        .arg(QString::fromLatin1(MonthNames[date.month()]).left(3))
        .arg(date.year());
}

QString Ordinal(int n)
{
    if (n == -1)
        return QStringLiteral("last");
    if (n < 0)
        return Ordinal(-n) + QStringLiteral(" from last");
    static const std::array<const char *, 6> words{"",      "first",  "second",
                                                   "third", "fourth", "fifth"};
    if (n < int(words.size()))
        return QLatin1String(words[n]);
    const int tens = n % 100;
    const char *suffix = (tens >= 11 && tens <= 13) ? "th"
                         : n % 10 == 1              ? "st"
                         : n % 10 == 2              ? "nd"
                         : n % 10 == 3              ? "rd"
                                                    : "th";
    return QString::number(n) + QLatin1String(suffix);
}

QString JoinWords(const QStringList &words)
{
    if (words.size() <= 1)
        return words.value(0);
    return QStringList(words.mid(0, words.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + words.last();
}

QString Weekdays(const QList<RecurrenceRule::WeekdayNumber> &days)
{
    QStringList words;
    for (const auto &d : days) {
        const QString name = QLatin1String(WeekdayNames[d.weekday]);
        words.append(d.ordinal ? QStringLiteral("the %1 %2").arg(Ordinal(d.ordinal), name) : name);
    }
    return JoinWords(words);
}

QString MonthDays(const QList<int> &days)
{
    QStringList words;
    for (const int d : days)
        words.append(d == -1 ? QStringLiteral("the last day")
                     : d < 0 ? QStringLiteral("day %1 from the end").arg(-d)
                             : QString::number(d));
    return words.size() == 1 && days.first() > 0 ? QStringLiteral("day ") + words.first()
                                                 : JoinWords(words);
}

QString Months(const QList<int> &months)
{
    QStringList words;
    for (const int m : months)
        words.append(QLatin1String(MonthNames[m]));
    return JoinWords(words);
}

QString Every(RecurrenceRule::Frequency frequency, int interval)
{
    static const std::array<const char *, 4> units{"day", "week", "month", "year"};
    const QString unit = QLatin1String(units[int(frequency)]);
    return interval == 1 ? QStringLiteral("Every ") + unit
                         : QStringLiteral("Every %1 %2s").arg(interval).arg(unit);
}

QString DescribeRecurrence(const RecurrenceRule &r, QDate first)
{
    using F = RecurrenceRule::Frequency;
    QString text = Every(r.frequency, r.interval);
    QStringList on;
    if (!r.bySetPos.isEmpty() && !r.byDay.isEmpty()) {
        QStringList positions;
        for (const int p : r.bySetPos)
            positions.append(Ordinal(p));
        on.append(QStringLiteral("the %1 of %2").arg(JoinWords(positions), Weekdays(r.byDay)));
    } else if (!r.byDay.isEmpty()) {
        on.append(Weekdays(r.byDay));
    }
    if (!r.byMonthDay.isEmpty())
        on.append(MonthDays(r.byMonthDay));
    if (!r.byYearDay.isEmpty()) {
        QStringList days;
        for (const int d : r.byYearDay)
            days.append(QString::number(d));
        on.append(QStringLiteral("day %1 of the year").arg(JoinWords(days)));
    }
    if (!r.byWeekNo.isEmpty()) {
        QStringList weeks;
        for (const int w : r.byWeekNo)
            weeks.append(QString::number(w));
        on.append(QStringLiteral("week %1").arg(JoinWords(weeks)));
    }
    const bool noDays = on.isEmpty();
    if (noDays && first.isValid()) {
        if (r.frequency == F::Weekly)
            on.append(QLatin1String(WeekdayNames[first.dayOfWeek()]));
        else if (r.frequency == F::Monthly)
            on.append(QStringLiteral("day %1").arg(first.day()));
        else if (r.frequency == F::Yearly && r.byMonth.isEmpty())
            on.append(QStringLiteral("%1 %2")
                          .arg(first.day())
                          .arg(QLatin1String(MonthNames[first.month()])));
        else if (r.frequency == F::Yearly)
            on.append(QStringLiteral("day %1").arg(first.day()));
    }
    if (!on.isEmpty())
        text += QStringLiteral(" on ") + on.join(QStringLiteral(", "));
    if (!r.byMonth.isEmpty())
        text += QStringLiteral(" in ") + Months(r.byMonth);
    if (first.isValid())
        text += QStringLiteral(", from ") + ShortDate(first);
    if (r.count > 0)
        text += r.count == 1 ? QStringLiteral(", once") : QStringLiteral(", %1 times").arg(r.count);
    if (r.until.isValid())
        text += QStringLiteral(", until ") + ShortDate(r.until);
    return text;
}

QString DescribeEaster(const DateRule &rule)
{
    const QString easter = rule.reckoning == DateRule::Reckoning::Orthodox
                               ? QStringLiteral("Orthodox Easter Sunday")
                               : QStringLiteral("Easter Sunday");
    const int n = rule.easterOffset;
    const int days = n < 0 ? -n : n;
    QString text =
        n == 0 ? easter
               : QStringLiteral("%1 day%2 %3 %4")
                     .arg(days)
                     .arg(days == 1 ? QString() : QStringLiteral("s"))
                     .arg(n < 0 ? QStringLiteral("before") : QStringLiteral("after"), easter);
    if (rule.first.isValid())
        text += QStringLiteral(", from %1").arg(rule.first.year());
    return text;
}

// "Day 15 of month 8 of the Chinese calendar (UTC+8)", "The day the Sun
// reaches 0° of longitude (UTC+9)".
QString DescribeCalendarDay(const DateRule &rule)
{
    const QString zone =
        CalendarRuleText(rule).section(u' ', rule.kind == DateRule::Kind::SolarLongitude ? 2 : 3,
                                       rule.kind == DateRule::Kind::SolarLongitude ? 2 : 3);
    QString text;
    switch (rule.kind) {
    case DateRule::Kind::SolarLongitude:
        text = QStringLiteral("The day the Sun reaches %1° of longitude (%2)")
                   .arg(rule.solarLongitude)
                   .arg(zone);
        break;
    case DateRule::Kind::Hebrew:
        text = QStringLiteral("Day %1 of month %2 of the Hebrew calendar")
                   .arg(rule.calendarDay)
                   .arg(rule.calendarMonth);
        break;
    case DateRule::Kind::Chinese:
        text = QStringLiteral("Day %1 of month %2 of the Chinese calendar (%3)")
                   .arg(rule.calendarDay)
                   .arg(rule.calendarMonth)
                   .arg(zone);
        break;
    default:
        text = QStringLiteral("Day %1 of month %2 of the Islamic calendar")
                   .arg(rule.calendarDay)
                   .arg(rule.calendarMonth);
        break;
    }
    const int n = rule.calendarOffset, days = n < 0 ? -n : n;
    if (n != 0)
        text = QStringLiteral("%1 day%2 %3 %4")
                   .arg(days)
                   .arg(days == 1 ? QString() : QStringLiteral("s"))
                   .arg(n < 0 ? QStringLiteral("before") : QStringLiteral("after"))
                   .arg(text.left(1).toLower() + text.mid(1));
    if (rule.first.isValid())
        text += QStringLiteral(", from %1").arg(rule.first.year());
    return text;
}

QString DescribeShift(const DateRule &rule)
{
    static const std::array<const char *, 4> targets{"", "the next workday", "the previous workday",
                                                     "the nearest workday"};
    QStringList days;
    for (int d = 1; d <= 7; ++d) {
        if (rule.shiftOffWeekdays & (1 << d))
            days.append(QLatin1String(WeekdayNames[d]));
    }
    return QStringLiteral("moved off %1 to %2")
        .arg(JoinWords(days), QLatin1String(targets[int(rule.shift)]));
}

} // namespace

QString DescribeDateRule(const DateRule &rule)
{
    QString text;
    if (rule.kind == DateRule::Kind::Easter)
        text = DescribeEaster(rule);
    else if (IsCalendarKind(rule.kind))
        text = DescribeCalendarDay(rule);
    else if (rule.recurrence)
        text = DescribeRecurrence(*rule.recurrence, rule.first);
    else
        text = rule.first.isValid() ? QStringLiteral("On ") + ShortDate(rule.first)
                                    : QStringLiteral("On no day");
    if (!rule.exceptions.isEmpty())
        text += rule.exceptions.size() == 1
                    ? QStringLiteral(", except on 1 day")
                    : QStringLiteral(", except on %1 days").arg(rule.exceptions.size());
    if (!rule.extraDates.isEmpty())
        text += rule.extraDates.size() == 1
                    ? QStringLiteral(", also on 1 more day")
                    : QStringLiteral(", also on %1 more days").arg(rule.extraDates.size());
    if (rule.shift != DateRule::Shift::None && rule.shiftOffWeekdays != 0)
        text += QStringLiteral("; ") + DescribeShift(rule);
    if (rule.spanDays > 1)
        text += QStringLiteral("; for %1 days").arg(rule.spanDays);
    if (rule.startTime.isValid())
        text += QStringLiteral("; at ") + rule.startTime.toString(u"HH:mm");
    return text;
}

} // namespace Dayloom
