#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace Dayloom {
class DatedEntry;
}

// The recurring-date lists show each entry as DescribeEntry gives it, in
// Arial 9 points on 16-pixel rows, and keep the entry's line with the row.

namespace Dayloom {

// Sets the list's font and replaces its rows with the lines, in order.
void FillEntryList(QListWidget &list, const QStringList &lines);
// Appends rows showing the texts as they are, with no line behind them (the
// dated entries, which have no formula line).
void AppendTextRows(QListWidget &list, const QStringList &texts);
// A dated entry as the lists show it: "Dentist (Every 2 weeks on Tuesday,
// from 6 Jan 2026)".
QString DescribeDatedEntry(const DatedEntry &entry);
// The line behind row 0..count-1 of the list; empty outside.
QString EntryLineAt(const QListWidget &list, int row);

} // namespace Dayloom
