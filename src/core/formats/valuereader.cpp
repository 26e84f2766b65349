#include "core/formats/valuereader.h"

#include "core/common/windows1252.h"
#include "core/formats/extendedfloat.h"

#include <QtEndian>

#include <algorithm>

namespace Dayloom {

namespace {
// Sequential devices do not know what remains: read them in pieces so that
// memory grows only with the data actually received.
constexpr qint64 SequentialChunk = 64 * 1024;

bool IsIntegerTag(quint8 tag)
{
    return tag == quint8(ValueTag::Int8) || tag == quint8(ValueTag::Int16) ||
           tag == quint8(ValueTag::Int32);
}
} // namespace

ValueReader::ValueReader(QIODevice &device) : m_device(device)
{
    if (!device.isSequential()) {
        m_start = device.pos();
        m_size = device.size(); // a file's size costs a system call: ask once
    }
}

qint64 ValueReader::remaining() const
{
    return m_size - m_device.pos();
}

std::optional<qint64> ValueReader::position() const
{
    if (m_device.isSequential())
        return std::nullopt;
    return m_device.pos() - m_start;
}

bool ValueReader::resumeAt(qint64 position)
{
    if (m_device.isSequential() || position < 0 || position > m_size - m_start)
        return false;
    if (!m_device.seek(m_start + position))
        return false;
    m_ok = true;
    m_error.clear();
    return true;
}

bool ValueReader::scanFrom(qint64 position, qint64 size)
{
    m_scanStart = -1;
    if (!m_device.seek(m_start + position))
        return false;
    m_scan = m_device.read(size);
    m_scanStart = position;
    return true;
}

std::optional<qint64> ValueReader::find(QByteArrayView bytes, qint64 from, qint64 lookahead)
{
    if (m_device.isSequential() || bytes.isEmpty())
        return std::nullopt;
    // Pieces overlap by one byte less than the pattern, so that no
    // occurrence is cut in two. The last piece is kept: a search for the
    // next occurrence usually starts inside it.
    const qint64 overlap = bytes.size() - 1;
    const qint64 pieceSize = SequentialChunk + overlap;
    const qint64 wanted = std::clamp<qint64>(lookahead, bytes.size(), pieceSize);
    for (qint64 at = std::max<qint64>(from, 0); m_start + at < m_size;) {
        if (m_scanStart < 0 || at < m_scanStart ||
            at + bytes.size() > m_scanStart + m_scan.size()) {
            if (!scanFrom(at, pieceSize) || m_scan.size() < bytes.size())
                return std::nullopt;
        }
        const qsizetype hit = m_scan.indexOf(bytes, at - m_scanStart);
        const bool lastPiece = m_start + m_scanStart + m_scan.size() >= m_size;
        if (hit >= 0) {
            const qint64 found = m_scanStart + hit;
            if (hit + wanted > m_scan.size() && !lastPiece && !scanFrom(found, pieceSize))
                return std::nullopt;
            return found;
        }
        if (lastPiece)
            return std::nullopt;
        at = m_scanStart + m_scan.size() - overlap;
    }
    return std::nullopt;
}

QByteArrayView ValueReader::scanned(qint64 position) const
{
    if (m_scanStart < 0 || position < m_scanStart || position > m_scanStart + m_scan.size())
        return QByteArrayView();
    return QByteArrayView(m_scan).sliced(position - m_scanStart);
}

bool ValueReader::fail(const QString &message)
{
    if (m_ok) {
        m_ok = false;
        const qint64 offset = m_device.isSequential() ? -1 : m_device.pos() - m_start;
        m_error = offset >= 0 ? message + QStringLiteral(" at byte %1").arg(offset) : message;
    }
    return false;
}

bool ValueReader::failUnexpected(quint8 tag, const char *what)
{
    return fail(QStringLiteral("Expected %1, found tag %2").arg(QLatin1String(what)).arg(tag));
}

std::optional<quint8> ValueReader::peekByte()
{
    char c = 0;
    if (!m_ok || m_device.peek(&c, 1) != 1)
        return std::nullopt;
    return static_cast<quint8>(c);
}

bool ValueReader::atEndOfList()
{
    const std::optional<quint8> next = peekByte();
    if (!next) {
        fail(QStringLiteral("Unexpected end of data"));
        return false;
    }
    return *next == quint8(ValueTag::EndOfList);
}

std::optional<quint8> ValueReader::readByte()
{
    char c = 0;
    if (!m_ok)
        return std::nullopt;
    if (!m_device.getChar(&c)) {
        fail(QStringLiteral("Unexpected end of data"));
        return std::nullopt;
    }
    return static_cast<quint8>(c);
}

std::optional<quint8> ValueReader::readTag(const char *what)
{
    char c = 0;
    if (!m_ok)
        return std::nullopt;
    if (!m_device.getChar(&c)) {
        fail(QStringLiteral("Unexpected end of data where %1 was expected")
                 .arg(QLatin1String(what)));
        return std::nullopt;
    }
    return static_cast<quint8>(c);
}

bool ValueReader::expectTag(ValueTag tag, const char *what)
{
    const std::optional<quint8> found = readTag(what);
    if (!found)
        return false;
    return *found == quint8(tag) || failUnexpected(*found, what);
}

std::optional<QByteArray> ValueReader::readRaw(qint64 size)
{
    if (!m_ok)
        return std::nullopt;
    if (size < 0 || size > MaxValueBytes) {
        fail(QStringLiteral("Value of %1 bytes is too long").arg(size));
        return std::nullopt;
    }
    if (size == 0)
        return QByteArray();
    if (!m_device.isSequential()) {
        if (size > remaining()) {
            fail(QStringLiteral("Length %1 runs past the end of the data").arg(size));
            return std::nullopt;
        }
        QByteArray bytes(size, Qt::Uninitialized);
        if (m_device.read(bytes.data(), size) != size) {
            fail(QStringLiteral("Unexpected end of data"));
            return std::nullopt;
        }
        return bytes;
    }
    QByteArray bytes;
    while (bytes.size() < size) {
        const QByteArray piece = m_device.read(std::min(SequentialChunk, size - bytes.size()));
        if (piece.isEmpty()) {
            fail(QStringLiteral("Unexpected end of data"));
            return std::nullopt;
        }
        bytes += piece;
    }
    return bytes;
}

bool ValueReader::skipRaw(qint64 size)
{
    if (!m_device.isSequential()) {
        if (!m_ok)
            return false;
        if (size < 0 || size > remaining())
            return fail(QStringLiteral("Length %1 runs past the end of the data").arg(size));
        return m_device.seek(m_device.pos() + size) || fail(QStringLiteral("Seek failed"));
    }
    return readRaw(size).has_value();
}

std::optional<quint32> ValueReader::readUInt32()
{
    char bytes[4];
    if (!m_ok)
        return std::nullopt;
    if (m_device.read(bytes, 4) != 4) {
        fail(QStringLiteral("Unexpected end of data"));
        return std::nullopt;
    }
    return qFromLittleEndian<quint32>(bytes);
}

std::optional<QByteArray> ValueReader::readShortString()
{
    const std::optional<quint8> size = readByte();
    if (!size)
        return std::nullopt;
    return readRaw(*size);
}

std::optional<qint32> ValueReader::readIntegerPayload(quint8 tag)
{
    const qint64 size = tag == quint8(ValueTag::Int8) ? 1 : tag == quint8(ValueTag::Int16) ? 2 : 4;
    char bytes[4];
    if (m_device.read(bytes, size) != size) {
        fail(QStringLiteral("Unexpected end of data in an integer"));
        return std::nullopt;
    }
    if (size == 1)
        return static_cast<qint8>(bytes[0]);
    if (size == 2)
        return qFromLittleEndian<qint16>(bytes);
    return qFromLittleEndian<qint32>(bytes);
}

std::optional<qint32> ValueReader::readInteger()
{
    const std::optional<quint8> tag = readTag("an integer");
    if (!tag)
        return std::nullopt;
    if (!IsIntegerTag(*tag)) {
        failUnexpected(*tag, "an integer");
        return std::nullopt;
    }
    return readIntegerPayload(*tag);
}

std::optional<double> ValueReader::readExtended()
{
    const std::optional<quint8> tag = readTag("a real number");
    if (!tag)
        return std::nullopt;
    if (IsIntegerTag(*tag)) {
        const std::optional<qint32> value = readIntegerPayload(*tag);
        return value ? std::optional<double>(*value) : std::nullopt;
    }
    if (*tag != quint8(ValueTag::Extended)) {
        failUnexpected(*tag, "a real number");
        return std::nullopt;
    }
    ExtendedBytes bytes{};
    if (m_device.read(reinterpret_cast<char *>(bytes.data()), qint64(bytes.size())) !=
        qint64(bytes.size())) {
        fail(QStringLiteral("Unexpected end of data in a real number"));
        return std::nullopt;
    }
    return ExtendedToDouble(bytes);
}

std::optional<QString> ValueReader::readStringPayload(quint8 tag)
{
    switch (static_cast<ValueTag>(tag)) {
    case ValueTag::String: {
        const std::optional<QByteArray> bytes = readShortString();
        return bytes ? std::optional<QString>(DecodeWindows1252(*bytes)) : std::nullopt;
    }
    case ValueTag::LongString: {
        const std::optional<quint32> size = readUInt32();
        const std::optional<QByteArray> bytes = size ? readRaw(*size) : std::nullopt;
        return bytes ? std::optional<QString>(DecodeWindows1252(*bytes)) : std::nullopt;
    }
    case ValueTag::Utf8String: {
        const std::optional<quint32> size = readUInt32();
        const std::optional<QByteArray> bytes = size ? readRaw(*size) : std::nullopt;
        return bytes ? std::optional<QString>(QString::fromUtf8(*bytes)) : std::nullopt;
    }
    case ValueTag::WideString: {
        const std::optional<quint32> count = readUInt32();
        const std::optional<QByteArray> bytes = count ? readRaw(qint64(*count) * 2) : std::nullopt;
        if (!bytes)
            return std::nullopt;
        QString text(qsizetype(*count), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(qFromLittleEndian<quint16>(bytes->constData() + 2 * i));
        return text;
    }
    default:
        failUnexpected(tag, "a string");
        return std::nullopt;
    }
}

std::optional<QString> ValueReader::readString()
{
    const std::optional<quint8> tag = readTag("a string");
    return tag ? readStringPayload(*tag) : std::nullopt;
}

std::optional<QByteArray> ValueReader::readIdentifier()
{
    if (!expectTag(ValueTag::Identifier, "an identifier"))
        return std::nullopt;
    return readShortString();
}

std::optional<bool> ValueReader::readBoolean()
{
    const std::optional<quint8> tag = readTag("a boolean");
    if (!tag)
        return std::nullopt;
    return *tag == quint8(ValueTag::True);
}

std::optional<QByteArray> ValueReader::readBinary()
{
    if (!expectTag(ValueTag::Binary, "binary data"))
        return std::nullopt;
    const std::optional<quint32> size = readUInt32();
    return size ? readRaw(*size) : std::nullopt;
}

std::optional<QList<QByteArray>> ValueReader::readSet()
{
    if (!expectTag(ValueTag::Set, "a set"))
        return std::nullopt;
    QList<QByteArray> elements;
    for (;;) {
        const std::optional<QByteArray> element = readShortString();
        if (!element)
            return std::nullopt;
        if (element->isEmpty())
            return elements;
        elements.append(*element);
    }
}

bool ValueReader::skipCollection(int depth)
{
    // Items: an optional integer index, then a list of property entries.
    while (!atEndOfList()) {
        if (!m_ok)
            return false;
        const std::optional<quint8> next = peekByte();
        if (next && IsIntegerTag(*next) && !readInteger())
            return false;
        if (!readListBegin())
            return false;
        while (!atEndOfList()) {
            if (!m_ok || !readShortString() || !skipValue(depth + 1))
                return false;
        }
        if (!readListEnd())
            return false;
    }
    return m_ok && readListEnd();
}

bool ValueReader::skipValue(int depth)
{
    if (depth > MaxNesting)
        return fail(QStringLiteral("Values nested too deeply"));
    const std::optional<quint8> tag = readTag("a value");
    if (!tag)
        return false;
    switch (static_cast<ValueTag>(*tag)) {
    case ValueTag::EndOfList:
    case ValueTag::False:
    case ValueTag::True:
    case ValueTag::Nil:
        return true;
    case ValueTag::List:
        while (!atEndOfList()) {
            if (!m_ok || !skipValue(depth + 1))
                return false;
        }
        return m_ok && readListEnd();
    case ValueTag::Int8:
        return skipRaw(1);
    case ValueTag::Int16:
        return skipRaw(2);
    case ValueTag::Int32:
        return skipRaw(4);
    case ValueTag::Extended:
        return skipRaw(10);
    case ValueTag::String:
    case ValueTag::Identifier: {
        const std::optional<quint8> size = readByte();
        return size && skipRaw(*size);
    }
    case ValueTag::Binary:
    case ValueTag::LongString:
    case ValueTag::Utf8String: {
        const std::optional<quint32> size = readUInt32();
        return size && skipRaw(*size);
    }
    case ValueTag::WideString: {
        const std::optional<quint32> count = readUInt32();
        return count && skipRaw(qint64(*count) * 2);
    }
    case ValueTag::Set:
        for (;;) {
            const std::optional<quint8> size = readByte();
            if (!size)
                return false;
            if (*size == 0)
                return true;
            if (!skipRaw(*size))
                return false;
        }
    case ValueTag::Collection:
        return skipCollection(depth);
    }
    return failUnexpected(*tag, "a value");
}

} // namespace Dayloom
