#pragma once

#include "core/formats/valuetag.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>

#include <optional>

namespace Dayloom {

// Reads the tagged value stream from a device, treating the input as
// hostile: every length is checked against the bytes that remain before
// anything is allocated, nesting is bounded and nothing is read past the end.
//
// Each read returns its value, or nothing when the next value does not fit;
// the first failure is remembered (ok() turns false, errorString() says what
// and where) and every later read fails at once. Where an integer is
// expected any integer tag is accepted, where a string is expected any string
// tag (short, long, UTF-16 or UTF-8); where a boolean is expected the true
// tag reads as true and any other byte as false.
class ValueReader
{
public:
    // Longest string or binary value accepted.
    static constexpr qint64 MaxValueBytes = 256 * 1024 * 1024;
    // Deepest nesting of lists and collections that skipValue() follows.
    static constexpr int MaxNesting = 64;

    explicit ValueReader(QIODevice &device);

    bool ok() const { return m_ok; }
    const QString &errorString() const { return m_error; }
    // Records a failure (only the first is kept) and returns false.
    bool fail(const QString &message);

    // The next tag without consuming it; nothing at the end of the data.
    std::optional<quint8> peekByte();
    // True when the next byte is an end-of-list tag (not consumed). False at
    // the end of the data, which is then recorded as a failure.
    bool atEndOfList();

    bool readListBegin() { return expectTag(ValueTag::List, "list"); }
    bool readListEnd() { return expectTag(ValueTag::EndOfList, "end of list"); }
    bool readCollectionBegin() { return expectTag(ValueTag::Collection, "collection"); }
    bool readNil() { return expectTag(ValueTag::Nil, "nil"); }
    std::optional<qint32> readInteger();
    // An extended float; an integer is accepted too.
    std::optional<double> readExtended();
    std::optional<QString> readString();
    std::optional<QByteArray> readIdentifier();
    std::optional<bool> readBoolean();
    std::optional<QByteArray> readBinary();
    std::optional<QList<QByteArray>> readSet();
    // Skips one value of any kind, lists and collections included.
    bool skipValue() { return skipValue(0); }

    // --- going back after damage (random-access devices only) ----------------
    // Where the next read starts, counted from where reading began; nothing
    // on a sequential device, which cannot go back.
    std::optional<qint64> position() const;
    // Forgets a failure and reads on from `position` (a value of
    // position()). False on a sequential device or outside the data.
    bool resumeAt(qint64 position);
    // Where `bytes` next occur at or after `from` (counted as position()
    // counts); nothing when they do not, or on a sequential device. Reads
    // through the data in pieces, the last of which holds at least
    // `lookahead` bytes (up to 64 KiB) from the occurrence on, as far as
    // the data goes (see scanned()). The read position is left anywhere, so
    // resumeAt() follows.
    std::optional<qint64> find(QByteArrayView bytes, qint64 from, qint64 lookahead = 0);
    // The bytes of the piece find() read last, from `position` on (empty
    // outside it).
    QByteArrayView scanned(qint64 position) const;

    // Untagged pieces of component records.
    std::optional<quint8> readByte();
    std::optional<QByteArray> readShortString();
    std::optional<quint32> readUInt32();
    // Exactly `size` bytes; fails without allocating when fewer remain.
    std::optional<QByteArray> readRaw(qint64 size);

private:
    bool expectTag(ValueTag tag, const char *what);
    std::optional<quint8> readTag(const char *what);
    std::optional<QString> readStringPayload(quint8 tag);
    std::optional<qint32> readIntegerPayload(quint8 tag);
    bool skipValue(int depth);
    bool skipCollection(int depth);
    bool skipRaw(qint64 size);
    // Reads the piece find() searches, `size` bytes from `position`.
    bool scanFrom(qint64 position, qint64 size);
    bool failUnexpected(quint8 tag, const char *what);
    // Bytes left on a random-access device.
    qint64 remaining() const;

    QIODevice &m_device;
    qint64 m_start = 0;
    qint64 m_size = 0;
    bool m_ok = true;
    QString m_error;
    QByteArray m_scan;       // the piece find() read last
    qint64 m_scanStart = -1; // its position; -1 for none
};

} // namespace Dayloom
