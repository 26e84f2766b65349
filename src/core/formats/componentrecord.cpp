#include "core/formats/componentrecord.h"

#include "core/common/windows1252.h"
#include "core/io/seterror.h"

#include <algorithm>

namespace Dayloom {

namespace {

constexpr char Signature[] = "TPF0";
constexpr qint64 SignatureSize = 4;
const QByteArray NoteClassName = QByteArrayLiteral("TWPRtfStorage");
const QByteArray NoteTextPath = QByteArrayLiteral("RtfText.Data");

QByteArray EncodeName(const QString &name)
{
    QByteArray bytes;
    return EncodeWindows1252(name, bytes) ? bytes : name.toLatin1();
}

// Reads property entries up to the 0 that ends them.
bool ReadProperties(ValueReader &reader, PersistentObject &object)
{
    const PropertyList &properties = object.PublishedProperties();
    for (;;) {
        const std::optional<QByteArray> path = reader.readShortString();
        if (!path)
            return false;
        if (path->isEmpty())
            return true;
        const qsizetype dot = path->indexOf('.');
        const QByteArrayView head = QByteArrayView(*path).first(dot < 0 ? path->size() : dot);
        const QByteArrayView tail =
            dot < 0 ? QByteArrayView() : QByteArrayView(*path).sliced(dot + 1);
        const PropertyDescriptor *descriptor = properties.find(head);
        if (!descriptor)
            return reader.fail(
                QStringLiteral("Unknown property %1 of %2")
                    .arg(QString::fromLatin1(*path), QString::fromLatin1(object.ClassName())));
        if (!descriptor->read(object, tail, reader))
            return reader.fail(QStringLiteral("Bad value of %1").arg(QString::fromLatin1(*path)));
    }
}

} // namespace

void ComponentRecord::WriteHeader(ValueWriter &writer, const QByteArray &className,
                                  const QString &name)
{
    writer.writeRaw(Signature, SignatureSize);
    writer.writeShortString(className);
    writer.writeShortString(EncodeName(name));
}

bool ComponentRecord::ReadHeader(ValueReader &reader, QByteArray &className, QString &name)
{
    const std::optional<QByteArray> signature = reader.readRaw(SignatureSize);
    if (!signature)
        return false;
    if (*signature != QByteArrayView(Signature, SignatureSize))
        return reader.fail(QStringLiteral("Missing record signature"));
    const std::optional<QByteArray> storedClass = reader.readShortString();
    if (!storedClass)
        return false;
    const std::optional<QByteArray> storedName = reader.readShortString();
    if (!storedName)
        return false;
    className = *storedClass;
    name = DecodeWindows1252(*storedName);
    return true;
}

bool ComponentRecord::ReadEnd(ValueReader &reader)
{
    const std::optional<quint8> children = reader.readByte();
    if (!children)
        return false;
    return *children == 0 || reader.fail(QStringLiteral("Child components are not supported"));
}

void ComponentRecord::Write(ValueWriter &writer, const PersistentObject &object)
{
    WriteHeader(writer, object.ClassName(), object.Name());
    for (const PropertyDescriptor &descriptor : object.PublishedProperties().properties())
        descriptor.write(object, writer);
    writer.writeByte(0); // end of the properties
    writer.writeByte(0); // no child components
}

std::unique_ptr<PersistentObject> ComponentRecord::Read(ValueReader &reader,
                                                        const ObjectClassRegistry &registry,
                                                        ComponentNamer &namer)
{
    QByteArray className;
    QString storedName;
    if (!ReadHeader(reader, className, storedName))
        return nullptr;
    std::unique_ptr<PersistentObject> object = registry.Create(className);
    if (!object) {
        reader.fail(QStringLiteral("Unknown class %1").arg(QString::fromLatin1(className)));
        return nullptr;
    }
    object->SetReading(true);
    const bool ok = ReadProperties(reader, *object) && ReadEnd(reader);
    object->SetReading(false);
    if (!ok)
        return nullptr;
    object->SetName(namer.next(storedName));
    object->Loaded();
    return object;
}

void ComponentRecord::WriteNote(ValueWriter &writer, const TWPRtfStorage &note)
{
    WriteHeader(writer, NoteClassName, QString());
    if (!note.IsEmpty()) {
        writer.writeShortString(NoteTextPath);
        writer.writeBinary(note.RtfText());
    }
    writer.writeByte(0);
    writer.writeByte(0);
}

bool ComponentRecord::ReadNote(ValueReader &reader, TWPRtfStorage &note)
{
    QByteArray className;
    QString name;
    if (!ReadHeader(reader, className, name))
        return false;
    TWPRtfStorage stored;
    for (;;) {
        const std::optional<QByteArray> path = reader.readShortString();
        if (!path)
            return false;
        if (path->isEmpty())
            break;
        if (path->compare(NoteTextPath, Qt::CaseInsensitive) != 0)
            return reader.fail(
                QStringLiteral("Unknown note property %1").arg(QString::fromLatin1(*path)));
        const std::optional<QByteArray> rtf = reader.readBinary();
        if (!rtf)
            return false;
        stored.SetRtfText(*rtf);
    }
    if (!ReadEnd(reader))
        return false;
    note = stored;
    return true;
}

void ComponentRecord::WriteList(ValueWriter &writer, const QList<const PersistentObject *> &objects)
{
    writer.writeListBegin();
    for (const PersistentObject *object : objects) {
        if (object)
            Write(writer, *object);
    }
    writer.writeListEnd();
}

bool ComponentRecord::SkipRecord(ValueReader &reader)
{
    QByteArray className;
    QString name;
    if (!ReadHeader(reader, className, name))
        return false;
    for (;;) {
        const std::optional<QByteArray> path = reader.readShortString();
        if (!path)
            return false;
        if (path->isEmpty())
            return ReadEnd(reader);
        if (!reader.skipValue())
            return false;
    }
}

bool ComponentRecord::PlausibleRecordAt(QByteArrayView header, Resuming &resuming)
{
    // Signature, class name, component name, first property path.
    qsizetype at = SignatureSize;
    const auto shortString = [&header, &at](QByteArrayView &text) {
        if (at >= header.size() || at + 1 + quint8(header[at]) > header.size())
            return false;
        text = header.sliced(at + 1, quint8(header[at]));
        at += 1 + text.size();
        return true;
    };
    QByteArrayView className, name, path;
    if (!shortString(className) || !shortString(name) || !shortString(path) ||
        !resuming.registry.Contains(className))
        return false;
    std::unique_ptr<PersistentObject> &prototype = resuming.prototypes[className.toByteArray()];
    if (!prototype)
        prototype = resuming.registry.Create(className);
    const qsizetype dot = path.indexOf('.');
    return prototype && (path.isEmpty() || prototype->PublishedProperties().find(
                                               path.first(dot < 0 ? path.size() : dot)) != nullptr);
}

bool ComponentRecord::ResumeAtNextRecord(ValueReader &reader, qint64 from, Resuming &resuming,
                                         int &unread)
{
    const QByteArrayView signature(Signature, SignatureSize);
    const bool onlyCounting = ++resuming.searches > MaxResumes;
    // Enough for the longest header and first property path.
    constexpr qint64 HeaderBytes = SignatureSize + 3 * 256;
    for (std::optional<qint64> at = reader.find(signature, from, HeaderBytes); at;
         at = reader.find(signature, *at + 1, HeaderBytes)) {
        if (!PlausibleRecordAt(reader.scanned(*at), resuming))
            continue;
        if (!onlyCounting)
            return reader.resumeAt(*at);
        ++unread;
    }
    return false;
}

int ComponentRecord::ReadList(ValueReader &reader, const ObjectClassRegistry &registry,
                              ComponentNamer &namer, PersistentObjectList &objects, QString *error)
{
    int unread = 0;
    Resuming resuming{registry, {}, 0};
    bool ended = false;
    QString firstError;
    const auto noteFailure = [&] {
        if (firstError.isEmpty())
            firstError = reader.errorString();
    };
    std::optional<qint64> start = reader.position();
    bool reading = reader.readListBegin();
    if (!reading) {
        noteFailure();
        reading = start && ResumeAtNextRecord(reader, *start + 1, resuming, unread);
    }
    while (reading) {
        start = reader.position();
        if (reader.atEndOfList()) {
            ended = reader.readListEnd();
            break;
        }
        if (!reader.ok()) { // the data ends inside the list
            noteFailure();
            break;
        }
        std::unique_ptr<PersistentObject> object;
        if (objects.size() < MaxObjects)
            object = Read(reader, registry, namer);
        else
            reader.fail(QStringLiteral("More than %1 objects").arg(MaxObjects));
        if (object) {
            objects.push_back(std::move(object));
            continue;
        }
        noteFailure();
        ++unread;
        if (!start)
            break;
        if (!reader.resumeAt(*start) || !SkipRecord(reader))
            reading = ResumeAtNextRecord(reader, *start + 1, resuming, unread);
    }
    if (!ended) {
        // Whatever followed the break is gone.
        if (firstError.isEmpty())
            firstError = QStringLiteral("The list of objects does not end");
        unread = std::max(unread, 1);
    }
    SetError(error, firstError);
    return unread;
}

bool ComponentRecord::WriteObject(const PersistentObject &object, QIODevice &device, QString *error)
{
    ValueWriter writer(device);
    Write(writer, object);
    SetError(error, writer.errorString());
    return writer.ok();
}

std::unique_ptr<PersistentObject> ComponentRecord::ReadObject(QIODevice &device,
                                                              const ObjectClassRegistry &registry,
                                                              const QStringList &namesInUse,
                                                              QString *error)
{
    ValueReader reader(device);
    ComponentNamer namer(namesInUse);
    std::unique_ptr<PersistentObject> object = Read(reader, registry, namer);
    SetError(error, reader.errorString());
    return object;
}

bool ComponentRecord::WriteObjects(const QList<const PersistentObject *> &objects,
                                   QIODevice &device, QString *error)
{
    ValueWriter writer(device);
    WriteList(writer, objects);
    SetError(error, writer.errorString());
    return writer.ok();
}

PersistentObjectList ComponentRecord::ReadObjects(QIODevice &device,
                                                  const ObjectClassRegistry &registry,
                                                  const QStringList &namesInUse, QString *error)
{
    ValueReader reader(device);
    ComponentNamer namer(namesInUse);
    PersistentObjectList objects;
    ReadList(reader, registry, namer, objects, error);
    return objects;
}

} // namespace Dayloom
