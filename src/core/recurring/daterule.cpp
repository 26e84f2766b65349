#include "core/recurring/daterule.h"

#include "core/recurring/chinesecalendar.h"
#include "core/recurring/easter.h"
#include "core/recurring/hebrewcalendar.h"
#include "core/recurring/hijricalendar.h"
#include "core/recurring/solarlongitude.h"

#include <algorithm>

namespace Dayloom {

namespace {

// How far a shift looks for a workday, and so how far outside a range the
// dates it may move into the range can lie.
constexpr int ShiftReach = 14;

QDate EasterOf(DateRule::Reckoning reckoning, int year)
{
    return reckoning == DateRule::Reckoning::Orthodox ? orthodoxEasterSunday(year)
                                                      : westernEasterSunday(year);
}

void SortUnique(QList<QDate> &dates)
{
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
}

} // namespace

// The days of a Sun or calendar rule in from..to. Each Gregorian year holds
// at most two of them (a Hijri year is 11 days shorter): the years round the
// range are looked at and the days outside it dropped.
QList<QDate> DateRule::calendarDaysBetween(QDate from, QDate to) const
{
    QList<QDate> days;
    const int offset = std::clamp(utcOffsetMinutes, -MaxUtcOffsetMinutes, MaxUtcOffsetMinutes);
    const int firstYear = std::max(first.isValid() ? first.year() : 1, from.year() - 1);
    const int shiftBy = std::clamp(calendarOffset, -MaxCalendarOffset, MaxCalendarOffset);
    const auto keep = [&](QDate day) {
        day = day.isValid() ? day.addDays(shiftBy) : day;
        if (day.isValid() && day >= from && day <= to && (!first.isValid() || day >= first))
            days.append(day);
    };
    switch (kind) {
    case Kind::SolarLongitude:
        for (int year = firstYear; year <= to.year() + 1; ++year)
            keep(solarLongitudeDay(year, solarLongitude, offset));
        break;
    case Kind::Chinese:
        for (int year = firstYear; year <= to.year() + 1; ++year)
            keep(chineseCalendarDay(year, calendarMonth, calendarDay, false, offset));
        break;
    case Kind::Hebrew:
        // AM 5784 began in September 2023.
        for (int year = firstYear + 3760; year <= to.year() + 3761; ++year)
            keep(hebrewCalendarDay(year, calendarMonth, calendarDay));
        break;
    case Kind::Hijri:
        for (int year = hijriYearOf(QDate(firstYear, 1, 1)); year <= hijriYearOf(to) + 1; ++year)
            keep(hijriCalendarDay(year, calendarMonth, calendarDay));
        break;
    default:
        break;
    }
    return days;
}

QList<QDate> DateRule::unshiftedBetween(QDate from, QDate to) const
{
    QList<QDate> dates;
    if (kind != Kind::Recurrence && kind != Kind::Easter) {
        dates = calendarDaysBetween(from, to);
    } else if (kind == Kind::Easter) {
        // An offset of up to a year reaches from the years on either side.
        const int firstYear =
            first.isValid() ? std::max(first.year(), from.year() - 1) : from.year() - 1;
        for (int year = firstYear; year <= to.year() + 1; ++year) {
            const QDate easter = EasterOf(reckoning, year);
            const int offset = std::clamp(easterOffset, -MaxEasterOffset, MaxEasterOffset);
            const QDate day = easter.isValid() ? easter.addDays(offset) : QDate();
            if (day.isValid() && day >= from && day <= to)
                dates.append(day);
        }
    } else if (recurrence) {
        dates = recurrence->datesBetween(first, from, to);
    } else if (first.isValid() && first >= from && first <= to) {
        dates.append(first);
    }
    for (const QDate &extra : extraDates) {
        if (extra >= from && extra <= to)
            dates.append(extra);
    }
    dates.removeIf([this](const QDate &d) { return exceptions.contains(d); });
    SortUnique(dates);
    return dates;
}

QDate DateRule::shifted(QDate date, const QSet<qint64> &blocked) const
{
    const auto isBlocked = [&](const QDate &d) {
        return (shiftOffWeekdays & (1 << d.dayOfWeek())) || blocked.contains(d.toJulianDay());
    };
    if (shift == Shift::None || !isBlocked(date))
        return date;
    for (int k = 1; k <= ShiftReach; ++k) {
        const QDate later = date.addDays(k), earlier = date.addDays(-k);
        if (shift != Shift::PreviousWorkday && !isBlocked(later))
            return later;
        if (shift != Shift::NextWorkday && !isBlocked(earlier))
            return earlier;
    }
    return date;
}

QList<QDate> DateRule::startsBetween(QDate from, QDate to, const QSet<qint64> &blocked) const
{
    if (!from.isValid() || !to.isValid() || to < from)
        return {};
    const int span = std::clamp(spanDays, 1, MaxSpanDays);
    const int reach = shift == Shift::None ? 0 : ShiftReach;
    QList<QDate> starts;
    for (const QDate &date :
         unshiftedBetween(from.addDays(-(span - 1) - reach), to.addDays(reach))) {
        const QDate start = shifted(date, blocked);
        if (start.addDays(span - 1) >= from && start <= to)
            starts.append(start);
    }
    SortUnique(starts);
    return starts;
}

QList<DateRule::ShownDay> DateRule::daysBetween(QDate from, QDate to,
                                                const QSet<qint64> &blocked) const
{
    QList<ShownDay> days;
    const int span = std::clamp(spanDays, 1, MaxSpanDays);
    for (const QDate &start : startsBetween(from, to, blocked)) {
        for (int i = 0; i < span; ++i) {
            const QDate day = start.addDays(i);
            if (day >= from && day <= to)
                days.append({day, start});
        }
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const ShownDay &a, const ShownDay &b) { return a.day < b.day; });
    return days;
}

int DateRule::yearsAt(QDate start) const
{
    return first.isValid() && start.isValid() ? start.year() - first.year() : 0;
}

} // namespace Dayloom
