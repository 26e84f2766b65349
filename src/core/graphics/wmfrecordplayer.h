#pragma once

#include "core/graphics/gdiobjecttable.h"
#include "core/graphics/metafilereader.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <optional>

namespace Dayloom {

class GdiContext;

// Reads the header of a Windows metafile (with or without the placeable
// header in front) and plays its records through a GdiContext.
class WmfRecordPlayer
{
public:
    struct Header
    {
        bool placeable = false;
        QRectF bounds;        // placeable: the picture's box in metafile units
        int unitsPerInch = 0; // placeable: metafile units in an inch
        qint64 recordsStart = 0;
    };

    // What a first walk over the records finds.
    struct Survey
    {
        int records = 0;
        std::optional<QPointF> windowOrg; // the first of each, as drawing starts
        std::optional<QSizeF> windowExt;
        int mapMode = 0; // the first map mode set, 0 if none
    };

    static bool ReadHeader(const MetafileReader &bytes, Header &header, QString *error);
    static Survey Walk(const MetafileReader &bytes, const Header &header);

    WmfRecordPlayer(const MetafileReader &bytes, GdiContext &context);
    void Play(const Header &header);

private:
    // Calls visit(function, parameters) for each whole record until the end
    // record, a damaged record, or the record limit.
    static void ForEachRecord(const MetafileReader &bytes, qint64 start,
                              const std::function<bool(quint16, const MetafileReader &)> &visit);
    void PlayRecord(quint16 function, const MetafileReader &p);
    void CreateObject(const GdiObject &object);
    void Blit(quint16 function, const MetafileReader &p);
    void PlayText(const MetafileReader &p, bool extended);
    QPainterPath RegionArea(quint16 index) const;

    MetafileReader m_bytes;
    GdiContext &m_context;
};

} // namespace Dayloom
