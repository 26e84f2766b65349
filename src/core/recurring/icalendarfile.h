#pragma once

#include "core/recurring/datedentry.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

// iCalendar files (RFC 5545) as lists of dated entries: what other calendar
// programs export, and "DLRECUR.ics", where the entries the four formulas
// cannot express are kept. A VEVENT becomes an entry: SUMMARY, DTSTART (a
// date, or a date and time for timed events), DTEND or DURATION as a span of
// days, RRULE, RDATE, EXDATE; instances moved by RECURRENCE-ID become entries
// of their own with an exception in their series. What plain iCalendar cannot
// say travels in X-DAYLOOM- properties that other programs ignore:
//   X-DAYLOOM-EASTER:WESTERN+1      Easter of a reckoning plus or minus days
//   X-DAYLOOM-CALENDAR:chinese 1 1 UTC+8
//                                   a day fixed by the Sun or another
//                                   calendar, in calendarrule.h's words
//   X-DAYLOOM-SHIFT:NEAREST         NEXT, PREVIOUS or NEAREST workday
//   X-DAYLOOM-SHIFT-OFF:SA SU       the weekdays the shift moves off
//   X-DAYLOOM-SHIFT-AVOID:UID       an entry whose dates it also moves off
//   X-DAYLOOM-SOURCE:PATH           the file the entry was imported from

namespace Dayloom {

class ICalendarFile
{
public:
    // Larger files are refused before anything is parsed.
    static constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;
    static constexpr int MaxEntries = 100000;

    struct Contents
    {
        QList<DatedEntry> entries;
        // What the file holds that the entries cannot: one line each, naming
        // the event ("Standup: a rule repeating every hour is finer than a
        // day; only its first date is kept").
        QStringList leftOut;
    };

    // Reads a whole calendar. A file that is not iCalendar, or is broken
    // (a line that is not NAME:VALUE, BEGIN and END that do not pair, a value
    // the parser rejects), fails with a message naming the line, and contents
    // is left untouched: nothing is half read.
    static bool read(QIODevice &device, Contents &contents, QString *error = nullptr);
    // Writes the entries as one VCALENDAR, lines folded at 75 octets.
    static bool write(QIODevice &device, const QList<DatedEntry> &entries,
                      QString *error = nullptr);
    // Whether a file starting with head is iCalendar rather than a
    // recurring-dates list.
    static bool looksLikeICalendar(QByteArrayView head);
};

} // namespace Dayloom
