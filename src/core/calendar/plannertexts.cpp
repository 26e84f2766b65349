#include "core/calendar/plannertexts.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/weeknumbers.h"

#include <QLocale>
#include <QTime>

#include <algorithm>

namespace Dayloom::PlannerTexts {

namespace {

bool IsDayPlanner(const CalendarSettings &s)
{
    return s.calendarLayout == loDay10 || s.calendarLayout == loDay15;
}

// " · Week 11", " · Weeks 11-12" for the weeks a week planner covers (the
// week of each seven days' middle day); empty without week numbers.
QString WeeksText(const CalendarSettings &s, const QDate &first)
{
    const WeekNumbering numbering = s.extras.weekNumbers;
    if (numbering == WeekNumbering::None || IsDayPlanner(s))
        return QString();
    const int week = WeekNumbers::OfRow(first, numbering);
    if (DayCount(s) <= 7)
        return QStringLiteral(" \u00B7 Week %1").arg(week);
    return QStringLiteral(" \u00B7 Weeks %1-%2")
        .arg(week)
        .arg(WeekNumbers::OfRow(first.addDays(7), numbering));
}

QString DatesTitle(const CalendarSettings &s, const QDate &first);

} // namespace

QDate FirstDate(const CalendarSettings &s)
{
    const int days = CalendarDates::DaysInMonth(s.mainCalMonth, s.mainCalYear);
    const QDate chosen(s.mainCalYear, s.mainCalMonth,
                       std::clamp(s.mainCalDay, 1, std::max(days, 1)));
    if (IsDayPlanner(s) || !s.extras.weekPlannersFromFirstWeekday)
        return chosen;
    return CalendarDates::LatestOnOrBefore(chosen, s.FirstWeekday());
}

int DayCount(const CalendarSettings &s)
{
    return s.calendarLayout == lo2Week ? 14 : 7;
}

int HourCount(const CalendarSettings &s)
{
    return s.calendarLayout == loDay15 ? 15 : 10;
}

QString Title(const CalendarSettings &s)
{
    if (!s.userTitle.isEmpty())
        return s.userTitle;
    const QDate first = FirstDate(s);
    return DatesTitle(s, first) + WeeksText(s, first);
}

namespace {

QString DatesTitle(const CalendarSettings &s, const QDate &first)
{
    auto month = [&s](const QDate &d) { return s.MonthName(d.month()); };
    if (IsDayPlanner(s))
        return QStringLiteral("%1, %2 %3, %4")
            .arg(s.DayName(first.dayOfWeek() % 7 + 1), month(first))
            .arg(first.day())
            .arg(first.year());
    const QDate last = first.addDays(DayCount(s) - 1);
    if (first.year() == last.year() && first.month() == last.month())
        return QStringLiteral("%1 %2-%3, %4")
            .arg(month(first))
            .arg(first.day())
            .arg(last.day())
            .arg(first.year());
    if (first.year() == last.year())
        return QStringLiteral("%1 %2 - %3 %4, %5")
            .arg(month(first))
            .arg(first.day())
            .arg(month(last))
            .arg(last.day())
            .arg(first.year());
    return QStringLiteral("%1 %2, %3 - %4 %5, %6")
        .arg(month(first))
        .arg(first.day())
        .arg(first.year())
        .arg(month(last))
        .arg(last.day())
        .arg(last.year());
}

} // namespace

QStringList RowLabels(const CalendarSettings &s)
{
    QStringList labels;
    if (IsDayPlanner(s)) {
        const QLocale locale = QLocale::system();
        for (int k = 0; k < HourCount(s); ++k) {
            // Each step is 60 x 0.000694445 of a day: a few milliseconds over
            // an hour, which the minutes shown never reveal.
            const QTime t = s.plannerStartTime.addMSecs(k * 3600003);
            const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
            labels << QStringLiteral("%1:%2 %3")
                          .arg(hour12)
                          .arg(t.minute(), 2, 10, QLatin1Char('0'))
                          .arg(t.hour() < 12 ? locale.amText() : locale.pmText());
        }
    } else {
        const QDate first = FirstDate(s);
        for (int k = 0; k < DayCount(s); ++k) {
            const QDate d = first.addDays(k);
            labels << CalendarDates::HeaderDayName(s.dayNames, d.dayOfWeek() % 7 + 1,
                                                   s.headersStyle);
        }
    }
    labels << QStringLiteral("Notes");
    return labels;
}

QStringList DateTexts(const CalendarSettings &s)
{
    QStringList dates;
    if (IsDayPlanner(s))
        return dates;
    const QDate first = FirstDate(s);
    for (int k = 0; k < DayCount(s); ++k) {
        const QDate d = first.addDays(k);
        dates << QString::number(d.day()) + QLatin1Char(' ') + s.MonthName(d.month()).left(3);
    }
    dates << QString();
    return dates;
}

} // namespace Dayloom::PlannerTexts
