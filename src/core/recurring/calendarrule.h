#pragma once

#include "core/recurring/daterule.h"

#include <QString>
#include <QStringList>

// The words that say a rule fixed by the Sun or by another calendar, as
// holiday files write them after "rule" and iCalendar files keep them in
// X-DAYLOOM-CALENDAR:
//   sun DEGREES UTC+H[:MM]     the day the Sun reaches DEGREES (0-359) of
//                              longitude, in that zone: sun 0 UTC+9
//   hebrew MONTH DAY           a day of the Hebrew calendar: hebrew 7 10
//   chinese MONTH DAY UTC+H    a day of the Chinese calendar: chinese 1 1 UTC+8
//   hijri MONTH DAY            a day of the tabular Islamic calendar: hijri 10 1
// Each may end with a number of days after (+N) or before (-N) that day, up
// to 30: chinese 10 1 UTC+8 -1.

namespace Dayloom {

// Whether kind is one of the Sun or calendar kinds.
bool IsCalendarKind(DateRule::Kind kind);

// Reads words (the kind first) into rule's kind and calendar fields, leaving
// the rest of rule alone. False with the reason in why for anything else: an
// unknown kind, a month or day out of range, a zone that is not UTC+H[:MM].
bool ParseCalendarRule(const QStringList &words, DateRule &rule, QString *why);

// The words for a Sun or calendar rule ("chinese 8 15 UTC+8"); empty for
// other kinds.
QString CalendarRuleText(const DateRule &rule);

} // namespace Dayloom
