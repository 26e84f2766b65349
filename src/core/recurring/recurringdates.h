#pragma once

#include "core/recurring/datedentry.h"
#include "core/recurring/holidaylink.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// A whole list of recurring dates: the formula entries of "DLRECUR.DAX"
// (kept as their lines, byte for byte) and the entries the formulas cannot
// express, kept beside it in "DLRECUR.ics". The fill, the listing and the
// command line work on this; every entry writes its text on each day it
// falls on, formula entries first, in list order, then the holiday sets
// linked into the list (kept in "DLRECUR.ics" too, HolidayLink).

namespace Dayloom {

class RecurringDates
{
public:
    QStringList formulaLines;
    QList<DatedEntry> datedEntries;
    QList<HolidayLink> holidayLinks;

    static QString icsFileName() { return QStringLiteral("DLRECUR.ics"); }
    // DLRECUR.ics in the folder of a DLRECUR.DAX path.
    static QString icsPathBeside(const QString &daxPath);

    // The user's list: the recurring-dates file at daxPath and DLRECUR.ics
    // beside it; either may be missing. False with "PATH: reason" when one
    // cannot be read (a broken iCalendar file names its line); out is then
    // unchanged.
    static bool loadUserList(const QString &daxPath, RecurringDates &out, QString *error = nullptr);
    // Writes both files through QSaveFile. DLRECUR.DAX is written as it
    // always was; DLRECUR.ics only when there are dated entries or linked
    // holiday sets, or it exists (an emptied list empties it).
    bool saveUserList(const QString &daxPath, QString *error = nullptr) const;
    // A dates file named by the user: iCalendar or a recurring-dates list,
    // told apart by content. False with "PATH: reason" when missing or
    // unreadable.
    static bool loadFile(const QString &path, RecurringDates &out, QString *error = nullptr);

    // The lists of several dates files merged in order; no files: the
    // user's own list (loadUserList at RecurringDatesFile::defaultPath()).
    // False with "PATH: reason" when a file is missing or unreadable; out is
    // then unchanged.
    static bool loadFiles(const QStringList &paths, RecurringDates &out, QString *error = nullptr);
    // What the command line fills from: the dates files with the holiday
    // sets linked in; the user's own list only when there are neither.
    static bool loadSources(const QStringList &paths, const QList<HolidayLink> &holidays,
                            RecurringDates &out, QString *error = nullptr);

    void append(const RecurringDates &other);
    bool isEmpty() const
    {
        return formulaLines.isEmpty() && datedEntries.isEmpty() && holidayLinks.isEmpty();
    }
    // Adds a link; one already there for the same code is replaced.
    void linkHolidays(const HolidayLink &link);

    // For each day of from..to (index from.daysTo(day)), the texts written
    // there, formula entries first, each list in entry order, then the
    // linked holidays named in language (ISO 639-1, as PageLanguageCode
    // gives; empty: each country's own). Empty for a range that is invalid
    // or longer than MaxRangeDays.
    QList<QStringList> textsByDay(QDate from, QDate to, const QString &language = {}) const;
    // The whole list as dated entries, for an iCalendar export that reads
    // back with the same dates: each formula entry as FormulaAsDatedEntry
    // makes it (its UID drawn from its line, so that a second export keeps
    // it), then the dated entries, whose shifts now name the converted
    // entries they avoided by name, without the files they were imported
    // from. leftOut gets a line for each formula entry that falls on no day
    // and so has no rule to write. Linked holiday sets are not among them.
    QList<DatedEntry> asDatedEntries(QStringList *leftOut = nullptr) const;
    // The same as textsByDay with the shifts of this list's dated entries
    // moving off the dates of the entries of avoided they name instead: the
    // fill writes the entries the user chose and lets them avoid only those
    // not left out.
    QList<QStringList> textsByDay(QDate from, QDate to, const RecurringDates &avoided,
                                  const QString &language = {}) const;
    // The indices of the dated entries with a day in from..to, as this list
    // shifts them or as they fall when nothing they avoid is in the list:
    // what the fill offers, before the user leaves some out.
    QList<int> datedEntriesBetween(QDate from, QDate to) const;
    // "day<TAB>description" for every day of the month on which an entry
    // falls, in day order, then entry order, linked holidays last.
    QStringList listMonth(int month, int year, const QString &language = {}) const;

    static constexpr int MaxRangeDays = 3 * 366;

private:
    // The Julian days a dated entry's shift also moves off: the dates of the
    // entries of this list it names (dated ones by UID, formula ones by
    // name), near the range.
    QSet<qint64> blockedFor(const DatedEntry &entry, QDate from, QDate to) const;
    // Each dated entry's days in from..to with its text, its shift avoiding
    // the entries of avoided.
    QList<QList<std::pair<QDate, QString>>> datedTexts(QDate from, QDate to,
                                                       const RecurringDates &avoided) const;
};

} // namespace Dayloom
