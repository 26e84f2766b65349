#pragma once

#include "core/calendar/calendarextras.h"

#include <QString>

#include <optional>

namespace Dayloom {

class CalendarPage;

// The command line's options for the calendar frame:
//   --week-start DAY        weeks start on DAY (sunday ... saturday)
//   --week-numbers iso|us|none
//   --weekend DAY,DAY...    the weekend days, drawn in the weekend colours
//   --red-days              public holidays in the red-day colours
//   --moon                  moon phase symbols
//   --day-of-year           day counters ("45 · 320")
// collected as given and applied to a page afterwards.
struct FrameOptions
{
    std::optional<int> firstWeekday; // 1 = Sunday ... 7 = Saturday
    std::optional<WeekNumbering> weekNumbers;
    std::optional<int> weekendDays; // a WeekdayBit set
    bool redDays = false;
    bool moonPhases = false;
    bool dayCounters = false;

    static bool TakesValue(const QString &option);
    static bool IsFlag(const QString &option);
    // Takes an option with a value; returns the message for a bad value
    // (empty when it was taken; a bad value changes nothing).
    QString TakeValue(const QString &option, const QString &value);
    void TakeFlag(const QString &option);
    bool Any() const;

    // Sets what was given on the page: a first weekday also starts week
    // planners on it; --weekend marks the weekends.
    void ApplyTo(CalendarPage &page) const;

    // The lines of --help that describe these options.
    static const char HelpLines[];
};

} // namespace Dayloom
