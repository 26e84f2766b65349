#pragma once

#include "core/graphics/picturelimits.h"

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

namespace Dayloom {

// A logical font as metafiles describe it; sizes in logical units.
struct GdiLogFont
{
    double height = 0;  // < 0: character (em) height, > 0: cell height, 0: default
    double width = 0;   // average character width, 0: natural
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint8 charSet = 0;
    QString face;
};

// One entry of a metafile's object table: a pen, brush, font, or an object
// the player keeps only so that indices stay right (palettes, regions).
struct GdiObject
{
    enum class Kind
    {
        Pen,
        Brush,
        Font,
        Palette,
        Region,
        Other
    };

    Kind kind = Kind::Other;
    QPen pen = QPen(Qt::black, 0); // width in logical units, 0 for one device pixel
    bool insideFrame = false;      // pen drawn inside the shapes' frames
    QBrush brush = QBrush(Qt::white);
    bool pattern = false; // hatch or bitmap pattern: cells of device pixels
    GdiLogFont font;
    QPainterPath region; // regions: their area in logical units

    static GdiObject Pen(const QPen &pen, bool insideFrame = false);
    static GdiObject Brush(const QBrush &brush);
    static GdiObject Font(const GdiLogFont &font);
    static GdiObject Placeholder(Kind kind);
    // The stock objects of enhanced metafiles (index without the high bit);
    // nullopt for an unknown index.
    static std::optional<GdiObject> Stock(quint32 index);
};

// The object table of a playback. Windows metafiles put a new object into
// the lowest free slot; enhanced metafiles name the slot. The table never
// grows past its limit: objects that do not fit are dropped.
class GdiObjectTable
{
public:
    explicit GdiObjectTable(int limit = MaxMetafileObjects)
        : m_limit(std::min(limit, MaxMetafileObjects))
    {
    }

    // The lowest free slot, as Windows metafiles number objects; -1 when full.
    int Add(const GdiObject &object);
    // False when the index is outside the table's limit.
    bool Set(quint32 index, const GdiObject &object);
    // nullptr when the slot is empty or out of range.
    const GdiObject *Find(quint32 index) const;
    void Remove(quint32 index);
    int Count() const { return m_count; }

private:
    std::vector<std::optional<GdiObject>> m_slots;
    int m_limit;
    int m_count = 0;
    size_t m_firstFree = 0;
};

} // namespace Dayloom
