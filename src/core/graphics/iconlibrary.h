#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

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
    // with no readable icons reads fine with Count() == 0. False + reason only when
    // the device cannot be read or is too large.
    bool Read(QIODevice &device, QString *error = nullptr);
    bool Load(const QString &path, QString *error = nullptr);
    int Count() const;
    // Icon n (0-based): the best image of its group for `size` pixels (32 unless the
    // screen asks for more), with its transparency, as ARGB32 premultiplied, scaled to
    // size x size when no image of that size exists. A null image on any failure.
    QImage Icon(int index, int size = 32) const;

    // The largest file Read accepts.
    static constexpr qint64 MaxFileBytes = qint64(64) * 1024 * 1024;

private:
    // One image of an icon group: where its bytes lie in m_bytes and what
    // the group directory says of it.
    struct Image
    {
        qint64 offset = 0;
        qint64 length = 0;
        int width = 0;  // pixels, 256 for a directory's 0
        int height = 0; // pixels
        int bits = 0;   // bits a pixel, 0 when unknown
    };
    using Group = QList<Image>;

    void Clear();
    void ReadIconFile();
    void ReadNewExecutable(qint64 headerOffset);
    void ReadPortableExecutable(qint64 headerOffset);

    QByteArray m_bytes;
    QList<Group> m_groups;
};

} // namespace Dayloom
