#include "core/graphics/gdiobjecttable.h"

namespace Dayloom {

GdiObject GdiObject::Pen(const QPen &pen, bool insideFrame)
{
    GdiObject object;
    object.kind = Kind::Pen;
    object.pen = pen;
    object.insideFrame = insideFrame;
    return object;
}

GdiObject GdiObject::Brush(const QBrush &brush)
{
    GdiObject object;
    object.kind = Kind::Brush;
    object.brush = brush;
    const Qt::BrushStyle style = brush.style();
    object.pattern =
        style == Qt::TexturePattern || (style >= Qt::HorPattern && style <= Qt::DiagCrossPattern);
    return object;
}

GdiObject GdiObject::Font(const GdiLogFont &font)
{
    GdiObject object;
    object.kind = Kind::Font;
    object.font = font;
    return object;
}

GdiObject GdiObject::Placeholder(Kind kind)
{
    GdiObject object;
    object.kind = kind;
    return object;
}

std::optional<GdiObject> GdiObject::Stock(quint32 index)
{
    auto pen = [](const QPen &pen) { return Pen(pen); };
    auto grey = [](int level) { return Brush(QBrush(QColor(level, level, level))); };
    switch (index) {
    case 0: // white brush
        return grey(255);
    case 1: // light grey
        return grey(192);
    case 2:
        return grey(128);
    case 3:
        return grey(64);
    case 4:  // black
    case 18: // the DC brush, white until set (not recorded)
        return index == 4 ? grey(0) : grey(255);
    case 5:
        return Brush(QBrush(Qt::NoBrush));
    case 6:
        return pen(QPen(Qt::white, 0));
    case 7:
    case 19: // the DC pen, black until set
        return pen(QPen(Qt::black, 0));
    case 8:
        return pen(QPen(Qt::NoPen));
    case 10: // fixed and system fonts
    case 11:
    case 16: {
        GdiLogFont font;
        font.face = QStringLiteral("Courier New");
        return Font(font);
    }
    case 12:
    case 13:
    case 14:
    case 17: {
        GdiLogFont font;
        font.face = QStringLiteral("Arial");
        return Font(font);
    }
    case 15:
        return Placeholder(Kind::Palette);
    default:
        return std::nullopt;
    }
}

int GdiObjectTable::Add(const GdiObject &object)
{
    while (m_firstFree < m_slots.size() && m_slots[m_firstFree])
        ++m_firstFree;
    if (m_firstFree >= size_t(m_limit))
        return -1;
    const int index = int(m_firstFree);
    Set(quint32(index), object);
    return index;
}

bool GdiObjectTable::Set(quint32 index, const GdiObject &object)
{
    if (index >= quint32(m_limit))
        return false;
    if (index >= m_slots.size())
        m_slots.resize(index + 1);
    if (!m_slots[index])
        ++m_count;
    m_slots[index] = object;
    return true;
}

const GdiObject *GdiObjectTable::Find(quint32 index) const
{
    if (index >= m_slots.size() || !m_slots[index])
        return nullptr;
    return &*m_slots[index];
}

void GdiObjectTable::Remove(quint32 index)
{
    if (index >= m_slots.size() || !m_slots[index])
        return;
    m_slots[index].reset();
    --m_count;
    if (index < m_firstFree)
        m_firstFree = index;
}

} // namespace Dayloom
