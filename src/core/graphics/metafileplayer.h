#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace Dayloom {

// Plays Windows metafiles (placeable, with the 0x9AC6CDD7 header, and bare)
// and enhanced metafiles onto any QPainter, as vector drawing, so that they
// stay vectors in PDF, SVG and on paper.
//
// A placeable metafile's box and units per inch give its natural size; a
// bare Windows metafile is measured by its first window origin and extent
// (or, without them, by what it draws) at 1440 units per inch, the unit most
// programs write them in; an enhanced metafile by the frame of its header.
//
// Load() checks the header and walks the records once; it fails, with a
// reason, on a file that is not a metafile or whose header does not fit the
// bytes. Records are bounded by the bytes that remain and by
// MaxMetafileRecords, the object table by MaxMetafileObjects; unknown records
// are skipped by their size; a damaged record ends the playback, never the
// program.
class MetafilePlayer
{
public:
    enum class Type
    {
        None,
        Wmf,          // bare Windows metafile
        PlaceableWmf, // with the placeable header
        Emf           // enhanced metafile
    };

    // True when the bytes start like one of the three kinds.
    static bool LooksLikeMetafile(const QByteArray &bytes);

    bool Load(const QByteArray &bytes, QString *error);

    Type FileType() const { return m_type; }
    const QByteArray &Bytes() const { return m_bytes; }
    // The picture's size in page pixels (96 per inch), from its header.
    QSizeF NaturalSize() const { return m_naturalSize; }
    int RecordCount() const { return m_recordCount; }

    // Draws the whole picture stretched into target (painter coordinates).
    // The painter's state is restored afterwards. The playback's bitmaps,
    // pattern brushes and regions draw from a PictureBudget of
    // PictureBudget::PlaybackBytes (and from any budget open around the
    // call); those that do not fit are left out, and a caller that wants to
    // tell why opens a budget of its own around Play and reads its
    // FirstRefusal().
    void Play(QPainter &painter, const QRectF &target) const;

    // The rectangle of the metafile's device units that Play() stretches
    // onto the target: the placeable box, the window of a bare Windows
    // metafile, the frame of an enhanced metafile.
    QRectF Frame() const { return m_frame; }

private:
    void Clear();

    Type m_type = Type::None;
    QByteArray m_bytes;
    QSizeF m_naturalSize;
    int m_recordCount = 0;
    QRectF m_frame;
    double m_devicePerMm = 0;
};

} // namespace Dayloom
