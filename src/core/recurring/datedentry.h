#pragma once

#include "core/recurring/daterule.h"

#include <QString>
#include <QStringList>

// One entry of the recurring-dates list kept beside "DLRECUR.DAX": a
// description and the rule of its dates, with the identity iCalendar gives it.

namespace Dayloom {

class DatedEntry
{
public:
    // Unique within a list and kept across imports: a re-import of the same
    // calendar updates the entries of the same UID.
    QString uid;
    // The text a day shows; "{years}" becomes the whole years since the
    // rule's first date.
    QString description;
    DateRule rule;
    // The entries whose dates the rule's shift also moves off: UIDs of dated
    // entries, names of formula entries.
    QStringList shiftAvoids;
    // The iCalendar file the entry was imported from (its absolute path), so
    // that importing that file again can tell what it no longer holds; empty
    // for entries made here.
    QString source;

    // The text written into a day the occurrence starting at start shows:
    // the start time first for timed events ("9:30 Dentist"), "{years}"
    // replaced by the years since the first date.
    QString textFor(QDate start) const;

    // A new UID for an entry made in this program.
    static QString newUid();

    friend bool operator==(const DatedEntry &, const DatedEntry &) = default;
};

} // namespace Dayloom
