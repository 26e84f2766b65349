#pragma once

#include <QImage>
#include <QList>
#include <QString>

class QIODevice;

namespace Dayloom {

// Writes an icon library (".ICL"): a 16-bit New Executable holding only
// icon resources, one group-icon resource per icon listing its images.
// Images are stored as 32-bit bitmaps with a transparency mask, or as PNG
// from 256 pixels up.
class IconLibraryWriter
{
public:
    using IconGroup = QList<QImage>; // one icon in several sizes

    // Resource offsets and lengths are counted in units of 1 << shift; the
    // writer raises the shift when the library needs more room. 4 by default.
    void SetAlignmentShift(int shift);
    int AlignmentShift() const;
    // Adds an icon made of these images (of different sizes, at most 256).
    void AddIcon(const IconGroup &images);
    int Count() const;

    bool Write(QIODevice &device, QString *error = nullptr) const;
    bool Save(const QString &path, QString *error = nullptr) const;

    // One icon image as stored in the library: a 32-bit bitmap of twice the
    // height with its mask, or PNG bytes for 256 pixels and more.
    static QByteArray EncodeImage(const QImage &image);

private:
    int m_shift = 4;
    QList<IconGroup> m_icons;
};

} // namespace Dayloom
