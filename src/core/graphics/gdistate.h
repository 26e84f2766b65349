#pragma once

#include "core/graphics/gdiobjecttable.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QTransform>

namespace Dayloom {

// Values shared by both metafile kinds.
namespace Gdi {

enum MapMode
{
    MmText = 1,
    MmLoMetric = 2,
    MmHiMetric = 3,
    MmLoEnglish = 4,
    MmHiEnglish = 5,
    MmTwips = 6,
    MmIsotropic = 7,
    MmAnisotropic = 8
};

enum TextAlign : quint32
{
    TaUpdateCp = 1,
    TaRight = 2,
    TaCenter = 6,
    TaHorizontalMask = 6,
    TaBottom = 8,
    TaBaseline = 24,
    TaVerticalMask = 24
};

enum TextOption : quint32
{
    EtoOpaque = 0x2,
    EtoClipped = 0x4,
    EtoGlyphIndex = 0x10,
    EtoPdy = 0x2000,
    EtoNoRect = 0x100
};

enum RegionMode
{
    RgnAnd = 1,
    RgnOr = 2,
    RgnXor = 3,
    RgnDiff = 4,
    RgnCopy = 5
};

enum RasterOp : quint32
{
    SrcCopy = 0x00CC0020,
    SrcPaint = 0x00EE0086,
    SrcAnd = 0x008800C6,
    SrcInvert = 0x00660046,
    NotSrcCopy = 0x00330008,
    MergeCopy = 0x00C000CA,
    PatCopy = 0x00F00021,
    PatInvert = 0x005A0049,
    DstInvert = 0x00550009,
    Blackness = 0x00000042,
    Whiteness = 0x00FF0062
};

// COLORREF: red in the low byte.
inline QColor ColorRef(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace Gdi

// What SaveDC keeps: the selected objects, colours, modes, the mapping from
// logical to device units and the clip (in device units).
struct GdiState
{
    GdiObject pen = GdiObject::Pen(QPen(Qt::black, 0));
    GdiObject brush = GdiObject::Brush(QBrush(Qt::white));
    GdiObject font = GdiObject::Font(GdiLogFont());
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    bool bkOpaque = true;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int mapMode = Gdi::MmText;
    QPointF windowOrg;
    QSizeF windowExt = QSizeF(1, 1);
    QPointF viewportOrg;
    QSizeF viewportExt = QSizeF(1, 1);
    QTransform world;
    QPointF position; // current position, logical units
    bool clockwise = false;
    double miterLimit = 10;
    bool hasClip = false;
    QPainterPath clip; // device units
};

} // namespace Dayloom
