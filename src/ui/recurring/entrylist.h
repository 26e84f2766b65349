#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

// The recurring-date lists show each entry as DescribeEntry gives it, in
// Arial 9 points on 16-pixel rows, and keep the entry's line with the row.

namespace Dayloom {

// Sets the list's font and replaces its rows with the lines, in order.
void FillEntryList(QListWidget &list, const QStringList &lines);
// The line behind row 0..count-1 of the list; empty outside.
QString EntryLineAt(const QListWidget &list, int row);

} // namespace Dayloom
