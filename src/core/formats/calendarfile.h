#pragma once

#include "core/calendar/calendartypes.h"
#include "core/formats/objectclassregistry.h"
#include "core/formats/persistentobject.h"

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace Dayloom {

class CalendarPage;
class TWPRtfStorage;

// Calendar files (".DLF"): a list holding the format version, the file kind
// (1), the calendar settings block, the border name, the date, the week
// start, the planner start time, the 42 day-cell notes and the user title,
// then a list of the placed objects as component records, ended by the
// page's extras (CalendarExtrasRecord) when it has any. Versions 1 to 4
// are read (version 1 has no user title and no objects, versions before 4 no
// border name); version 4 is written. Objects are stored at zoom 1: the
// caller passes them unzoomed.

inline constexpr qint32 CalendarFileVersion = 4;
inline constexpr qint32 CalendarFileKind = 1;

// Writes the design. Returns false with the device's reason on a write error.
bool WriteCalendarFile(const CalendarPage &page, const QList<const PersistentObject *> &objects,
                       QIODevice &device, QString *error = nullptr);
// The same with the day-cell notes taken from `notes` (cell 1 first) rather
// than from the page: a recovery copy holds the note still open in the editor
// without putting it into the page.
bool WriteCalendarFile(const CalendarPage &page,
                       const std::array<TWPRtfStorage, CalendarCellCount> &notes,
                       const QList<const PersistentObject *> &objects, QIODevice &device,
                       QString *error = nullptr);

// Reads a design into the page (values are assigned as they are read) and
// appends the placed objects to `objects`, each named "Component" + the
// smallest number that neither `namesInUse` nor an earlier object uses.
// Returns false with the reason when the calendar part does not fit; the
// values read before the failure stay in the page. Damage inside the
// objects part does not fail the reading: the objects that can be read are
// kept (see ComponentRecord::ReadList) and `unreadObjects` gets how many
// could not be. On success the page layout is recomputed.
bool ReadCalendarFile(CalendarPage &page, QIODevice &device, const ObjectClassRegistry &registry,
                      const QStringList &namesInUse, PersistentObjectList &objects,
                      QString *error = nullptr, int *unreadObjects = nullptr);

// Saves through a temporary file in the same folder that replaces `path`
// only once everything was written; on failure the old file is untouched and
// `error` holds the system's reason.
bool SaveCalendarFile(const CalendarPage &page, const QList<const PersistentObject *> &objects,
                      const QString &path, QString *error = nullptr);

// Opens a calendar file as the open command does: the file is read into a
// page of its own, and only once it could be read does `page` take over its
// settings, cell notes and user title. When it cannot be read, `page` and
// `objects` are left as they were and `error` holds the message to show
// (UnableToOpenMessage); a missing file gives "File <path> no longer
// exists". `unreadObjects` as with ReadCalendarFile.
bool OpenCalendarFile(CalendarPage &page, const QString &path, const ObjectClassRegistry &registry,
                      const QStringList &namesInUse, PersistentObjectList &objects,
                      QString *error = nullptr, int *unreadObjects = nullptr);

// "Unable to open <path>. Possibly \rcorrupted, possibly not a Calendar file".
QString UnableToOpenMessage(const QString &path);

// "N objects of this design could not be read; saving will leave them out."
// (in the singular for one object).
// "Some pictures of this design are left out: <reason>." for pictures
// refused on opening (over the budget for pictures, see PictureBudget).
QString PicturesLeftOutMessage(const QString &reason);

QString UnreadObjectsMessage(int count);

// The question before saving over a file whose design held `count` objects
// that could not be read: Yes replaces it, No is to save under another name.
QString ReplaceIncompleteFileQuestion(const QString &path, int count);

} // namespace Dayloom
