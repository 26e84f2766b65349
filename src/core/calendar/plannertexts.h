#pragma once

#include "core/calendar/calendarsettings.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace Dayloom {

// The texts of the week and day planners (layouts 18-21), from the settings.
namespace PlannerTexts {

// The date of the planner's first row: MainCalDay, taken as the nearest
// valid day of the month (the default day is 0).
QDate FirstDate(const CalendarSettings &settings);
int DayCount(const CalendarSettings &settings);
int HourCount(const CalendarSettings &settings);
// The user title when set, else the dates the planner covers.
QString Title(const CalendarSettings &settings);
// Weekday names cut by the header style (week planners) or "h:mm AM" hour
// labels in the locale's markers (day planners), then "Notes".
QStringList RowLabels(const CalendarSettings &settings);
// "25 Dec" per row of a week planner plus an empty one for "Notes"; none
// for the day planners.
QStringList DateTexts(const CalendarSettings &settings);

} // namespace PlannerTexts
} // namespace Dayloom
