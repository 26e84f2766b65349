#include "core/recurring/icalendarimport.h"

#include <QHash>
#include <QSet>

namespace Dayloom {

ICalendarImport::Plan ICalendarImport::plan(const QList<DatedEntry> &current,
                                            const ICalendarFile::Contents &imported,
                                            const QString &source)
{
    Plan plan;
    plan.leftOut = imported.leftOut;
    QHash<QString, const DatedEntry *> byUid;
    for (const DatedEntry &entry : current)
        byUid.insert(entry.uid, &entry);
    QSet<QString> inFile;
    for (DatedEntry entry : imported.entries) {
        entry.source = source;
        inFile.insert(entry.uid);
        const DatedEntry *existing = byUid.value(entry.uid);
        if (!existing)
            plan.added.append(entry);
        else if (*existing == entry)
            ++plan.unchanged;
        else
            plan.changed.append(entry);
    }
    for (const DatedEntry &entry : current) {
        if (entry.source == source && !inFile.contains(entry.uid))
            plan.removed.append(entry);
    }
    return plan;
}

QList<DatedEntry> ICalendarImport::apply(const QList<DatedEntry> &current, const Plan &plan)
{
    QHash<QString, const DatedEntry *> changed;
    for (const DatedEntry &entry : plan.changed)
        changed.insert(entry.uid, &entry);
    QSet<QString> removed;
    for (const DatedEntry &entry : plan.removed)
        removed.insert(entry.uid);
    QList<DatedEntry> result;
    for (const DatedEntry &entry : current) {
        if (removed.contains(entry.uid))
            continue;
        const DatedEntry *newer = changed.value(entry.uid);
        result.append(newer ? *newer : entry);
    }
    result += plan.added;
    return result;
}

} // namespace Dayloom
