#include "core/graphics/emfrecordplayer.h"

#include "core/graphics/gdicontext.h"
#include "core/graphics/picturelimits.h"

#include <QList>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace Dayloom {

namespace {

constexpr quint32 EmfSignature = 0x464D4520; // " EMF"

enum Record : quint32
{
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    OffsetClipRgn = 26,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    CreatePalette = 49,
    LineTo = 54,
    ArcTo = 55,
    PolyDraw = 56,
    SetArcDirection = 57,
    SetMiterLimit = 58,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    FillRgn = 71,
    FrameRgn = 72,
    PaintRgn = 74,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    PolyDraw16 = 92,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    PolyTextOutA = 96,
    PolyTextOutW = 97,
    SmallTextOut = 108,
    AlphaBlend = 114,
    TransparentBlt = 116
};

QPointF Point(const MetafileReader &r, qint64 at)
{
    return QPointF(r.I32(at), r.I32(at + 4));
}

QRectF Box(const MetafileReader &r, qint64 at)
{
    return QRectF(Point(r, at), Point(r, at + 8));
}

QPolygonF Points(const MetafileReader &r, qint64 at, qint64 count, bool shortPoints)
{
    QPolygonF points;
    const int size = shortPoints ? 4 : 8;
    if (count <= 0 || !r.Has(at, count * size))
        return points;
    points.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 p = at + i * size;
        points.append(shortPoints ? QPointF(r.I16(p), r.I16(p + 2)) : Point(r, p));
    }
    return points;
}

QTransform Xform(const MetafileReader &r, qint64 at)
{
    return QTransform(r.F32(at), r.F32(at + 4), r.F32(at + 8), r.F32(at + 12), r.F32(at + 16),
                      r.F32(at + 20));
}

// The rectangles of region data; empty when damaged.
QPainterPath RegionData(const MetafileReader &r, qint64 at, qint64 size)
{
    QPainterPath path;
    const MetafileReader data = r.Part(at, size);
    const quint32 count = data.U32(8);
    if (data.U32(0) < 32 || !data.Has(32, qint64(count) * 16))
        return path;
    // Clip arithmetic on paths grows fast with their parts; regions of more
    // rectangles than this are not drawn in full.
    for (quint32 i = 0; i < std::min<quint32>(count, GdiContext::MaxRegionRects); ++i)
        path.addRect(Box(data, 32 + qint64(i) * 16).normalized());
    return path;
}

} // namespace

bool EmfRecordPlayer::ReadHeader(const MetafileReader &bytes, Header &header, QString *error)
{
    const quint32 size = bytes.U32(4);
    if (bytes.U32(0) != Record::Header || bytes.U32(40) != EmfSignature || size < 88 ||
        !bytes.Has(0, size)) {
        if (error)
            *error = QStringLiteral("this is not an enhanced metafile, or its header is damaged");
        return false;
    }
    header.bounds =
        QRect(QPoint(bytes.I32(8), bytes.I32(12)), QPoint(bytes.I32(16), bytes.I32(20)));
    header.frame =
        QRect(QPoint(bytes.I32(24), bytes.I32(28)), QPoint(bytes.I32(32), bytes.I32(36)));
    header.handles = bytes.U16(56);
    header.devicePixels = QSize(bytes.I32(72), bytes.I32(76));
    header.deviceMillimetres = QSize(bytes.I32(80), bytes.I32(84));
    header.recordsStart = size;
    return true;
}

int EmfRecordPlayer::CountRecords(const MetafileReader &bytes, const Header &header)
{
    int count = 0;
    qint64 offset = header.recordsStart;
    while (count < MaxMetafileRecords) {
        const quint32 size = bytes.U32(offset + 4);
        if (size < 8 || !bytes.Has(offset, size))
            break;
        ++count;
        if (bytes.U32(offset) == Eof)
            break;
        offset += size;
    }
    return count;
}

EmfRecordPlayer::EmfRecordPlayer(const MetafileReader &bytes, GdiContext &context)
    : m_bytes(bytes), m_context(context)
{
}

void EmfRecordPlayer::Play(const Header &header)
{
    qint64 offset = header.recordsStart;
    for (int count = 0; count < MaxMetafileRecords; ++count) {
        const quint32 type = m_bytes.U32(offset);
        const quint32 size = m_bytes.U32(offset + 4);
        if (size < 8 || !m_bytes.Has(offset, size) || type == Eof)
            return;
        PlayRecord(type, m_bytes.Part(offset, size));
        offset += size;
    }
}

void EmfRecordPlayer::Create(quint32 index, const GdiObject &object)
{
    // Slot 0 stands for the metafile itself.
    if (index != 0)
        m_context.Objects().Set(index, object);
}

void EmfRecordPlayer::Poly(quint32 type, const MetafileReader &r, bool shortPoints)
{
    const QPolygonF points = Points(r, 28, r.U32(24), shortPoints);
    if (points.isEmpty())
        return;
    GdiContext &dc = m_context;
    switch (type) {
    case PolyBezier:
    case PolyBezier16:
        dc.PolyBezier(points);
        break;
    case Polygon:
    case Polygon16:
        dc.Polygon(points);
        break;
    case Polyline:
    case Polyline16:
        dc.Polyline(points);
        break;
    case PolyBezierTo:
    case PolyBezierTo16:
        dc.PolyBezierTo(points);
        break;
    case PolylineTo:
    case PolylineTo16:
        dc.PolylineTo(points);
        break;
    case PolyDraw:
    case PolyDraw16: {
        const qint64 typesAt = 28 + qint64(points.size()) * (shortPoints ? 4 : 8);
        if (r.Has(typesAt, points.size()))
            dc.PolyDraw(points, r.Bytes(typesAt, points.size()));
        break;
    }
    default:
        break;
    }
}

void EmfRecordPlayer::PolyPoly(quint32 type, const MetafileReader &r, bool shortPoints)
{
    const quint32 polygons = r.U32(24);
    const quint32 total = r.U32(28);
    const qint64 pointsAt = 32 + qint64(polygons) * 4;
    if (!r.Has(32, qint64(polygons) * 4) || !r.Has(pointsAt, qint64(total) * (shortPoints ? 4 : 8)))
        return;
    QList<QPolygonF> list;
    qint64 at = pointsAt;
    qint64 left = total;
    for (quint32 i = 0; i < polygons; ++i) {
        const qint64 count = r.U32(32 + qint64(i) * 4);
        if (count > left)
            break;
        list.append(Points(r, at, count, shortPoints));
        at += count * (shortPoints ? 4 : 8);
        left -= count;
    }
    if (type == PolyPolygon || type == PolyPolygon16)
        m_context.PolyPolygon(list);
    else
        m_context.PolyPolyline(list);
}

QImage EmfRecordPlayer::RecordBitmap(const MetafileReader &r, qint64 at, bool *bottomUp) const
{
    // Offsets and sizes of the info header and of the bits, from the
    // record's start.
    const quint32 offBmi = r.U32(at);
    const quint32 cbBmi = r.U32(at + 4);
    const quint32 offBits = r.U32(at + 8);
    const quint32 cbBits = r.U32(at + 12);
    QImage image;
    if (cbBmi == 0 || !r.Has(offBmi, cbBmi) || !r.Has(offBits, cbBits))
        return image;
    GdiContext::DecodeDib(r.Bytes(offBmi, cbBmi) + r.Bytes(offBits, cbBits), image, bottomUp);
    return image;
}

void EmfRecordPlayer::Blit(quint32 type, const MetafileReader &r)
{
    GdiContext &dc = m_context;
    bool bottomUp = false;
    if (type == StretchDiBits || type == SetDiBitsToDevice) {
        const QRectF source(r.I32(32), r.I32(36), r.I32(40), r.I32(44));
        const QRectF dest = type == StretchDiBits
                                ? QRectF(r.I32(24), r.I32(28), r.I32(72), r.I32(76))
                                : QRectF(r.I32(24), r.I32(28), source.width(), source.height());
        const quint32 rop = type == StretchDiBits ? r.U32(68) : quint32(Gdi::SrcCopy);
        const QImage image = RecordBitmap(r, 48, &bottomUp);
        if (image.isNull()) {
            dc.PatBlt(dest, rop);
            return;
        }
        dc.Bitmap(dest, image, GdiContext::DibSource(image, source, bottomUp), rop);
        return;
    }
    // BitBlt, StretchBlt, AlphaBlend, TransparentBlt: the source is a
    // device context, measured from its top.
    const QRectF dest(r.I32(24), r.I32(28), r.I32(32), r.I32(36));
    const quint32 rop = r.U32(40);
    const bool stretched = type != BitBlt && r.Has(100, 8);
    const QRectF source(r.I32(44), r.I32(48), stretched ? r.I32(100) : dest.width(),
                        stretched ? r.I32(104) : dest.height());
    QImage image = RecordBitmap(r, 84, &bottomUp);
    if (image.isNull()) {
        if (type == BitBlt || type == StretchBlt)
            dc.PatBlt(dest, rop);
        return;
    }
    if (type == AlphaBlend) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        const int constant = (rop >> 16) & 0xFF;
        if (constant < 255) {
            QImage faded(image.size(), QImage::Format_ARGB32);
            faded.fill(Qt::transparent);
            QPainter painter(&faded);
            painter.setOpacity(constant / 255.0);
            painter.drawImage(0, 0, image);
            painter.end();
            image = faded;
        }
        dc.Bitmap(dest, image, source, Gdi::SrcCopy);
    } else if (type == TransparentBlt) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = Gdi::ColorRef(rop).rgb();
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                    line[x] = 0;
        }
        dc.Bitmap(dest, image, source, Gdi::SrcCopy);
    } else {
        dc.Bitmap(dest, image, source, rop);
    }
}

void EmfRecordPlayer::Text(const MetafileReader &r, qint64 at, bool wide)
{
    // An EMRTEXT at 'at': reference, count, offset of the string, options,
    // rectangle (unless told there is none), offset of the advances.
    GdiTextRun run;
    run.reference = Point(r, at);
    const quint32 count = r.U32(at + 8);
    const quint32 textAt = r.U32(at + 12);
    run.options = r.U32(at + 16);
    qint64 dxField = at + 20;
    if (!(run.options & Gdi::EtoNoRect)) {
        run.rect = Box(r, at + 20);
        dxField = at + 36;
    }
    const qint64 bytes = qint64(count) * (wide ? 2 : 1);
    if (!r.Has(textAt, bytes))
        return;
    if (wide) {
        run.text.resize(count);
        for (quint32 i = 0; i < count; ++i)
            run.text[i] = QChar(r.U16(textAt + 2 * qint64(i)));
    } else {
        run.text = GdiContext::AnsiText(r.Bytes(textAt, count));
    }
    const quint32 dxAt = r.U32(dxField);
    const int step = run.options & Gdi::EtoPdy ? 8 : 4;
    if (dxAt != 0 && count > 0 && r.Has(dxAt, qint64(count) * step)) {
        for (quint32 i = 0; i < count; ++i)
            run.dx.append(r.I32(dxAt + qint64(i) * step));
    }
    // Glyph indices cannot be drawn without the font file; their advances
    // still place the run.
    if (run.options & Gdi::EtoGlyphIndex)
        run.text.fill(QChar(' '));
    m_context.Text(run);
}

void EmfRecordPlayer::PlayRecord(quint32 type, const MetafileReader &r)
{
    GdiContext &dc = m_context;
    switch (type) {
    case PolyBezier:
    case Polygon:
    case Polyline:
    case PolyBezierTo:
    case PolylineTo:
    case PolyDraw:
        Poly(type, r, false);
        break;
    case PolyBezier16:
    case Polygon16:
    case Polyline16:
    case PolyBezierTo16:
    case PolylineTo16:
    case PolyDraw16:
        Poly(type, r, true);
        break;
    case PolyPolyline:
    case PolyPolygon:
        PolyPoly(type, r, false);
        break;
    case PolyPolyline16:
    case PolyPolygon16:
        PolyPoly(type, r, true);
        break;
    case SetWindowExtEx:
        dc.SetWindowExt(QSizeF(r.I32(8), r.I32(12)));
        break;
    case SetWindowOrgEx:
        dc.SetWindowOrg(Point(r, 8));
        break;
    case SetViewportExtEx:
        dc.SetViewportExt(QSizeF(r.I32(8), r.I32(12)));
        break;
    case SetViewportOrgEx:
        dc.SetViewportOrg(Point(r, 8));
        break;
    case ScaleViewportExtEx:
        dc.ScaleViewportExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
        break;
    case ScaleWindowExtEx:
        dc.ScaleWindowExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
        break;
    case SetPixelV:
        dc.SetPixel(Point(r, 8), Gdi::ColorRef(r.U32(16)));
        break;
    case SetMapMode:
        dc.SetMapMode(int(r.U32(8)));
        break;
    case SetBkMode:
        dc.SetBkMode(int(r.U32(8)));
        break;
    case SetPolyFillMode:
        dc.SetPolyFillMode(int(r.U32(8)));
        break;
    case SetTextAlign:
        dc.SetTextAlign(r.U32(8));
        break;
    case SetTextColor:
        dc.SetTextColor(Gdi::ColorRef(r.U32(8)));
        break;
    case SetBkColor:
        dc.SetBkColor(Gdi::ColorRef(r.U32(8)));
        break;
    case OffsetClipRgn:
        dc.OffsetClip(Point(r, 8));
        break;
    case MoveToEx:
        dc.MoveTo(Point(r, 8));
        break;
    case LineTo:
        dc.LineTo(Point(r, 8));
        break;
    case ExcludeClipRect:
        dc.ExcludeClipRect(Box(r, 8));
        break;
    case IntersectClipRect:
        dc.IntersectClipRect(Box(r, 8));
        break;
    case SaveDc:
        dc.SaveDc();
        break;
    case RestoreDc:
        dc.RestoreDc(r.I32(8));
        break;
    case SetWorldTransform:
        dc.SetWorldTransform(Xform(r, 8));
        break;
    case ModifyWorldTransform:
        dc.ModifyWorldTransform(Xform(r, 8), int(r.U32(32)));
        break;
    case SelectObject: {
        const quint32 index = r.U32(8);
        if (index & 0x80000000) {
            if (const auto stock = GdiObject::Stock(index & 0x7FFFFFFF))
                dc.SelectObject(*stock);
        } else if (const GdiObject *object = dc.Objects().Find(index)) {
            dc.SelectObject(*object);
        }
        break;
    }
    case DeleteObject:
        dc.Objects().Remove(r.U32(8));
        break;
    case CreatePen:
        Create(r.U32(8), GdiObject::Pen(GdiContext::MakePen(r.U32(12), std::abs(r.I32(16)),
                                                            Gdi::ColorRef(r.U32(24))),
                                        (r.U32(12) & 0xF) == 6));
        break;
    case ExtCreatePen: {
        const quint32 style = r.U32(28);
        const bool geometric = style & 0x10000;
        const quint32 entries = std::min<quint32>(r.U32(48), 32);
        QList<double> dashes;
        if (r.Has(52, qint64(entries) * 4))
            for (quint32 i = 0; i < entries; ++i)
                dashes.append(r.U32(52 + 4 * qint64(i)));
        QPen pen =
            GdiContext::MakePen(style, geometric ? r.U32(32) : 0, Gdi::ColorRef(r.U32(40)), dashes);
        const quint32 brushStyle = r.U32(36);
        if (brushStyle == 1)
            pen = QPen(Qt::NoPen);
        else if (brushStyle == 2 && pen.style() != Qt::NoPen)
            pen.setBrush(GdiContext::MakeBrush(2, Gdi::ColorRef(r.U32(40)), r.U32(44)));
        Create(r.U32(8), GdiObject::Pen(pen, (style & 0xF) == 6));
        break;
    }
    case CreateBrushIndirect:
        Create(r.U32(8), GdiObject::Brush(GdiContext::MakeBrush(r.U32(12), Gdi::ColorRef(r.U32(16)),
                                                                r.U32(20))));
        break;
    case CreateMonoBrush:
    case CreateDibPatternBrushPt: {
        const QImage image = RecordBitmap(r, 16, nullptr);
        Create(r.U32(8), GdiObject::Brush(image.isNull() ? QBrush(Qt::gray) : QBrush(image)));
        break;
    }
    case CreatePalette:
        Create(r.U32(8), GdiObject::Placeholder(GdiObject::Kind::Palette));
        break;
    case ExtCreateFontIndirectW: {
        GdiLogFont font;
        font.height = r.I32(12);
        font.width = r.I32(16);
        font.escapement = r.I32(20);
        font.weight = r.I32(28);
        font.italic = r.U8(32);
        font.underline = r.U8(33);
        font.strikeOut = r.U8(34);
        font.charSet = r.U8(35);
        for (int i = 0; i < 32 && r.Has(40 + 2 * i, 2); ++i) {
            const quint16 c = r.U16(40 + 2 * i);
            if (c == 0)
                break;
            font.face.append(QChar(c));
        }
        Create(r.U32(8), GdiObject::Font(font));
        break;
    }
    case AngleArc:
        dc.AngleArc(Point(r, 8), r.U32(16), r.F32(20), r.F32(24));
        break;
    case Ellipse:
        dc.Ellipse(Box(r, 8));
        break;
    case Rectangle:
        dc.Rectangle(Box(r, 8));
        break;
    case RoundRect:
        dc.RoundRect(Box(r, 8), QSizeF(r.I32(24), r.I32(28)));
        break;
    case Arc:
    case Chord:
    case Pie:
    case ArcTo: {
        const GdiContext::ArcKind kind = type == Arc     ? GdiContext::ArcKind::Arc
                                         : type == Chord ? GdiContext::ArcKind::Chord
                                         : type == Pie   ? GdiContext::ArcKind::Pie
                                                         : GdiContext::ArcKind::ArcTo;
        dc.Arc(kind, Box(r, 8), Point(r, 24), Point(r, 32));
        break;
    }
    case SetArcDirection:
        dc.SetArcDirection(int(r.U32(8)));
        break;
    case SetMiterLimit:
        dc.SetMiterLimit(r.U32(8));
        break;
    case BeginPath:
        dc.BeginPath();
        break;
    case EndPath:
        dc.EndPath();
        break;
    case CloseFigure:
        dc.CloseFigure();
        break;
    case FillPath:
        dc.FillPath();
        break;
    case StrokePath:
        dc.StrokePath();
        break;
    case StrokeAndFillPath:
        dc.StrokeAndFillPath();
        break;
    case SelectClipPath:
        dc.SelectClipPath(int(r.U32(8)));
        break;
    case AbortPath:
        dc.AbortPath();
        break;
    case ExtSelectClipRgn: {
        const quint32 size = r.U32(8);
        const int mode = int(r.U32(12));
        if (size == 0 || !r.Has(16, size)) {
            if (mode == Gdi::RgnCopy)
                dc.ResetClip();
            break;
        }
        dc.CombineDeviceClip(RegionData(r, 16, size), mode);
        break;
    }
    case FillRgn: {
        const GdiObject *brush = dc.Objects().Find(r.U32(28));
        std::optional<GdiObject> stock;
        if (r.U32(28) & 0x80000000) {
            stock = GdiObject::Stock(r.U32(28) & 0x7FFFFFFF);
            brush = stock ? &*stock : nullptr;
        }
        if (brush && brush->kind == GdiObject::Kind::Brush)
            dc.FillArea(RegionData(r, 32, r.U32(24)), &brush->brush);
        break;
    }
    case FrameRgn: {
        const GdiObject *brush = dc.Objects().Find(r.U32(28));
        if (brush && brush->kind == GdiObject::Kind::Brush)
            dc.FrameArea(RegionData(r, 40, r.U32(24)), brush->brush);
        break;
    }
    case PaintRgn:
        dc.FillArea(RegionData(r, 28, r.U32(24)), nullptr);
        break;
    case BitBlt:
    case StretchBlt:
    case SetDiBitsToDevice:
    case StretchDiBits:
    case AlphaBlend:
    case TransparentBlt:
        Blit(type, r);
        break;
    case ExtTextOutA:
    case ExtTextOutW:
        Text(r, 36, type == ExtTextOutW);
        break;
    case SmallTextOut: {
        // Reference, count, options, graphics mode, scales, the clip
        // rectangle unless told there is none, then the characters: bytes
        // when small, else UTF-16.
        GdiTextRun run;
        run.reference = Point(r, 8);
        const quint32 count = r.U32(16);
        run.options = r.U32(20);
        qint64 at = 36;
        if (!(run.options & Gdi::EtoNoRect)) {
            run.rect = Box(r, 36);
            at = 52;
        }
        const bool small = run.options & 0x200;
        if (!r.Has(at, qint64(count) * (small ? 1 : 2)))
            break;
        if (small) {
            run.text = GdiContext::AnsiText(r.Bytes(at, count));
        } else {
            for (quint32 i = 0; i < count; ++i)
                run.text.append(QChar(r.U16(at + 2 * qint64(i))));
        }
        if (!(run.options & Gdi::EtoGlyphIndex))
            dc.Text(run);
        break;
    }
    case PolyTextOutA:
    case PolyTextOutW: {
        const quint32 strings = r.U32(36);
        for (quint32 i = 0; i < strings && r.Has(40 + qint64(i) * 40, 40); ++i)
            Text(r, 40 + qint64(i) * 40, type == PolyTextOutW);
        break;
    }
    default:
        break; // comments, palettes, colour management and the rest
    }
}

} // namespace Dayloom
