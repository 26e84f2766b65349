#include "core/graphics/gdicontext.h"

#include "core/graphics/imagedecoder.h"
#include "core/graphics/metafilereader.h"
#include "core/graphics/strokebudget.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Dayloom {

namespace {

// A point through an affine transform, inline: paths of thousands of points
// pass through it. Every transform of a device context is affine.
struct AffineMap
{
    explicit AffineMap(const QTransform &t) : m_t(t) {}
    QPointF operator()(const QPointF &p) const
    {
        return QPointF(m_t.m11() * p.x() + m_t.m21() * p.y() + m_t.dx(),
                       m_t.m12() * p.x() + m_t.m22() * p.y() + m_t.dy());
    }
    const QTransform &m_t;
};

// Saved states kept at most; further saves are ignored.
constexpr size_t MaxSavedStates = 4096;
// "Everything" for clip arithmetic, in device units.
const QRectF Everywhere(-1e7, -1e7, 2e7, 2e7);

bool Finite(const QTransform &t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

QTransform Linear(const QTransform &t)
{
    return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
}

double AreaScale(const QTransform &t)
{
    return std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
}

// The largest and smallest stretch of a linear transform over all
// directions (its singular values).
std::pair<double, double> Stretches(const QTransform &t)
{
    const double a = t.m11(), b = t.m12(), c = t.m21(), d = t.m22();
    const double sum = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    const double spread = std::sqrt(std::max(0.0, sum * sum - 4 * det * det));
    return {std::sqrt((sum + spread) / 2), std::sqrt(std::max(0.0, (sum - spread) / 2))};
}

// QFont's stretch as a factor; 0 stands for none.
double StretchFactor(const QFont &font)
{
    return font.stretch() > 0 ? font.stretch() / 100.0 : 1.0;
}

// True when the font engine can render the font's glyphs onto the device
// through fontToPixels (font pixels to device pixels): glyphs of moderate
// size, stretched about as much one way as the other. Font engines
// rasterise whatever they are given and fail on glyphs a few pixels tall
// and thousands wide.
bool GlyphsRenderable(const QTransform &fontToPixels, const QFont &font, int pixelSize)
{
    const auto [large, small] =
        Stretches(QTransform::fromScale(StretchFactor(font), 1) * Linear(fontToPixels));
    return std::isfinite(large) && small > 0 && large <= GdiContext::MaxGlyphAspect * small &&
           large * pixelSize <= GdiContext::MaxGlyphPixels;
}

// The outlines of the text in font pixels, from the unstretched font and
// widened by the font's stretch, so that the font engine only ever gives
// outlines at its own size. starts: where each character starts (relative
// to x), or empty for the font's own advances.
QPainterPath TextOutline(const QFont &font, const QString &text, double x, double baseline,
                         const QList<double> &starts)
{
    const double stretch = StretchFactor(font);
    QFont plain = font;
    plain.setStretch(QFont::Unstretched);
    QPainterPath path;
    if (starts.isEmpty()) {
        path.addText(QPointF(x / stretch, baseline), plain, text);
    } else {
        for (qsizetype i = 0; i < text.size() && i < starts.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            path.addText(QPointF((x + starts[i]) / stretch, baseline), plain, text.mid(i, n));
            i += n - 1;
        }
    }
    return QTransform::fromScale(stretch, 1).map(path);
}

// The angle of a point seen from the centre of an ellipse, as QPainterPath
// measures arcs: degrees, counter-clockwise on the page, on the ellipse
// scaled to a circle (so that the radial line through the point is kept).
double ArcAngle(const QRectF &box, const QPointF &point)
{
    const QPointF c = box.center();
    const double dx = (point.x() - c.x()) / (box.width() / 2);
    const double dy = (point.y() - c.y()) / (box.height() / 2);
    if (dx == 0 && dy == 0)
        return 0;
    return std::atan2(-dy, dx) * 180 / M_PI;
}

double Sweep(double start, double end, bool clockwise)
{
    double sweep = std::fmod(end - start, 360.0);
    if (clockwise) {
        if (sweep >= 0)
            sweep -= 360;
    } else if (sweep <= 0) {
        sweep += 360;
    }
    return sweep;
}

bool IsRectPath(const QPainterPath &path, QRectF *rect)
{
    if (path.elementCount() != 5 && path.elementCount() != 4)
        return false;
    const QRectF bounds = path.boundingRect();
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (!e.isMoveTo() && !e.isLineTo())
            return false;
        if ((e.x != bounds.left() && e.x != bounds.right()) ||
            (e.y != bounds.top() && e.y != bounds.bottom()))
            return false;
    }
    *rect = bounds;
    return true;
}

QPainterPath RectPath(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect);
    return path;
}

// The dashes and gaps of a geometric pen of a predefined style (1 to 4), in
// pen widths, as the system draws them. Round and square caps grow every
// dash by half a width at each end, so the dashes are shortened to leave
// room for them (never to nothing: Qt puts no caps on an empty dash).
QList<qreal> GeometricDashes(quint32 kind, bool flatCaps)
{
    QList<qreal> dashes;
    switch (kind) {
    case 1:
        dashes = {3, 1};
        break;
    case 2:
        dashes = {1, 1};
        break;
    case 3:
        dashes = {3, 1, 1, 1};
        break;
    default:
        dashes = {3, 1, 1, 1, 1, 1};
        break;
    }
    if (!flatCaps)
        for (qsizetype i = 0; i + 1 < dashes.size(); i += 2) {
            dashes[i] = std::max(dashes[i] - 1, 0.001);
            dashes[i + 1] += 1;
        }
    return dashes;
}

// Qt's own dash styles are kept for the pens the system dashes only while
// they are one pixel wide.
bool DashedWhileThin(Qt::PenStyle style)
{
    return style == Qt::DashLine || style == Qt::DotLine || style == Qt::DashDotLine ||
           style == Qt::DashDotDotLine;
}

} // namespace

GdiContext::GdiContext(QPainter &painter, const QRectF &frame, const QRectF &target,
                       double devicePerMm)
    : m_painter(painter), m_base(painter.transform()), m_devicePerMm(devicePerMm)
{
    if (painter.hasClipping()) {
        m_baseHasClip = true;
        m_baseClip = painter.clipPath();
    }
    const double sx = frame.width() != 0 ? target.width() / frame.width() : 0;
    const double sy = frame.height() != 0 ? target.height() / frame.height() : 0;
    const QTransform frameToTarget(sx, 0, 0, sy, target.left() - frame.left() * sx,
                                   target.top() - frame.top() * sy);
    m_deviceToPainter = frameToTarget * m_base;
    m_deviceToPixels = frameToTarget * painter.deviceTransform();
    const QPaintDevice *device = painter.device();
    m_pixelsPer96 = device ? std::max(1, device->logicalDpiX()) / 96.0 : 1.0;
}

QPen GdiContext::MakePen(quint32 style, double width, const QColor &color,
                         const QList<double> &userDashes)
{
    quint32 kind = style & 0xF;
    if (kind == 5)
        return QPen(Qt::NoPen);
    QPen pen(color);
    pen.setWidthF(std::isfinite(width) && width > 0 ? std::min(width, 1e7) : 0);
    const bool geometric = style & 0x10000;
    if (geometric && kind >= 1 && kind <= 4) {
        // Extended geometric pens keep their dashes at any width, scaled
        // with it.
        pen.setDashPattern(GeometricDashes(kind, (style & 0xF00) == 0x200));
        kind = 0;
    }
    switch (kind) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
    case 8:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 7: {
        const double unit = pen.widthF() > 0 ? pen.widthF() : 1;
        QList<qreal> dashes;
        for (double d : userDashes.mid(0, 32))
            dashes.append(std::clamp(std::abs(d) / unit, 0.05, 1000.0));
        if (dashes.size() % 2)
            dashes += dashes;
        if (!dashes.isEmpty())
            pen.setDashPattern(dashes);
        else
            pen.setStyle(Qt::DashLine);
        break;
    }
    default:
        break;
    }
    switch (style & 0xF00) {
    case 0x100:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case 0x200:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (style & 0xF000) {
    case 0x1000:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case 0x2000:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    return pen;
}

QBrush GdiContext::MakeBrush(quint32 style, const QColor &color, quint32 hatch)
{
    switch (style) {
    case 1: // null
        return QBrush(Qt::NoBrush);
    case 2: { // hatched
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(color, hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    default:
        return QBrush(color);
    }
}

QString GdiContext::AnsiText(const QByteArray &bytes)
{
    // The code points of 0x80 to 0x9F, where the code page differs from
    // Latin-1.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 c = quint8(bytes[i]);
        text[i] = c >= 0x80 && c < 0xA0 ? QChar(high[c - 0x80]) : QChar(c);
    }
    return text;
}

bool GdiContext::DecodeDib(const QByteArray &packed, QImage &image, bool *bottomUp)
{
    const MetafileReader header(packed);
    const quint32 headerSize = header.U32(0);
    if (bottomUp)
        *bottomUp = headerSize == 12 || header.I32(8) > 0;
    QString error;
    if (!DecodePackedDib(packed, image, &error)) {
        image = QImage();
        return false;
    }
    return true;
}

QRectF GdiContext::DibSource(const QImage &image, const QRectF &source, bool bottomBased)
{
    QRectF r = source.normalized();
    if (bottomBased)
        r.moveTop(image.height() - r.top() - r.height());
    return r;
}

// --- State ---------------------------------------------------------------

void GdiContext::SaveDc()
{
    if (m_saved.size() < MaxSavedStates)
        m_saved.push_back(m_state);
}

void GdiContext::RestoreDc(int which)
{
    // Negative: that many levels back; positive: the state of that number.
    qint64 index = which < 0 ? qint64(m_saved.size()) + which : qint64(which) - 1;
    if (which == 0 || index < 0 || index >= qint64(m_saved.size()))
        return;
    m_state = m_saved[size_t(index)];
    m_saved.resize(size_t(index));
    m_mappingDirty = true;
    m_clipDirty = true;
}

void GdiContext::SetMapMode(int mode)
{
    if (mode < Gdi::MmText || mode > Gdi::MmAnisotropic)
        return;
    m_state.mapMode = mode;
    MappingChanged();
}

void GdiContext::SetWindowOrg(const QPointF &origin)
{
    m_state.windowOrg = origin;
    MappingChanged();
}

void GdiContext::SetWindowExt(const QSizeF &extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    m_state.windowExt = extent;
    MappingChanged();
}

void GdiContext::SetViewportOrg(const QPointF &origin)
{
    m_state.viewportOrg = origin;
    MappingChanged();
}

void GdiContext::SetViewportExt(const QSizeF &extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    m_state.viewportExt = extent;
    MappingChanged();
}

void GdiContext::OffsetWindowOrg(const QPointF &offset)
{
    SetWindowOrg(m_state.windowOrg + offset);
}

void GdiContext::OffsetViewportOrg(const QPointF &offset)
{
    SetViewportOrg(m_state.viewportOrg + offset);
}

void GdiContext::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    SetWindowExt(QSizeF(m_state.windowExt.width() * xNum / xDenom,
                        m_state.windowExt.height() * yNum / yDenom));
}

void GdiContext::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    SetViewportExt(QSizeF(m_state.viewportExt.width() * xNum / xDenom,
                          m_state.viewportExt.height() * yNum / yDenom));
}

void GdiContext::SetWorldTransform(const QTransform &transform)
{
    if (!Finite(transform))
        return;
    m_state.world = transform;
    MappingChanged();
}

void GdiContext::ModifyWorldTransform(const QTransform &transform, int mode)
{
    switch (mode) {
    case 1:
        m_state.world = QTransform();
        break;
    case 2:
        if (Finite(transform))
            m_state.world = transform * m_state.world;
        break;
    case 3:
        if (Finite(transform))
            m_state.world = m_state.world * transform;
        break;
    case 4:
        SetWorldTransform(transform);
        break;
    default:
        return;
    }
    if (!Finite(m_state.world))
        m_state.world = QTransform();
    MappingChanged();
}

void GdiContext::SelectObject(const GdiObject &object)
{
    switch (object.kind) {
    case GdiObject::Kind::Pen:
        m_state.pen = object;
        break;
    case GdiObject::Kind::Brush:
        m_state.brush = object;
        break;
    case GdiObject::Kind::Font:
        m_state.font = object;
        break;
    default:
        break;
    }
}

void GdiContext::SetBkMode(int mode)
{
    if (mode == 1 || mode == 2)
        m_state.bkOpaque = mode == 2;
}

void GdiContext::SetPolyFillMode(int mode)
{
    if (mode == 1 || mode == 2)
        m_state.fillRule = mode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
}

void GdiContext::SetMiterLimit(double limit)
{
    if (std::isfinite(limit) && limit >= 1)
        m_state.miterLimit = std::min(limit, 1000.0);
}

void GdiContext::MoveTo(const QPointF &point)
{
    m_state.position = point;
    m_figureOpen = false;
}

QTransform GdiContext::PageTransform() const
{
    const GdiState &s = m_state;
    double sx = 1;
    double sy = 1;
    auto metric = [&](double mm) {
        sx = mm * m_devicePerMm;
        sy = -sx;
    };
    switch (s.mapMode) {
    case Gdi::MmLoMetric:
        metric(0.1);
        break;
    case Gdi::MmHiMetric:
        metric(0.01);
        break;
    case Gdi::MmLoEnglish:
        metric(0.254);
        break;
    case Gdi::MmHiEnglish:
        metric(0.0254);
        break;
    case Gdi::MmTwips:
        metric(25.4 / 1440);
        break;
    case Gdi::MmIsotropic:
    case Gdi::MmAnisotropic:
        sx = s.viewportExt.width() / s.windowExt.width();
        sy = s.viewportExt.height() / s.windowExt.height();
        if (s.mapMode == Gdi::MmIsotropic) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default:
        break;
    }
    return QTransform(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                      s.viewportOrg.y() - s.windowOrg.y() * sy);
}

const QTransform &GdiContext::LogicalToDevice()
{
    if (m_mappingDirty) {
        m_logicalToDevice = m_state.world * PageTransform();
        if (!Finite(m_logicalToDevice))
            m_logicalToDevice = QTransform(0, 0, 0, 0, 0, 0);
        m_mappingDirty = false;
        if (m_space == Space::Logical)
            m_space = Space::Unknown;
    }
    return m_logicalToDevice;
}

void GdiContext::UseSpace(Space space)
{
    ApplyClip();
    const QTransform &l2d = LogicalToDevice();
    if (m_space == space)
        return;
    m_painter.setTransform(space == Space::Logical ? l2d * m_deviceToPainter : m_deviceToPainter);
    m_space = space;
}

StrokeBudget GdiContext::Strokes() const
{
    return StrokeBudget(m_painter.combinedTransform(),
                        m_painter.testRenderHint(QPainter::Antialiasing));
}

void GdiContext::DrawWithinBudget(const QPainterPath &path, const QBrush &brush, const QPen &pen)
{
    const StrokeBudget::Stroke stroke = Strokes().Bounded(pen, path);
    if (!stroke.lines) {
        SetPainterPen(stroke.pen);
        SetPainterBrush(brush);
        m_painter.drawPath(path);
        return;
    }
    if (brush.style() != Qt::NoBrush) {
        SetPainterPen(QPen(Qt::NoPen));
        SetPainterBrush(brush);
        m_painter.drawPath(path);
    }
    SetPainterPen(stroke.pen);
    SetPainterBrush(QBrush(Qt::NoBrush));
    m_painter.drawPath(*stroke.lines);
}

void GdiContext::SetPainterPen(const QPen &pen)
{
    if (!m_penValid || pen != m_painterPen) {
        m_painter.setPen(pen);
        m_painterPen = pen;
        m_penValid = true;
    }
}

void GdiContext::SetPainterBrush(const QBrush &brush)
{
    if (!m_brushValid || brush != m_painterBrush) {
        m_painter.setBrush(brush);
        m_painterBrush = brush;
        m_brushValid = true;
    }
}

void GdiContext::SetPainterBackground()
{
    if (!m_backgroundValid || m_painterOpaque != m_state.bkOpaque ||
        m_painterBackground != m_state.bkColor) {
        m_painter.setBackgroundMode(m_state.bkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
        m_painter.setBackground(m_state.bkColor);
        m_painterOpaque = m_state.bkOpaque;
        m_painterBackground = m_state.bkColor;
        m_backgroundValid = true;
    }
}

QPen GdiContext::CurrentPen(bool device)
{
    QPen pen = m_state.pen.pen;
    if (pen.style() == Qt::NoPen)
        return pen;
    pen.setMiterLimit(m_state.miterLimit);
    if (device && pen.widthF() > 0)
        pen.setWidthF(pen.widthF() * AreaScale(LogicalToDevice()));
    if (pen.widthF() <= 0)
        return pen;
    const double pixels =
        pen.widthF() * AreaScale(device ? m_deviceToPixels : LogicalToDevice() * m_deviceToPixels);
    // The system draws a dashed pen of the plain kind solid once it is
    // wider than one pixel (whole pixels, rounded down). Pixels are those of
    // a 96-per-inch page, so that screen and paper agree.
    if (DashedWhileThin(pen.style())) {
        const QPaintDevice *target = m_painter.device();
        const double ratio = target ? std::max(1.0, target->devicePixelRatioF()) : 1.0;
        if (std::floor(pixels / (m_pixelsPer96 * ratio)) > 1)
            pen.setStyle(Qt::SolidLine);
    }
    // Round joins and caps of pens up to a pixel and a half cannot be told
    // from bevelled joins and square caps, which are much quicker to stroke.
    if (pen.style() == Qt::SolidLine && pixels <= 1.5) {
        if (pen.joinStyle() == Qt::RoundJoin)
            pen.setJoinStyle(Qt::BevelJoin);
        if (pen.capStyle() == Qt::RoundCap)
            pen.setCapStyle(Qt::SquareCap);
    }
    return pen;
}

QBrush GdiContext::CurrentBrush(const QBrush &brush, bool pattern, bool device)
{
    if (!pattern)
        return brush;
    // Pattern cells are measured in pixels of a 96-per-inch page, whatever
    // the stretch.
    const QTransform toPixels = device ? m_deviceToPixels : LogicalToDevice() * m_deviceToPixels;
    const double sx = std::hypot(toPixels.m11(), toPixels.m12());
    const double sy = std::hypot(toPixels.m21(), toPixels.m22());
    if (!(sx > 0) || !(sy > 0))
        return brush;
    QBrush scaled = brush;
    scaled.setTransform(QTransform::fromScale(m_pixelsPer96 / sx, m_pixelsPer96 / sy));
    return scaled;
}

void GdiContext::ApplyClip()
{
    if (!m_clipDirty)
        return;
    m_clipDirty = false;
    m_painter.setTransform(m_base);
    if (m_baseHasClip)
        m_painter.setClipPath(m_baseClip);
    else
        m_painter.setClipping(false);
    if (m_state.hasClip) {
        m_painter.setTransform(m_deviceToPainter);
        const Qt::ClipOperation op = m_baseHasClip ? Qt::IntersectClip : Qt::ReplaceClip;
        QRectF rect;
        if (IsRectPath(m_state.clip, &rect))
            m_painter.setClipRect(rect, op);
        else
            m_painter.setClipPath(m_state.clip, op);
    }
    m_space = Space::Unknown;
}

// --- Clip ----------------------------------------------------------------

void GdiContext::CombineDeviceClip(const QPainterPath &device, int mode)
{
    GdiState &s = m_state;
    const QPainterPath current = s.hasClip ? s.clip : RectPath(Everywhere);
    QPainterPath result;
    QRectF a;
    QRectF b;
    switch (mode) {
    case Gdi::RgnAnd:
        if (IsRectPath(current, &a) && IsRectPath(device, &b))
            result = RectPath(a.intersected(b));
        else
            result = current.intersected(device);
        break;
    case Gdi::RgnOr:
        if (!s.hasClip)
            return;
        result = current.united(device);
        break;
    case Gdi::RgnXor:
        result = current.subtracted(device).united(device.subtracted(current));
        break;
    case Gdi::RgnDiff:
        result = current.subtracted(device);
        break;
    case Gdi::RgnCopy:
        result = device;
        break;
    default:
        return;
    }
    s.clip = result;
    s.hasClip = true;
    m_clipDirty = true;
}

void GdiContext::CombineClip(const QPainterPath &logical, int mode)
{
    CombineDeviceClip(LogicalToDevice().map(logical), mode);
}

void GdiContext::IntersectClipRect(const QRectF &rect)
{
    CombineClip(RectPath(rect.normalized()), Gdi::RgnAnd);
}

void GdiContext::ExcludeClipRect(const QRectF &rect)
{
    CombineClip(RectPath(rect.normalized()), Gdi::RgnDiff);
}

void GdiContext::OffsetClip(const QPointF &offset)
{
    if (!m_state.hasClip)
        return;
    const QPointF d = Linear(LogicalToDevice()).map(offset);
    m_state.clip.translate(d);
    m_clipDirty = true;
}

void GdiContext::ResetClip()
{
    if (m_state.hasClip) {
        m_state.hasClip = false;
        m_state.clip = QPainterPath();
        m_clipDirty = true;
    }
}

// --- Paths ---------------------------------------------------------------

void GdiContext::BeginPath()
{
    m_path = QPainterPath();
    m_recording = true;
    m_figureOpen = false;
}

void GdiContext::CloseFigure()
{
    if (m_recording && m_figureOpen) {
        m_path.closeSubpath();
        m_figureOpen = false;
    }
}

void GdiContext::AbortPath()
{
    m_path = QPainterPath();
    m_recording = false;
    m_figureOpen = false;
}

void GdiContext::DrawDevicePath(bool fill, bool stroke)
{
    if (m_recording)
        return;
    UseSpace(Space::Device);
    SetPainterBackground();
    QPainterPath path = m_path;
    path.setFillRule(m_state.fillRule);
    DrawWithinBudget(path,
                     fill ? CurrentBrush(m_state.brush.brush, m_state.brush.pattern, true)
                          : QBrush(Qt::NoBrush),
                     stroke ? CurrentPen(true) : QPen(Qt::NoPen));
    m_path = QPainterPath();
    m_figureOpen = false;
}

void GdiContext::FillPath()
{
    DrawDevicePath(true, false);
}

void GdiContext::StrokePath()
{
    DrawDevicePath(false, true);
}

void GdiContext::StrokeAndFillPath()
{
    DrawDevicePath(true, true);
}

void GdiContext::SelectClipPath(int mode)
{
    if (m_recording)
        return;
    QPainterPath path = m_path;
    path.setFillRule(m_state.fillRule);
    CombineDeviceClip(path, mode);
    m_path = QPainterPath();
    m_figureOpen = false;
}

// --- Drawing -------------------------------------------------------------

void GdiContext::Draw(const QPainterPath &logical, bool fill, bool stroke)
{
    if (m_recording) {
        m_path.addPath(LogicalToDevice().map(logical));
        m_figureOpen = false;
        return;
    }
    UseSpace(Space::Logical);
    SetPainterBackground();
    DrawWithinBudget(logical,
                     fill ? CurrentBrush(m_state.brush.brush, m_state.brush.pattern, false)
                          : QBrush(Qt::NoBrush),
                     stroke ? CurrentPen(false) : QPen(Qt::NoPen));
}

void GdiContext::ContinueFigure(const QPointF &deviceStart)
{
    if (!m_figureOpen || m_path.elementCount() == 0 || deviceStart != m_path.currentPosition())
        m_path.moveTo(deviceStart);
    m_figureOpen = true;
}

void GdiContext::AppendOpenFigure(const QPainterPath &logical)
{
    if (!m_recording) {
        Draw(logical, false, true);
        return;
    }
    const QPainterPath device = LogicalToDevice().map(logical);
    for (int i = 0; i < device.elementCount(); ++i) {
        const QPainterPath::Element e = device.elementAt(i);
        if (e.isMoveTo()) {
            if (i == 0 && m_figureOpen && m_path.elementCount() > 0 &&
                QPointF(e) == m_path.currentPosition())
                continue;
            m_path.moveTo(e);
        } else if (e.isLineTo()) {
            m_path.lineTo(e);
        } else if (e.isCurveTo() && i + 2 < device.elementCount()) {
            m_path.cubicTo(e, device.elementAt(i + 1), device.elementAt(i + 2));
            i += 2;
        }
    }
    m_figureOpen = true;
}

void GdiContext::LineTo(const QPointF &point)
{
    const QPointF from = m_state.position;
    m_state.position = point;
    if (m_recording) {
        QPainterPath path(from);
        path.lineTo(point);
        AppendOpenFigure(path);
        return;
    }
    if (m_state.pen.pen.style() == Qt::NoPen)
        return;
    UseSpace(Space::Logical);
    SetPainterBackground();
    SetPainterPen(Strokes().Bounded(CurrentPen(false), QPolygonF({from, point}), false));
    m_painter.drawLine(from, point);
}

void GdiContext::Polyline(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    if (m_recording) {
        QPainterPath path;
        path.addPolygon(points);
        m_path.addPath(LogicalToDevice().map(path));
        m_figureOpen = true;
        return;
    }
    if (m_state.pen.pen.style() == Qt::NoPen)
        return;
    UseSpace(Space::Logical);
    SetPainterBackground();
    SetPainterPen(Strokes().Bounded(CurrentPen(false), points, false));
    m_painter.drawPolyline(points);
}

void GdiContext::PolylineTo(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    if (m_recording) {
        const AffineMap toDevice(LogicalToDevice());
        ContinueFigure(toDevice(m_state.position));
        for (const QPointF &point : points)
            m_path.lineTo(toDevice(point));
        m_state.position = points.last();
        return;
    }
    QPolygonF all = points;
    all.prepend(m_state.position);
    m_state.position = points.last();
    Polyline(all);
}

void GdiContext::Polygon(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    if (m_recording) {
        QPainterPath path;
        path.addPolygon(points);
        path.closeSubpath();
        Draw(path, true, true);
        return;
    }
    UseSpace(Space::Logical);
    SetPainterBackground();
    SetPainterPen(Strokes().Bounded(CurrentPen(false), points, true));
    SetPainterBrush(CurrentBrush(m_state.brush.brush, m_state.brush.pattern, false));
    m_painter.drawPolygon(points, m_state.fillRule);
}

void GdiContext::PolyPolygon(const QList<QPolygonF> &polygons)
{
    QPainterPath path;
    path.setFillRule(m_state.fillRule);
    for (const QPolygonF &polygon : polygons) {
        if (polygon.size() < 2)
            continue;
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    Draw(path, true, true);
}

void GdiContext::PolyPolyline(const QList<QPolygonF> &polylines)
{
    for (const QPolygonF &polyline : polylines)
        Polyline(polyline);
}

void GdiContext::PolyBezier(const QPolygonF &points)
{
    if (points.size() < 4)
        return;
    QPainterPath path(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (m_recording) {
        m_path.addPath(LogicalToDevice().map(path));
        m_figureOpen = true;
    } else {
        Draw(path, false, true);
    }
}

void GdiContext::PolyBezierTo(const QPolygonF &points)
{
    if (points.size() < 3)
        return;
    if (m_recording) {
        // Straight into the path: the records of a filled shape are many.
        const AffineMap toDevice(LogicalToDevice());
        ContinueFigure(toDevice(m_state.position));
        qsizetype i = 0;
        for (; i + 2 < points.size(); i += 3)
            m_path.cubicTo(toDevice(points[i]), toDevice(points[i + 1]), toDevice(points[i + 2]));
        m_state.position = points[i - 1];
        return;
    }
    QPainterPath path(m_state.position);
    qsizetype i = 0;
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    m_state.position = points[i - 1];
    AppendOpenFigure(path);
}

void GdiContext::PolyDraw(const QPolygonF &points, const QByteArray &types)
{
    QPainterPath path(m_state.position);
    const qsizetype count = std::min(points.size(), types.size());
    for (qsizetype i = 0; i < count; ++i) {
        const int type = quint8(types[i]) & ~1;
        if (type == 6) {
            path.moveTo(points[i]);
        } else if (type == 2) {
            path.lineTo(points[i]);
        } else if (type == 4 && i + 2 < count) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else {
            continue;
        }
        if (quint8(types[i]) & 1)
            path.closeSubpath();
    }
    m_state.position = path.currentPosition();
    AppendOpenFigure(path);
}

QRectF GdiContext::InsideFrame(const QRectF &rect) const
{
    const QRectF r = rect.normalized();
    const double w = m_state.pen.pen.widthF();
    if (!m_state.pen.insideFrame || w <= 0 || m_state.pen.pen.style() == Qt::NoPen)
        return r;
    const double inset = std::min({w / 2, r.width() / 2, r.height() / 2});
    return r.adjusted(inset, inset, -inset, -inset);
}

void GdiContext::Rectangle(const QRectF &rect)
{
    const QRectF r = InsideFrame(rect);
    if (m_recording) {
        Draw(RectPath(r), true, true);
        return;
    }
    UseSpace(Space::Logical);
    SetPainterBackground();
    const QPen pen = CurrentPen(false);
    SetPainterBrush(CurrentBrush(m_state.brush.brush, m_state.brush.pattern, false));
    const QTransform &l2d = LogicalToDevice();
    if (pen.style() == Qt::SolidLine && (pen.widthF() == 0 || pen.joinStyle() == Qt::MiterJoin) &&
        l2d.m12() == 0 && l2d.m21() == 0) {
        // A thin outline of an upright rectangle is four bands: much quicker
        // than stroking it, and the same pixels. One device pixel wide for
        // the hairline pens.
        const QTransform toPixels = l2d * m_deviceToPixels;
        const double wx = pen.widthF() > 0 ? pen.widthF() : 1 / std::abs(toPixels.m11());
        const double wy = pen.widthF() > 0 ? pen.widthF() : 1 / std::abs(toPixels.m22());
        if (std::isfinite(wx) && std::isfinite(wy) && toPixels.m12() == 0 && toPixels.m21() == 0) {
            SetPainterPen(QPen(Qt::NoPen));
            m_painter.drawRect(r);
            const QRectF outer = r.adjusted(-wx / 2, -wy / 2, wx / 2, wy / 2);
            if (r.width() <= wx || r.height() <= wy) {
                m_painter.fillRect(outer, pen.brush());
                return;
            }
            m_painter.fillRect(QRectF(outer.left(), outer.top(), outer.width(), wy), pen.brush());
            m_painter.fillRect(QRectF(outer.left(), outer.bottom() - wy, outer.width(), wy),
                               pen.brush());
            m_painter.fillRect(QRectF(outer.left(), outer.top() + wy, wx, outer.height() - 2 * wy),
                               pen.brush());
            m_painter.fillRect(
                QRectF(outer.right() - wx, outer.top() + wy, wx, outer.height() - 2 * wy),
                pen.brush());
            return;
        }
    }
    SetPainterPen(Strokes().Bounded(pen, QPolygonF(r), false));
    m_painter.drawRect(r);
}

void GdiContext::RoundRect(const QRectF &rect, const QSizeF &corner)
{
    QPainterPath path;
    const QRectF r = InsideFrame(rect);
    path.addRoundedRect(r, std::min(std::abs(corner.width()) / 2, r.width() / 2),
                        std::min(std::abs(corner.height()) / 2, r.height() / 2));
    Draw(path, true, true);
}

void GdiContext::Ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(InsideFrame(rect));
    Draw(path, true, true);
}

void GdiContext::Arc(ArcKind kind, const QRectF &box, const QPointF &start, const QPointF &end)
{
    const QRectF r = box.normalized();
    if (r.width() <= 0 || r.height() <= 0) {
        if (kind == ArcKind::ArcTo)
            LineTo(end);
        return;
    }
    // A mapping that turns the page over turns the direction over too.
    const bool clockwise = m_state.clockwise != (LogicalToDevice().determinant() < 0);
    const double a0 = ArcAngle(r, start);
    const double sweep = Sweep(a0, ArcAngle(r, end), clockwise);
    QPainterPath path;
    switch (kind) {
    case ArcKind::Pie:
        path.moveTo(r.center());
        path.arcTo(r, a0, sweep);
        path.closeSubpath();
        Draw(path, true, true);
        break;
    case ArcKind::Chord:
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, sweep);
        path.closeSubpath();
        Draw(path, true, true);
        break;
    case ArcKind::Arc:
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, sweep);
        AppendOpenFigure(path);
        if (m_recording)
            m_figureOpen = false;
        break;
    case ArcKind::ArcTo:
        path.moveTo(m_state.position);
        path.arcTo(r, a0, sweep);
        m_state.position = path.currentPosition();
        AppendOpenFigure(path);
        break;
    }
}

void GdiContext::AngleArc(const QPointF &center, double radius, double startAngle,
                          double sweepAngle)
{
    if (!std::isfinite(startAngle) || !std::isfinite(sweepAngle) || radius < 0)
        return;
    const QRectF r(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(m_state.position);
    path.arcTo(r, std::fmod(startAngle, 360.0), std::clamp(sweepAngle, -3600.0, 3600.0));
    m_state.position = path.currentPosition();
    AppendOpenFigure(path);
}

void GdiContext::SetPixel(const QPointF &point, const QColor &color)
{
    if (m_recording)
        return;
    UseSpace(Space::Device);
    const double side = std::max(1.0, m_devicePerMm * 25.4 / 96);
    m_painter.fillRect(QRectF(LogicalToDevice().map(point), QSizeF(side, side)), color);
}

void GdiContext::FillArea(const QPainterPath &logical, const QBrush *brush)
{
    if (m_recording)
        return;
    UseSpace(Space::Logical);
    SetPainterBackground();
    SetPainterPen(QPen(Qt::NoPen));
    SetPainterBrush(brush ? CurrentBrush(*brush, brush->style() != Qt::SolidPattern, false)
                          : CurrentBrush(m_state.brush.brush, m_state.brush.pattern, false));
    m_painter.drawPath(logical);
}

void GdiContext::FrameArea(const QPainterPath &logical, const QBrush &brush)
{
    if (m_recording)
        return;
    UseSpace(Space::Logical);
    SetPainterPen(QPen(brush.color(), 0));
    SetPainterBrush(QBrush(Qt::NoBrush));
    m_painter.drawPath(logical);
}

// --- Text ----------------------------------------------------------------

QFont GdiContext::TextFont(const GdiLogFont &f, int pixelSize)
{
    if (m_font && m_fontPixels == pixelSize && m_fontKey.face == f.face &&
        m_fontKey.weight == f.weight && m_fontKey.italic == f.italic &&
        m_fontKey.underline == f.underline && m_fontKey.strikeOut == f.strikeOut)
        return *m_font;
    QFont font;
    if (!f.face.isEmpty())
        font.setFamilies({f.face});
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(std::clamp(f.weight > 0 ? f.weight : 400, 1, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    m_font = font;
    m_metrics.emplace(font);
    m_rawFont.reset();
    m_fontKey = f;
    m_fontPixels = pixelSize;
    return font;
}

void GdiContext::Text(const GdiTextRun &run)
{
    if (!qGuiApp)
        return; // fonts need the application
    const GdiState &s = m_state;
    const GdiLogFont &lf = s.font.font;
    const QTransform l2d = LogicalToDevice();
    const bool updateCp = s.textAlign & Gdi::TaUpdateCp;
    const QPointF reference = updateCp ? s.position : run.reference;

    if ((run.options & Gdi::EtoOpaque) && !m_recording && !run.rect.isNull()) {
        UseSpace(Space::Logical);
        m_painter.fillRect(run.rect.normalized(), s.bkColor);
    }
    if (run.text.isEmpty())
        return;
    const QString text = run.text.left(MaxTextLength);

    // The text's own frame: along the baseline, glyphs upright on the page
    // even where the mapping turns the y axis up.
    const QTransform linear = Linear(l2d);
    const double lineScale = AreaScale(linear);
    if (!(lineScale > 0) || !std::isfinite(lineScale))
        return;
    QTransform rotate;
    rotate.rotate(-lf.escapement / 10.0);
    const QTransform flip = linear.determinant() < 0 ? QTransform::fromScale(1, -1) : QTransform();
    const QPointF origin = l2d.map(reference);
    const QTransform toDevice =
        rotate * flip * linear * QTransform::fromTranslate(origin.x(), origin.y());
    double em = std::abs(lf.height);
    if (em == 0 || !std::isfinite(em))
        em = m_devicePerMm * 25.4 / 6 / lineScale; // twelve points
    // The font is made at about the size it lands on the paint device, and
    // the rest of the scale goes into the painter's transform.
    const double pixels = em * AreaScale(toDevice * m_deviceToPixels);
    if (!std::isfinite(pixels) || pixels < 0.05)
        return;
    const int pixelSize = int(std::clamp(std::round(pixels), 1.0, 4096.0));
    QFont font = TextFont(lf, pixelSize);
    QFontMetricsF metrics = *m_metrics;
    double k = em / pixelSize; // logical units of a font pixel
    if (lf.height > 0 && metrics.ascent() + metrics.descent() > 0)
        k = lf.height / (metrics.ascent() + metrics.descent());
    bool stretched = false;
    if (lf.width != 0 && metrics.averageCharWidth() > 0) {
        font.setStretch(int(std::clamp(
            std::round(100 * std::abs(lf.width) / (metrics.averageCharWidth() * k)), 1.0, 4000.0)));
        metrics = QFontMetricsF(font);
        stretched = true;
    }

    // On raster devices upright text goes straight from the font to device
    // pixels, without shaping; other devices (PDF, printers) get text they
    // keep as text.
    const QTransform local = QTransform::fromScale(k, k) * toDevice;
    const QTransform full = local * m_deviceToPainter;
    const bool outlines = !GlyphsRenderable(local * m_deviceToPixels, font, pixelSize);
    QList<quint32> glyphs;
    QList<QPointF> advances;
    const double scale = full.m11();
    if (!m_recording && !stretched && !outlines && m_painter.paintEngine() &&
        m_painter.paintEngine()->type() == QPaintEngine::Raster &&
        m_painter.device()->devicePixelRatio() == 1 && full.m12() == 0 && full.m21() == 0 &&
        scale > 0 && std::abs(full.m22() - scale) < 1e-2 * scale) {
        const double size = pixelSize * scale;
        if (!m_rawFont || m_rawPixels != size) {
            m_rawFont = QRawFont::fromFont(font);
            m_rawFont->setPixelSize(size);
            m_rawPixels = size;
        }
        glyphs = m_rawFont->glyphIndexesForString(text);
        if (glyphs.size() == text.size() && !glyphs.contains(0))
            advances = m_rawFont->advancesForGlyphIndexes(glyphs);
        else
            glyphs.clear();
        for (QPointF &advance : advances)
            advance /= scale;
    }

    // Where each character starts, when the run or the glyphs say.
    QList<double> starts;
    double width = 0;
    if (!run.dx.isEmpty() || !glyphs.isEmpty()) {
        starts.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            starts.append(width);
            if (i < run.dx.size())
                width += run.dx[i] / k;
            else if (i < advances.size())
                width += advances[i].x();
            else
                width += metrics.horizontalAdvance(text[i]);
        }
    } else if ((s.textAlign & Gdi::TaHorizontalMask) || s.bkOpaque || updateCp || m_recording) {
        width = metrics.horizontalAdvance(text);
    }
    double x = 0;
    switch (s.textAlign & Gdi::TaHorizontalMask) {
    case Gdi::TaCenter:
        x = -width / 2;
        break;
    case Gdi::TaRight:
        x = -width;
        break;
    default:
        break;
    }
    double baseline = metrics.ascent();
    if ((s.textAlign & Gdi::TaVerticalMask) == Gdi::TaBaseline)
        baseline = 0;
    else if ((s.textAlign & Gdi::TaVerticalMask) == Gdi::TaBottom)
        baseline = -metrics.descent();

    if (updateCp) {
        const double advance = (s.textAlign & Gdi::TaHorizontalMask) == Gdi::TaCenter ? 0
                               : (s.textAlign & Gdi::TaRight)                         ? -width
                                                                                      : width;
        const QPointF d =
            (QTransform::fromScale(k, k) * rotate * flip * linear).map(QPointF(advance, 0));
        m_state.position = reference + linear.inverted().map(d);
    }

    if (m_recording) {
        m_path.addPath(local.map(TextOutline(font, text, x, baseline, {})));
        m_figureOpen = false;
        return;
    }

    // Runs that land wholly off the device are not drawn.
    const QPaintDevice *device = m_painter.device();
    if (device && m_painter.paintEngine()->type() != QPaintEngine::Picture) {
        const QRectF box = (local * m_deviceToPixels)
                               .mapRect(QRectF(x, baseline - metrics.ascent(), width,
                                               metrics.ascent() + metrics.descent()));
        const QRectF pixels(0, 0, device->width(), device->height());
        if (width > 0 && !box.adjusted(-box.height(), -box.height(), box.height(), box.height())
                              .intersects(pixels))
            return;
    }

    const bool clipped = (run.options & Gdi::EtoClipped) && !run.rect.isNull();
    if (clipped) {
        m_painter.save();
        UseSpace(Space::Logical);
        m_painter.setClipRect(run.rect.normalized(), Qt::IntersectClip);
    } else {
        ApplyClip();
    }
    m_painter.setTransform(full);
    m_space = Space::Other;
    if (s.bkOpaque)
        m_painter.fillRect(
            QRectF(x, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()),
            s.bkColor);
    SetPainterPen(QPen(s.textColor));
    if (outlines) {
        m_painter.fillPath(TextOutline(font, text, x, baseline, starts), s.textColor);
    } else if (!glyphs.isEmpty()) {
        QList<QPointF> positions;
        positions.reserve(starts.size());
        for (double start : starts)
            positions.append(QPointF(start * scale, 0));
        QGlyphRun glyphRun;
        glyphRun.setRawFont(*m_rawFont);
        glyphRun.setGlyphIndexes(glyphs);
        glyphRun.setPositions(positions);
        glyphRun.setUnderline(lf.underline);
        glyphRun.setStrikeOut(lf.strikeOut);
        m_painter.setTransform(QTransform());
        m_painter.drawGlyphRun(full.map(QPointF(x, baseline)), glyphRun);
    } else if (starts.isEmpty()) {
        m_painter.setFont(font);
        m_painter.drawText(QPointF(x, baseline), text);
    } else {
        m_painter.setFont(font);
        for (qsizetype i = 0; i < text.size(); ++i) {
            qsizetype n = 1;
            if (text[i].isHighSurrogate() && i + 1 < text.size())
                n = 2;
            m_painter.drawText(QPointF(x + starts[i], baseline), text.mid(i, n));
            i += n - 1;
        }
    }
    if (clipped) {
        m_painter.restore();
        m_space = Space::Unknown;
        m_penValid = m_brushValid = m_backgroundValid = false;
    }
}

// --- Bitmaps -------------------------------------------------------------

void GdiContext::PatBlt(const QRectF &dest, quint32 rop)
{
    if (m_recording)
        return;
    QBrush brush;
    switch (rop) {
    case Gdi::PatCopy:
        brush = CurrentBrush(m_state.brush.brush, m_state.brush.pattern, false);
        break;
    case Gdi::Blackness:
        brush = QBrush(Qt::black);
        break;
    case Gdi::Whiteness:
        brush = QBrush(Qt::white);
        break;
    default:
        return; // the inverting operations have no vector equivalent
    }
    UseSpace(Space::Logical);
    SetPainterBackground();
    SetPainterPen(QPen(Qt::NoPen));
    SetPainterBrush(brush);
    m_painter.drawRect(dest.normalized());
}

void GdiContext::Bitmap(const QRectF &dest, const QImage &image, const QRectF &source, quint32 rop)
{
    if (m_recording || image.isNull() || dest.width() == 0 || dest.height() == 0)
        return;
    QRectF src = source;
    if (src.width() <= 0 || src.height() <= 0)
        src = image.rect();
    src = src.intersected(image.rect());
    if (src.isEmpty())
        return;
    if (rop == Gdi::PatCopy || rop == Gdi::Blackness || rop == Gdi::Whiteness) {
        PatBlt(dest, rop);
        return;
    }
    QImage picture = image;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    const bool blends =
        m_painter.paintEngine() && m_painter.paintEngine()->hasFeature(QPaintEngine::BlendModes);
    switch (rop) {
    case Gdi::SrcAnd:
        if (blends)
            mode = QPainter::CompositionMode_Multiply;
        break;
    case Gdi::SrcPaint:
        if (blends)
            mode = QPainter::CompositionMode_Lighten;
        break;
    case Gdi::SrcInvert:
        if (blends)
            mode = QPainter::CompositionMode_Difference;
        break;
    case Gdi::NotSrcCopy:
        picture.invertPixels();
        break;
    case Gdi::DstInvert:
    case Gdi::PatInvert:
        return;
    default:
        break;
    }
    UseSpace(Space::Logical);
    const QTransform place =
        QTransform::fromScale(dest.width() / src.width(), dest.height() / src.height()) *
        QTransform::fromTranslate(dest.x(), dest.y());
    m_painter.setTransform(place * LogicalToDevice() * m_deviceToPainter);
    m_space = Space::Other;
    if (mode != QPainter::CompositionMode_SourceOver)
        m_painter.setCompositionMode(mode);
    m_painter.drawImage(QRectF(QPointF(0, 0), src.size()), picture, src);
    if (mode != QPainter::CompositionMode_SourceOver)
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace Dayloom
