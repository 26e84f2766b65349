#include "core/graphics/wmfrecordplayer.h"

#include "core/graphics/gdicontext.h"
#include "core/graphics/picturebudget.h"
#include "core/graphics/picturelimits.h"

#include <QList>

#include <algorithm>

namespace Dayloom {

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;

enum Function : quint16
{
    Eof = 0x0000,
    SetBkColor = 0x0201,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    ScaleWindowExt = 0x0410,
    OffsetViewportOrg = 0x0211,
    ScaleViewportExt = 0x0412,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    Pie = 0x081A,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    SaveDc = 0x001E,
    SetPixel = 0x041F,
    OffsetClipRgn = 0x0220,
    TextOut = 0x0521,
    BitBlt = 0x0922,
    StretchBlt = 0x0B23,
    Polygon = 0x0324,
    Polyline = 0x0325,
    RestoreDc = 0x0127,
    FillRegion = 0x0228,
    FrameRegion = 0x0429,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    Chord = 0x0830,
    ExtTextOut = 0x0A32,
    SetDibToDev = 0x0D33,
    PolyPolygon = 0x0538,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    DibCreatePatternBrush = 0x0142,
    StretchDib = 0x0F43,
    DeleteObject = 0x01F0,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    CreateRegion = 0x06FF
};

QPointF Point(const MetafileReader &p, qint64 offset) // y first, then x
{
    return QPointF(p.I16(offset + 2), p.I16(offset));
}

// Left, top, right, bottom stored in reverse order (bottom first).
QRectF ReversedRect(const MetafileReader &p, qint64 offset)
{
    return QRectF(QPointF(p.I16(offset + 6), p.I16(offset + 4)),
                  QPointF(p.I16(offset + 2), p.I16(offset)));
}

QPolygonF Points(const MetafileReader &p, qint64 offset, qint64 count)
{
    QPolygonF points;
    if (count <= 0 || !p.Has(offset, count * 4))
        return points;
    points.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        points.append(QPointF(p.I16(offset + 4 * i), p.I16(offset + 4 * i + 2)));
    return points;
}

// A device-dependent bitmap (monochrome, or 24 and 32 bits a pixel), rows
// top first.
QImage Bitmap16(const MetafileReader &p, qint64 offset, qint64 bitsOffset)
{
    const int width = p.I16(offset + 2);
    const int height = p.I16(offset + 4);
    const int stride = p.I16(offset + 6);
    const int bitsPixel = p.U8(offset + 9);
    if (!CheckPictureSize(width, height, nullptr) || stride <= 0 ||
        !p.Has(bitsOffset, qint64(stride) * height) ||
        qint64(stride) * 8 < qint64(width) * bitsPixel ||
        (bitsPixel != 1 && bitsPixel != 24 && bitsPixel != 32) ||
        !PictureBudget::ClaimPixels(width, height, nullptr))
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < height; ++y) {
        const qint64 row = bitsOffset + qint64(y) * stride;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitsPixel == 1) {
                const bool set = p.U8(row + x / 8) & (0x80 >> (x % 8));
                line[x] = set ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const qint64 at = row + qint64(x) * (bitsPixel / 8);
                line[x] = qRgb(p.U8(at + 2), p.U8(at + 1), p.U8(at));
            }
        }
    }
    return image;
}

} // namespace

bool WmfRecordPlayer::ReadHeader(const MetafileReader &bytes, Header &header, QString *error)
{
    qint64 at = 0;
    if (bytes.U32(0) == PlaceableKey) {
        if (!bytes.Has(0, 22)) {
            if (error)
                *error = QStringLiteral("the placeable metafile header is cut short");
            return false;
        }
        header.placeable = true;
        header.bounds =
            QRectF(QPointF(bytes.I16(6), bytes.I16(8)), QPointF(bytes.I16(10), bytes.I16(12)))
                .normalized();
        header.unitsPerInch = bytes.U16(14);
        at = 22;
    }
    const quint16 type = bytes.U16(at);
    const quint16 headerWords = bytes.U16(at + 2);
    const quint16 version = bytes.U16(at + 4);
    if (!bytes.Has(at, 18) || (type != 1 && type != 2) || headerWords != 9 ||
        (version != 0x0100 && version != 0x0300)) {
        if (error)
            *error = QStringLiteral("this is not a Windows metafile");
        return false;
    }
    header.recordsStart = at + 18;
    return true;
}

void WmfRecordPlayer::ForEachRecord(
    const MetafileReader &bytes, qint64 start,
    const std::function<bool(quint16, const MetafileReader &)> &visit)
{
    qint64 offset = start;
    for (int count = 0; count < MaxMetafileRecords; ++count) {
        const qint64 size = qint64(bytes.U32(offset)) * 2;
        if (size < 6 || !bytes.Has(offset, size))
            return;
        const quint16 function = bytes.U16(offset + 4);
        if (function == Eof)
            return;
        if (!visit(function, bytes.Part(offset + 6, size - 6)))
            return;
        offset += size;
    }
}

WmfRecordPlayer::Survey WmfRecordPlayer::Walk(const MetafileReader &bytes, const Header &header)
{
    Survey survey;
    ForEachRecord(bytes, header.recordsStart, [&survey](quint16 function, const MetafileReader &p) {
        ++survey.records;
        if (function == SetWindowOrg && !survey.windowOrg)
            survey.windowOrg = Point(p, 0);
        else if (function == SetWindowExt && !survey.windowExt && p.I16(0) != 0 && p.I16(2) != 0)
            survey.windowExt = QSizeF(p.I16(2), p.I16(0));
        else if (function == SetMapMode && !survey.mapMode)
            survey.mapMode = p.U16(0);
        return true;
    });
    return survey;
}

WmfRecordPlayer::WmfRecordPlayer(const MetafileReader &bytes, GdiContext &context)
    : m_bytes(bytes), m_context(context)
{
}

void WmfRecordPlayer::Play(const Header &header)
{
    ForEachRecord(m_bytes, header.recordsStart, [this](quint16 function, const MetafileReader &p) {
        PlayRecord(function, p);
        return true;
    });
}

void WmfRecordPlayer::CreateObject(const GdiObject &object)
{
    m_context.Objects().Add(object);
}

QPainterPath WmfRecordPlayer::RegionArea(quint16 index) const
{
    const GdiObject *object = m_context.Objects().Find(index);
    if (!object || object->kind != GdiObject::Kind::Region)
        return QPainterPath();
    return object->region;
}

void WmfRecordPlayer::PlayRecord(quint16 function, const MetafileReader &p)
{
    GdiContext &dc = m_context;
    switch (function) {
    case SetBkColor:
        dc.SetBkColor(Gdi::ColorRef(p.U32(0)));
        break;
    case SetTextColor:
        dc.SetTextColor(Gdi::ColorRef(p.U32(0)));
        break;
    case SetBkMode:
        dc.SetBkMode(p.U16(0));
        break;
    case SetMapMode:
        dc.SetMapMode(p.U16(0));
        break;
    case SetPolyFillMode:
        dc.SetPolyFillMode(p.U16(0));
        break;
    case SetTextAlign:
        dc.SetTextAlign(p.U16(0));
        break;
    case SetWindowOrg:
        dc.SetWindowOrg(Point(p, 0));
        break;
    case SetWindowExt:
        dc.SetWindowExt(QSizeF(p.I16(2), p.I16(0)));
        break;
    case SetViewportOrg:
        dc.SetViewportOrg(Point(p, 0));
        break;
    case SetViewportExt:
        dc.SetViewportExt(QSizeF(p.I16(2), p.I16(0)));
        break;
    case OffsetWindowOrg:
        dc.OffsetWindowOrg(Point(p, 0));
        break;
    case OffsetViewportOrg:
        dc.OffsetViewportOrg(Point(p, 0));
        break;
    case ScaleWindowExt:
        dc.ScaleWindowExt(p.I16(6), p.I16(4), p.I16(2), p.I16(0));
        break;
    case ScaleViewportExt:
        dc.ScaleViewportExt(p.I16(6), p.I16(4), p.I16(2), p.I16(0));
        break;
    case SaveDc:
        dc.SaveDc();
        break;
    case RestoreDc:
        dc.RestoreDc(p.I16(0));
        break;
    case MoveTo:
        dc.MoveTo(Point(p, 0));
        break;
    case LineTo:
        dc.LineTo(Point(p, 0));
        break;
    case ExcludeClipRect:
        dc.ExcludeClipRect(ReversedRect(p, 0));
        break;
    case IntersectClipRect:
        dc.IntersectClipRect(ReversedRect(p, 0));
        break;
    case OffsetClipRgn:
        dc.OffsetClip(Point(p, 0));
        break;
    case Rectangle:
        dc.Rectangle(ReversedRect(p, 0));
        break;
    case Ellipse:
        dc.Ellipse(ReversedRect(p, 0));
        break;
    case RoundRect:
        dc.RoundRect(ReversedRect(p, 4), QSizeF(p.I16(2), p.I16(0)));
        break;
    case Arc:
    case Pie:
    case Chord: {
        const GdiContext::ArcKind kind = function == Arc   ? GdiContext::ArcKind::Arc
                                         : function == Pie ? GdiContext::ArcKind::Pie
                                                           : GdiContext::ArcKind::Chord;
        dc.Arc(kind, ReversedRect(p, 8), Point(p, 4), Point(p, 0));
        break;
    }
    case SetPixel:
        dc.SetPixel(Point(p, 4), Gdi::ColorRef(p.U32(0)));
        break;
    case Polygon:
    case Polyline: {
        const QPolygonF points = Points(p, 2, p.I16(0));
        if (function == Polygon)
            dc.Polygon(points);
        else
            dc.Polyline(points);
        break;
    }
    case PolyPolygon: {
        const int polygons = p.U16(0);
        if (!p.Has(2, qint64(polygons) * 2))
            break;
        qint64 at = 2 + qint64(polygons) * 2;
        QList<QPolygonF> list;
        for (int i = 0; i < polygons; ++i) {
            const int count = p.U16(2 + 2 * i);
            if (!p.Has(at, qint64(count) * 4))
                break;
            list.append(Points(p, at, count));
            at += qint64(count) * 4;
        }
        dc.PolyPolygon(list);
        break;
    }
    case TextOut:
        PlayText(p, false);
        break;
    case ExtTextOut:
        PlayText(p, true);
        break;
    case SelectObject:
        if (const GdiObject *object = dc.Objects().Find(p.U16(0)))
            dc.SelectObject(*object);
        break;
    case DeleteObject:
        dc.Objects().Remove(p.U16(0));
        break;
    case SelectClipRegion: {
        const QPainterPath area = RegionArea(p.U16(0));
        if (area.isEmpty())
            dc.ResetClip();
        else
            dc.CombineClip(area, Gdi::RgnCopy);
        break;
    }
    case FillRegion: {
        const GdiObject *brush = dc.Objects().Find(p.U16(2));
        if (brush && brush->kind == GdiObject::Kind::Brush)
            dc.FillArea(RegionArea(p.U16(0)), &brush->brush);
        break;
    }
    case PaintRegion:
        dc.FillArea(RegionArea(p.U16(0)), nullptr);
        break;
    case FrameRegion: {
        const GdiObject *brush = dc.Objects().Find(p.U16(2));
        if (brush && brush->kind == GdiObject::Kind::Brush)
            dc.FrameArea(RegionArea(p.U16(0)), brush->brush);
        break;
    }
    case CreatePenIndirect:
        CreateObject(GdiObject::Pen(
            GdiContext::MakePen(p.U16(0), std::abs(p.I16(2)), Gdi::ColorRef(p.U32(6))),
            (p.U16(0) & 0xF) == 6));
        break;
    case CreateBrushIndirect:
        CreateObject(
            GdiObject::Brush(GdiContext::MakeBrush(p.U16(0), Gdi::ColorRef(p.U32(2)), p.U16(6))));
        break;
    case CreateFontIndirect: {
        GdiLogFont font;
        font.height = p.I16(0);
        font.width = p.I16(2);
        font.escapement = p.I16(4);
        font.weight = p.I16(8);
        font.italic = p.U8(10);
        font.underline = p.U8(11);
        font.strikeOut = p.U8(12);
        font.charSet = p.U8(13);
        QByteArray face = p.Bytes(18, std::min<qint64>(32, p.Size() - 18));
        face.truncate(face.indexOf('\0') >= 0 ? face.indexOf('\0') : face.size());
        font.face = GdiContext::AnsiText(face);
        CreateObject(GdiObject::Font(font));
        break;
    }
    case CreatePalette:
        CreateObject(GdiObject::Placeholder(GdiObject::Kind::Palette));
        break;
    case CreateRegion: {
        GdiObject region = GdiObject::Placeholder(GdiObject::Kind::Region);
        const QRectF bounds(QPointF(p.I16(14), p.I16(16)), QPointF(p.I16(18), p.I16(20)));
        const int scans = p.U16(10);
        qint64 at = 22;
        int rects = 0;
        for (int i = 0; i < scans && p.Has(at, 6) && rects < GdiContext::MaxRegionRects; ++i) {
            const int values = p.U16(at);
            const int top = p.I16(at + 2);
            const int bottom = p.I16(at + 4);
            if (!p.Has(at + 6, qint64(values) * 2 + 2))
                break;
            for (int v = 0; v + 1 < values && rects < GdiContext::MaxRegionRects; v += 2, ++rects)
                region.region.addRect(QRectF(QPointF(p.I16(at + 6 + 2 * v), top),
                                             QPointF(p.I16(at + 8 + 2 * v), bottom)));
            at += 6 + qint64(values) * 2 + 2;
        }
        if (region.region.isEmpty() && !bounds.normalized().isEmpty())
            region.region.addRect(bounds.normalized());
        // Kept as long as the object: drawn from the playback's budget.
        if (!PictureBudget::ClaimBytes(
                region.region.elementCount() * qint64(sizeof(QPainterPath::Element)), nullptr))
            region.region = QPainterPath();
        CreateObject(region);
        break;
    }
    case DibCreatePatternBrush: {
        QImage image;
        if (p.U16(0) == 3) // a device-dependent bitmap
            image = Bitmap16(p, 4, 14);
        else
            GdiContext::DecodeDib(p.Bytes(4, p.Size() - 4), image, nullptr);
        CreateObject(GdiObject::Brush(image.isNull() ? QBrush(Qt::gray) : QBrush(image)));
        break;
    }
    case CreatePatternBrush: {
        const QImage image = Bitmap16(p, 0, 32);
        CreateObject(GdiObject::Brush(image.isNull() ? QBrush(Qt::gray) : QBrush(image)));
        break;
    }
    case PatBlt:
        dc.PatBlt(QRectF(p.I16(10), p.I16(8), p.I16(6), p.I16(4)), p.U32(0));
        break;
    case BitBlt:
    case StretchBlt:
    case DibBitBlt:
    case DibStretchBlt:
    case StretchDib:
    case SetDibToDev:
        Blit(function, p);
        break;
    default:
        break; // escapes, palettes and the rest draw nothing
    }
}

void WmfRecordPlayer::Blit(quint16 function, const MetafileReader &p)
{
    GdiContext &dc = m_context;
    // The records without a bitmap carry one more reserved word and are
    // exactly as long as the function's high byte says.
    const bool noBitmap = (p.Size() + 6) / 2 == (function >> 8) + 3;
    QRectF dest;
    QRectF source;
    quint32 rop = Gdi::SrcCopy;
    qint64 bitmapAt = 0;
    bool bottomBased = false;
    switch (function) {
    case StretchDib:
        rop = p.U32(0);
        source = QRectF(p.I16(12), p.I16(10), p.I16(8), p.I16(6));
        dest = QRectF(p.I16(20), p.I16(18), p.I16(16), p.I16(14));
        bitmapAt = 22;
        bottomBased = true;
        break;
    case SetDibToDev:
        source = QRectF(p.I16(8), p.I16(6), p.I16(12), p.I16(10));
        dest = QRectF(p.I16(16), p.I16(14), p.I16(12), p.I16(10));
        bitmapAt = 18;
        bottomBased = true;
        break;
    case StretchBlt:
    case DibStretchBlt: {
        rop = p.U32(0);
        const qint64 at = noBitmap ? 6 : 4;
        source = QRectF(p.I16(at + 6), p.I16(at + 4), p.I16(at + 2), p.I16(at));
        dest = QRectF(p.I16(at + 14), p.I16(at + 12), p.I16(at + 10), p.I16(at + 8));
        bitmapAt = at + 16;
        break;
    }
    default: { // BitBlt, DibBitBlt
        rop = p.U32(0);
        const qint64 at = noBitmap ? 6 : 4;
        dest = QRectF(p.I16(at + 10), p.I16(at + 8), p.I16(at + 6), p.I16(at + 4));
        source = QRectF(p.I16(at + 2), p.I16(at), dest.width(), dest.height());
        bitmapAt = at + 12;
        break;
    }
    }
    if (noBitmap && function != StretchDib && function != SetDibToDev) {
        dc.PatBlt(dest, rop);
        return;
    }
    QImage image;
    bool bottomUp = false;
    if (function == BitBlt || function == StretchBlt)
        image = Bitmap16(p, bitmapAt, bitmapAt + 10);
    else
        GdiContext::DecodeDib(p.Bytes(bitmapAt, p.Size() - bitmapAt), image, &bottomUp);
    if (image.isNull())
        return;
    dc.Bitmap(dest, image, GdiContext::DibSource(image, source, bottomBased && bottomUp), rop);
}

void WmfRecordPlayer::PlayText(const MetafileReader &p, bool extended)
{
    GdiTextRun run;
    qint64 textAt = 0;
    int length = 0;
    if (extended) {
        run.reference = Point(p, 0);
        length = p.I16(4);
        run.options = p.U16(6);
        textAt = 8;
        if (run.options & (Gdi::EtoOpaque | Gdi::EtoClipped)) {
            run.rect = QRectF(QPointF(p.I16(8), p.I16(10)), QPointF(p.I16(12), p.I16(14)));
            textAt = 16;
        }
    } else {
        length = p.I16(0);
        textAt = 2;
        run.reference = Point(p, 2 + ((qint64(std::max(length, 0)) + 1) & ~1));
    }
    if (length < 0 || !p.Has(textAt, length))
        return;
    run.text = GdiContext::AnsiText(p.Bytes(textAt, length));
    const qint64 dxAt = textAt + ((qint64(length) + 1) & ~1);
    if (extended && length > 0 && p.Has(dxAt, qint64(length) * 2)) {
        for (int i = 0; i < length; ++i)
            run.dx.append(p.I16(dxAt + 2 * i));
    }
    m_context.Text(run);
}

} // namespace Dayloom
