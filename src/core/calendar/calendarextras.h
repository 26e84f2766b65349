#pragma once

#include "core/common/tcolor.h"

#include <QString>

#include <optional>

namespace Dayloom {

// How the rows of month grids are numbered.
enum class WeekNumbering : int
{
    None = 0,
    Iso = 1, // ISO 8601: weeks start on Monday, week 1 holds the first Thursday
    Us = 2   // weeks start on Sunday, week 1 holds 1 January
};

// Weekdays as bits of a set: bit d - 1 stands for weekday d (1 = Sunday ...
// 7 = Saturday).
inline constexpr int WeekdayBit(int weekday)
{
    return (weekday >= 1 && weekday <= 7) ? 1 << (weekday - 1) : 0;
}
inline constexpr int AllWeekdays = 0x7f;

// The page's frame beyond what the calendar file's own fields hold: any
// first weekday, week numbers, weekend and red-day marking, moon phases and
// day counters. A plain value inside CalendarSettings. Its defaults draw the
// page exactly as a page without them, and a design whose extras are all at
// their defaults stores none (see IsDefault).
//
// Colours are stored colour values (TColor). The first weekday of Sunday and
// Monday lives in CalendarSettings::startOfWeek, where every reader of the
// calendar file finds it; firstWeekday only holds the other five days.
struct CalendarExtras
{
    // 0: weeks start as startOfWeek says (Sunday or Monday); 3-7: on
    // Tuesday ... Saturday.
    int firstWeekday = 0;
    // Week planners start on the first weekday on or before their date.
    bool weekPlannersFromFirstWeekday = false;
    WeekNumbering weekNumbers = WeekNumbering::None;
    // Whether weekend days are drawn in the weekend colours, which days they
    // are (WeekdayBit set) and the colours of their cells and day numbers.
    bool markWeekends = false;
    int weekendDays = WeekdayBit(1) | WeekdayBit(7);
    TColor weekendCellColor = 0x00EEEEEE;
    TColor weekendNumberColor = 0x00404040;
    // Public holidays in their own colours (taking precedence over weekend
    // colours).
    bool redDays = false;
    TColor redDayCellColor = 0x00E6E6FF;
    TColor redDayNumberColor = 0x000000C8;
    // A symbol for new moon, first quarter, full moon and last quarter on
    // the day it falls on (local time).
    bool moonPhases = false;
    // Day of the year and days left in it in every day cell ("45 · 320").
    bool dayCounters = false;

    bool IsDefault() const { return *this == CalendarExtras(); }
    // The extras a style sheet carries: everything but the first weekday,
    // which goes with the week start (not part of a style sheet).
    CalendarExtras Look() const;
    // Takes over the look of `source` (see Look), keeping the first weekday.
    void AssignLook(const CalendarExtras &source);

    friend bool operator==(const CalendarExtras &, const CalendarExtras &) = default;
};

// Text forms used by the command line and the properties dialog.
namespace FrameText {

// "sunday" ... "saturday", or the first three letters ("sat"), any case;
// weekday 1 = Sunday ... 7 = Saturday.
std::optional<int> ParseWeekday(const QString &text);
// A comma-separated list of weekdays ("fri,sat"); nullopt when a part is no
// weekday or the list is empty.
std::optional<int> ParseWeekdaySet(const QString &text);
// "iso", "us" or "none".
std::optional<WeekNumbering> ParseWeekNumbering(const QString &text);
// The English name of weekday 1-7 ("Sunday").
QString WeekdayName(int weekday);

} // namespace FrameText
} // namespace Dayloom
