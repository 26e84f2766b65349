#include "core/calendar/calendarextras.h"

#include <QStringList>

#include <array>

namespace Dayloom {

CalendarExtras CalendarExtras::Look() const
{
    CalendarExtras look = *this;
    const CalendarExtras defaults;
    look.firstWeekday = defaults.firstWeekday;
    look.weekPlannersFromFirstWeekday = defaults.weekPlannersFromFirstWeekday;
    return look;
}

void CalendarExtras::AssignLook(const CalendarExtras &source)
{
    const int keptWeekday = firstWeekday;
    const bool keptPlanners = weekPlannersFromFirstWeekday;
    *this = source;
    firstWeekday = keptWeekday;
    weekPlannersFromFirstWeekday = keptPlanners;
}

namespace FrameText {

namespace {

const std::array<const char *, 7> WeekdayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

} // namespace

std::optional<int> ParseWeekday(const QString &text)
{
    const QString key = text.trimmed();
    if (key.size() < 3)
        return std::nullopt;
    for (int day = 1; day <= 7; ++day) {
        const QString name = QString::fromLatin1(WeekdayNames[day - 1]);
        if (key.compare(name, Qt::CaseInsensitive) == 0 ||
            (key.size() == 3 && key.compare(name.left(3), Qt::CaseInsensitive) == 0))
            return day;
    }
    return std::nullopt;
}

std::optional<int> ParseWeekdaySet(const QString &text)
{
    int set = 0;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const std::optional<int> day = ParseWeekday(part);
        if (!day)
            return std::nullopt;
        set |= WeekdayBit(*day);
    }
    return set;
}

std::optional<WeekNumbering> ParseWeekNumbering(const QString &text)
{
    const QString key = text.trimmed().toLower();
    if (key == QLatin1String("iso"))
        return WeekNumbering::Iso;
    if (key == QLatin1String("us"))
        return WeekNumbering::Us;
    if (key == QLatin1String("none"))
        return WeekNumbering::None;
    return std::nullopt;
}

QString WeekdayName(int weekday)
{
    return (weekday >= 1 && weekday <= 7) ? QString::fromLatin1(WeekdayNames[weekday - 1])
                                          : QString();
}

} // namespace FrameText
} // namespace Dayloom
