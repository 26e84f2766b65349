#include "core/objects/supertext/tgsupertext.h"

#include "core/formats/propertylistbuilder.h"
#include "core/graphics/dibreader.h"
#include "core/graphics/picture.h"
#include "core/print/printengine.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {
constexpr double ScreenPpi = 96.0;

const QString FontCaption = QStringLiteral("Font");
const QString TransparentCaption = QStringLiteral("Transparent");
const QString BackgroundCaption = QStringLiteral("Background Color");
const QString BorderCaption = QStringLiteral("Border");
const QString PropertiesCaption = QStringLiteral("Properties");

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c)
{
    const qint64 product = qint64(a) * b;
    const qint64 half = c / 2;
    return int(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

Qt::PenStyle ToQtPenStyle(TGSuperText::TPenStyle style)
{
    switch (style) {
    case TGSuperText::psDash:
        return Qt::DashLine;
    case TGSuperText::psDot:
        return Qt::DotLine;
    case TGSuperText::psDashDot:
        return Qt::DashDotLine;
    case TGSuperText::psDashDotDot:
        return Qt::DashDotDotLine;
    case TGSuperText::psClear:
        return Qt::NoPen;
    case TGSuperText::psSolid:
    case TGSuperText::psInsideFrame:
        break;
    }
    return Qt::SolidLine;
}

// The text's height as the letters' cell: ascent and descent.
int TextHeight(const QFontMetrics &metrics)
{
    return metrics.ascent() + metrics.descent();
}

} // namespace

TGSuperText::TGSuperText()
{
    SetBounds(QRect(0, 0, DefaultWidth, DefaultHeight));
}

const PropertyList &TGSuperText::PublishedProperties() const
{
    static const PropertyList list =
        PropertyListBuilder<TGSuperText>(TGGraphicControl::BaseProperties())
            .integer("ShadowDepth", &TGSuperText::ShadowDepth, &TGSuperText::SetShadowDepth, 0, 0,
                     1000)
            .enumeration<TShadowOrientation>(
                "ShadowOrientation", &TGSuperText::ShadowOrientation,
                &TGSuperText::SetShadowOrientation,
                {"sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"}, sdDownRight)
            .color("Shadowcolor", &TGSuperText::Shadowcolor, &TGSuperText::SetShadowcolor, clGray)
            .enumeration<TBorderStyle>("BorderStyle", &TGSuperText::BorderStyle,
                                       &TGSuperText::SetBorderStyle, {"bsNone", "bsSingle"}, bsNone)
            .boolean("ControlTransparent", &TGSuperText::ControlTransparent,
                     &TGSuperText::SetControlTransparent, true)
            .color("BGColor", &TGSuperText::BGColor, &TGSuperText::SetBGColor, clWhite)
            .string("Caption", &TGSuperText::Caption, &TGSuperText::SetCaption,
                    QStringLiteral("Text"))
            .font("Font", &TGSuperText::Font, &TGSuperText::SetFont,
                  FontSpec(QStringLiteral("Arial"), 48, true))
            .enumeration<TFillDirection>("FillDirection", &TGSuperText::FillDirection,
                                         &TGSuperText::SetFillDirection,
                                         {"gdUp", "gdDown", "gdLeft", "gdRight"}, gdRight)
            .color("GradientToColor", &TGSuperText::GradientToColor,
                   &TGSuperText::SetGradientToColor, clYellow)
            .color("GradientFromColor", &TGSuperText::GradientFromColor,
                   &TGSuperText::SetGradientFromColor, clBlue)
            .bitmap("Image", &TGSuperText::ImageBitmapData, &TGSuperText::SetImageBitmapData)
            .color("OutlineColor", &TGSuperText::OutlineColor, &TGSuperText::SetOutlineColor,
                   clBlack)
            .enumeration<TPenStyle>("OutlineStyle", &TGSuperText::OutlineStyle,
                                    &TGSuperText::SetOutlineStyle,
                                    {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot",
                                     "psClear", "psInsideFrame"},
                                    psSolid)
            .integer("OutlineWidth", &TGSuperText::OutlineWidth, &TGSuperText::SetOutlineWidth, 1,
                     -1000, 1000)
            .enumeration<TSurfaceType>(
                "SurfaceType", &TGSuperText::SurfaceType, &TGSuperText::SetSurfaceType,
                {"stNormal", "stBrushTransparent", "stBrushImage", "stGradientFill"},
                stGradientFill)
            .string("LastBitmapFileNameandPath", &TGSuperText::LastBitmapFileNameandPath,
                    &TGSuperText::SetLastBitmapFileNameandPath, QString())
            .build();
    return list;
}

void TGSuperText::Loaded()
{
    // Setters only stored while the record was read.
    ApplySizeRules();
}

void TGSuperText::PrepareForTool()
{
    m_borderStyle = bsSingle;
    m_controlTransparent = false;
    m_bgColor = clWhite;
}

// --- properties ----------------------------------------------------------------------------

void TGSuperText::Changed()
{
    if (!IsReading())
        Repaint();
}

void TGSuperText::ChangedAndNotify()
{
    if (IsReading())
        return;
    Repaint();
    NotifyChanged();
}

void TGSuperText::SetShadowDepth(int depth)
{
    if (m_shadowDepth == depth)
        return;
    m_shadowDepth = depth;
    ApplySizeRules();
    Changed();
}

void TGSuperText::SetShadowOrientation(TShadowOrientation orientation)
{
    if (orientation < sdNone || orientation > sdDown || m_shadowOrientation == orientation)
        return;
    m_shadowOrientation = orientation;
    ApplySizeRules();
    Changed();
}

void TGSuperText::SetShadowcolor(TColor color)
{
    if (m_shadowColor == color)
        return;
    m_shadowColor = color;
    Changed();
}

void TGSuperText::SetBorderStyle(TBorderStyle style)
{
    if ((style != bsNone && style != bsSingle) || m_borderStyle == style)
        return;
    m_borderStyle = style;
    ChangedAndNotify();
}

void TGSuperText::SetControlTransparent(bool transparent)
{
    if (m_controlTransparent == transparent)
        return;
    m_controlTransparent = transparent;
    Changed();
}

void TGSuperText::SetBGColor(TColor color)
{
    if (m_bgColor == color)
        return;
    m_bgColor = color;
    ChangedAndNotify();
}

void TGSuperText::SetCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    ChangedAndNotify();
}

void TGSuperText::SetFont(const FontSpec &font)
{
    if (m_font == font)
        return;
    m_font = font;
    ApplySizeRules();
    Changed();
}

void TGSuperText::ApplyFont(const FontSpec &font)
{
    SetFont(font);
}

void TGSuperText::SetFillDirection(TFillDirection direction)
{
    if (direction < gdUp || direction > gdRight || m_fillDirection == direction)
        return;
    m_fillDirection = direction;
    Changed();
}

void TGSuperText::SetGradientToColor(TColor color)
{
    if (m_gradientTo == color)
        return;
    m_gradientTo = color;
    Changed();
}

void TGSuperText::SetGradientFromColor(TColor color)
{
    if (m_gradientFrom == color)
        return;
    m_gradientFrom = color;
    ChangedAndNotify();
}

void TGSuperText::SetImage(const QImage &image)
{
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    m_imageData = m_image.isNull() ? QByteArray() : Picture::FromImage(m_image).GraphicFile();
    Changed();
}

QByteArray TGSuperText::ImageBitmapData() const
{
    return m_imageData;
}

void TGSuperText::SetImageBitmapData(const QByteArray &bmp)
{
    // A bitmap that cannot be read leaves the letters unfilled, never the
    // design unread; its bytes are saved again as they came.
    QImage image;
    if (bmp.isEmpty() || !DibReader::ReadFile(bmp, image, nullptr))
        image = QImage();
    m_image = image;
    m_imageData = bmp;
    Changed();
}

void TGSuperText::SetOutlineColor(TColor color)
{
    if (m_outlineColor == color)
        return;
    m_outlineColor = color;
    Changed();
}

void TGSuperText::SetOutlineStyle(TPenStyle style)
{
    if (style < psSolid || style > psInsideFrame || m_outlineStyle == style)
        return;
    m_outlineStyle = style;
    Changed();
}

void TGSuperText::SetOutlineWidth(int width)
{
    if (m_outlineWidth == width)
        return;
    m_outlineWidth = width;
    Changed();
}

void TGSuperText::SetSurfaceType(TSurfaceType type)
{
    if (type < stNormal || type > stGradientFill || m_surfaceType == type)
        return;
    m_surfaceType = type;
    if (type != stBrushImage) {
        m_image = QImage();
        m_imageData.clear();
    }
    if (type == stBrushTransparent && m_outlineStyle == psClear)
        m_outlineStyle = psSolid;
    Changed();
}

// --- layout --------------------------------------------------------------------------------

QPoint TGSuperText::ShadowOffset() const
{
    const int d = m_shadowDepth;
    switch (m_shadowOrientation) {
    case sdNone:
        break;
    case sdRight:
        return {d, 0};
    case sdLeft:
        return {-d, 0};
    case sdDownRight:
        return {d, d};
    case sdDownLeft:
        return {-d, d};
    case sdDown:
        return {0, d};
    }
    return {0, 0};
}

QFont TGSuperText::ZoomedFont(float zoom) const
{
    const int points = zoom != 1.0f ? int(m_font.Size() * double(zoom)) : m_font.Size();
    return m_font.ToQFontPoints(std::max(1, points));
}

TGSuperText::Metrics TGSuperText::ComputeMetrics(float zoom, int width) const
{
    Metrics m;
    const QPoint offset = ShadowOffset();
    m.shadowOffset = zoom != 1.0f
                         ? QPoint(int(offset.x() * double(zoom)), int(offset.y() * double(zoom)))
                         : offset;
    const QFontMetrics metrics(ZoomedFont(zoom));
    m.textHeight = TextHeight(metrics);
    m.textWidth = metrics.horizontalAdvance(m_caption + QLatin1Char(' '));
    const int ox = m.shadowOffset.x() < 0 ? -m.shadowOffset.x() : 0;
    const int oy = m.shadowOffset.y() < 0 ? -m.shadowOffset.y() : 0;
    // Right and bottom are edges: the rectangle runs to the object's width.
    m.textRect = QRect(QPoint(ox + 5, oy), QPoint(width - 1, oy + m.textHeight - 1));
    m.textOrigin = m.textRect.topLeft();
    m.shadowRect = m.textRect.translated(m.shadowOffset);
    m.shadowOrigin = QPoint(m.textRect.left() + m.shadowOffset.x(), m.shadowRect.top());
    return m;
}

void TGSuperText::ApplySizeRules()
{
    if (IsReading() || m_applyingRules)
        return;
    m_applyingRules = true;
    const Metrics m = ComputeMetrics(1.0f, Width());
    QRect bounds = Bounds();
    if (bounds.width() <= 5)
        bounds.setWidth(m.textWidth);
    const int f = std::abs(m.shadowOffset.y()) + m.textHeight;
    if (bounds.height() > f * 1.2 && m_controlTransparent && m_borderStyle == bsNone)
        bounds.setHeight(int(f * 1.2));
    if (bounds.height() < f)
        bounds.setHeight(f);
    bounds.setWidth(std::max(1, bounds.width()));
    bounds.setHeight(std::max(1, bounds.height()));
    // Setting the bounds reports the change.
    if (bounds != Bounds())
        SetBounds(bounds);
    m_applyingRules = false;
}

bool TGSuperText::FitToText()
{
    const QFontMetrics metrics(ZoomedFont(Zoom()));
    const int a = metrics.horizontalAdvance(m_caption);
    const int b = TextHeight(metrics);
    const Metrics m = ComputeMetrics(1.0f, Width());
    const int c = std::max(m.textRect.left(), m.shadowRect.left());
    const int d = std::max(m.textRect.top(), m.shadowRect.top());
    int width = int(c + a * 1.2);
    int height = int((b + d) * 1.2);
    if (height < b)
        height = int(b * 1.5);
    if (width < a)
        width = int(a * 1.5);
    m_applyingRules = true;
    SetBounds(QRect(Bounds().topLeft(), QSize(std::max(1, width), std::max(1, height))));
    m_applyingRules = false;
    Repaint();
    return Height() >= b && Width() >= a;
}

void TGSuperText::CheckBoundsChanged()
{
    TGGraphicControl::CheckBoundsChanged();
    if (Width() < 1 || Height() < 1)
        SetBounds(QRect(Bounds().topLeft(), QSize(std::max(1, Width()), std::max(1, Height()))));
    ApplySizeRules();
}

QColor TGSuperText::GradientBandColor(int band, TColor start, TColor end)
{
    const QColor from = ToQColor(start);
    const QColor to = ToQColor(end);
    return QColor(from.red() + MulDiv(band, to.red() - from.red(), 255),
                  from.green() + MulDiv(band, to.green() - from.green(), 255),
                  from.blue() + MulDiv(band, to.blue() - from.blue(), 255));
}

void TGSuperText::DrawGradientBands(QPainter &painter, const QPointF &origin, const QSize &size,
                                    TColor from, TColor to, TFillDirection direction,
                                    const QRectF &needed)
{
    const int width = size.width();
    const int height = size.height();
    if (width < 1 || height < 1)
        return;
    const bool reversed = direction == gdUp || direction == gdLeft;
    const TColor start = reversed ? to : from;
    const TColor end = reversed ? from : to;
    const bool across = direction == gdLeft || direction == gdRight;
    for (int i = 0; i < 256; ++i) {
        QRectF band;
        if (across) {
            const int x0 = MulDiv(i, width, 256);
            band = QRectF(origin.x() + x0, origin.y(), MulDiv(i + 1, width, 256) - x0, height);
        } else {
            const int y0 = MulDiv(i, height, 256);
            band = QRectF(origin.x(), origin.y() + y0, width, MulDiv(i + 1, height, 256) - y0);
        }
        if (!band.isEmpty() && band.intersects(needed))
            painter.fillRect(band, GradientBandColor(i, start, end));
    }
}

QBrush TGSuperText::GradientBandBrush(const QPointF &origin, const QSize &size, TColor from,
                                      TColor to, TFillDirection direction)
{
    const int width = size.width();
    const int height = size.height();
    if (width < 1 || height < 1)
        return QBrush(ToQColor(from));
    const bool reversed = direction == gdUp || direction == gdLeft;
    const TColor start = reversed ? to : from;
    const TColor end = reversed ? from : to;
    const bool across = direction == gdLeft || direction == gdRight;
    const int length = across ? width : height;
    QLinearGradient gradient(origin,
                             across ? origin + QPointF(width, 0) : origin + QPointF(0, height));
    // Each band a solid stretch between two stops of its colour, ending a
    // hair before the next band starts, at DrawGradientBands' boundaries.
    QGradientStops stops;
    constexpr double hair = 1e-6;
    for (int i = 0; i < 256; ++i) {
        const int begin = MulDiv(i, length, 256);
        const int finish = MulDiv(i + 1, length, 256);
        if (finish <= begin)
            continue;
        const QColor color = GradientBandColor(i, start, end);
        stops.append({double(begin) / length + (stops.isEmpty() ? 0.0 : hair), color});
        stops.append({double(finish) / length, color});
    }
    gradient.setStops(stops);
    gradient.setSpread(QGradient::PadSpread);
    return QBrush(gradient);
}

QImage TGSuperText::GradientStrip(int width, int height) const
{
    const bool across = m_fillDirection == gdLeft || m_fillDirection == gdRight;
    const QSize size = across ? QSize(width, 1) : QSize(1, height);
    if (m_gradient.size() != size || m_gradientKeyFrom != m_gradientFrom ||
        m_gradientKeyTo != m_gradientTo || m_gradientKeyDirection != m_fillDirection) {
        m_gradient = QImage(size, QImage::Format_RGB32);
        if (!m_gradient.isNull()) {
            QPainter painter(&m_gradient);
            DrawGradientBands(painter, QPointF(0, 0), size, m_gradientFrom, m_gradientTo,
                              m_fillDirection, QRectF(QPointF(0, 0), size));
        }
        m_gradientKeyFrom = m_gradientFrom;
        m_gradientKeyTo = m_gradientTo;
        m_gradientKeyDirection = m_fillDirection;
    }
    return m_gradient;
}

int TGSuperText::FittingLength(int length, int available, const std::function<int(int)> &widthOf)
{
    if (length <= 0 || widthOf(length) <= available)
        return std::max(0, length);
    // widthOf(fits) <= available < widthOf(tooLong), with widthOf(0) taken as 0.
    int fits = 0;
    int tooLong = length;
    while (tooLong - fits > 1) {
        const int middle = fits + (tooLong - fits) / 2;
        if (widthOf(middle) <= available)
            fits = middle;
        else
            tooLong = middle;
    }
    return fits;
}

QString TGSuperText::FittedCaption(const QFont &font, int available) const
{
    const QFontMetrics metrics(font);
    int length = FittingLength(int(m_caption.size()), available,
                               [&](int n) { return metrics.horizontalAdvance(m_caption.left(n)); });
    // Never half a character.
    if (length > 0 && length < m_caption.size() && m_caption[length - 1].isHighSurrogate())
        --length;
    return m_caption.left(length);
}

// --- drawing -------------------------------------------------------------------------------

void TGSuperText::PaintContent(QPainter &painter, const QRect &target, float zoom) const
{
    if (target.isEmpty())
        return;
    const int width = target.width();
    const int height = target.height();
    const Metrics m = ComputeMetrics(zoom, width);
    const QFont font = ZoomedFont(zoom);
    const int e = std::max(m.textRect.left(), m.shadowRect.left());
    painter.save();
    painter.translate(target.topLeft());
    QPen framePen(Qt::black, 1);
    framePen.setCosmetic(true);
    const QRectF frame = QRectF(0, 0, width, height).adjusted(0.5, 0.5, -0.5, -0.5);
    if (!m_controlTransparent)
        painter.fillRect(QRect(0, 0, width, height), ToQColor(m_bgColor));
    if (m_borderStyle == bsSingle) {
        painter.setPen(framePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
    }
    const QString text = FittedCaption(font, width - e);
    if (text.isEmpty()) {
        painter.setPen(framePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
        painter.drawLine(QPointF(0.5, 0.5), QPointF(width - 0.5, height - 0.5));
        painter.drawLine(QPointF(0.5, height - 0.5), QPointF(width - 0.5, 0.5));
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const int ascent = QFontMetrics(font).ascent();
    const auto letters = [&](const QPoint &origin) {
        QPainterPath path;
        path.addText(QPointF(origin.x(), origin.y() + ascent), font, text);
        return path;
    };
    if (m_shadowDepth >= 1 && m_shadowOrientation != sdNone)
        painter.fillPath(letters(m.shadowOrigin), ToQColor(m_shadowColor));
    const QPainterPath face = letters(m.textOrigin);
    switch (m_surfaceType) {
    case stNormal:
        painter.fillPath(face, ToQColor(m_font.Color()));
        break;
    case stBrushImage:
        if (m_image.width() >= 1 && m_image.height() >= 1) {
            // Tiles from the object's top left, each the picture's size at
            // the zoom.
            const QSize tile = zoom != 1.0f ? QSize(int(m_image.width() * double(zoom)),
                                                    int(m_image.height() * double(zoom)))
                                            : m_image.size();
            if (tile.width() >= 1 && tile.height() >= 1) {
                const QImage scaled =
                    tile == m_image.size()
                        ? m_image
                        : m_image.scaled(tile, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                painter.fillPath(face, QBrush(scaled));
            }
        }
        break;
    case stGradientFill:
        // The bands over the whole object, tiled from a strip one pixel across.
        painter.fillPath(face, QBrush(GradientStrip(width, height)));
        break;
    case stBrushTransparent:
        break;
    }
    if (m_outlineStyle != psClear && m_outlineWidth >= 1) {
        QPen pen(ToQColor(m_outlineColor), m_outlineWidth, ToQtPenStyle(m_outlineStyle));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.strokePath(face, pen);
    }
    painter.restore();
}

void TGSuperText::PrintTo(PrintEngine &engine, double xInch, double yInch) const
{
    if (Width() <= 0 || Height() <= 0)
        return;
    QPainter &painter = engine.Painter();
    const double ratioX = engine.XPixelsPerInch() / ScreenPpi;
    const double ratioY = engine.YPixelsPerInch() / ScreenPpi;
    const Metrics m = ComputeMetrics(1.0f, Width());
    const double left = xInch + Left() / ScreenPpi;
    const double top = yInch + Top() / ScreenPpi;
    const double right = xInch + (Left() + Width()) / ScreenPpi;
    const double bottom = yInch + (Top() + Height()) / ScreenPpi;

    engine.SelectFont(m_font);
    if (!m_controlTransparent || m_borderStyle == bsSingle) {
        engine.SetBrush(m_controlTransparent ? clWhite : m_bgColor,
                        m_controlTransparent ? PrintEngine::BrushStyle::Clear
                                             : PrintEngine::BrushStyle::Solid);
        engine.SetPen(clBlack, m_borderStyle == bsSingle ? Qt::SolidLine : Qt::NoPen, 1);
        engine.Rectangle(left, top, right, bottom);
    }
    const int e = std::max(m.textRect.left(), m.shadowRect.left());
    const QString text = FittedCaption(ZoomedFont(1.0f), Width() - e);
    if (text.isEmpty())
        return;

    // The text's baseline sits 0.88 line heights below the top of its line.
    // Paths know no device: their font is sized in the device's pixels.
    const QFont font = engine.Font();
    QFont pathFont = font;
    pathFont.setPixelSize(
        std::max(1, int(std::lround(m_font.Size() * engine.YPixelsPerInch() / 72.0))));
    const double baseline = 0.88 * engine.LineHeight();
    const auto devicePoint = [&](const QPoint &origin) {
        return QPointF(engine.XInchesToDev(left + origin.x() / ScreenPpi),
                       engine.YInchesToDev(top + origin.y() / ScreenPpi + baseline));
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_shadowDepth > 0 && m_shadowOrientation != sdNone) {
        painter.setFont(font);
        painter.setPen(ToQColor(m_shadowColor));
        painter.drawText(devicePoint(m.shadowOrigin), text);
    }
    QPainterPath face;
    face.addText(devicePoint(m.textOrigin), pathFont, text);
    if (m_surfaceType != stBrushTransparent) {
        // The area to fill: the object, widened a little to the left and top.
        const QRectF area(
            QPointF(engine.XInchesToDev(left - 0.03), engine.YInchesToDev(top - 0.03)),
            QPointF(engine.XInchesToDev(right), engine.YInchesToDev(bottom)));
        // The letters themselves are filled: a clip would be lost on
        // targets without clipping (SVG), leaving the whole area filled.
        if (m_surfaceType == stNormal) {
            painter.fillPath(face, ToQColor(m_font.Color()));
        } else if (m_surfaceType == stBrushImage && m_image.width() >= 1 && m_image.height() >= 1) {
            // The picture as a brush, tiles of the screen's pixels at the
            // printer's resolution from the area's top left.
            const double tileW = std::round(m_image.width() * ratioX);
            const double tileH = std::round(m_image.height() * ratioY);
            if (tileW >= 1 && tileH >= 1) {
                QBrush tiles(m_image);
                tiles.setTransform(QTransform::fromTranslate(area.left(), area.top())
                                       .scale(tileW / m_image.width(), tileH / m_image.height()));
                painter.fillPath(face, tiles);
            }
        } else if (m_surfaceType == stGradientFill) {
            // Bands over the area widened a quarter inch to the right and bottom.
            const QSize bands(int(std::lround(area.width() + engine.XInchesToDev(0.25))),
                              int(std::lround(area.height() + engine.YInchesToDev(0.25))));
            painter.fillPath(face, GradientBandBrush(area.topLeft(), bands, m_gradientFrom,
                                                     m_gradientTo, m_fillDirection));
        }
    }
    if (m_outlineStyle != psClear && m_outlineWidth > 0) {
        // The screen's pixels, at the printer's resolution.
        QPen pen(ToQColor(m_outlineColor), std::max(1.0, m_outlineWidth * ratioX),
                 ToQtPenStyle(m_outlineStyle));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.strokePath(face, pen);
    }
    painter.restore();
}

// --- popup items ---------------------------------------------------------------------------

QList<TGGraphicControl::MenuEntry> TGSuperText::MenuEntries() const
{
    return {
        {QStringLiteral("-")},
        {FontCaption},
        {TransparentCaption, true, m_controlTransparent},
        {BackgroundCaption},
        {BorderCaption, true, m_borderStyle == bsSingle},
        {PropertiesCaption},
    };
}

bool TGSuperText::RunMenuEntry(const QString &caption)
{
    if (caption == TransparentCaption)
        SetControlTransparent(!m_controlTransparent);
    else if (caption == BorderCaption)
        SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle);
    else
        return false;
    return true;
}

void TGSuperText::AssignProperties(const TGGraphicControl &source)
{
    if (const auto *text = dynamic_cast<const TGSuperText *>(&source)) {
        m_shadowDepth = text->m_shadowDepth;
        m_shadowOrientation = text->m_shadowOrientation;
        m_shadowColor = text->m_shadowColor;
        m_borderStyle = text->m_borderStyle;
        m_controlTransparent = text->m_controlTransparent;
        m_bgColor = text->m_bgColor;
        m_caption = text->m_caption;
        m_font = text->m_font;
        m_fillDirection = text->m_fillDirection;
        m_gradientTo = text->m_gradientTo;
        m_gradientFrom = text->m_gradientFrom;
        m_image = text->m_image;
        m_imageData = text->m_imageData;
        m_outlineColor = text->m_outlineColor;
        m_outlineStyle = text->m_outlineStyle;
        m_outlineWidth = text->m_outlineWidth;
        m_surfaceType = text->m_surfaceType;
        m_lastBitmapPath = text->m_lastBitmapPath;
    }
    // Restores the source's bounds exactly, without the size rules.
    m_applyingRules = true;
    TGGraphicControl::AssignProperties(source);
    m_applyingRules = false;
}

} // namespace Dayloom
