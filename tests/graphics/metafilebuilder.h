#pragma once

// Builds small Windows and enhanced metafiles record by record, for the
// player's tests, fuzz seeds and benchmark.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace Dayloom::Testing {

inline void Put16(QByteArray &bytes, int value)
{
    const quint16 v = quint16(value);
    bytes.append(char(v & 0xFF)).append(char(v >> 8));
}

inline void Put32(QByteArray &bytes, qint64 value)
{
    const quint32 v = quint32(value);
    for (int i = 0; i < 4; ++i)
        bytes.append(char((v >> (8 * i)) & 0xFF));
}

inline void PutFloat(QByteArray &bytes, float value)
{
    quint32 v;
    std::memcpy(&v, &value, 4);
    Put32(bytes, v);
}

inline quint32 Rgb(const QColor &c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

// A packed bottom-up 24-bit DIB of the image.
inline QByteArray PackedDib(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QByteArray dib;
    Put32(dib, 40);
    Put32(dib, image.width());
    Put32(dib, image.height());
    Put16(dib, 1);
    Put16(dib, 24);
    for (int i = 0; i < 6; ++i)
        Put32(dib, 0);
    const int stride = (image.width() * 3 + 3) & ~3;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            row.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
        }
        row.resize(stride, '\0');
        dib += row;
    }
    return dib;
}

// Windows metafile records; parameters are 16-bit words in file order.
class WmfBuilder
{
public:
    WmfBuilder &Record(quint16 function, std::initializer_list<int> words,
                       const QByteArray &tail = QByteArray())
    {
        QByteArray params;
        for (int w : words)
            Put16(params, w);
        params += tail;
        if (params.size() % 2)
            params.append('\0');
        Put32(m_records, 3 + params.size() / 2);
        Put16(m_records, function);
        m_records += params;
        m_maxRecord = std::max<qint64>(m_maxRecord, 3 + params.size() / 2);
        return *this;
    }
    WmfBuilder &Window(QRect r)
    {
        Record(0x020B, {r.top(), r.left()});
        return Record(0x020C, {r.height(), r.width()});
    }
    WmfBuilder &Brush(const QColor &c, int style = 0, int hatch = 0)
    {
        QByteArray t;
        Put32(t, Rgb(c));
        Put16(t, hatch);
        Record(0x02FC, {style}, t);
        return Select(m_objects++);
    }
    WmfBuilder &Pen(const QColor &c, int width, int style = 0)
    {
        QByteArray t;
        Put32(t, Rgb(c));
        Record(0x02FA, {style, width, 0}, t);
        return Select(m_objects++);
    }
    WmfBuilder &Font(int height, const QByteArray &face = "Arial", int escapement = 0)
    {
        QByteArray t = face.left(31);
        t.resize(32, '\0');
        Record(0x02FB, {height, 0, escapement, 0, 400, 0, 0, 0, 0}, t);
        return Select(m_objects++);
    }
    WmfBuilder &Select(int index) { return Record(0x012D, {index}); }
    WmfBuilder &Rectangle(QRect r)
    {
        return Record(0x041B, {r.bottom() + 1, r.right() + 1, r.top(), r.left()});
    }
    WmfBuilder &TextOut(QPoint at, const QByteArray &text)
    {
        QByteArray t = text;
        if (t.size() % 2)
            t.append('\0');
        Put16(t, at.y());
        Put16(t, at.x());
        return Record(0x0521, {int(text.size())}, t);
    }
    WmfBuilder &Polygon(const QList<QPoint> &points)
    {
        QByteArray t;
        for (QPoint p : points) {
            Put16(t, p.x());
            Put16(t, p.y());
        }
        return Record(0x0324, {int(points.size())}, t);
    }
    WmfBuilder &StretchDib(QRect dest, const QImage &image)
    {
        return StretchDib(dest, PackedDib(image), image.size());
    }
    // A packed bitmap of the given size, whatever its pixels.
    WmfBuilder &StretchDib(QRect dest, const QByteArray &dib, QSize size)
    {
        return Record(0x0F43,
                      {0x0020, 0x00CC, 0, size.height(), size.width(), 0, 0, dest.height(),
                       dest.width(), dest.top(), dest.left()},
                      dib);
    }
    // A pattern brush of a packed bitmap, selected; it takes the lowest free
    // slot, index.
    WmfBuilder &PatternBrush(const QByteArray &dib, int index)
    {
        Record(0x0142, {5, 0}, dib);
        return Select(index);
    }

    QByteArray Bytes(const QRect &placeableBox = QRect(), int unitsPerInch = 1440) const
    {
        QByteArray file;
        if (!placeableBox.isNull()) {
            QByteArray head;
            Put32(head, 0x9AC6CDD7);
            Put16(head, 0);
            Put16(head, placeableBox.left());
            Put16(head, placeableBox.top());
            Put16(head, placeableBox.right() + 1);
            Put16(head, placeableBox.bottom() + 1);
            Put16(head, unitsPerInch);
            Put32(head, 0);
            quint16 sum = 0;
            for (int i = 0; i < 20; i += 2)
                sum ^= qFromLittleEndian<quint16>(head.constData() + i);
            Put16(head, sum);
            file += head;
        }
        QByteArray records = m_records;
        Put32(records, 3);
        Put16(records, 0);
        Put16(file, 1);
        Put16(file, 9);
        Put16(file, 0x0300);
        Put32(file, 9 + records.size() / 2);
        Put16(file, m_objects);
        Put32(file, m_maxRecord);
        Put16(file, 0);
        return file + records;
    }

private:
    QByteArray m_records;
    int m_objects = 0;
    qint64 m_maxRecord = 3;
};

// Enhanced metafile records; parameters are 32-bit values after the type
// and size.
class EmfBuilder
{
public:
    EmfBuilder &Record(quint32 type, std::initializer_list<qint64> values,
                       const QByteArray &tail = QByteArray())
    {
        QByteArray data;
        for (qint64 v : values)
            Put32(data, v);
        data += tail;
        data.resize((data.size() + 3) & ~3, '\0');
        Put32(m_records, type);
        Put32(m_records, 8 + data.size());
        m_records += data;
        ++m_count;
        return *this;
    }
    EmfBuilder &Brush(const QColor &c, int style = 0, int hatch = 0)
    {
        Record(39, {m_next, style, Rgb(c), hatch});
        return Select(m_next++);
    }
    EmfBuilder &Pen(const QColor &c, int width, int style = 0)
    {
        Record(38, {m_next, style, width, 0, Rgb(c)});
        return Select(m_next++);
    }
    EmfBuilder &Font(int height, const QString &face = QStringLiteral("Arial"), int weight = 400)
    {
        QByteArray t;
        for (int i = 0; i < 32; ++i)
            Put16(t, i < face.size() ? face[i].unicode() : 0);
        t.resize(t.size() + 320 - 64, '\0'); // the rest of the extended font description
        Record(82, {m_next, height, 0, 0, 0, weight, 0, 0}, t);
        return Select(m_next++);
    }
    EmfBuilder &Select(qint64 index) { return Record(37, {index}); }
    // Room in the object table for objects made by hand with Record().
    EmfBuilder &Reserve(int handles)
    {
        m_next = std::max<qint64>(m_next, handles);
        return *this;
    }
    EmfBuilder &Rectangle(QRect r)
    {
        return Record(43, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    }
    EmfBuilder &Polygon16(const QList<QPoint> &points, quint32 type = 86)
    {
        QByteArray t;
        for (QPoint p : points) {
            Put16(t, p.x());
            Put16(t, p.y());
        }
        return Record(type, {0, 0, 0, 0, points.size()}, t);
    }
    EmfBuilder &Text(QPoint at, const QString &text, quint32 options = 0)
    {
        // Bounds, graphics mode, scales, then the text description; the
        // string follows at offset 76.
        QByteArray t;
        for (QChar c : text)
            Put16(t, c.unicode());
        Record(84, {0, 0, 0, 0, 1, 0, 0, at.x(), at.y(), text.size(), 76, options, 0, 0, 0, 0, 0},
               t);
        return *this;
    }
    EmfBuilder &StretchDiBits(QRect dest, const QImage &image)
    {
        return StretchDiBits(dest, PackedDib(image), image.size());
    }
    // A packed bitmap (with a 40-byte header) of the given size.
    EmfBuilder &StretchDiBits(QRect dest, const QByteArray &dib, QSize size)
    {
        // 80 bytes of record, then the info header (40) and the bits.
        return Record(81,
                      {0, 0, 0, 0, dest.left(), dest.top(), 0, 0, size.width(), size.height(), 80,
                       40, 120, dib.size() - 40, 0, 0x00CC0020, dest.width(), dest.height()},
                      dib);
    }
    // A pattern brush of a packed bitmap (with a 40-byte header), selected.
    EmfBuilder &PatternBrush(const QByteArray &dib)
    {
        Record(94, {m_next, 0, 32, 40, 72, dib.size() - 40}, dib);
        return Select(m_next++);
    }

    // frame in hundredths of a millimetre; a reference device of 10 pixels
    // a millimetre unless told otherwise.
    QByteArray Bytes(const QRect &frame, QSize pixels = QSize(1000, 1000),
                     QSize millimetres = QSize(100, 100)) const
    {
        QByteArray file;
        Put32(file, 1);
        Put32(file, 108);
        for (int v : {0, 0, pixels.width() - 1, pixels.height() - 1})
            Put32(file, v);
        for (int v : {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1})
            Put32(file, v);
        Put32(file, 0x464D4520);
        Put32(file, 0x10000);
        QByteArray records = m_records;
        Put32(records, 14);
        Put32(records, 20);
        for (int i = 0; i < 3; ++i)
            Put32(records, 0);
        Put32(file, 108 + records.size());
        Put32(file, m_count + 2);
        Put16(file, m_next);
        Put16(file, 0);
        for (int i = 0; i < 3; ++i)
            Put32(file, 0);
        Put32(file, pixels.width());
        Put32(file, pixels.height());
        Put32(file, millimetres.width());
        Put32(file, millimetres.height());
        for (int i = 0; i < 3; ++i)
            Put32(file, 0);
        Put32(file, millimetres.width() * 1000);
        Put32(file, millimetres.height() * 1000);
        return file + records;
    }

private:
    QByteArray m_records;
    int m_count = 0;
    qint64 m_next = 1;
};

} // namespace Dayloom::Testing
