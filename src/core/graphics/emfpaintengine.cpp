#include "core/graphics/emfpaintengine.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Dayloom {

namespace {

// Record types.
enum : quint32
{
    EmrHeader = 1,
    EmrPolygon = 3,
    EmrPolyline = 4,
    EmrPolyBezierTo = 5,
    EmrPolyLineTo = 6,
    EmrSetWindowExtEx = 9,
    EmrSetViewportExtEx = 11,
    EmrEof = 14,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetPolyFillMode = 19,
    EmrSetStretchBltMode = 21,
    EmrSetTextAlign = 22,
    EmrSetTextColor = 24,
    EmrMoveToEx = 27,
    EmrSetWorldTransform = 35,
    EmrModifyWorldTransform = 36,
    EmrSelectObject = 37,
    EmrCreateBrushIndirect = 39,
    EmrDeleteObject = 40,
    EmrEllipse = 42,
    EmrRectangle = 43,
    EmrBeginPath = 59,
    EmrEndPath = 60,
    EmrCloseFigure = 61,
    EmrFillPath = 62,
    EmrStrokeAndFillPath = 63,
    EmrStrokePath = 64,
    EmrSelectClipPath = 67,
    EmrExtSelectClipRgn = 75,
    EmrStretchDIBits = 81,
    EmrExtCreateFontIndirectW = 82,
    EmrExtTextOutW = 84,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyBezierTo16 = 88,
    EmrPolyLineTo16 = 89,
    EmrExtCreatePen = 95,
};

// Stock objects.
constexpr quint32 WhiteBrush = 0x80000000;
constexpr quint32 NullBrush = 0x80000005;
constexpr quint32 BlackPen = 0x80000007;
constexpr quint32 NullPen = 0x80000008;
constexpr quint32 SystemFont = 0x8000000D;

constexpr quint32 MmAnisotropic = 8;
constexpr quint32 Transparent = 1;
constexpr quint32 TaBaseline = 24;
constexpr quint32 Halftone = 4;
constexpr quint32 Alternate = 1;
constexpr quint32 Winding = 2;
constexpr quint32 RgnAnd = 1;
constexpr quint32 RgnCopy = 5;
constexpr quint32 MwtIdentity = 1;
constexpr quint32 GmCompatible = 1;
constexpr quint32 GmAdvanced = 2;

// Pen styles.
constexpr quint32 PsSolid = 0;
constexpr quint32 PsDash = 1;
constexpr quint32 PsDot = 2;
constexpr quint32 PsDashDot = 3;
constexpr quint32 PsDashDotDot = 4;
constexpr quint32 PsUserStyle = 7;
constexpr quint32 PsEndcapRound = 0x0000;
constexpr quint32 PsEndcapSquare = 0x0100;
constexpr quint32 PsEndcapFlat = 0x0200;
constexpr quint32 PsJoinRound = 0x0000;
constexpr quint32 PsJoinBevel = 0x1000;
constexpr quint32 PsJoinMiter = 0x2000;
constexpr quint32 PsGeometric = 0x00010000;

// Brush styles.
constexpr quint32 BsSolid = 0;
constexpr quint32 BsHatched = 2;

// The reference device: a 96 pixels-per-inch screen of 20 x 15 inches, so
// that pixels and millimetres relate exactly.
constexpr int DevicePixelsX = 1920;
constexpr int DevicePixelsY = 1440;
constexpr int DeviceMillimetresX = 508;
constexpr int DeviceMillimetresY = 381;

constexpr int HeaderSize = 108;
const char16_t Description[] = u"Dayloom\0Picture\0"; // two strings, then a final null
constexpr int DescriptionChars = sizeof(Description) / sizeof(char16_t);

// Images are written with at most this many pixels each way.
constexpr int MaxImageSide = 4096;

// Logical coordinates are kept well inside 32 bits.
constexpr double CoordinateLimit = 1 << 30;

QRgb OverWhite(const QColor &color, qreal opacity)
{
    const double a = std::clamp(color.alphaF() * opacity, 0.0, 1.0);
    auto mix = [a](int c) { return int(std::lround(255 - (255 - c) * a)); };
    return qRgb(mix(color.red()), mix(color.green()), mix(color.blue()));
}

QColor ColorAt(const QGradient &gradient, double t)
{
    switch (gradient.spread()) {
    case QGradient::PadSpread:
        t = std::clamp(t, 0.0, 1.0);
        break;
    case QGradient::RepeatSpread:
        t -= std::floor(t);
        break;
    case QGradient::ReflectSpread:
        t = std::fmod(std::fabs(t), 2.0);
        if (t > 1)
            t = 2 - t;
        break;
    }
    const QGradientStops stops = gradient.stops();
    if (stops.isEmpty())
        return Qt::black;
    if (t <= stops.first().first)
        return stops.first().second;
    for (int i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            const double span = stops[i].first - stops[i - 1].first;
            const double f = span > 0 ? (t - stops[i - 1].first) / span : 1.0;
            const QColor &a = stops[i - 1].second;
            const QColor &b = stops[i].second;
            return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * f),
                                    float(a.greenF() + (b.greenF() - a.greenF()) * f),
                                    float(a.blueF() + (b.blueF() - a.blueF()) * f),
                                    float(a.alphaF() + (b.alphaF() - a.alphaF()) * f));
        }
    }
    return stops.last().second;
}

// One colour standing for a brush that EMF cannot express.
QColor AverageColor(const QBrush &brush)
{
    if (const QGradient *gradient = brush.gradient()) {
        double r = 0, g = 0, b = 0, a = 0;
        constexpr int Samples = 16;
        for (int i = 0; i < Samples; ++i) {
            const QColor c = ColorAt(*gradient, (i + 0.5) / Samples);
            r += c.redF();
            g += c.greenF();
            b += c.blueF();
            a += c.alphaF();
        }
        return QColor::fromRgbF(float(r / Samples), float(g / Samples), float(b / Samples),
                                float(a / Samples));
    }
    if (brush.style() == Qt::TexturePattern) {
        const QImage texture = brush.textureImage();
        if (!texture.isNull())
            return QColor::fromRgba(
                texture.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
    }
    return brush.color();
}

// The share of pixels a dense pattern covers.
double DenseCoverage(Qt::BrushStyle style)
{
    switch (style) {
    case Qt::Dense1Pattern:
        return 0.94;
    case Qt::Dense2Pattern:
        return 0.88;
    case Qt::Dense3Pattern:
        return 0.63;
    case Qt::Dense4Pattern:
        return 0.5;
    case Qt::Dense5Pattern:
        return 0.37;
    case Qt::Dense6Pattern:
        return 0.12;
    case Qt::Dense7Pattern:
        return 0.06;
    default:
        return 1.0;
    }
}

int HatchOf(Qt::BrushStyle style)
{
    switch (style) {
    case Qt::HorPattern:
        return 0;
    case Qt::VerPattern:
        return 1;
    case Qt::FDiagPattern:
        return 2;
    case Qt::BDiagPattern:
        return 3;
    case Qt::CrossPattern:
        return 4;
    case Qt::DiagCrossPattern:
        return 5;
    default:
        return -1;
    }
}

bool IsGradientOrTexture(const QBrush &brush)
{
    return brush.gradient() != nullptr || brush.style() == Qt::TexturePattern;
}

QRect Inclusive(const QRectF &rect)
{
    if (rect.isEmpty())
        return QRect(QPoint(0, 0), QPoint(-1, -1));
    const auto clampInt = [](double v) {
        return int(std::clamp(v, -CoordinateLimit, CoordinateLimit));
    };
    return QRect(
        QPoint(clampInt(std::floor(rect.left())), clampInt(std::floor(rect.top()))),
        QPoint(clampInt(std::ceil(rect.right())) - 1, clampInt(std::ceil(rect.bottom())) - 1));
}

bool Fits16(const std::vector<QPoint> &points)
{
    return std::all_of(points.begin(), points.end(), [](const QPoint &p) {
        return p.x() >= -32768 && p.x() <= 32767 && p.y() >= -32768 && p.y() <= 32767;
    });
}

QByteArray Utf16(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace

EmfPaintEngine::EmfPaintEngine(const QSize &framePixels)
    : QPaintEngine(QPaintEngine::AllFeatures),
      m_frame(std::max(1, framePixels.width()), std::max(1, framePixels.height()))
{
}

// --- records -------------------------------------------------------------------------

int EmfPaintEngine::BeginRecord(quint32 type)
{
    const int start = int(m_records.size());
    Put32(type);
    Put32(0); // size, filled in by EndRecord
    return start;
}

void EmfPaintEngine::EndRecord(int start)
{
    while (m_records.size() % 4)
        m_records.append('\0');
    qToLittleEndian<quint32>(quint32(m_records.size() - start), m_records.data() + start + 4);
    ++m_recordCount;
}

void EmfPaintEngine::Put32(quint32 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    m_records.append(bytes, 4);
}

void EmfPaintEngine::PutSigned(qint32 value)
{
    Put32(quint32(value));
}

void EmfPaintEngine::PutFloat(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    Put32(bits);
}

void EmfPaintEngine::PutRect(const QRect &rect)
{
    PutSigned(rect.left());
    PutSigned(rect.top());
    PutSigned(rect.right());
    PutSigned(rect.bottom());
}

void EmfPaintEngine::PutColor(QRgb color)
{
    Put32(quint32(qRed(color)) | quint32(qGreen(color)) << 8 | quint32(qBlue(color)) << 16);
}

void EmfPaintEngine::Simple(quint32 type)
{
    EndRecord(BeginRecord(type));
}

void EmfPaintEngine::Simple(quint32 type, quint32 value)
{
    const int start = BeginRecord(type);
    Put32(value);
    EndRecord(start);
}

// --- begin and end ---------------------------------------------------------------------

bool EmfPaintEngine::begin(QPaintDevice *device)
{
    m_device = device;
    m_records.clear();
    m_file.clear();
    m_recordCount = 0;
    m_bounds = QRectF();
    m_pen = QPen();
    m_brush = QBrush();
    m_transform = QTransform();
    m_opacity = 1.0;
    m_handles.assign(1, false);
    m_handleCount = 1;
    m_pens.clear();
    m_brushes.clear();
    m_fonts.clear();
    m_penKey.clear();
    m_brushKey.clear();
    m_fontKey.clear();
    m_fillMode = 0;
    m_textColorSet = false;

    Simple(EmrSetMapMode, MmAnisotropic);
    int start = BeginRecord(EmrSetWindowExtEx);
    PutSigned(m_frame.width() * Subdivision);
    PutSigned(m_frame.height() * Subdivision);
    EndRecord(start);
    start = BeginRecord(EmrSetViewportExtEx);
    PutSigned(m_frame.width());
    PutSigned(m_frame.height());
    EndRecord(start);
    Simple(EmrSetBkMode, Transparent);
    Simple(EmrSetTextAlign, TaBaseline);
    Simple(EmrSetStretchBltMode, Halftone);
    setActive(true);
    return true;
}

bool EmfPaintEngine::end()
{
    // Put the stock objects back and free every object made.
    if (!m_pens.empty())
        SelectStock(BlackPen);
    if (!m_brushes.empty())
        SelectStock(WhiteBrush);
    if (!m_fonts.empty())
        SelectStock(SystemFont);
    for (ObjectCache *cache : {&m_pens, &m_brushes, &m_fonts}) {
        for (const CachedObject &object : *cache)
            FreeHandle(object.handle);
        cache->clear();
    }

    int start = BeginRecord(EmrEof);
    Put32(0);  // palette entries
    Put32(16); // their offset
    Put32(20); // this record's size
    EndRecord(start);

    const int descriptionBytes = (DescriptionChars * 2 + 3) / 4 * 4;
    const int headerBytes = HeaderSize + descriptionBytes;
    QByteArray body = std::move(m_records);
    m_records.clear();
    start = BeginRecord(EmrHeader);
    PutRect(Inclusive(m_bounds));
    const auto hundredths = [](int pixels) { return int(std::lround(pixels * 2540.0 / 96.0)); };
    PutRect(QRect(QPoint(0, 0), QPoint(hundredths(m_frame.width()), hundredths(m_frame.height()))));
    Put32(0x464D4520); // " EMF"
    Put32(0x00010000);
    Put32(quint32(headerBytes + body.size()));
    Put32(quint32(m_recordCount + 1)); // with the header itself
    Put32(quint32(m_handleCount));     // handle count (16 bits) and a reserved zero
    Put32(DescriptionChars);
    Put32(HeaderSize);
    Put32(0); // palette entries
    PutSigned(DevicePixelsX);
    PutSigned(DevicePixelsY);
    PutSigned(DeviceMillimetresX);
    PutSigned(DeviceMillimetresY);
    Put32(0); // pixel format size
    Put32(0); // pixel format offset
    Put32(0); // no OpenGL records
    PutSigned(DeviceMillimetresX * 1000);
    PutSigned(DeviceMillimetresY * 1000);
    for (char16_t c : Description) {
        m_records.append(char(c & 0xff));
        m_records.append(char(c >> 8));
    }
    EndRecord(start);
    m_file = m_records + body;
    m_records.clear();
    setActive(false);
    return true;
}

// --- objects ---------------------------------------------------------------------------

int EmfPaintEngine::NewHandle()
{
    auto free = std::find(m_handles.begin() + 1, m_handles.end(), false);
    const int handle = int(free - m_handles.begin());
    if (free == m_handles.end())
        m_handles.push_back(true);
    else
        *free = true;
    m_handleCount = std::max(m_handleCount, handle + 1);
    return handle;
}

void EmfPaintEngine::FreeHandle(int handle)
{
    Simple(EmrDeleteObject, quint32(handle));
    m_handles[size_t(handle)] = false;
}

void EmfPaintEngine::SelectStock(quint32 stock)
{
    Simple(EmrSelectObject, stock);
}

void EmfPaintEngine::SelectStockFor(QByteArray &selected, quint32 stock)
{
    if (selected != "null") {
        SelectStock(stock);
        selected = "null";
    }
}

void EmfPaintEngine::Select(ObjectCache &cache, QByteArray &selected, const QByteArray &key,
                            WriteObject write)
{
    constexpr size_t MaxCached = 24;
    if (key == selected)
        return;
    selected = key;
    const auto found = std::find_if(cache.begin(), cache.end(),
                                    [&key](const CachedObject &o) { return o.key == key; });
    if (found != cache.end()) {
        const CachedObject object = *found;
        cache.erase(found);
        cache.push_back(object);
        Simple(EmrSelectObject, quint32(object.handle));
        return;
    }
    const int handle = NewHandle();
    (this->*write)(handle, key);
    Simple(EmrSelectObject, quint32(handle));
    cache.push_back({key, handle});
    if (cache.size() > MaxCached) { // the oldest is not the one selected
        FreeHandle(cache.front().handle);
        cache.erase(cache.begin());
    }
}

void EmfPaintEngine::UsePen(bool wanted)
{
    if (!wanted) {
        SelectStockFor(m_penKey, NullPen);
        return;
    }
    const QRgb color = OverWhite(AverageColor(m_pen.brush()), m_opacity);
    const double scale = std::sqrt(std::fabs(m_transform.determinant()));
    const bool cosmetic = m_pen.isCosmetic();
    double deviceWidth = cosmetic ? m_pen.widthF() : m_pen.widthF() * scale;
    if (deviceWidth <= 0)
        deviceWidth = 1;

    quint32 style = 0;
    quint32 width = 1;
    QList<quint32> dashes;
    if (cosmetic && deviceWidth <= 1.0) {
        switch (m_pen.style()) {
        case Qt::DashLine:
        case Qt::CustomDashLine:
            style = PsDash;
            break;
        case Qt::DotLine:
            style = PsDot;
            break;
        case Qt::DashDotLine:
            style = PsDashDot;
            break;
        case Qt::DashDotDotLine:
            style = PsDashDotDot;
            break;
        default:
            style = PsSolid;
            break;
        }
    } else {
        width = quint32(std::max<long>(1, std::lround(deviceWidth * Subdivision)));
        style = PsGeometric;
        switch (m_pen.capStyle()) {
        case Qt::FlatCap:
            style |= PsEndcapFlat;
            break;
        case Qt::SquareCap:
            style |= PsEndcapSquare;
            break;
        default:
            style |= PsEndcapRound;
            break;
        }
        switch (m_pen.joinStyle()) {
        case Qt::BevelJoin:
            style |= PsJoinBevel;
            break;
        case Qt::RoundJoin:
            style |= PsJoinRound;
            break;
        default:
            style |= PsJoinMiter;
            break;
        }
        if (m_pen.style() != Qt::SolidLine) {
            style |= PsUserStyle;
            const QList<qreal> pattern = m_pen.dashPattern();
            for (qsizetype i = 0; i < pattern.size() && i < 16; ++i)
                dashes.append(quint32(std::max<long>(1, std::lround(pattern[i] * width))));
            if (dashes.size() % 2)
                dashes.append(dashes.last());
        }
    }

    // The pen as written after its handle: LOGPEN_EX.
    QByteArray key;
    const auto add = [&key](quint32 v) {
        char bytes[4];
        qToLittleEndian<quint32>(v, bytes);
        key.append(bytes, 4);
    };
    add(style);
    add(width);
    add(BsSolid);
    add(quint32(qRed(color)) | quint32(qGreen(color)) << 8 | quint32(qBlue(color)) << 16);
    add(0); // hatch
    add(quint32(dashes.size()));
    for (quint32 dash : dashes)
        add(dash);
    Select(m_pens, m_penKey, key, &EmfPaintEngine::WritePen);
}

void EmfPaintEngine::WritePen(int handle, const QByteArray &key)
{
    const int start = BeginRecord(EmrExtCreatePen);
    Put32(quint32(handle));
    Put32(0); // no bitmap: offset and size of the header and the bits
    Put32(0);
    Put32(0);
    Put32(0);
    m_records.append(key);
    EndRecord(start);
}

void EmfPaintEngine::UseBrush(bool wanted, const QColor &color)
{
    if (!wanted) {
        SelectStockFor(m_brushKey, NullBrush);
        return;
    }
    quint32 style = BsSolid;
    quint32 hatch = 0;
    QColor c = color;
    const int hatchIndex = HatchOf(m_brush.style());
    if (hatchIndex >= 0 && color == m_brush.color()) {
        style = BsHatched;
        hatch = quint32(hatchIndex);
    } else if (color == m_brush.color()) {
        c.setAlphaF(float(c.alphaF() * DenseCoverage(m_brush.style())));
    }
    const QRgb rgb = OverWhite(c, m_opacity);
    QByteArray key;
    for (quint32 v :
         {style, quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16,
          hatch}) {
        char bytes[4];
        qToLittleEndian<quint32>(v, bytes);
        key.append(bytes, 4);
    }
    Select(m_brushes, m_brushKey, key, &EmfPaintEngine::WriteBrush);
}

void EmfPaintEngine::WriteBrush(int handle, const QByteArray &key)
{
    const int start = BeginRecord(EmrCreateBrushIndirect);
    Put32(quint32(handle));
    m_records.append(key); // LOGBRUSH: style, colour, hatch
    EndRecord(start);
}

void EmfPaintEngine::UseFont(const QFont &font, double scale)
{
    double pixels = font.pixelSize() > 0 ? font.pixelSize()
                                         : font.pointSizeF() * m_device->logicalDpiY() / 72.0;
    const qint32 height =
        -qint32(std::clamp<double>(std::lround(pixels * scale * Subdivision), 1.0, 1 << 24));

    // LOGFONTW, then the full name, style and the rest of the panose form.
    QByteArray logFont;
    const auto add = [&logFont](quint32 v) {
        char bytes[4];
        qToLittleEndian<quint32>(v, bytes);
        logFont.append(bytes, 4);
    };
    add(quint32(height));
    add(0); // width: the face's own
    add(0); // escapement
    add(0); // orientation
    add(quint32(std::clamp(int(font.weight()), 1, 1000)));
    logFont.append(char(font.italic() ? 1 : 0));
    logFont.append(char(font.underline() ? 1 : 0));
    logFont.append(char(font.strikeOut() ? 1 : 0));
    logFont.append(char(1)); // default character set
    logFont.append(char(0)); // output precision
    logFont.append(char(0)); // clip precision
    logFont.append(char(4)); // antialiased quality
    logFont.append(char(0)); // pitch and family
    QByteArray face = Utf16(font.family().left(31));
    face.resize(64, '\0');
    logFont.append(face);
    QByteArray fullName = Utf16(font.family().left(63));
    fullName.resize(128, '\0');
    QByteArray key = logFont + fullName;
    key.append(QByteArray(64, '\0')); // style
    key.append(QByteArray(16, '\0')); // version, style size, match, reserved
    key.append(QByteArray(4, '\0'));  // vendor
    key.append(QByteArray(4, '\0'));  // culture
    key.append(QByteArray(12, '\0')); // panose and padding
    Select(m_fonts, m_fontKey, key, &EmfPaintEngine::WriteFont);
}

void EmfPaintEngine::WriteFont(int handle, const QByteArray &key)
{
    const int start = BeginRecord(EmrExtCreateFontIndirectW);
    Put32(quint32(handle));
    m_records.append(key);
    EndRecord(start);
}

void EmfPaintEngine::UseFillMode(Qt::FillRule rule)
{
    const int mode = rule == Qt::WindingFill ? int(Winding) : int(Alternate);
    if (mode != m_fillMode) {
        Simple(EmrSetPolyFillMode, quint32(mode));
        m_fillMode = mode;
    }
}

void EmfPaintEngine::UseTextColor(QRgb color)
{
    if (m_textColorSet && color == m_textColor)
        return;
    const int start = BeginRecord(EmrSetTextColor);
    PutColor(color);
    EndRecord(start);
    m_textColor = color;
    m_textColorSet = true;
}

// --- state -------------------------------------------------------------------------------

void EmfPaintEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform)
        m_transform = state.transform();
    if (flags & DirtyPen)
        m_pen = state.pen();
    if (flags & DirtyBrush)
        m_brush = state.brush();
    if (flags & DirtyOpacity)
        m_opacity = state.opacity();
    if (flags & DirtyClipEnabled && !state.isClipEnabled()) {
        SetClip(QPainterPath(), Qt::NoClip);
    } else if (flags & DirtyClipPath) {
        SetClip(state.clipPath(), state.clipOperation());
    } else if (flags & DirtyClipRegion) {
        QPainterPath path;
        path.addRegion(state.clipRegion());
        SetClip(path, state.clipOperation());
    }
}

void EmfPaintEngine::SetClip(const QPainterPath &userPath, Qt::ClipOperation operation)
{
    if (operation == Qt::NoClip) {
        const int start = BeginRecord(EmrExtSelectClipRgn);
        Put32(0); // no region data: back to no clip
        Put32(RgnCopy);
        EndRecord(start);
        return;
    }
    const QPainterPath devicePath = m_transform.map(userPath);
    UseFillMode(devicePath.fillRule());
    Simple(EmrBeginPath);
    WritePathRecords(devicePath);
    Simple(EmrEndPath);
    Simple(EmrSelectClipPath, operation == Qt::IntersectClip ? RgnAnd : RgnCopy);
}

// --- geometry ------------------------------------------------------------------------------

QPoint EmfPaintEngine::Logical(const QPointF &devicePoint) const
{
    const auto scaled = [](double v) {
        if (!std::isfinite(v))
            return 0;
        return int(std::lround(std::clamp(v * Subdivision, -CoordinateLimit, CoordinateLimit)));
    };
    return QPoint(scaled(devicePoint.x()), scaled(devicePoint.y()));
}

void EmfPaintEngine::WritePoints(quint32 type16, quint32 type32, const std::vector<QPoint> &points,
                                 const QRectF &deviceBounds)
{
    const bool small = Fits16(points);
    const int start = BeginRecord(small ? type16 : type32);
    PutRect(Inclusive(deviceBounds));
    Put32(quint32(points.size()));
    for (const QPoint &p : points) {
        if (small) {
            Put32(quint32(quint16(qint16(p.x()))) | quint32(quint16(qint16(p.y()))) << 16);
        } else {
            PutSigned(p.x());
            PutSigned(p.y());
        }
    }
    EndRecord(start);
}

void EmfPaintEngine::WritePathRecords(const QPainterPath &devicePath)
{
    std::vector<QPoint> run;
    QRectF runBounds;
    quint32 runType16 = 0;
    QPoint figureStart;
    QPoint current;
    const auto flush = [&]() {
        if (!run.empty())
            WritePoints(runType16, runType16 == EmrPolyLineTo16 ? EmrPolyLineTo : EmrPolyBezierTo,
                        run, runBounds);
        run.clear();
        runBounds = QRectF();
    };
    bool drew = false;
    const auto closeIfReturned = [&]() {
        if (drew && current == figureStart) {
            flush();
            Simple(EmrCloseFigure);
        }
    };
    bool open = false;
    for (int i = 0; i < devicePath.elementCount(); ++i) {
        const QPainterPath::Element &e = devicePath.elementAt(i);
        const QPointF point(e.x, e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement: {
            if (open)
                closeIfReturned();
            flush();
            current = figureStart = Logical(point);
            drew = false;
            const int start = BeginRecord(EmrMoveToEx);
            PutSigned(current.x());
            PutSigned(current.y());
            EndRecord(start);
            open = true;
            break;
        }
        case QPainterPath::LineToElement:
            if (runType16 != EmrPolyLineTo16)
                flush();
            runType16 = EmrPolyLineTo16;
            current = Logical(point);
            run.push_back(current);
            drew = true;
            runBounds |= QRectF(point, QSizeF(0.01, 0.01));
            break;
        case QPainterPath::CurveToElement: {
            if (runType16 != EmrPolyBezierTo16)
                flush();
            runType16 = EmrPolyBezierTo16;
            if (i + 2 >= devicePath.elementCount())
                return; // a truncated curve ends the path
            for (int k = 0; k < 3; ++k) {
                const QPainterPath::Element &c = devicePath.elementAt(i + k);
                current = Logical(QPointF(c.x, c.y));
                run.push_back(current);
                runBounds |= QRectF(QPointF(c.x, c.y), QSizeF(0.01, 0.01));
            }
            drew = true;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break; // consumed with its curve
        }
    }
    if (open)
        closeIfReturned();
    flush();
}

QRectF EmfPaintEngine::StrokeBounds(const QRectF &deviceRect) const
{
    if (!HasPen())
        return deviceRect;
    const double scale = std::sqrt(std::fabs(m_transform.determinant()));
    const double w =
        (m_pen.isCosmetic() ? std::max(1.0, m_pen.widthF()) : m_pen.widthF() * scale) / 2 + 1;
    return deviceRect.adjusted(-w, -w, w, w);
}

void EmfPaintEngine::AddBounds(const QRectF &deviceRect)
{
    QRectF r = deviceRect.normalized();
    if (r.width() <= 0)
        r.setWidth(1);
    if (r.height() <= 0)
        r.setHeight(1);
    m_bounds = m_bounds.isNull() ? r : m_bounds.united(r);
}

bool EmfPaintEngine::HasPen() const
{
    return m_pen.style() != Qt::NoPen && AverageColor(m_pen.brush()).alpha() > 0 && m_opacity > 0;
}

bool EmfPaintEngine::HasSolidBrush() const
{
    return m_brush.style() != Qt::NoBrush && !IsGradientOrTexture(m_brush) &&
           m_brush.color().alpha() > 0 && m_opacity > 0;
}

bool EmfPaintEngine::HasOtherBrush() const
{
    return IsGradientOrTexture(m_brush) && m_opacity > 0;
}

bool EmfPaintEngine::AxisAligned() const
{
    return m_transform.type() <= QTransform::TxScale;
}

void EmfPaintEngine::DrawDevicePath(const QPainterPath &devicePath, bool pen, bool solidBrush)
{
    if ((!pen && !solidBrush) || devicePath.isEmpty())
        return;
    if (pen)
        UsePen(true);
    if (solidBrush)
        UseBrush(true, m_brush.color());
    UseFillMode(devicePath.fillRule());
    Simple(EmrBeginPath);
    WritePathRecords(devicePath);
    Simple(EmrEndPath);
    const QRectF bounds =
        pen ? StrokeBounds(devicePath.controlPointRect()) : devicePath.controlPointRect();
    AddBounds(bounds);
    const int start = BeginRecord(pen && solidBrush ? EmrStrokeAndFillPath
                                  : pen             ? EmrStrokePath
                                                    : EmrFillPath);
    PutRect(Inclusive(bounds));
    EndRecord(start);
}

void EmfPaintEngine::FillBanded(const QPainterPath &userPath)
{
    const QPainterPath devicePath = m_transform.map(userPath);
    const QGradient *gradient = m_brush.gradient();
    const auto fillPiece = [&](const QPainterPath &piece, const QColor &color) {
        if (piece.isEmpty())
            return;
        UseBrush(true, color);
        UseFillMode(piece.fillRule());
        Simple(EmrBeginPath);
        WritePathRecords(piece);
        Simple(EmrEndPath);
        AddBounds(piece.controlPointRect());
        const int start = BeginRecord(EmrFillPath);
        PutRect(Inclusive(piece.controlPointRect()));
        EndRecord(start);
    };
    if (!gradient || (gradient->type() != QGradient::LinearGradient &&
                      gradient->type() != QGradient::RadialGradient)) {
        fillPiece(devicePath, AverageColor(m_brush));
        return;
    }

    // Gradient space to device space.
    QTransform toDevice = m_brush.transform() * m_transform;
    if (gradient->coordinateMode() == QGradient::ObjectBoundingMode ||
        gradient->coordinateMode() == QGradient::ObjectMode) {
        const QRectF box = userPath.boundingRect();
        toDevice = QTransform(box.width(), 0, 0, box.height(), box.x(), box.y()) * toDevice;
    }
    bool invertible = false;
    const QTransform toGradient = toDevice.inverted(&invertible);
    if (!invertible) {
        fillPiece(devicePath, AverageColor(m_brush));
        return;
    }
    const QRectF area = toGradient.mapRect(devicePath.controlPointRect());
    const double reach = std::hypot(area.width(), area.height()) + 1;
    constexpr int BandsPerUnit = 32;
    constexpr int MaxBands = 256;

    if (gradient->type() == QGradient::LinearGradient) {
        const auto *linear = static_cast<const QLinearGradient *>(gradient);
        const QPointF s = linear->start();
        const QPointF d = linear->finalStop() - s;
        const double length2 = QPointF::dotProduct(d, d);
        if (length2 <= 0) {
            fillPiece(devicePath, ColorAt(*gradient, 1));
            return;
        }
        double tMin = 1e300, tMax = -1e300;
        for (const QPointF &corner :
             {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
            const double t = QPointF::dotProduct(corner - s, d) / length2;
            tMin = std::min(tMin, t);
            tMax = std::max(tMax, t);
        }
        std::vector<double> cuts{tMin};
        if (gradient->spread() == QGradient::PadSpread) {
            for (int i = 0; i <= BandsPerUnit; ++i) {
                const double t = double(i) / BandsPerUnit;
                if (t > tMin && t < tMax)
                    cuts.push_back(t);
            }
        } else {
            const int count = std::clamp(int(std::ceil((tMax - tMin) * BandsPerUnit)), 1, MaxBands);
            for (int i = 1; i < count; ++i)
                cuts.push_back(tMin + (tMax - tMin) * i / count);
        }
        cuts.push_back(tMax);
        const QPointF normal = QPointF(-d.y(), d.x()) / std::sqrt(length2) * reach;
        // Neighbouring bands of one colour are filled as one.
        size_t first = 0;
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            const QColor color = ColorAt(*gradient, (cuts[first] + cuts[i + 1]) / 2);
            const bool last = i + 2 == cuts.size();
            if (!last && OverWhite(ColorAt(*gradient, (cuts[i + 1] + cuts[i + 2]) / 2),
                                   m_opacity) == OverWhite(color, m_opacity))
                continue;
            // Each band reaches into the next, which is filled over it, so
            // that no seam shows between them.
            const double overlap = 0.5 / BandsPerUnit;
            const QPointF a = s + d * cuts[first];
            const QPointF b = s + d * (cuts[i + 1] + (last ? 0 : overlap));
            QPainterPath band;
            band.addPolygon(QPolygonF({a - normal, b - normal, b + normal, a + normal}));
            band.closeSubpath();
            fillPiece(devicePath.intersected(toDevice.map(band)), color);
            first = i + 1;
        }
        return;
    }

    // Radial: the colour beyond the radius first, then discs from the
    // outside in.
    const auto *radial = static_cast<const QRadialGradient *>(gradient);
    const QPointF centre = radial->center();
    const double radius = radial->radius();
    if (radius <= 0) {
        fillPiece(devicePath, ColorAt(*gradient, 1));
        return;
    }
    fillPiece(devicePath, ColorAt(*gradient, 1));
    for (int i = BandsPerUnit - 1; i >= 0; --i) {
        QPainterPath disc;
        const double r = radius * (i + 1) / BandsPerUnit;
        disc.addEllipse(centre, r, r);
        fillPiece(devicePath.intersected(toDevice.map(disc)),
                  ColorAt(*gradient, (i + 0.5) / BandsPerUnit));
    }
}

// --- drawing -----------------------------------------------------------------------------------

void EmfPaintEngine::drawPath(const QPainterPath &path)
{
    if (HasOtherBrush())
        FillBanded(path);
    DrawDevicePath(m_transform.map(path), HasPen(), HasSolidBrush());
}

void EmfPaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    if (pointCount <= 0)
        return;
    const bool filled = mode != PolylineMode;
    if (filled && HasOtherBrush()) {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + pointCount)));
        path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        drawPath(path);
        return;
    }
    const bool pen = HasPen();
    const bool brush = filled && HasSolidBrush();
    if (!pen && !brush)
        return;
    std::vector<QPoint> logical;
    logical.reserve(size_t(pointCount));
    QPolygonF device;
    for (int i = 0; i < pointCount; ++i) {
        const QPointF p = m_transform.map(points[i]);
        device.append(p);
        logical.push_back(Logical(p));
    }
    UsePen(pen);
    const QRectF bounds = StrokeBounds(device.boundingRect());
    AddBounds(bounds);
    if (filled) {
        UseBrush(brush, m_brush.color());
        UseFillMode(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        WritePoints(EmrPolygon16, EmrPolygon, logical, bounds);
    } else {
        WritePoints(EmrPolyline16, EmrPolyline, logical, bounds);
    }
}

void EmfPaintEngine::drawRects(const QRectF *rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i) {
        if (!AxisAligned() || HasOtherBrush()) {
            QPainterPath path;
            path.addRect(rects[i]);
            drawPath(path);
            continue;
        }
        const bool pen = HasPen();
        const bool brush = HasSolidBrush();
        if (!pen && !brush)
            continue;
        UsePen(pen);
        UseBrush(brush, m_brush.color());
        const QRectF device = m_transform.mapRect(rects[i]).normalized();
        AddBounds(StrokeBounds(device));
        const int start = BeginRecord(EmrRectangle);
        PutRect(QRect(Logical(device.topLeft()), Logical(device.bottomRight())));
        EndRecord(start);
    }
}

void EmfPaintEngine::drawEllipse(const QRectF &rect)
{
    if (!AxisAligned() || HasOtherBrush()) {
        QPainterPath path;
        path.addEllipse(rect);
        drawPath(path);
        return;
    }
    const bool pen = HasPen();
    const bool brush = HasSolidBrush();
    if (!pen && !brush)
        return;
    UsePen(pen);
    UseBrush(brush, m_brush.color());
    const QRectF device = m_transform.mapRect(rect).normalized();
    AddBounds(StrokeBounds(device));
    const int start = BeginRecord(EmrEllipse);
    PutRect(QRect(Logical(device.topLeft()), Logical(device.bottomRight())));
    EndRecord(start);
}

void EmfPaintEngine::drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source)
{
    drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
}

void EmfPaintEngine::drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                               Qt::ImageConversionFlags flags)
{
    Q_UNUSED(flags);
    if (image.isNull() || target.isEmpty() || m_opacity <= 0)
        return;
    QImage part =
        source.toAlignedRect() == image.rect() ? image : image.copy(source.toAlignedRect());
    if (part.isNull())
        return;
    // No more pixels than twice the drawn size needs.
    const QRectF deviceRect = m_transform.mapRect(target);
    const auto twice = [](double side) {
        return int(std::clamp(std::ceil(side * 2), 1.0, double(MaxImageSide)));
    };
    const QSize most(twice(deviceRect.width()), twice(deviceRect.height()));
    if (part.width() > most.width() || part.height() > most.height())
        part = part.scaled(part.size().boundedTo(most), Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
    // Composed over white paper: the metafile's bitmaps have no alpha.
    QImage opaque(part.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.setOpacity(m_opacity);
        painter.drawImage(0, 0, part);
    }

    const bool plain = AxisAligned() && m_transform.m11() > 0 && m_transform.m22() > 0;
    QRectF dest = plain ? deviceRect : target;
    if (!plain) {
        const int start = BeginRecord(EmrSetWorldTransform);
        PutFloat(float(m_transform.m11()));
        PutFloat(float(m_transform.m12()));
        PutFloat(float(m_transform.m21()));
        PutFloat(float(m_transform.m22()));
        PutFloat(float(m_transform.dx() * Subdivision));
        PutFloat(float(m_transform.dy() * Subdivision));
        EndRecord(start);
    }
    AddBounds(deviceRect);

    const int width = opaque.width();
    const int height = opaque.height();
    const int stride = (width * 3 + 3) / 4 * 4;
    const QPoint topLeft = Logical(dest.topLeft());
    const QPoint bottomRight = Logical(dest.bottomRight());
    const int start = BeginRecord(EmrStretchDIBits);
    PutRect(Inclusive(deviceRect));
    PutSigned(topLeft.x());
    PutSigned(topLeft.y());
    PutSigned(0); // source x, y, width, height
    PutSigned(0);
    PutSigned(width);
    PutSigned(height);
    Put32(80); // bitmap header offset and size
    Put32(40);
    Put32(120); // bits offset and size
    Put32(quint32(stride * height));
    Put32(0);          // RGB colours
    Put32(0x00CC0020); // copy the source
    PutSigned(bottomRight.x() - topLeft.x());
    PutSigned(bottomRight.y() - topLeft.y());
    // BITMAPINFOHEADER: bottom-up rows, 24 bits, no compression.
    Put32(40);
    PutSigned(width);
    PutSigned(height);
    Put32(1 | 24 << 16);
    Put32(0);
    Put32(quint32(stride * height));
    PutSigned(3780); // 96 per inch, in pixels per metre
    PutSigned(3780);
    Put32(0);
    Put32(0);
    QByteArray row(stride, '\0');
    for (int y = height - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(qBlue(line[x]));
            row[3 * x + 1] = char(qGreen(line[x]));
            row[3 * x + 2] = char(qRed(line[x]));
        }
        m_records.append(row);
    }
    EndRecord(start);
    if (!plain) {
        const int reset = BeginRecord(EmrModifyWorldTransform);
        for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
            PutFloat(v);
        Put32(MwtIdentity);
        EndRecord(reset);
    }
}

void EmfPaintEngine::drawTextItem(const QPointF &position, const QTextItem &textItem)
{
    const QString text = textItem.text();
    if (text.isEmpty() || !HasPen())
        return;
    const QFont font = textItem.font();
    const bool plain = AxisAligned() && m_transform.m11() > 0 && m_transform.m22() > 0;
    const double scaleX = plain ? m_transform.m11() : 1.0;
    const double scaleY = plain ? m_transform.m22() : 1.0;

    UseTextColor(OverWhite(AverageColor(m_pen.brush()), m_opacity));
    UseFont(font, scaleY);
    if (!plain) {
        const int start = BeginRecord(EmrSetWorldTransform);
        PutFloat(float(m_transform.m11()));
        PutFloat(float(m_transform.m12()));
        PutFloat(float(m_transform.m21()));
        PutFloat(float(m_transform.m22()));
        PutFloat(float(m_transform.dx() * Subdivision));
        PutFloat(float(m_transform.dy() * Subdivision));
        EndRecord(start);
    }

    // The advance of every UTF-16 unit, rounded so that their sums stay on
    // the positions Qt lays the characters at (long texts: character by
    // character, without kerning).
    const QFontMetricsF metrics(font, m_device);
    const qsizetype count = text.size();
    const bool longText = count > 256;
    std::vector<qint32> dx(size_t(count), 0);
    qint32 placed = 0;
    double sum = 0;
    qsizetype measured = 0;
    for (qsizetype k = 1; k <= count; ++k) {
        if (k < count && text.at(k - 1).isHighSurrogate() && text.at(k).isLowSurrogate())
            continue; // the pair's advance goes to its second unit
        if (longText) {
            sum += metrics.horizontalAdvance(text.mid(measured, k - measured));
            measured = k;
        }
        const double x =
            (longText ? sum : metrics.horizontalAdvance(text.left(k))) * scaleX * Subdivision;
        const qint32 at = qint32(std::lround(std::clamp(x, -CoordinateLimit, CoordinateLimit)));
        dx[size_t(k - 1)] = at - placed;
        placed = at;
    }

    const QPointF device = plain ? m_transform.map(position) : position;
    const QPoint reference = Logical(device);
    const QRectF deviceBounds =
        m_transform.mapRect(metrics.boundingRect(text).translated(position).adjusted(-1, -1, 1, 1));
    AddBounds(deviceBounds);

    const QByteArray units = Utf16(text);
    const int stringOffset = 76;
    const int dxOffset = stringOffset + int((units.size() + 3) / 4 * 4);
    const int start = BeginRecord(EmrExtTextOutW);
    PutRect(Inclusive(deviceBounds));
    Put32(plain ? GmCompatible : GmAdvanced);
    PutFloat(0); // scales: unused
    PutFloat(0);
    PutSigned(reference.x());
    PutSigned(reference.y());
    Put32(quint32(count));
    Put32(quint32(stringOffset));
    Put32(0); // no options: neither clipped nor opaque
    PutRect(QRect(QPoint(0, 0), QPoint(-1, -1)));
    Put32(quint32(dxOffset));
    m_records.append(units);
    while ((m_records.size() - start) % 4)
        m_records.append('\0');
    for (qint32 v : dx)
        PutSigned(v);
    EndRecord(start);

    if (!plain) {
        const int reset = BeginRecord(EmrModifyWorldTransform);
        for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
            PutFloat(v);
        Put32(MwtIdentity);
        EndRecord(reset);
    }
}

} // namespace Dayloom
