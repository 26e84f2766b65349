#include "core/formats/stylesheet.h"

#include "core/calendar/calendarpage.h"
#include "core/formats/bordername.h"
#include "core/formats/calendarextrasrecord.h"
#include "core/formats/calendarsettingsblock.h"
#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"
#include "core/io/saveatomically.h"
#include "core/io/seterror.h"

#include <QFile>

namespace Dayloom {

namespace {

// The page's extras with the look of the record that may follow the list
// (none: no extras). A record that cannot be read is left out, as readers
// before the extras did with anything after the list.
CalendarExtras ExtrasAfterList(ValueReader &reader, const CalendarExtras &current)
{
    CalendarExtras extras = current;
    extras.AssignLook(CalendarExtras());
    if (!reader.peekByte())
        return extras;
    if (const std::optional<CalendarExtras> stored = CalendarExtrasRecord::Read(reader))
        extras.AssignLook(*stored);
    return extras;
}

} // namespace

bool WriteStyleSheet(const CalendarPage &page, QIODevice &device, QString *error)
{
    ValueWriter writer(device);
    writer.writeListBegin();
    writer.writeInteger(StyleSheetVersion);
    writer.writeInteger(StyleSheetKind);
    CalendarSettingsBlock::Write(writer, page);
    writer.writeString(page.WMFBorderFile());
    writer.writeListEnd();
    // After the end of the list, where earlier readers stop.
    const CalendarExtras look = page.Extras().Look();
    if (!look.IsDefault())
        CalendarExtrasRecord::Write(writer, look);
    SetError(error, writer.errorString());
    return writer.ok();
}

bool ReadStyleSheet(CalendarPage &page, QIODevice &device, QString *error)
{
    ValueReader reader(device);
    const auto failed = [&] {
        SetError(error, reader.errorString());
        return false;
    };
    if (!reader.readListBegin())
        return failed();
    const std::optional<qint32> version = reader.readInteger();
    if (!version || !reader.readInteger() || !CalendarSettingsBlock::Read(reader, page))
        return failed();
    if (*version < 4) {
        page.SetWMFBorderFile(QString());
    } else {
        const std::optional<QString> border = reader.readString();
        if (!border)
            return failed();
        page.SetWMFBorderFile(StoredBorderName(*border));
    }
    if (!reader.readListEnd())
        return failed();
    page.SetExtras(ExtrasAfterList(reader, page.Extras()));
    SetError(error, QString());
    return true;
}

bool SaveStyleSheet(const CalendarPage &page, const QString &path, QString *error)
{
    // The writer leaves `error` empty when it succeeds.
    return SaveAtomically(path, error, [&page](QIODevice &device, QString *writeError) {
        return WriteStyleSheet(page, device, writeError);
    });
}

bool LoadStyleSheet(CalendarPage &page, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, file.errorString());
        return false;
    }
    return ReadStyleSheet(page, file, error);
}

} // namespace Dayloom
