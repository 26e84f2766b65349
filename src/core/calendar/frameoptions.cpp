#include "core/calendar/frameoptions.h"

#include "core/calendar/calendarpage.h"

namespace Dayloom {

const char FrameOptions::HelpLines[] =
    "    --week-start DAY     weeks start on DAY, sunday to saturday (also the\n"
    "                         first row of week planners)\n"
    "    --week-numbers iso|us|none\n"
    "                         week numbers beside the rows of month grids and\n"
    "                         mini calendars and in week planners' titles\n"
    "    --weekend DAY,...    draw these days (for example sat,sun or fri,sat)\n"
    "                         in the weekend colours\n"
    "    --red-days           draw public holidays in the red-day colours\n"
    "    --moon               moon phase symbols on the days of new moon, first\n"
    "                         quarter, full moon and last quarter (local time)\n"
    "    --day-of-year        day of the year and days left in every day cell\n";

bool FrameOptions::TakesValue(const QString &option)
{
    return option == QLatin1String("--week-start") || option == QLatin1String("--week-numbers") ||
           option == QLatin1String("--weekend");
}

bool FrameOptions::IsFlag(const QString &option)
{
    return option == QLatin1String("--red-days") || option == QLatin1String("--moon") ||
           option == QLatin1String("--day-of-year");
}

QString FrameOptions::TakeValue(const QString &option, const QString &value)
{
    if (option == QLatin1String("--week-start")) {
        const std::optional<int> day = FrameText::ParseWeekday(value);
        if (!day)
            return QStringLiteral("--week-start is a day from sunday to saturday, not '%1'")
                .arg(value);
        firstWeekday = day;
    } else if (option == QLatin1String("--week-numbers")) {
        const std::optional<WeekNumbering> numbering = FrameText::ParseWeekNumbering(value);
        if (!numbering)
            return QStringLiteral("--week-numbers is iso, us or none, not '%1'").arg(value);
        weekNumbers = numbering;
    } else if (option == QLatin1String("--weekend")) {
        const std::optional<int> days = FrameText::ParseWeekdaySet(value);
        if (!days)
            return QStringLiteral("--weekend needs days like sat,sun, not '%1'").arg(value);
        weekendDays = days;
    }
    return QString();
}

void FrameOptions::TakeFlag(const QString &option)
{
    if (option == QLatin1String("--red-days"))
        redDays = true;
    else if (option == QLatin1String("--moon"))
        moonPhases = true;
    else if (option == QLatin1String("--day-of-year"))
        dayCounters = true;
}

bool FrameOptions::Any() const
{
    return firstWeekday || weekNumbers || weekendDays || redDays || moonPhases || dayCounters;
}

void FrameOptions::ApplyTo(CalendarPage &page) const
{
    if (firstWeekday)
        page.SetFirstWeekday(*firstWeekday);
    CalendarExtras extras = page.Extras();
    if (firstWeekday)
        extras.weekPlannersFromFirstWeekday = true;
    if (weekNumbers)
        extras.weekNumbers = *weekNumbers;
    if (weekendDays) {
        extras.markWeekends = true;
        extras.weekendDays = *weekendDays;
    }
    extras.redDays = extras.redDays || redDays;
    extras.moonPhases = extras.moonPhases || moonPhases;
    extras.dayCounters = extras.dayCounters || dayCounters;
    page.SetExtras(extras);
}

} // namespace Dayloom
