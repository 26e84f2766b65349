#include "core/formats/valuewriter.h"

#include "core/common/windows1252.h"
#include "core/formats/extendedfloat.h"

#include <QtEndian>

#include <limits>

namespace Dayloom {

namespace {
constexpr qsizetype ShortLimit = 256;
}

ValueWriter::ValueWriter(QIODevice &device) : m_device(device) {}

void ValueWriter::writeRaw(const char *data, qint64 size)
{
    if (!m_ok || size <= 0)
        return;
    if (m_device.write(data, size) != size) {
        m_ok = false;
        m_error = m_device.errorString();
        if (m_error.isEmpty())
            m_error = QStringLiteral("Write error");
    }
}

void ValueWriter::writeByte(quint8 byte)
{
    const char c = static_cast<char>(byte);
    writeRaw(&c, 1);
}

void ValueWriter::writeUInt32(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    writeRaw(bytes, 4);
}

void ValueWriter::writeInteger(qint32 value)
{
    char bytes[5];
    qsizetype size = 0;
    if (value >= std::numeric_limits<qint8>::min() && value <= std::numeric_limits<qint8>::max()) {
        bytes[0] = static_cast<char>(ValueTag::Int8);
        bytes[1] = static_cast<char>(value);
        size = 2;
    } else if (value >= std::numeric_limits<qint16>::min() &&
               value <= std::numeric_limits<qint16>::max()) {
        bytes[0] = static_cast<char>(ValueTag::Int16);
        qToLittleEndian(static_cast<qint16>(value), bytes + 1);
        size = 3;
    } else {
        bytes[0] = static_cast<char>(ValueTag::Int32);
        qToLittleEndian(value, bytes + 1);
        size = 5;
    }
    writeRaw(bytes, size);
}

void ValueWriter::writeExtended(double value)
{
    const ExtendedBytes bytes = DoubleToExtended(value);
    writeTag(ValueTag::Extended);
    writeRaw(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
}

void ValueWriter::writeString(const QString &text)
{
    QByteArray bytes;
    if (!EncodeWindows1252(text, bytes)) {
        const QByteArray utf8 = text.toUtf8();
        writeTag(ValueTag::Utf8String);
        writeUInt32(static_cast<quint32>(utf8.size()));
        writeRaw(utf8);
        return;
    }
    if (bytes.size() < ShortLimit) {
        writeTag(ValueTag::String);
        writeShortString(bytes);
    } else {
        writeTag(ValueTag::LongString);
        writeUInt32(static_cast<quint32>(bytes.size()));
        writeRaw(bytes);
    }
}

void ValueWriter::writeIdentifier(const QByteArray &name)
{
    writeTag(ValueTag::Identifier);
    writeShortString(name);
}

void ValueWriter::writeBinary(const QByteArray &data)
{
    writeTag(ValueTag::Binary);
    writeUInt32(static_cast<quint32>(data.size()));
    writeRaw(data);
}

void ValueWriter::writeSet(const QList<QByteArray> &elements)
{
    writeTag(ValueTag::Set);
    for (const QByteArray &element : elements) {
        if (!element.isEmpty())
            writeShortString(element);
    }
    writeByte(0);
}

void ValueWriter::writeShortString(const QByteArray &bytes)
{
    const qsizetype size = std::min<qsizetype>(bytes.size(), ShortLimit - 1);
    writeByte(static_cast<quint8>(size));
    writeRaw(bytes.constData(), size);
}

} // namespace Dayloom
