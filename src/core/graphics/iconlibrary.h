#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;

namespace Dayloom {

// The icons of an icon library (".ICL", a 16-bit New Executable holding only
// resources), of a 32- or 64-bit Portable Executable program or library
// (".EXE", ".DLL") or of an icon file (".ICO"). Reading keeps the file's bytes
// and the directory of its icon groups; images are decoded on request.
class IconLibrary
{
public:
    // Reads the icon directory of an icon library (".ICL": a 16-bit New Executable file
    // holding only resources), a 32- or 64-bit Portable Executable program or library
    // (".EXE", ".DLL": group-icon and icon resources), or an icon file (".ICO": every
    // image in it, PNG-compressed ones too); ".NIL" files are any of these. A file
    // with no readable icons reads fine with Count() == 0; icons past the first
    // MaxLibraryIcons (picturelimits.h) are left out. False + reason only when
    // the device cannot be read or is too large.
    bool Read(QIODevice &device, QString *error = nullptr);
    bool Load(const QString &path, QString *error = nullptr);
    int Count() const;
    // Icon n (0-based): the best image of its group for `size` pixels (32 unless the
    // screen asks for more), with its transparency, as ARGB32 premultiplied, scaled to
    // size x size when no image of that size exists. A null image on any failure,
    // and for sizes above 1024.
    QImage Icon(int index, int size = 32) const;

    // The largest file Read accepts.
    static constexpr qint64 MaxFileBytes = qint64(64) * 1024 * 1024;

private:
    // Bytes of the file: [offset, offset + length).
    struct Span
    {
        qint64 offset = 0;
        qint64 length = 0;
    };

    void Clear();
    void ReadIconFile();
    void ReadNewExecutable(qint64 header);
    void ReadPortableExecutable(qint64 header);
    void AddGroup(Span group);
    // The images of icon n, as spans of the file; empty when unreadable.
    QList<Span> Images(int index) const;

    QByteArray m_bytes;
    // Group directories: an icon file's own (16-byte entries that locate
    // their images), or group-icon resources (14-byte entries naming icon
    // resources by number).
    QList<Span> m_groups;
    bool m_iconFile = false;
    QHash<quint32, Span> m_icons; // icon resources by number

    // The last icon made, by the image it was chosen from and its size:
    // icons that share their image decode it once.
    struct LastIcon
    {
        Span best;
        int size = 0;
        QImage icon;
    };
    mutable std::optional<LastIcon> m_last;
};

} // namespace Dayloom
