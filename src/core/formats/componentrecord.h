#pragma once

#include "core/formats/componentnamer.h"
#include "core/formats/objectclassregistry.h"
#include "core/formats/persistentobject.h"
#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"
#include "core/richtext/twprtfstorage.h"

#include <QIODevice>
#include <QList>
#include <QString>

#include <map>
#include <memory>

namespace Dayloom {

// Component records: how day-cell notes and placed objects are stored in
// calendar files, on the object clipboard and when an object is cloned.
// A record is the signature "TPF0", the class name and the component name
// (short strings), property entries (path, tagged value) up to a 0 byte, and
// a 0 byte for "no child components". Only properties that differ from their
// declared default are written, in declaration order; they are read in any
// order.
class ComponentRecord
{
public:
    // Most objects one list may hold; a stream claiming more is damaged.
    static constexpr std::size_t MaxObjects = 10000;
    // Most searches for the next record one list makes after damage that
    // broke a record's structure.
    static constexpr int MaxResumes = 64;

    // --- on a value stream -----------------------------------------------------
    static void Write(ValueWriter &writer, const PersistentObject &object);
    // A new object of the stored class with the properties read and the name
    // given by `namer`, after which its Loaded() runs. Null after a failure
    // (unknown class or property, a value that does not fit, early end), which
    // the reader then holds.
    static std::unique_ptr<PersistentObject>
    Read(ValueReader &reader, const ObjectClassRegistry &registry, ComponentNamer &namer);

    // A day-cell note: class "TWPRtfStorage", no name, "RtfText.Data" only
    // when the note is not empty.
    static void WriteNote(ValueWriter &writer, const TWPRtfStorage &note);
    // Replaces `note` by the stored text (empty when the record has none).
    static bool ReadNote(ValueReader &reader, TWPRtfStorage &note);

    // A list of records: list begin, one record per object, end of list.
    static void WriteList(ValueWriter &writer, const QList<const PersistentObject *> &objects);
    // Appends the objects read to `objects` and returns how many records of
    // the list could not be read, as well as can be told (0 when the whole
    // list was read). A record that does not fit (unknown class or
    // property, a value that does not fit) is left out and reading goes on
    // with the next record. When the record's own structure is broken,
    // reading goes on at the next record signature that starts a plausible
    // record (its header names a known class and one of its properties);
    // after MaxResumes such searches the plausible records that remain are
    // only counted. Records beyond MaxObjects are left out. A list that
    // does not reach its end counts at least one record lost. A sequential device
    // cannot go back: there the list ends at the first damaged record.
    // `error` gets the first failure (empty when the list read whole).
    static int ReadList(ValueReader &reader, const ObjectClassRegistry &registry,
                        ComponentNamer &namer, PersistentObjectList &objects,
                        QString *error = nullptr);

    // --- on a device (cloning, the object clipboard) --------------------------
    // One record. Returns false with the device's reason when writing fails.
    static bool WriteObject(const PersistentObject &object, QIODevice &device,
                            QString *error = nullptr);
    // One record into a new object named "Component" + the smallest free
    // number; null with the reason after a failure.
    static std::unique_ptr<PersistentObject> ReadObject(QIODevice &device,
                                                        const ObjectClassRegistry &registry,
                                                        const QStringList &namesInUse,
                                                        QString *error = nullptr);
    static bool WriteObjects(const QList<const PersistentObject *> &objects, QIODevice &device,
                             QString *error = nullptr);
    // The objects of a list (see ReadList): records that cannot be read are
    // left out and `error` holds the first failure (it is cleared when the
    // whole list was read).
    static PersistentObjectList ReadObjects(QIODevice &device, const ObjectClassRegistry &registry,
                                            const QStringList &namesInUse,
                                            QString *error = nullptr);

private:
    static void WriteHeader(ValueWriter &writer, const QByteArray &className, const QString &name);
    static bool ReadHeader(ValueReader &reader, QByteArray &className, QString &name);
    static bool ReadEnd(ValueReader &reader);
    // One record's structure (header, property entries and their values,
    // the end bytes) without creating anything.
    static bool SkipRecord(ValueReader &reader);
    // What searches for the next record after damage keep: one object of
    // each class met (for its property list), the searches made so far.
    struct Resuming
    {
        const ObjectClassRegistry &registry;
        std::map<QByteArray, std::unique_ptr<PersistentObject>> prototypes;
        int searches = 0;
    };
    // Bytes starting with a record header that names a class of the
    // registry and whose first property path (if any) is one that class has.
    static bool PlausibleRecordAt(QByteArrayView header, Resuming &resuming);
    // Reading goes on at the first plausible record from `from` on; past
    // MaxResumes searches the plausible records found are only counted in
    // `unread`. False when reading cannot go on.
    static bool ResumeAtNextRecord(ValueReader &reader, qint64 from, Resuming &resuming,
                                   int &unread);
};

} // namespace Dayloom
