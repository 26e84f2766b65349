#pragma once

#include "core/formats/valuetag.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

namespace Dayloom {

// Writes the tagged value stream to a device. Integers take the smallest of
// the three integer tags that holds them; strings that Windows-1252 can hold
// are written as short (under 256 bytes) or long strings, other strings as
// UTF-8 strings so that no character is lost. A failed write is remembered:
// ok() turns false and errorString() holds the device's reason.
class ValueWriter
{
public:
    explicit ValueWriter(QIODevice &device);

    bool ok() const { return m_ok; }
    const QString &errorString() const { return m_error; }

    void writeListBegin() { writeTag(ValueTag::List); }
    void writeListEnd() { writeTag(ValueTag::EndOfList); }
    void writeCollectionBegin() { writeTag(ValueTag::Collection); }
    void writeInteger(qint32 value);
    void writeExtended(double value);
    void writeString(const QString &text);
    // An enumeration value or colour name; at most 255 bytes (longer names
    // are cut).
    void writeIdentifier(const QByteArray &name);
    void writeBoolean(bool value) { writeTag(value ? ValueTag::True : ValueTag::False); }
    void writeBinary(const QByteArray &data);
    void writeSet(const QList<QByteArray> &elements);
    void writeNil() { writeTag(ValueTag::Nil); }

    // Untagged pieces of component records.
    void writeTag(ValueTag tag) { writeByte(static_cast<quint8>(tag)); }
    void writeByte(quint8 byte);
    // 1-byte length then the bytes; longer texts are cut at 255 bytes.
    void writeShortString(const QByteArray &bytes);
    void writeRaw(const char *data, qint64 size);
    void writeRaw(const QByteArray &bytes) { writeRaw(bytes.constData(), bytes.size()); }
    void writeUInt32(quint32 value);

private:
    QIODevice &m_device;
    bool m_ok = true;
    QString m_error;
};

} // namespace Dayloom
