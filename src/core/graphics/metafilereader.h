#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace Dayloom {

// Little-endian reads from a span of metafile bytes. Every read is bounded:
// whatever lies outside the span reads as zero, so that a record handler can
// never step past the bytes it was given; handlers check Has() before they
// trust a count.
class MetafileReader
{
public:
    MetafileReader() = default;
    MetafileReader(const char *data, qsizetype size) : m_data(data), m_size(size > 0 ? size : 0) {}
    explicit MetafileReader(const QByteArray &bytes)
        : MetafileReader(bytes.constData(), bytes.size())
    {
    }

    qsizetype Size() const { return m_size; }
    const char *Data() const { return m_data; }

    // True when count bytes starting at offset are inside the span.
    bool Has(qint64 offset, qint64 count) const
    {
        return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset;
    }

    quint8 U8(qint64 offset) const
    {
        return Has(offset, 1) ? static_cast<quint8>(m_data[offset]) : 0;
    }
    quint16 U16(qint64 offset) const
    {
        return Has(offset, 2) ? qFromLittleEndian<quint16>(m_data + offset) : 0;
    }
    qint16 I16(qint64 offset) const { return static_cast<qint16>(U16(offset)); }
    quint32 U32(qint64 offset) const
    {
        return Has(offset, 4) ? qFromLittleEndian<quint32>(m_data + offset) : 0;
    }
    qint32 I32(qint64 offset) const { return static_cast<qint32>(U32(offset)); }
    float F32(qint64 offset) const
    {
        const quint32 bits = U32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // The bytes of a part of the span; empty when it does not fit.
    QByteArray Bytes(qint64 offset, qint64 count) const
    {
        return Has(offset, count) ? QByteArray(m_data + offset, count) : QByteArray();
    }
    // A part of the span as a reader of its own (empty when it does not fit).
    MetafileReader Part(qint64 offset, qint64 count) const
    {
        return Has(offset, count) ? MetafileReader(m_data + offset, count) : MetafileReader();
    }

private:
    const char *m_data = nullptr;
    qsizetype m_size = 0;
};

} // namespace Dayloom
