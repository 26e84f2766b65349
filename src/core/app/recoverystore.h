#pragma once

#include "core/calendar/calendarpage.h"
#include "core/formats/persistentobject.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <map>
#include <memory>

class QLockFile;

namespace Dayloom {

// Recovery copies of designs with unsaved changes, so that a crash loses at
// most one autosave interval of work.
//
// Every running program writes into a slot of its own in the store's folder
// (normally "Recovery" in the data folder), named by a random id:
//   <id>.dlf   the design, an ordinary calendar file;
//   <id>.ini   [Recovery] Original= the design's own file (empty: untitled),
//              Unread= objects of that file the design lacks (when any),
//              Written= when the copy was written (UTC, ISO 8601);
//   <id>.lock  a QLockFile the program holds while it runs.
// Both files go through QSaveFile, the design first, so a crash while
// writing keeps the previous copy whole; the design's own file is never
// written. A slot whose lock
// no running program holds belongs to a program that ended without closing:
// Orphans() finds it, and holds its lock until the caller is done with it, so
// a second program (another display) leaves it alone meanwhile.
class RecoveryStore
{
public:
    using CellNotes = std::array<TWPRtfStorage, CalendarPage::CellCount>;

    // A copy left behind by a program that ended without closing.
    struct Copy
    {
        QString id;
        QString designPath;    // the calendar file to open
        QString originalPath;  // empty: an untitled design
        int unreadObjects = 0; // objects of the original file the copy lacks
        QDateTime written;     // UTC
        QString error;         // why the copy cannot be used; empty when it can
        // The original file's name, or "Untitled".
        QString DisplayName() const;
    };

    // `folder` is created on the first write; an empty folder stores nothing.
    explicit RecoveryStore(const QString &folder);
    // Frees the locks; the copies stay (a normal close calls Remove first).
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // "Recovery" in DataFolder(); empty when there is no data folder.
    static QString DefaultFolder();
    // Milliseconds between two copies: a minute, or DAYLOOM_AUTOSAVE_SECONDS
    // (1 to 3600) when set, so that tests need not wait.
    static int IntervalMs();

    // Writes this program's copy of the design, its notes taken from `notes`
    // (so a note still open in the editor goes in without touching the
    // page). `unreadObjects` counts the objects of the original file that
    // the design could not read, so that a restored copy still asks before
    // replacing that file. A design equal to the last copy is not written
    // again. False with the reason when the copy could not be written; the
    // previous copy then stays.
    bool Write(const CalendarPage &page, const CellNotes &notes,
               const QList<const PersistentObject *> &objects, const QString &originalPath,
               const QDateTime &written, QString *error = nullptr, int unreadObjects = 0);
    // Removes this program's copy (saved, closed, or nothing left unsaved).
    void Remove();

    // Copies of programs that ended without closing, newest first. A copy
    // whose design is missing comes with its error; one whose details are
    // missing or damaged (a crash between the two files) is offered as
    // untitled and as old as its file. Their locks are held until Discard()
    // or Release().
    QList<Copy> Orphans();
    // Whether the copy's design reads as a whole; false with the reason.
    static bool CheckReadable(const Copy &copy, QString *error);
    // Deletes the files and frees the lock of an orphan Orphans() returned.
    void Discard(const Copy &copy);
    // Leaves an orphan for a later start: frees its lock only.
    void Release(const Copy &copy);

private:
    QString SlotPath(const QString &id, const char *suffix) const;
    bool ClaimOwnSlot(QString *error);
    static std::unique_ptr<QLockFile> TryLock(const QString &path);
    Copy ReadCopy(const QString &id) const;
    void RemoveSlotFiles(const QString &id) const;

    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QByteArray m_lastDigest;
    QString m_lastOriginal;
    int m_lastUnread = 0;
    std::map<QString, std::unique_ptr<QLockFile>> m_orphanLocks;
};

} // namespace Dayloom
