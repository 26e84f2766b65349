#include "core/graphics/iconlibrarywriter.h"

#include "core/graphics/rasterbytes.h"
#include "core/io/saveatomically.h"

#include <QBuffer>
#include <QFile>

namespace Dayloom {

namespace {

constexpr int MaxShift = 15;
constexpr int PngFromSide = 256;
constexpr qint64 DosHeaderSize = 64;
constexpr qint64 NeHeaderSize = 64;
constexpr qint64 NameInfoSize = 12;
constexpr quint16 GroupIconType = 0x8000 | 14;
constexpr quint16 IconType = 0x8000 | 3;

void Put16(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void Put32(QByteArray &out, quint32 v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

void Set16(QByteArray &out, qint64 at, quint32 v)
{
    out[at] = char(v & 0xff);
    out[at + 1] = char((v >> 8) & 0xff);
}

void Set32(QByteArray &out, qint64 at, quint32 v)
{
    Set16(out, at, v & 0xffff);
    Set16(out, at + 2, v >> 16);
}

// The bytes of a group-icon resource for images numbered from firstId.
QByteArray GroupResource(const QList<QImage> &images, const QList<QByteArray> &data, int firstId)
{
    QByteArray out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, quint32(images.size()));
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage &image = images[i];
        out.append(char(image.width() >= 256 ? 0 : image.width()));
        out.append(char(image.height() >= 256 ? 0 : image.height()));
        out.append(char(0)); // colours: none, true colour
        out.append(char(0));
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, quint32(data[i].size()));
        Put16(out, quint32(firstId + i));
    }
    return out;
}

// A length-prefixed string of a name table.
void PutName(QByteArray &out, const QByteArray &name)
{
    out.append(char(name.size()));
    out.append(name);
}

} // namespace

void IconLibraryWriter::SetAlignmentShift(int shift)
{
    m_shift = qBound(0, shift, MaxShift);
}

int IconLibraryWriter::AlignmentShift() const
{
    return m_shift;
}

void IconLibraryWriter::AddIcon(const IconGroup &images)
{
    m_icons.append(images);
}

int IconLibraryWriter::Count() const
{
    return int(m_icons.size());
}

QByteArray IconLibraryWriter::EncodeImage(const QImage &source)
{
    if (source.width() >= PngFromSide || source.height() >= PngFromSide) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        source.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
        return png;
    }
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width(), height = image.height();
    const qint64 maskStride = (width + 31) / 32 * 4;
    QByteArray out;
    Put32(out, 40);
    Put32(out, quint32(width));
    Put32(out, quint32(2 * height));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0); // plain pixels
    Put32(out, quint32(qint64(width) * height * 4 + maskStride * height));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    out.reserve(out.size() + qint64(width) * height * 4 + maskStride * height);
    for (int y = height - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
            out.append(char(qAlpha(line[x])));
        }
    }
    // The mask: set where the image is fully transparent.
    for (int y = height - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QByteArray mask(maskStride, 0);
        for (int x = 0; x < width; ++x)
            if (qAlpha(line[x]) == 0)
                mask[x / 8] = char(uchar(mask[x / 8]) | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

bool IconLibraryWriter::Write(QIODevice &device, QString *error) const
{
    // The resources: all group icons, then all icon images.
    QList<QByteArray> groups, images;
    int nextId = 1;
    for (const IconGroup &icon : m_icons) {
        QList<QImage> kept;
        QList<QByteArray> data;
        for (const QImage &image : icon) {
            if (image.isNull() || image.width() > 256 || image.height() > 256)
                continue;
            kept.append(image);
            data.append(EncodeImage(image));
        }
        if (kept.isEmpty())
            return RasterBytes::Fail(
                error,
                QStringLiteral("icon %1 has no image of at most 256 pixels").arg(groups.size()));
        groups.append(GroupResource(kept, data, nextId));
        images.append(data);
        nextId += int(kept.size());
    }
    if (groups.size() > 0x7fff || images.size() > 0x7fff)
        return RasterBytes::Fail(error, QStringLiteral("the icon library holds too many icons"));

    // The tables between the headers and the resources.
    const QByteArray moduleName("ICONS");
    QByteArray resident;
    PutName(resident, moduleName);
    Put16(resident, 0);
    resident.append(char(0));
    const QByteArray entryTable(2, 0);
    QByteArray nonResident;
    PutName(nonResident, QByteArrayLiteral("Dayloom icon library"));
    Put16(nonResident, 0);
    nonResident.append(char(0));
    const qint64 resourceTable = NeHeaderSize;
    const qint64 resourceTableSize =
        2 + 8 + groups.size() * NameInfoSize + 8 + images.size() * NameInfoSize + 2 + 1;
    const qint64 residentAt = resourceTable + resourceTableSize;
    const qint64 entryAt = residentAt + resident.size();
    const qint64 nonResidentAt = DosHeaderSize + entryAt + entryTable.size();
    const qint64 tablesEnd = nonResidentAt + nonResident.size();

    // The smallest shift from the one asked for at which every resource's
    // offset and length fit in 16 bits.
    int shift = m_shift;
    for (;; ++shift) {
        if (shift > MaxShift)
            return RasterBytes::Fail(error, QStringLiteral("the icon library is too large"));
        const qint64 unit = qint64(1) << shift;
        qint64 at = (tablesEnd + unit - 1) / unit;
        bool fits = true;
        for (const QList<QByteArray> *list : {&groups, &images})
            for (const QByteArray &data : *list) {
                const qint64 units = (data.size() + unit - 1) / unit;
                fits = fits && units <= 0xffff && at <= 0xffff;
                at += units;
            }
        if (fits)
            break;
    }
    const qint64 unit = qint64(1) << shift;

    QByteArray out(DosHeaderSize, 0);
    out[0] = 'M';
    out[1] = 'Z';
    Set16(out, 0x18, 0x40); // new-style executable
    Set32(out, 0x3C, quint32(DosHeaderSize));

    QByteArray ne(NeHeaderSize, 0);
    ne[0] = 'N';
    ne[1] = 'E';
    ne[2] = 5; // linker version
    Set16(ne, 0x04, quint32(entryAt));
    Set16(ne, 0x06, quint32(entryTable.size()));
    Set16(ne, 0x0C, 0x8000);                 // a library module
    Set16(ne, 0x22, quint32(resourceTable)); // no segments
    Set16(ne, 0x24, quint32(resourceTable));
    Set16(ne, 0x26, quint32(residentAt));
    Set16(ne, 0x28, quint32(entryAt)); // no module references
    Set16(ne, 0x2A, quint32(entryAt)); // no imported names
    Set32(ne, 0x2C, quint32(nonResidentAt));
    Set16(ne, 0x20, quint32(nonResident.size()));
    Set16(ne, 0x32, quint32(shift));
    Set16(ne, 0x34, quint32(groups.size() + images.size()));
    ne[0x36] = 2;            // Windows
    Set16(ne, 0x3E, 0x0300); // expected Windows version 3.0

    QByteArray table;
    Put16(table, quint32(shift));
    qint64 at = (tablesEnd + unit - 1) / unit;
    int groupId = 1, imageId = 1;
    for (const auto &[type, list] :
         {std::pair{GroupIconType, &groups}, std::pair{IconType, &images}}) {
        Put16(table, type);
        Put16(table, quint32(list->size()));
        Put32(table, 0);
        for (const QByteArray &data : *list) {
            const qint64 units = (data.size() + unit - 1) / unit;
            Put16(table, quint32(at));
            Put16(table, quint32(units));
            Put16(table, 0x0030); // movable, pure
            Put16(table, 0x8000 | quint32(type == GroupIconType ? groupId++ : imageId++));
            Put32(table, 0);
            at += units;
        }
    }
    Put16(table, 0);       // end of types
    table.append(char(0)); // no resource names
    Q_ASSERT(table.size() == resourceTableSize);

    out += ne + table + resident + entryTable + nonResident;
    Q_ASSERT(out.size() == tablesEnd);
    for (const QList<QByteArray> *list : {&groups, &images})
        for (const QByteArray &data : *list) {
            out.append(QByteArray((unit - out.size() % unit) % unit, 0));
            out.append(data);
        }
    out.append(QByteArray((unit - out.size() % unit) % unit, 0));
    if (device.write(out) != out.size())
        return RasterBytes::Fail(
            error,
            QStringLiteral("the icon library cannot be written: %1").arg(device.errorString()));
    return true;
}

bool IconLibraryWriter::Save(const QString &path, QString *error) const
{
    return SaveAtomically(
        path, error, [this](QIODevice &device, QString *error) { return Write(device, error); });
}

} // namespace Dayloom
