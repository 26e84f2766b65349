#pragma once

#include <QString>
#include <QStringView>

// Text routines of recurring-date entries. Positions and widths count
// UTF-16 code units, the units of QString.

namespace Dayloom {

// Left-justifies text in exactly width characters: longer text is cut,
// shorter text padded with blanks. A cut never splits a surrogate pair (the
// half pair becomes a blank). A width below 0 counts as 0.
QString PadField(const QString &text, int width);

// Strips leading and trailing blanks and control characters (every
// character up to U+0020).
QString TrimBlanks(const QString &text);
QStringView TrimBlanks(QStringView text);

// The number followed by its English ordinal suffix: 1st, 2nd, 3rd, 4th,
// 11th ... 19th, 21st, 22nd, 23rd, 101st. Negative numbers take the suffix
// of their absolute value.
QString OrdinalText(int n);

} // namespace Dayloom
