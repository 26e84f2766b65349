#pragma once

#include <QIODevice>
#include <QString>

namespace Dayloom {

class CalendarPage;

// Style sheets (".DLS"): the look of a page without its content. A list
// holding the format version (4), the file kind (2), the calendar settings
// block and the border name (from version 4 on), followed by the look of the
// page's extras (CalendarExtrasRecord, without the first weekday) when it
// has any.

inline constexpr qint32 StyleSheetVersion = 4;
inline constexpr qint32 StyleSheetKind = 2;

// Returns false with the device's reason on a write error.
bool WriteStyleSheet(const CalendarPage &page, QIODevice &device, QString *error = nullptr);

// Reads the settings straight into the page; the file kind is not checked.
// A version below 4 sets an empty border name. The look of the extras is
// the record's after the list, or none; a record that cannot be read is
// ignored. On failure (a tag that does
// not fit, an early end) the values read before it stay and `error` holds
// the reason; a calendar file read this way fails at the end of list after
// its border name, keeping its settings. The page geometry is left to the
// caller.
bool ReadStyleSheet(CalendarPage &page, QIODevice &device, QString *error = nullptr);

// Writes through a temporary file in the same folder that replaces `path`
// only once everything was written; `error` holds the system's reason.
bool SaveStyleSheet(const CalendarPage &page, const QString &path, QString *error = nullptr);
// Opens and reads `path`; `error` holds the system's or the reader's reason.
bool LoadStyleSheet(CalendarPage &page, const QString &path, QString *error = nullptr);

} // namespace Dayloom
