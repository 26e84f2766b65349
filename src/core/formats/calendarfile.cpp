#include "core/formats/calendarfile.h"

#include "core/calendar/calendarpage.h"
#include "core/formats/bordername.h"
#include "core/formats/calendarextrasrecord.h"
#include "core/formats/calendarsettingsblock.h"
#include "core/formats/componentrecord.h"
#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"
#include "core/io/saveatomically.h"
#include "core/io/seterror.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Dayloom {

namespace {

constexpr int MaxMainCalDay = 31;

bool ReadInto(ValueReader &reader, qint32 &value)
{
    const std::optional<qint32> read = reader.readInteger();
    if (read)
        value = *read;
    return read.has_value();
}

// Date, week start and planner start time, assigned as read.
bool ReadDateAndTime(ValueReader &reader, CalendarPage &page)
{
    qint32 day = 0, month = 0, year = 0, startOfWeek = 0, hours = 0, minutes = 0;
    if (!ReadInto(reader, day))
        return false;
    page.SetMainCalDay(std::clamp(day, 0, MaxMainCalDay));
    if (!ReadInto(reader, month))
        return false;
    page.SetMainCalMonth(month);
    if (!ReadInto(reader, year))
        return false;
    page.SetMainCalYear(year);
    if (!ReadInto(reader, startOfWeek))
        return false;
    page.SetStartOfWeek(startOfWeek);
    if (!ReadInto(reader, hours) || !ReadInto(reader, minutes))
        return false;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return reader.fail(
            QStringLiteral("Invalid planner start time %1:%2").arg(hours).arg(minutes));
    page.SetPlannerStartTime(QTime(hours, minutes));
    return true;
}

bool ReadNotes(ValueReader &reader, CalendarPage &page)
{
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
        TWPRtfStorage note;
        if (!ComponentRecord::ReadNote(reader, note))
            return false;
        page.SetCellNote(cell, note);
    }
    return true;
}

bool ReadCalendarPart(ValueReader &reader, CalendarPage &page, qint32 &version)
{
    if (!reader.readListBegin() || !ReadInto(reader, version) || !reader.readInteger())
        return false;
    if (!CalendarSettingsBlock::Read(reader, page))
        return false;
    page.SetWMFBorderFile(QString());
    if (version > 3) {
        const std::optional<QString> border = reader.readString();
        if (!border)
            return false;
        page.SetWMFBorderFile(StoredBorderName(*border));
    }
    if (!ReadDateAndTime(reader, page) || !ReadNotes(reader, page))
        return false;
    if (version > 1) {
        const std::optional<QString> title = reader.readString();
        if (!title)
            return false;
        page.SetUserTitle(*title);
    }
    return reader.readListEnd();
}

} // namespace

bool WriteCalendarFile(const CalendarPage &page, const QList<const PersistentObject *> &objects,
                       QIODevice &device, QString *error)
{
    std::array<TWPRtfStorage, CalendarPage::CellCount> notes;
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        notes[cell - 1] = page.CellNote(cell);
    return WriteCalendarFile(page, notes, objects, device, error);
}

bool WriteCalendarFile(const CalendarPage &page,
                       const std::array<TWPRtfStorage, CalendarPage::CellCount> &notes,
                       const QList<const PersistentObject *> &objects, QIODevice &device,
                       QString *error)
{
    ValueWriter writer(device);
    writer.writeListBegin();
    writer.writeInteger(CalendarFileVersion);
    writer.writeInteger(CalendarFileKind);
    CalendarSettingsBlock::Write(writer, page);
    writer.writeString(page.WMFBorderFile());
    writer.writeInteger(page.MainCalDay());
    writer.writeInteger(page.MainCalMonth());
    writer.writeInteger(page.MainCalYear());
    writer.writeInteger(page.StartOfWeek());
    writer.writeInteger(page.PlannerStartTime().hour());
    writer.writeInteger(page.PlannerStartTime().minute());
    for (const TWPRtfStorage &note : notes)
        ComponentRecord::WriteNote(writer, note);
    writer.writeString(page.UserTitle());
    writer.writeListEnd();
    // The extras follow every placed object: a reader that does not know
    // their class stops there, having read all the rest.
    QList<const PersistentObject *> records = objects;
    const CalendarExtrasRecord extras(page.Extras());
    if (!page.Extras().IsDefault())
        records.append(&extras);
    ComponentRecord::WriteList(writer, records);
    SetError(error, writer.errorString());
    return writer.ok();
}

bool ReadCalendarFile(CalendarPage &page, QIODevice &device, const ObjectClassRegistry &registry,
                      const QStringList &namesInUse, PersistentObjectList &objects, QString *error,
                      int *unreadObjects)
{
    ValueReader reader(device);
    qint32 version = 0;
    if (!ReadCalendarPart(reader, page, version)) {
        SetError(error, reader.errorString());
        return false;
    }
    int unread = 0;
    CalendarExtras extras;
    if (version > 2) {
        ObjectClassRegistry classes = registry;
        CalendarExtrasRecord::Register(classes);
        ComponentNamer namer(namesInUse);
        PersistentObjectList read;
        unread = ComponentRecord::ReadList(reader, classes, namer, read);
        extras = CalendarExtrasRecord::TakeFrom(read).value_or(CalendarExtras());
        for (std::unique_ptr<PersistentObject> &object : read)
            objects.push_back(std::move(object));
    }
    page.SetExtras(extras);
    if (unreadObjects)
        *unreadObjects = unread;
    page.CalculateLayout(false);
    SetError(error, QString());
    return true;
}

bool SaveCalendarFile(const CalendarPage &page, const QList<const PersistentObject *> &objects,
                      const QString &path, QString *error)
{
    // The writer leaves `error` empty when it succeeds.
    return SaveAtomically(path, error, [&](QIODevice &device, QString *writeError) {
        return WriteCalendarFile(page, objects, device, writeError);
    });
}

QString UnableToOpenMessage(const QString &path)
{
    return QStringLiteral("Unable to open ") + path + QStringLiteral(". Possibly ") +
           QStringLiteral("\r") + QStringLiteral("corrupted, possibly not a Calendar file");
}

QString PicturesLeftOutMessage(const QString &reason)
{
    return QStringLiteral("Some pictures of this design are left out: %1.").arg(reason);
}

QString UnreadObjectsMessage(int count)
{
    if (count == 1)
        return QStringLiteral("1 object of this design could not be read; saving will leave it "
                              "out.");
    return QStringLiteral("%1 objects of this design could not be read; saving will leave them "
                          "out.")
        .arg(count);
}

QString ReplaceIncompleteFileQuestion(const QString &path, int count)
{
    const QString lost = count == 1 ? QStringLiteral("1 object of this design could not be "
                                                     "read, and saving over the file leaves it")
                                    : QStringLiteral("%1 objects of this design could not be "
                                                     "read, and saving over the file leaves them")
                                          .arg(count);
    return QStringLiteral("Replace %1?\n\n%2 out for good. Choose No to save under another "
                          "name.")
        .arg(QFileInfo(path).fileName(), lost);
}

bool OpenCalendarFile(CalendarPage &page, const QString &path, const ObjectClassRegistry &registry,
                      const QStringList &namesInUse, PersistentObjectList &objects, QString *error,
                      int *unreadObjects)
{
    if (!QFileInfo::exists(path)) {
        SetError(error, QStringLiteral("File ") + path + QStringLiteral(" no longer exists"));
        return false;
    }
    // A file that turns out unreadable half way must not leave the design
    // that was open half replaced.
    CalendarPage read;
    PersistentObjectList readObjects;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) ||
        !ReadCalendarFile(read, file, registry, namesInUse, readObjects, nullptr, unreadObjects)) {
        SetError(error, UnableToOpenMessage(path));
        return false;
    }
    page.SetSettings(read.Settings());
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        page.SetCellNote(cell, read.CellNote(cell));
    for (std::unique_ptr<PersistentObject> &object : readObjects)
        objects.push_back(std::move(object));
    SetError(error, QString());
    return true;
}

} // namespace Dayloom
