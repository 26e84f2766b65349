#include "core/app/recoverystore.h"

#include "core/formats/calendarfile.h"
#include "core/io/datafolder.h"
#include "core/io/inifile.h"
#include "core/io/saveatomically.h"
#include "core/io/seterror.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QUuid>

#include <algorithm>

namespace Dayloom {

namespace {

const QString Section = QStringLiteral("Recovery");
const QString OriginalKey = QStringLiteral("Original");
const QString WrittenKey = QStringLiteral("Written");
const QString UnreadKey = QStringLiteral("Unread");
constexpr int DefaultIntervalSeconds = 60;
constexpr int MaxIntervalSeconds = 3600;

QByteArray DesignBytes(const CalendarPage &page, const RecoveryStore::CellNotes &notes,
                       const QList<const PersistentObject *> &objects, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCalendarFile(page, notes, objects, buffer, error))
        return {};
    return bytes;
}

bool WriteWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    return SaveAtomically(path, error, [&bytes](QIODevice &device, QString *error) {
        if (device.write(bytes) == bytes.size())
            return true;
        SetError(error, device.errorString());
        return false;
    });
}

} // namespace

QString RecoveryStore::Copy::DisplayName() const
{
    return originalPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(originalPath).fileName();
}

RecoveryStore::RecoveryStore(const QString &folder) : m_folder(folder) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::DefaultFolder()
{
    const QString data = DataFolder();
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("Recovery"));
}

int RecoveryStore::IntervalMs()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("DAYLOOM_AUTOSAVE_SECONDS", &ok);
    const bool chosen = ok && seconds >= 1 && seconds <= MaxIntervalSeconds;
    return (chosen ? seconds : DefaultIntervalSeconds) * 1000;
}

QString RecoveryStore::SlotPath(const QString &id, const char *suffix) const
{
    return QDir(m_folder).filePath(id + QLatin1String(suffix));
}

std::unique_ptr<QLockFile> RecoveryStore::TryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A lock is stale only when its program is gone, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

bool RecoveryStore::ClaimOwnSlot(QString *error)
{
    if (m_lock)
        return true;
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder)) {
        SetError(error, QStringLiteral("Cannot create the folder %1").arg(m_folder));
        return false;
    }
    const QString id = QUuid::createUuid().toString(QUuid::Id128);
    m_lock = TryLock(SlotPath(id, ".lock"));
    if (!m_lock) {
        SetError(error, QStringLiteral("Cannot lock %1").arg(SlotPath(id, ".lock")));
        return false;
    }
    m_id = id;
    return true;
}

bool RecoveryStore::Write(const CalendarPage &page, const CellNotes &notes,
                          const QList<const PersistentObject *> &objects,
                          const QString &originalPath, const QDateTime &written, QString *error,
                          int unreadObjects)
{
    const QByteArray design = DesignBytes(page, notes, objects, error);
    if (design.isEmpty())
        return false;
    const QByteArray digest = QCryptographicHash::hash(design, QCryptographicHash::Sha256);
    if (digest == m_lastDigest && originalPath == m_lastOriginal && unreadObjects == m_lastUnread)
        return true;
    if (!ClaimOwnSlot(error) || !WriteWhole(SlotPath(m_id, ".dlf"), design, error))
        return false;
    IniFile details(SlotPath(m_id, ".ini"));
    details.WriteString(Section, OriginalKey, originalPath);
    details.WriteString(Section, WrittenKey, written.toUTC().toString(Qt::ISODateWithMs));
    if (unreadObjects > 0)
        details.WriteInteger(Section, UnreadKey, unreadObjects);
    if (!details.Save(error))
        return false;
    m_lastDigest = digest;
    m_lastOriginal = originalPath;
    m_lastUnread = unreadObjects;
    return true;
}

void RecoveryStore::Remove()
{
    if (!m_id.isEmpty())
        RemoveSlotFiles(m_id);
    m_lastDigest.clear();
    m_lastOriginal.clear();
    m_lastUnread = 0;
}

void RecoveryStore::RemoveSlotFiles(const QString &id) const
{
    QFile::remove(SlotPath(id, ".dlf"));
    QFile::remove(SlotPath(id, ".ini"));
}

RecoveryStore::Copy RecoveryStore::ReadCopy(const QString &id) const
{
    Copy copy;
    copy.id = id;
    copy.designPath = SlotPath(id, ".dlf");
    const QFileInfo design(copy.designPath);
    if (!design.isFile()) {
        copy.error = QStringLiteral("The recovery copy is missing.");
        return copy;
    }
    // The details follow the design: a crash between the two, or damaged
    // details, leave a design still worth offering, untitled and as old as
    // its file.
    copy.written = design.lastModified().toUTC();
    IniFile details(SlotPath(id, ".ini"));
    if (!details.Load())
        return copy;
    const QDateTime written =
        QDateTime::fromString(details.ReadString(Section, WrittenKey), Qt::ISODateWithMs);
    if (written.isValid()) {
        copy.written = written;
        copy.originalPath = details.ReadString(Section, OriginalKey);
        copy.unreadObjects = std::max(0, details.ReadInteger(Section, UnreadKey, 0));
    }
    return copy;
}

QList<RecoveryStore::Copy> RecoveryStore::Orphans()
{
    const QDir folder(m_folder);
    if (m_folder.isEmpty() || !folder.exists())
        return {};
    QSet<QString> ids;
    for (const QFileInfo &file : folder.entryInfoList(
             {QStringLiteral("*.dlf"), QStringLiteral("*.ini"), QStringLiteral("*.lock")},
             QDir::Files | QDir::Hidden))
        ids.insert(file.completeBaseName());
    QList<Copy> copies;
    for (const QString &id : std::as_const(ids)) {
        if (id == m_id || m_orphanLocks.count(id))
            continue;
        std::unique_ptr<QLockFile> lock = TryLock(SlotPath(id, ".lock"));
        if (!lock)
            continue; // a running program's
        if (!QFile::exists(SlotPath(id, ".dlf")) && !QFile::exists(SlotPath(id, ".ini")))
            continue; // a lock alone: freeing it removes it
        m_orphanLocks[id] = std::move(lock);
        copies.append(ReadCopy(id));
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy &a, const Copy &b) { return a.written > b.written; });
    return copies;
}

bool RecoveryStore::CheckReadable(const Copy &copy, QString *error)
{
    if (!copy.error.isEmpty()) {
        SetError(error, copy.error);
        return false;
    }
    PageDocument scratch;
    return scratch.Open(copy.designPath, error);
}

void RecoveryStore::Discard(const Copy &copy)
{
    if (!m_orphanLocks.count(copy.id))
        return; // not found by Orphans(): maybe a running program's
    RemoveSlotFiles(copy.id);
    m_orphanLocks.erase(copy.id);
}

void RecoveryStore::Release(const Copy &copy)
{
    m_orphanLocks.erase(copy.id);
}

} // namespace Dayloom
