#include "core/graphics/iconlibrary.h"

#include "core/graphics/iconreader.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/rasterbytes.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSet>

#include <algorithm>

namespace Dayloom {

using namespace RasterBytes;

namespace {

constexpr quint32 IconType = 3;       // resource type of one icon image
constexpr quint32 GroupIconType = 14; // resource type of an icon's directory
constexpr qint64 GroupHeaderSize = 6;
constexpr qint64 FileEntrySize = 16;     // entry of an icon file's directory
constexpr qint64 ResourceEntrySize = 14; // entry of a group-icon resource
constexpr int MaxDecodeTries = 8;
// Bounds that keep one icon cheap whatever the file says: images a group
// may list (real icons have a handful), and the largest image decoded.
constexpr qint64 MaxImagesInGroup = 256;
constexpr int MaxIconSide = 1024;

// Bounds-checked reads of the file's bytes: reads out of range give 0.
class Bytes
{
public:
    explicit Bytes(const QByteArray &bytes) : m_data(Data(bytes)), m_size(bytes.size()) {}

    qint64 Size() const { return m_size; }
    bool Has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    quint32 U16(qint64 offset) const { return Has(offset, 2) ? Le16(m_data + offset) : 0; }
    quint32 U32(qint64 offset) const { return Has(offset, 4) ? Le32(m_data + offset) : 0; }

private:
    const uchar *m_data;
    qint64 m_size;
};

// A group directory's header: reserved 0, type 1 (icon), at least one image.
bool IsGroupHeader(const Bytes &bytes, qint64 offset, qint64 length)
{
    return length >= GroupHeaderSize && bytes.Has(offset, GroupHeaderSize) &&
           bytes.U16(offset) == 0 && bytes.U16(offset + 2) == 1 && bytes.U16(offset + 4) > 0;
}

// One image of a group and how well it serves the size asked for.
struct Candidate
{
    qint64 offset = 0;
    qint64 length = 0;
    int side = 0; // the smaller of width and height
    qint64 area = 0;
    int bits = 0;
};

// Best first: the exact size, then the nearest larger one (shrinking keeps
// detail), then the nearest smaller one; more colours first among equals.
bool Better(const Candidate &a, const Candidate &b, int size)
{
    const auto rank = [size](const Candidate &c) {
        return c.side == size ? 0 : c.side > size ? 1 : 2;
    };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb;
    if (a.area != b.area)
        return ra == 2 ? a.area > b.area : a.area < b.area;
    return a.bits > b.bits;
}

// The icon of `size` pixels from the best of the candidates that decodes.
QImage MakeIcon(const QByteArray &file, const QList<Candidate> &candidates, int size)
{
    QImage image;
    for (qsizetype i = 0; i < candidates.size() && i < MaxDecodeTries && image.isNull(); ++i) {
        const Candidate &c = candidates[i];
        const QByteArray bytes =
            QByteArray::fromRawData(file.constData() + c.offset, qsizetype(c.length));
        if (!IconReader::ReadImage(bytes, image, nullptr))
            image = QImage();
    }
    if (image.isNull() || image.width() > MaxIconSide || image.height() > MaxIconSide)
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.size() == QSize(size, size))
        return image;
    // Another size: fit it in the square, keeping its proportions.
    const QImage scaled = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (scaled.size() == QSize(size, size))
        return scaled;
    QImage square(size, size, QImage::Format_ARGB32_Premultiplied);
    if (square.isNull())
        return {};
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return square;
}

} // namespace

bool IconLibrary::Load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Clear();
        return Fail(error, file.errorString());
    }
    return Read(file, error);
}

bool IconLibrary::Read(QIODevice &device, QString *error)
{
    Clear();
    if (!device.isReadable())
        return Fail(error, QStringLiteral("the icon file cannot be read"));
    const QString tooLarge =
        QStringLiteral("the icon file is larger than %1 MiB").arg(MaxFileBytes / (1024 * 1024));
    if (!device.isSequential() && device.size() - device.pos() > MaxFileBytes)
        return Fail(error, tooLarge);
    const QString unreadable = QStringLiteral("the icon file cannot be read: %1");
    if (auto *buffer = qobject_cast<QBuffer *>(&device); buffer && device.pos() == 0) {
        // The buffer's bytes are shared, not copied.
        m_bytes = buffer->data();
        device.seek(m_bytes.size());
    } else if (!device.isSequential()) {
        m_bytes.resize(qMax<qint64>(0, device.size() - device.pos()));
        const qint64 got = device.read(m_bytes.data(), m_bytes.size());
        if (got < 0) {
            Clear();
            return Fail(error, unreadable.arg(device.errorString()));
        }
        m_bytes.truncate(got);
    } else {
        m_bytes = device.read(MaxFileBytes + 1);
        if (m_bytes.size() > MaxFileBytes) {
            Clear();
            return Fail(error, tooLarge);
        }
    }

    const Bytes b(m_bytes);
    if (b.Has(0, 2) && m_bytes[0] == 'M' && m_bytes[1] == 'Z') {
        const qint64 header = b.U32(0x3C);
        if (b.Has(header, 4) && m_bytes[header] == 'N' && m_bytes[header + 1] == 'E')
            ReadNewExecutable(header);
        else if (b.Has(header, 4) && b.U32(header) == 0x4550) // "PE\0\0"
            ReadPortableExecutable(header);
    } else if (IsGroupHeader(b, 0, b.Size())) {
        ReadIconFile();
    }
    if (m_groups.isEmpty())
        Clear();
    return true;
}

int IconLibrary::Count() const
{
    return int(m_groups.size());
}

QImage IconLibrary::Icon(int index, int size) const
{
    if (size <= 0 || size > MaxIconSide)
        return {};
    const QList<Span> images = Images(index);
    QList<Candidate> candidates;
    for (const Span &span : images) {
        Candidate c{span.offset, span.length};
        int width = 0, height = 0;
        if (!IconReader::Measure(reinterpret_cast<const uchar *>(m_bytes.constData()) + span.offset,
                                 span.length, width, height, c.bits) ||
            width > MaxIconSide || height > MaxIconSide)
            continue;
        c.side = qMin(width, height);
        c.area = qint64(width) * height;
        candidates.append(c);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [size](const Candidate &a, const Candidate &b) { return Better(a, b, size); });
    if (candidates.isEmpty())
        return {};
    const Span best{candidates[0].offset, candidates[0].length};
    if (m_last && m_last->best.offset == best.offset && m_last->best.length == best.length &&
        m_last->size == size)
        return m_last->icon;
    const QImage icon = MakeIcon(m_bytes, candidates, size);
    m_last = LastIcon{best, size, icon};
    return icon;
}

void IconLibrary::Clear()
{
    m_last.reset();
    m_bytes.clear();
    m_groups.clear();
    m_icons.clear();
    m_iconFile = false;
}

void IconLibrary::AddGroup(Span group)
{
    if (m_groups.size() < MaxLibraryIcons &&
        IsGroupHeader(Bytes(m_bytes), group.offset, group.length))
        m_groups.append(group);
}

QList<IconLibrary::Span> IconLibrary::Images(int index) const
{
    QList<Span> images;
    if (index < 0 || index >= m_groups.size())
        return images;
    const Bytes b(m_bytes);
    const Span group = m_groups[index];
    const qint64 entrySize = m_iconFile ? FileEntrySize : ResourceEntrySize;
    const qint64 count = std::min({qint64(b.U16(group.offset + 4)),
                                   (group.length - GroupHeaderSize) / entrySize, MaxImagesInGroup});
    for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = group.offset + GroupHeaderSize + i * entrySize;
        Span image;
        if (m_iconFile) {
            image = {b.U32(entry + 12), b.U32(entry + 8)};
            // Writers sometimes overstate an image's length: keep what is there.
            if (image.offset < b.Size())
                image.length = qMin(image.length, b.Size() - image.offset);
        } else {
            const auto found = m_icons.constFind(b.U16(entry + 12));
            if (found == m_icons.constEnd())
                continue;
            image = *found;
        }
        if (image.length > 0 && b.Has(image.offset, image.length))
            images.append(image);
    }
    return images;
}

void IconLibrary::ReadIconFile()
{
    m_iconFile = true;
    AddGroup({0, m_bytes.size()});
}

// A 16-bit executable: its resource table lists resources by type, each as
// offset and length in units of 1 << the table's alignment shift.
void IconLibrary::ReadNewExecutable(qint64 header)
{
    const Bytes b(m_bytes);
    qint64 pos = header + b.U16(header + 0x24);
    if (!b.Has(header, 0x40) || !b.Has(pos, 2))
        return;
    const int shift = int(b.U16(pos));
    if (shift > 24)
        return;
    pos += 2;
    while (b.Has(pos, 8)) {
        const quint32 type = b.U16(pos);
        const qint64 count = b.U16(pos + 2);
        pos += 8;
        if (type == 0)
            break;
        for (qint64 i = 0; i < count && b.Has(pos, 12); ++i, pos += 12) {
            const quint32 id = b.U16(pos + 6);
            const Span data{qint64(b.U16(pos)) << shift, qint64(b.U16(pos + 2)) << shift};
            if (!b.Has(data.offset, 1))
                continue;
            // The last resource may end short of its last alignment unit.
            const Span clipped{data.offset, qMin(data.length, b.Size() - data.offset)};
            if (type == (0x8000 | GroupIconType))
                AddGroup(clipped);
            else if (type == (0x8000 | IconType) && (id & 0x8000))
                m_icons.insert(id & 0x7fff, clipped);
        }
    }
}

// A 32- or 64-bit executable: the resource directory (type, name, language)
// lies at a virtual address that the section table maps to the file.
void IconLibrary::ReadPortableExecutable(qint64 header)
{
    const Bytes b(m_bytes);
    const qint64 coff = header + 4;
    const qint64 sectionCount = b.U16(coff + 2);
    const qint64 optionalSize = b.U16(coff + 16);
    const qint64 optional = coff + 20;
    const quint32 magic = b.U16(optional);
    qint64 directories = 0, directoryCount = 0;
    if (magic == 0x10b) {
        directoryCount = b.U32(optional + 92);
        directories = optional + 96;
    } else if (magic == 0x20b) {
        directoryCount = b.U32(optional + 108);
        directories = optional + 112;
    } else {
        return;
    }
    // The resource directory is data directory 2.
    if (directoryCount < 3 || directories + 24 > optional + optionalSize || !b.Has(directories, 24))
        return;
    const quint32 resourceRva = b.U32(directories + 16);

    struct Section
    {
        quint32 address, size;
        qint64 offset, rawSize;
    };
    QList<Section> sections;
    const qint64 table = optional + optionalSize;
    for (qint64 i = 0; i < sectionCount && b.Has(table + i * 40, 40); ++i) {
        const qint64 s = table + i * 40;
        const quint32 rawSize = b.U32(s + 16);
        sections.append({b.U32(s + 12), qMax(b.U32(s + 8), rawSize), b.U32(s + 20), rawSize});
    }
    std::sort(sections.begin(), sections.end(),
              [](const Section &x, const Section &y) { return x.address < y.address; });
    // A virtual address as a file offset, or -1 outside every section's bytes.
    const auto fileOffset = [&](quint32 rva, qint64 length) -> qint64 {
        auto it = std::upper_bound(sections.cbegin(), sections.cend(), rva,
                                   [](quint32 v, const Section &s) { return v < s.address; });
        if (it == sections.cbegin())
            return -1;
        --it;
        const qint64 delta = qint64(rva) - it->address;
        if (delta >= it->size || delta + length > it->rawSize)
            return -1;
        const qint64 offset = it->offset + delta;
        return b.Has(offset, length) ? offset : -1;
    };
    const qint64 root = fileOffset(resourceRva, 16);
    if (root < 0)
        return;

    // Each directory is walked once, and the entries walked in all stay
    // within a budget the file's size sets, so that directories that share
    // or overlap their entries cost no more than the file's length.
    QSet<qint64> visited;
    qint64 budget = b.Size() / 8 + 1024;
    // The entries of the directory at offset (from the resource root) as
    // (id, offset) pairs: subdirectories flagged in the offset's top bit.
    const auto entries = [&](qint64 relative, auto &&visit) {
        const qint64 dir = root + relative;
        if (visited.contains(dir) || !b.Has(dir, 16))
            return;
        visited.insert(dir);
        const qint64 count = qint64(b.U16(dir + 12)) + b.U16(dir + 14);
        for (qint64 i = 0; i < count && budget > 0 && b.Has(dir + 16 + i * 8, 8); ++i, --budget)
            visit(b.U32(dir + 16 + i * 8), b.U32(dir + 20 + i * 8));
    };
    // The data of the first language of a named resource.
    const auto resourceData = [&](quint32 offset) -> Span {
        Span found{-1, 0};
        while (offset & 0x80000000u) { // descend to the first data entry
            quint32 next = 0;
            bool any = false;
            entries(offset & 0x7fffffff, [&](quint32, quint32 child) {
                if (!any)
                    next = child;
                any = true;
            });
            if (!any)
                return found;
            offset = next;
        }
        const qint64 entry = root + offset;
        if (!b.Has(entry, 16))
            return found;
        const quint32 size = b.U32(entry + 4);
        const qint64 data = fileOffset(b.U32(entry), size);
        if (data >= 0 && size > 0)
            found = {data, size};
        return found;
    };

    entries(0, [&](quint32 type, quint32 offset) {
        if ((type != IconType && type != GroupIconType) || !(offset & 0x80000000u))
            return;
        entries(offset & 0x7fffffff, [&](quint32 name, quint32 child) {
            const Span data = resourceData(child);
            if (data.offset < 0)
                return;
            if (type == GroupIconType)
                AddGroup(data);
            else if (!(name & 0x80000000u) && name <= 0xffff && !m_icons.contains(name))
                m_icons.insert(name, data);
        });
    });
}

} // namespace Dayloom
