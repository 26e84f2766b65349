#pragma once

#include "core/recurring/holidaylink.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The month-level work of "Fill Calendar with Recurring Dates" and of the
// date listing, free of any window: which entries to offer for a month, and
// which texts go to which day.

namespace Dayloom {

inline const QString NoDatesMatchMessage =
    QStringLiteral("No predefined dates match the current month");

// The entries offered for month 1-12 of a year, in their order. Dropped are
// "@" and "$" entries whose month field reads as neither 0 nor the month
// (an unreadable field keeps the entry) and "#EASTER", "#GOODFRIDAY",
// "#PALMSUNDAY" entries whose day lies in another month. "%" entries, other
// "#" keywords and lines of 120 characters or fewer stay. For a month or year
// out of range ("@"/"$" month filter still applies) no feast is in the month.
QStringList offeredEntries(const QStringList &entries, int month, int year);

// For each day 1..n of the month, index day - 1, the texts the fill appends
// to that day's note, in the order of the chosen entries: each entry's name
// without surrounding blanks, once for every day its formula gives. Empty
// for a month or year out of range.
QList<QStringList> fillTexts(const QStringList &chosenEntries, int month, int year);

// Lines "day<TAB>description" for every day of the month on which an entry
// falls: in day order, then entry order. The description is DescribeEntry
// of the line without trailing blanks (a "#" entry describes itself by its
// blank-padded name field).
QStringList listDatesInMonth(const QStringList &entries, int month, int year);

struct YearMonth
{
    int year = 0;
    int month = 0;
};

// Reads "YYYY-MM" (year 1-9999, month 01-12; one-digit months accepted).
std::optional<YearMonth> parseYearMonth(const QString &text);

// The listing for the command line: the dates of every dates file (each a
// recurring-dates list or an iCalendar file, merged in order), or of the
// user's own list when there are none, in the month given as "YYYY-MM", with
// the holiday sets linked in (RecurringDates::loadSources). False with an
// error text for a bad month or a missing or unreadable file.
bool listDatesFromFiles(const QString &yearMonth, const QStringList &datesFiles, QStringList &lines,
                        QString *error = nullptr, const QList<HolidayLink> &holidays = {});

} // namespace Dayloom
