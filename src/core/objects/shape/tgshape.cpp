#include "core/objects/shape/tgshape.h"

#include "core/formats/propertylistbuilder.h"
#include "core/print/printengine.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <array>
#include <utility>

namespace Dayloom {

namespace {

constexpr double ScreenPpi = 96.0;

const QString ShapeCaption = QStringLiteral("Shape");
const QString LineWidthCaption = QStringLiteral("Line Width");
const QString LineStyleCaption = QStringLiteral("Line Style");
const QString NoFillCaption = QStringLiteral("No Fill");

const std::array<std::pair<TGShape::TShapeType, QString>, 5> ShapeItems = {{
    {TGShape::shRectangle, QStringLiteral("Rectangle")},
    {TGShape::shRoundRect, QStringLiteral("Rounded Rectangle")},
    {TGShape::shEllipse, QStringLiteral("Ellipse")},
    {TGShape::shLineDown, QStringLiteral("Line Down")},
    {TGShape::shLineUp, QStringLiteral("Line Up")},
}};
const std::array<std::pair<int, QString>, 5> WidthItems = {{
    {1, QStringLiteral("1 pixel")},
    {2, QStringLiteral("2 pixels")},
    {3, QStringLiteral("3 pixels")},
    {5, QStringLiteral("5 pixels")},
    {8, QStringLiteral("8 pixels")},
}};
const std::array<std::pair<TGShape::TPenStyle, QString>, 4> StyleItems = {{
    {TGShape::psSolid, QStringLiteral("Solid")},
    {TGShape::psDash, QStringLiteral("Dash")},
    {TGShape::psDot, QStringLiteral("Dot")},
    {TGShape::psDashDot, QStringLiteral("Dash Dot")},
}};

// The items of a submenu choosing one value; the current one is checked.
template <class Value, std::size_t N>
void AppendChoices(QList<TGGraphicControl::MenuEntry> &entries,
                   const std::array<std::pair<Value, QString>, N> &items, Value current,
                   const QString &submenu, const QString &undoText)
{
    for (const auto &[value, caption] : items)
        entries.append(
            TGGraphicControl::MenuEntry(caption, true, value == current, true, submenu, undoText));
}

// Sets the value of the item with that caption; false when there is none.
template <class Value, std::size_t N, class Set>
bool RunChoice(const std::array<std::pair<Value, QString>, N> &items, const QString &caption,
               Set set)
{
    for (const auto &[value, item] : items) {
        if (caption == item) {
            set(value);
            return true;
        }
    }
    return false;
}

Qt::PenStyle ToQtPenStyle(TGShape::TPenStyle style)
{
    switch (style) {
    case TGShape::psDash:
        return Qt::DashLine;
    case TGShape::psDot:
        return Qt::DotLine;
    case TGShape::psDashDot:
        return Qt::DashDotLine;
    case TGShape::psSolid:
        break;
    }
    return Qt::SolidLine;
}

// A property stored as dotted parts ("Pen.Color", "Pen.Width" ...). Each part
// is declared under its full path in `parts`; they are written in their
// order, and an entry "Name.Part" is read through the part of that path.
PropertyDescriptor Grouped(const char *name, const PropertyList &parts)
{
    const QByteArray prefix = QByteArray(name) + '.';
    return {QByteArray(name),
            [parts](const PersistentObject &object, ValueWriter &writer) {
                for (const PropertyDescriptor &part : parts.properties())
                    part.write(object, writer);
            },
            [parts, prefix](PersistentObject &object, QByteArrayView sub, ValueReader &reader) {
                const PropertyDescriptor *part =
                    sub.isEmpty() ? nullptr : parts.find(prefix + sub.toByteArray());
                if (!part)
                    return reader.fail(QStringLiteral("Unknown property %1%2")
                                           .arg(QString::fromLatin1(prefix),
                                                QString::fromLatin1(sub.toByteArray())));
                return part->read(object, QByteArrayView(), reader);
            }};
}

} // namespace

const QString TGShape::LineColourCaption = QStringLiteral("Line Colour...");
const QString TGShape::FillColourCaption = QStringLiteral("Fill Colour...");

TGShape::TGShape()
{
    SetBounds(QRect(0, 0, DefaultWidth, DefaultHeight));
}

const PropertyList &TGShape::PublishedProperties() const
{
    static const PropertyList pen =
        PropertyListBuilder<TGShape>()
            .color("Pen.Color", &TGShape::PenColor, &TGShape::SetPenColor, clBlack)
            .integer("Pen.Width", &TGShape::PenWidth, &TGShape::SetPenWidth, 1, 1, MaxPenWidth)
            .enumeration<TPenStyle>("Pen.Style", &TGShape::PenStyle, &TGShape::SetPenStyle,
                                    {"psSolid", "psDash", "psDot", "psDashDot"}, psSolid)
            .build();
    static const PropertyList brush =
        PropertyListBuilder<TGShape>()
            .color("Brush.Color", &TGShape::BrushColor, &TGShape::SetBrushColor, clWhite)
            .enumeration<TBrushStyle>("Brush.Style", &TGShape::BrushStyle, &TGShape::SetBrushStyle,
                                      {"bsSolid", "bsClear"}, bsClear)
            .build();
    static const PropertyList list =
        PropertyListBuilder<TGShape>(TGGraphicControl::BaseProperties())
            .enumeration<TShapeType>(
                "Shape", &TGShape::Shape, &TGShape::SetShape,
                {"shRectangle", "shRoundRect", "shEllipse", "shLineDown", "shLineUp"}, shRectangle)
            .custom(Grouped("Pen", pen))
            .custom(Grouped("Brush", brush))
            .integer("CornerRadius", &TGShape::CornerRadius, &TGShape::SetCornerRadius,
                     DefaultCornerRadius, 0, PropertyListBuilder<TGShape>::MaxCoordinate)
            .build();
    return list;
}

// --- published properties -------------------------------------------------------------

void TGShape::SetShape(TShapeType shape)
{
    if (shape == m_shape)
        return;
    m_shape = shape;
    Repaint();
}

void TGShape::SetPenColor(TColor color)
{
    if (color == m_penColor)
        return;
    m_penColor = color;
    Repaint();
}

void TGShape::SetPenWidth(int width)
{
    width = std::clamp(width, 1, MaxPenWidth);
    if (width == m_penWidth)
        return;
    m_penWidth = width;
    Repaint();
}

void TGShape::SetPenStyle(TPenStyle style)
{
    if (style == m_penStyle)
        return;
    m_penStyle = style;
    Repaint();
}

void TGShape::SetBrushColor(TColor color)
{
    if (color == m_brushColor)
        return;
    m_brushColor = color;
    Repaint();
}

void TGShape::SetBrushStyle(TBrushStyle style)
{
    if (style == m_brushStyle)
        return;
    m_brushStyle = style;
    Repaint();
}

void TGShape::SetCornerRadius(int radius)
{
    radius = std::max(0, radius);
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    Repaint();
}

// --- drawing ----------------------------------------------------------------------------

QRectF TGShape::StrokeBox(const QRectF &box, double penWidth)
{
    // A pen wider than the box leaves a stroke along its middle.
    const double insetX = std::min(penWidth, box.width()) / 2;
    const double insetY = std::min(penWidth, box.height()) / 2;
    return box.adjusted(insetX, insetY, -insetX, -insetY);
}

QLineF TGShape::Line(const QRectF &box, double penWidth) const
{
    const QRectF stroke = StrokeBox(box, penWidth);
    return m_shape == shLineDown ? QLineF(stroke.topLeft(), stroke.bottomRight())
                                 : QLineF(stroke.bottomLeft(), stroke.topRight());
}

void TGShape::Draw(QPainter &painter, const QRectF &box, double penWidth, double radiusX,
                   double radiusY) const
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    QPen pen(ToQColor(m_penColor), penWidth, ToQtPenStyle(m_penStyle));
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.setBrush(m_brushStyle == bsSolid && !IsLine() ? QBrush(ToQColor(m_brushColor))
                                                          : QBrush(Qt::NoBrush));
    const QRectF stroke = StrokeBox(box, penWidth);
    switch (m_shape) {
    case shRectangle:
        painter.drawRect(stroke);
        break;
    case shRoundRect:
        painter.drawRoundedRect(stroke, std::min(radiusX, stroke.width() / 2),
                                std::min(radiusY, stroke.height() / 2));
        break;
    case shEllipse:
        painter.drawEllipse(stroke);
        break;
    case shLineDown:
    case shLineUp:
        painter.drawLine(Line(box, penWidth));
        break;
    }
    painter.restore();
}

void TGShape::PaintContent(QPainter &painter, const QRect &target, float zoom) const
{
    const double radius = m_cornerRadius * double(zoom);
    Draw(painter, QRectF(target), m_penWidth * double(zoom), radius, radius);
}

void TGShape::PrintTo(PrintEngine &engine, double xInch, double yInch) const
{
    const double left = engine.XInchesToDev(xInch + Left() / ScreenPpi);
    const double top = engine.YInchesToDev(yInch + Top() / ScreenPpi);
    const double right = engine.XInchesToDev(xInch + (Left() + Width()) / ScreenPpi);
    const double bottom = engine.YInchesToDev(yInch + (Top() + Height()) / ScreenPpi);
    const double scaleX = engine.XPixelsPerInch() / ScreenPpi;
    const double scaleY = engine.YPixelsPerInch() / ScreenPpi;
    // One pen width for both directions: the mean of the two resolutions.
    const double penWidth = m_penWidth * (scaleX + scaleY) / 2;
    Draw(engine.Painter(), QRectF(QPointF(left, top), QPointF(right, bottom)), penWidth,
         m_cornerRadius * scaleX, m_cornerRadius * scaleY);
}

// --- hit testing --------------------------------------------------------------------------

QPainterPath TGShape::LineHitArea() const
{
    const double penWidth = m_penWidth * double(Zoom());
    QPainterPath line;
    const QLineF centre = Line(QRectF(ScaledBounds()), penWidth);
    line.moveTo(centre.p1());
    line.lineTo(centre.p2());
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(double(LineHitWidth), penWidth));
    stroker.setCapStyle(Qt::SquareCap);
    return stroker.createStroke(line);
}

bool TGShape::Covers(const QPoint &surfacePoint) const
{
    if (!IsLine())
        return TGGraphicControl::Covers(surfacePoint);
    // The pixel's centre decides, as for the box.
    return ScaledBounds().contains(surfacePoint) &&
           LineHitArea().contains(QPointF(surfacePoint) + QPointF(0.5, 0.5));
}

bool TGShape::Touches(const QRect &surfaceRect) const
{
    if (!IsLine())
        return TGGraphicControl::Touches(surfaceRect);
    return ScaledBounds().intersects(surfaceRect) && LineHitArea().intersects(QRectF(surfaceRect));
}

// --- popup items --------------------------------------------------------------------------

QList<TGGraphicControl::MenuEntry> TGShape::MenuEntries() const
{
    QList<MenuEntry> entries{MenuEntry(QStringLiteral("-"))};
    AppendChoices(entries, ShapeItems, m_shape, ShapeCaption, QStringLiteral("Change Shape"));
    entries.append(MenuEntry(LineColourCaption));
    AppendChoices(entries, WidthItems, m_penWidth, LineWidthCaption,
                  QStringLiteral("Change Line Width"));
    AppendChoices(entries, StyleItems, m_penStyle, LineStyleCaption,
                  QStringLiteral("Change Line Style"));
    // Lines have nothing to fill.
    entries.append(MenuEntry(FillColourCaption, false, false, !IsLine()));
    entries.append(MenuEntry(NoFillCaption, true, m_brushStyle == bsClear, !IsLine()));
    return entries;
}

bool TGShape::RunMenuEntry(const QString &caption)
{
    if (caption == NoFillCaption) {
        SetBrushStyle(bsClear);
        return true;
    }
    return RunChoice(ShapeItems, caption, [this](TShapeType shape) { SetShape(shape); }) ||
           RunChoice(WidthItems, caption, [this](int width) { SetPenWidth(width); }) ||
           RunChoice(StyleItems, caption, [this](TPenStyle style) { SetPenStyle(style); });
}

void TGShape::AssignProperties(const TGGraphicControl &source)
{
    if (const auto *shape = dynamic_cast<const TGShape *>(&source)) {
        m_shape = shape->m_shape;
        m_penColor = shape->m_penColor;
        m_penWidth = shape->m_penWidth;
        m_penStyle = shape->m_penStyle;
        m_brushColor = shape->m_brushColor;
        m_brushStyle = shape->m_brushStyle;
        m_cornerRadius = shape->m_cornerRadius;
    }
    TGGraphicControl::AssignProperties(source);
}

} // namespace Dayloom
