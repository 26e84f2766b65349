#include "core/formats/calendarextrasrecord.h"

#include "core/formats/componentnamer.h"
#include "core/formats/componentrecord.h"
#include "core/formats/propertylistbuilder.h"

#include <algorithm>

namespace Dayloom {

const QByteArray CalendarExtrasRecord::StoredClassName = QByteArrayLiteral("TCalendarExtras");

void CalendarExtrasRecord::SetFirstWeekday(int day)
{
    // Sunday and Monday are the week start's; anything else is no weekday.
    m_extras.firstWeekday = (day >= 3 && day <= 7) ? day : 0;
}

const PropertyList &CalendarExtrasRecord::PublishedProperties() const
{
    using R = CalendarExtrasRecord;
    const CalendarExtras d;
    static const PropertyList list =
        PropertyListBuilder<R>()
            .integer("FirstWeekday", &R::FirstWeekday, &R::SetFirstWeekday, d.firstWeekday, 0, 7)
            .boolean("WeekPlannersFromFirstWeekday", &R::WeekPlanners, &R::SetWeekPlanners,
                     d.weekPlannersFromFirstWeekday)
            .enumeration<WeekNumbering>("WeekNumbers", &R::WeekNumbers, &R::SetWeekNumbers,
                                        IdentifierTable{"wnNone", "wnISO", "wnUS"}, d.weekNumbers)
            .boolean("MarkWeekends", &R::MarkWeekends, &R::SetMarkWeekends, d.markWeekends)
            .set("WeekendDays", &R::WeekendDays, &R::SetWeekendDays,
                 IdentifierTable{"wdSunday", "wdMonday", "wdTuesday", "wdWednesday", "wdThursday",
                                 "wdFriday", "wdSaturday"},
                 quint32(d.weekendDays))
            .color("WeekendCellColor", &R::WeekendCellColor, &R::SetWeekendCellColor,
                   d.weekendCellColor)
            .color("WeekendNumberColor", &R::WeekendNumberColor, &R::SetWeekendNumberColor,
                   d.weekendNumberColor)
            .boolean("RedDays", &R::RedDays, &R::SetRedDays, d.redDays)
            .color("RedDayCellColor", &R::RedDayCellColor, &R::SetRedDayCellColor,
                   d.redDayCellColor)
            .color("RedDayNumberColor", &R::RedDayNumberColor, &R::SetRedDayNumberColor,
                   d.redDayNumberColor)
            .boolean("MoonPhases", &R::MoonPhases, &R::SetMoonPhases, d.moonPhases)
            .boolean("DayCounters", &R::DayCounters, &R::SetDayCounters, d.dayCounters)
            .build();
    return list;
}

void CalendarExtrasRecord::Register(ObjectClassRegistry &registry)
{
    registry.Register<CalendarExtrasRecord>(StoredClassName);
}

std::optional<CalendarExtras> CalendarExtrasRecord::TakeFrom(PersistentObjectList &objects)
{
    const auto found = std::find_if(objects.begin(), objects.end(), [](const auto &object) {
        return object && object->ClassName().compare(StoredClassName, Qt::CaseInsensitive) == 0;
    });
    if (found == objects.end())
        return std::nullopt;
    const CalendarExtras extras = static_cast<const CalendarExtrasRecord &>(**found).Extras();
    // Only the first counts; later ones (a damaged file) go too.
    std::erase_if(objects, [](const auto &object) {
        return object && object->ClassName().compare(StoredClassName, Qt::CaseInsensitive) == 0;
    });
    return extras;
}

void CalendarExtrasRecord::Write(ValueWriter &writer, const CalendarExtras &extras)
{
    ComponentRecord::Write(writer, CalendarExtrasRecord(extras));
}

std::optional<CalendarExtras> CalendarExtrasRecord::Read(ValueReader &reader)
{
    ObjectClassRegistry registry;
    Register(registry);
    ComponentNamer namer{QStringList()};
    const std::unique_ptr<PersistentObject> object = ComponentRecord::Read(reader, registry, namer);
    if (!object)
        return std::nullopt;
    return static_cast<const CalendarExtrasRecord &>(*object).Extras();
}

} // namespace Dayloom
