#include "core/holidays/holidaycountry.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace Dayloom {

namespace {

// How far an observed day may lie from its holiday; a weekend and a few
// holidays next to it are all it ever crosses.
constexpr int ObservedReach = 14;

bool IsOff(int weekdays, QDate day)
{
    return weekdays & (1 << day.dayOfWeek());
}

QDate ObservedDay(QDate day, const Holiday::Observed &observed, const QSet<qint64> &taken)
{
    const auto free = [&](QDate d) {
        return !IsOff(observed.offWeekdays, d) && !taken.contains(d.toJulianDay());
    };
    for (int k = 1; k <= ObservedReach; ++k) {
        if (observed.shift != DateRule::Shift::PreviousWorkday && free(day.addDays(k)))
            return day.addDays(k);
        if (observed.shift != DateRule::Shift::NextWorkday && free(day.addDays(-k)))
            return day.addDays(-k);
    }
    return {};
}

// A yearly rule counted from 1 January of a year gives the same days
// counted from any later 1 January: starting near the range saves walking
// the years before it.
DateRule StartingNear(const DateRule &rule, int year)
{
    DateRule near = rule;
    if (rule.recurrence && rule.recurrence->frequency == RecurrenceRule::Frequency::Yearly &&
        rule.recurrence->interval == 1 && rule.recurrence->count == 0 && rule.first.isValid() &&
        rule.first.month() == 1 && rule.first.day() == 1 && rule.first.year() < year)
        near.first = QDate(year, 1, 1);
    return near;
}

} // namespace

void HolidayCountry::addDaysBetweenHolidays(const QString &regionCode, QDate from, QDate to,
                                            const QSet<qint64> &publicDays,
                                            const QSet<qint64> &taken, QList<Occurrence> &all) const
{
    for (const Holiday &holiday : holidays) {
        if (!holiday.betweenHolidays || !holiday.appliesIn(regionCode))
            continue;
        for (QDate day = from; day <= to; day = day.addDays(1)) {
            const qint64 jd = day.toJulianDay();
            if (holiday.keptIn(day.year()) && !IsOff(holiday.betweenOffWeekdays, day) &&
                !taken.contains(jd) && publicDays.contains(jd - 1) && publicDays.contains(jd + 1))
                all.append({day, &holiday, false});
        }
    }
}

const HolidayCountry::Region *HolidayCountry::region(const QString &regionCode) const
{
    for (const Region &r : regions) {
        if (r.code == regionCode)
            return &r;
    }
    return nullptr;
}

const Holiday *HolidayCountry::holiday(const QString &id) const
{
    for (const Holiday &h : holidays) {
        if (h.id == id)
            return &h;
    }
    return nullptr;
}

QList<HolidayCountry::Occurrence> HolidayCountry::occurrences(const QString &regionCode, QDate from,
                                                              QDate to, int categories) const
{
    if (!from.isValid() || !to.isValid() || to < from || from.daysTo(to) > MaxRangeDays)
        return {};
    // Observed days depend on the holidays round them: look a little wider.
    const QDate wideFrom = from.addDays(-ObservedReach), wideTo = to.addDays(ObservedReach);
    QList<Occurrence> own;
    QSet<qint64> daysOff, publicDays;
    QHash<qint64, int> holidaysOn; // days off by holidays on each day
    for (const Holiday &holiday : holidays) {
        if (!holiday.appliesIn(regionCode) || holiday.betweenHolidays)
            continue;
        const DateRule rule = StartingNear(holiday.rule, wideFrom.year() - 1);
        for (const auto &shown : rule.daysBetween(wideFrom, wideTo)) {
            if (!holiday.keptIn(shown.start.year()))
                continue;
            own.append({shown.day, &holiday, false});
            if (int(holiday.category) & Holiday::DaysOff) {
                daysOff.insert(shown.day.toJulianDay());
                ++holidaysOn[shown.day.toJulianDay()];
            }
            if (holiday.category == Holiday::Category::Public)
                publicDays.insert(shown.day.toJulianDay());
        }
    }
    std::stable_sort(own.begin(), own.end(),
                     [](const Occurrence &a, const Occurrence &b) { return a.day < b.day; });

    // Earlier holidays take their observed days first, as the laws count.
    QList<Occurrence> all = own;
    QSet<qint64> taken = daysOff;
    for (const Occurrence &o : std::as_const(own)) {
        const Holiday &holiday = *o.holiday;
        const bool onAnother =
            (holiday.observed &&
             (holiday.observed->offWeekdays & Holiday::Observed::OnAnotherHoliday) &&
             holidaysOn.value(o.day.toJulianDay()) > 1);
        if (!holiday.observedIn(o.day.year()) ||
            (!IsOff(holiday.observed->offWeekdays, o.day) && !onAnother))
            continue;
        const QDate day = ObservedDay(o.day, *holiday.observed, taken);
        if (!day.isValid())
            continue;
        taken.insert(day.toJulianDay());
        all.append({day, &holiday, true});
    }
    addDaysBetweenHolidays(regionCode, wideFrom, wideTo, publicDays, taken, all);

    QList<Occurrence> result;
    for (const Occurrence &o : std::as_const(all)) {
        if (o.day >= from && o.day <= to && (int(o.holiday->category) & categories))
            result.append(o);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const Occurrence &a, const Occurrence &b) { return a.day < b.day; });
    return result;
}

QString HolidayCountry::nameOf(const Occurrence &occurrence, const QString &language) const
{
    const Holiday &holiday = *occurrence.holiday;
    const QString name = NameIn(holiday.names, language, languages);
    if (!occurrence.observed)
        return name;
    if (!holiday.observedNames.isEmpty())
        return NameIn(holiday.observedNames, language, languages);
    QString pattern = NameIn(observedNames, language, languages);
    if (pattern.isEmpty())
        pattern = QStringLiteral("{name} (observed)");
    return pattern.replace(QStringLiteral("{name}"), name);
}

} // namespace Dayloom
