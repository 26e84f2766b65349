#pragma once

#include "core/graphics/gdiobjecttable.h"
#include "core/graphics/metafilereader.h"

#include <QRect>
#include <QSize>

namespace Dayloom {

class GdiContext;
struct GdiTextRun;

// Reads the header of an enhanced metafile and plays its records through a
// GdiContext.
class EmfRecordPlayer
{
public:
    struct Header
    {
        QRect bounds;       // device units, inclusive
        QRect frame;        // hundredths of a millimetre, inclusive
        QSize devicePixels; // the reference device
        QSize deviceMillimetres;
        int handles = 0; // object table size, slot 0 reserved
        qint64 recordsStart = 0;
    };

    static bool ReadHeader(const MetafileReader &bytes, Header &header, QString *error);
    // The number of whole records up to the end record or the first damaged one.
    static int CountRecords(const MetafileReader &bytes, const Header &header);

    EmfRecordPlayer(const MetafileReader &bytes, GdiContext &context);
    void Play(const Header &header);

private:
    void PlayRecord(quint32 type, const MetafileReader &r);
    void Create(quint32 index, const GdiObject &object);
    void Poly(quint32 type, const MetafileReader &r, bool shortPoints);
    void PolyPoly(quint32 type, const MetafileReader &r, bool shortPoints);
    void Blit(quint32 type, const MetafileReader &r);
    void Text(const MetafileReader &r, qint64 at, bool wide);
    QImage RecordBitmap(const MetafileReader &r, qint64 at, bool *bottomUp) const;

    MetafileReader m_bytes;
    GdiContext &m_context;
};

} // namespace Dayloom
