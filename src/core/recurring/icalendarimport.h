#pragma once

#include "core/recurring/icalendarfile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Dayloom {

// Importing an iCalendar file into the user's dated entries, matched by UID
// so that importing the same file again updates what it brought: first the
// plan, which the import dialog shows, then, when the user agrees, the
// change. Nothing is applied in part.
class ICalendarImport
{
public:
    struct Plan
    {
        QList<DatedEntry> added;
        // The new versions of entries whose UID is already in the list.
        QList<DatedEntry> changed;
        // Entries imported from the same file before that it no longer holds.
        QList<DatedEntry> removed;
        // What the file holds that cannot be kept, from the reader.
        QStringList leftOut;
        int unchanged = 0;

        bool changesNothing() const
        {
            return added.isEmpty() && changed.isEmpty() && removed.isEmpty();
        }
    };

    // What importing the contents read from the file at source (an absolute
    // path, kept on every imported entry) into current would do.
    static Plan plan(const QList<DatedEntry> &current, const ICalendarFile::Contents &imported,
                     const QString &source);
    // current with the plan applied: changed entries replaced where they
    // stand, removed ones taken out, added ones appended in file order.
    static QList<DatedEntry> apply(const QList<DatedEntry> &current, const Plan &plan);
};

} // namespace Dayloom
