#pragma once

// Icon libraries, programs and icon files written in code, for the icon
// library's tests, its fuzzing corpus and its benchmark.

#include "rastersamples.h"

#include "core/graphics/iconlibrary.h"
#include "core/graphics/iconlibrarywriter.h"
#include "core/graphics/iconreader.h"

#include <QBuffer>

namespace Dayloom::Testing {

inline int Le16(const QByteArray &bytes, qsizetype at)
{
    return uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8);
}

// The colour of icon `index` at `side` pixels: each image of a sample icon
// has its own, so a test sees which image was chosen.
inline QRgb IconColour(int index, int side)
{
    return qRgb((index * 70 + 30) & 0xff, (side * 5) & 0xff, (255 - index * 40 - side) & 0xff);
}

// A square of the icon's colour with a transparent top-left pixel.
inline QImage IconImage(int index, int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(IconColour(index, side));
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    return image;
}

// The same in 8 bits, the corner made transparent through the mask.
inline QByteArray IconImage8(int index, int side)
{
    QImage image(side, side, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), IconColour(index, side)});
    image.fill(1);
    image.setPixel(0, 0, 0);
    return MakeIconDib(image, 8);
}

// Encoded images of the sample icons: icon n has one image per side.
using EncodedIcons = QList<QList<QByteArray>>;

inline EncodedIcons EncodeIcons(const QList<QList<int>> &sides)
{
    EncodedIcons icons;
    for (qsizetype i = 0; i < sides.size(); ++i) {
        icons.append(QList<QByteArray>());
        for (int side : sides[i])
            icons.last().append(IconLibraryWriter::EncodeImage(IconImage(int(i), side)));
    }
    return icons;
}

inline QByteArray MakeIconLibrary(const QList<QList<int>> &sides, int shift)
{
    IconLibraryWriter writer;
    writer.SetAlignmentShift(shift);
    for (qsizetype i = 0; i < sides.size(); ++i) {
        QList<QImage> images;
        for (int side : sides[i])
            images.append(IconImage(int(i), side));
        writer.AddIcon(images);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writer.Write(buffer);
    return bytes;
}

// A group-icon resource naming icon resources firstId, firstId + 1, ...
inline QByteArray GroupDirectory(const QList<QByteArray> &images, int firstId)
{
    QByteArray out;
    PutLe16(out, 0);
    PutLe16(out, 1);
    PutLe16(out, int(images.size()));
    for (qsizetype i = 0; i < images.size(); ++i) {
        int width = 0, height = 0, bits = 0;
        IconReader::Measure(reinterpret_cast<const uchar *>(images[i].constData()),
                            images[i].size(), width, height, bits);
        out.append(char(width & 0xff));
        out.append(char(height & 0xff));
        PutLe16(out, 0);
        PutLe16(out, 1);
        PutLe16(out, bits);
        PutLe32(out, quint32(images[i].size()));
        PutLe16(out, firstId + int(i));
    }
    return out;
}

// A 32-bit (or with plus, 64-bit) program whose one section ".rsrc" holds
// the icons as icon and group-icon resources.
inline QByteArray MakeProgram(const EncodedIcons &icons, bool plus)
{
    constexpr quint32 SectionRva = 0x1000, SectionOffset = 0x400;
    QList<QByteArray> images, groups;
    for (const QList<QByteArray> &icon : icons) {
        groups.append(GroupDirectory(icon, int(images.size()) + 1));
        images.append(icon);
    }
    // The resource tree: root, two type directories, a language directory
    // and a data entry per resource, then the data.
    const qsizetype resources = images.size() + groups.size();
    const quint32 typeIcons = 16 + 2 * 8;
    const quint32 typeGroups = typeIcons + 16 + 8 * quint32(images.size());
    const quint32 languages = typeGroups + 16 + 8 * quint32(groups.size());
    const quint32 entries = languages + 24 * quint32(resources);
    quint32 dataAt = entries + 16 * quint32(resources);
    const auto directory = [](QByteArray &out, int count) {
        out.append(QByteArray(12, 0));
        PutLe16(out, 0);
        PutLe16(out, count);
    };
    QByteArray tree;
    directory(tree, 2);
    PutLe32(tree, 3);
    PutLe32(tree, 0x80000000u | typeIcons);
    PutLe32(tree, 14);
    PutLe32(tree, 0x80000000u | typeGroups);
    for (const QList<QByteArray> *list : {&images, &groups}) {
        const quint32 first = list == &images ? 0 : quint32(images.size());
        directory(tree, int(list->size()));
        for (qsizetype i = 0; i < list->size(); ++i) {
            PutLe32(tree, quint32(i) + 1);
            PutLe32(tree, 0x80000000u | (languages + 24 * (first + quint32(i))));
        }
    }
    for (qsizetype i = 0; i < resources; ++i) {
        directory(tree, 1);
        PutLe32(tree, 0x409);
        PutLe32(tree, entries + 16 * quint32(i));
    }
    QByteArray data;
    for (const QList<QByteArray> *list : {&images, &groups})
        for (const QByteArray &bytes : *list) {
            PutLe32(tree, SectionRva + dataAt + quint32(data.size()));
            PutLe32(tree, quint32(bytes.size()));
            PutLe32(tree, 0);
            PutLe32(tree, 0);
            data.append(bytes);
            data.append(QByteArray((4 - data.size() % 4) % 4, 0));
        }
    const QByteArray section = tree + data;

    QByteArray out(0x40, 0);
    out[0] = 'M';
    out[1] = 'Z';
    SetLe16(out, 0x3C, 0x40);
    out.append("PE\0\0", 4);
    const int optionalSize = plus ? 240 : 224;
    PutLe16(out, plus ? 0x8664 : 0x14c);
    PutLe16(out, 1);
    out.append(QByteArray(12, 0));
    PutLe16(out, optionalSize);
    PutLe16(out, 0x2102); // an executable library
    const qsizetype optional = out.size();
    out.append(QByteArray(optionalSize, 0));
    SetLe16(out, int(optional), plus ? 0x20b : 0x10b);
    const int directories = int(optional) + (plus ? 112 : 96);
    SetLe16(out, directories - 4, 16);
    SetLe16(out, directories + 16, int(SectionRva & 0xffff));
    SetLe16(out, directories + 20, int(section.size() & 0xffff));
    SetLe16(out, directories + 22, int(section.size() >> 16));
    out.append(".rsrc\0\0\0", 8);
    PutLe32(out, quint32(section.size()));
    PutLe32(out, SectionRva);
    PutLe32(out, quint32(section.size()));
    PutLe32(out, SectionOffset);
    out.append(QByteArray(12, 0));
    PutLe32(out, 0x40000040);
    out.append(QByteArray(SectionOffset - out.size(), 0));
    return out + section;
}

// An icon library whose resource table lists one icon group `claimed`
// times; the group names one image of 32 pixels in colour 0.
inline QByteArray MakeLibraryClaiming(int claimed)
{
    constexpr int TableAt = 0x80;
    const QByteArray image = IconLibraryWriter::EncodeImage(IconImage(0, 32));
    const QByteArray group = GroupDirectory({image}, 1);
    // Blocks of at most 65535 entries of a type: one icon, then the groups.
    const int blocks = (claimed + 0xfffe) / 0xffff;
    const qsizetype tableEnd =
        TableAt + 2 + 8 + 12 + qsizetype(blocks) * 8 + qsizetype(claimed) * 12 + 2;
    // Offsets are 16-bit counts of units of 1 << shift bytes.
    int shift = 4;
    while ((tableEnd >> shift) > 0xfff0)
        ++shift;
    const auto units = [shift](qsizetype bytes) {
        return int((bytes + (qsizetype(1) << shift) - 1) >> shift);
    };
    const int groupAt = units(tableEnd), imageAt = groupAt + units(group.size());
    QByteArray out(0x40, 0);
    out[0] = 'M';
    out[1] = 'Z';
    SetLe16(out, 0x3C, 0x40);
    QByteArray header(0x40, 0);
    header[0] = 'N';
    header[1] = 'E';
    SetLe16(header, 0x24, TableAt - 0x40);
    out += header;
    PutLe16(out, shift);
    const auto entry = [&](int at, qsizetype bytes, int id) {
        PutLe16(out, at);
        PutLe16(out, units(bytes));
        PutLe16(out, 0x30);
        PutLe16(out, id);
        PutLe32(out, 0);
    };
    PutLe16(out, 0x8003);
    PutLe16(out, 1);
    PutLe32(out, 0);
    entry(imageAt, image.size(), 0x8001);
    for (int left = claimed; left > 0; left -= 0xffff) {
        const int count = qMin(left, 0xffff);
        PutLe16(out, 0x800E);
        PutLe16(out, count);
        PutLe32(out, 0);
        for (int i = 0; i < count; ++i)
            entry(groupAt, group.size(), 0x8001);
    }
    PutLe16(out, 0);
    out.resize(qsizetype(groupAt) << shift, 0);
    out += group;
    out.resize(qsizetype(imageAt) << shift, 0);
    return out + image;
}

// Samples of each kind, named for the fuzzing corpus.
inline QList<SampleFile> IconSampleFiles()
{
    const QList<QList<int>> sides = {{16, 32, 48}, {16}, {32, 256}};
    EncodedIcons mixed = EncodeIcons(sides);
    mixed[1].append(IconImage8(1, 24));
    QList<SampleFile> files;
    files.append({"iconlibrary", "shift4.icl", MakeIconLibrary(sides, 4)});
    files.append({"iconlibrary", "shift9.icl", MakeIconLibrary({{16}, {32}}, 9)});
    files.append({"iconlibrary", "program32.dll", MakeProgram(mixed, false)});
    files.append({"iconlibrary", "program64.exe", MakeProgram(mixed, true)});
    files.append({"iconlibrary", "png.ico",
                  MakeIcon({PngBytes(IconImage(0, 32)),
                            IconLibraryWriter::EncodeImage(IconImage(0, 16)), IconImage8(0, 24)})});
    return files;
}

// Libraries that claim far more than they hold, kept in the corpus.
inline QList<SampleFile> HostileIconSampleFiles()
{
    return {{"iconlibrary", "claims-12000-icons.icl", MakeLibraryClaiming(12000)}};
}

} // namespace Dayloom::Testing
