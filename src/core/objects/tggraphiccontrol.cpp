#include "core/objects/tggraphiccontrol.h"

#include "core/formats/propertylistbuilder.h"
#include "core/objects/objecthost.h"
#include "core/print/metafile.h"
#include "core/print/printengine.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Dayloom {

void TGGraphicControl::SetLeft(int left)
{
    QRect bounds = m_bounds;
    bounds.moveLeft(left);
    SetBounds(bounds);
}

void TGGraphicControl::SetTop(int top)
{
    QRect bounds = m_bounds;
    bounds.moveTop(top);
    SetBounds(bounds);
}

void TGGraphicControl::SetWidth(int width)
{
    QRect bounds = m_bounds;
    bounds.setWidth(width);
    SetBounds(bounds);
}

void TGGraphicControl::SetHeight(int height)
{
    QRect bounds = m_bounds;
    bounds.setHeight(height);
    SetBounds(bounds);
}

void TGGraphicControl::SetBounds(const QRect &bounds)
{
    // Bounds stay within what a record stores, as reading keeps them: a size
    // rule (a label fitting a long caption) must not make an object that
    // reads back as another.
    using Range = PropertyListBuilder<TGGraphicControl>;
    const auto coordinate = [](int value) {
        return std::clamp(value, Range::MinCoordinate, Range::MaxCoordinate);
    };
    const auto extent = [](int value) { return std::clamp(value, 0, Range::MaxCoordinate); };
    const QRect clean(coordinate(bounds.left()), coordinate(bounds.top()), extent(bounds.width()),
                      extent(bounds.height()));
    if (clean == m_bounds)
        return;
    m_bounds = clean;
    if (!IsReading())
        BoundsEdited();
}

void TGGraphicControl::BoundsEdited()
{
    CheckBoundsChanged();
    // A move keeps the picture; a new size redraws it (see Paint).
    if (m_host)
        m_host->RequestRepaint();
}

void TGGraphicControl::SetLocked(bool locked)
{
    if (m_locked == locked)
        return;
    m_locked = locked;
    if (IsReading())
        return;
    NotifyChanged();
    if (m_host)
        m_host->ObjectStateChanged(this);
}

void TGGraphicControl::SetUnselectable(bool unselectable)
{
    if (m_unselectable == unselectable)
        return;
    m_unselectable = unselectable;
    if (IsReading())
        return;
    NotifyChanged();
    if (m_host)
        m_host->ObjectStateChanged(this);
}

const PropertyList &TGGraphicControl::BaseProperties()
{
    static const PropertyList list =
        PropertyListBuilder<TGGraphicControl>().placedObjectBase().build();
    return list;
}

void TGGraphicControl::ScaleTo(float zoom)
{
    if (zoom == m_zoom || !(zoom > 0.0f))
        return;
    m_zoom = zoom;
    m_picture = QImage();
    CheckBoundsChanged();
}

QRect TGGraphicControl::ScaleRect(const QRect &bounds, float zoom)
{
    return QRect(Scale(bounds.left(), zoom), Scale(bounds.top(), zoom), Scale(bounds.width(), zoom),
                 Scale(bounds.height(), zoom));
}

int TGGraphicControl::RoundHalfEven(double value)
{
    // The default floating-point rounding mode rounds ties to even.
    return static_cast<int>(std::nearbyint(value));
}

void TGGraphicControl::NotifyChanged()
{
    if (m_host && !m_host->Printing())
        m_host->NotifyChanged();
}

void TGGraphicControl::RequestHandleFit()
{
    if (m_host)
        m_host->RequestHandleFit();
}

void TGGraphicControl::CheckBoundsChanged()
{
    if (m_checkingBounds)
        return;
    m_checkingBounds = true;
    if (!m_storedBounds)
        m_storedBounds = m_bounds;
    if (m_bounds != *m_storedBounds) {
        NotifyChanged();
        m_storedBounds = m_bounds;
        RequestHandleFit();
    }
    m_checkingBounds = false;
}

void TGGraphicControl::Repaint()
{
    m_picture = QImage();
    if (m_host)
        m_host->RequestRepaint();
}

void TGGraphicControl::Paint(QPainter &painter) const
{
    if (m_host && m_host->PaintSuspended())
        return;
    const QRect bounds = ScaledBounds();
    QPaintDevice *device = painter.device();
    if (!DrawsOnScreen(painter) || bounds.isEmpty()) {
        PaintContent(painter, bounds, m_zoom);
        return;
    }
    // Only the part that can be seen is kept, so that an object claiming a
    // huge size costs no more than the page.
    const QRect visible = VisibleRect(painter);
    if (visible.isEmpty())
        return;
    const qreal ratio = device->devicePixelRatio();
    const QPoint offset = visible.topLeft() - bounds.topLeft();
    if (m_picture.isNull() || m_picture.size() != visible.size() * ratio ||
        m_picture.devicePixelRatio() != ratio || m_pictureOffset != offset) {
        m_picture = QImage(visible.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        if (m_picture.isNull()) {
            // No memory for the picture: draw the object itself.
            painter.save();
            painter.setClipRect(visible, Qt::IntersectClip);
            PaintContent(painter, bounds, m_zoom);
            painter.restore();
            return;
        }
        m_pictureOffset = offset;
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::transparent);
        QPainter picturePainter(&m_picture);
        picturePainter.translate(-visible.topLeft());
        PaintContent(picturePainter, bounds, m_zoom);
    }
    painter.drawImage(visible.topLeft(), m_picture);
}

bool TGGraphicControl::DrawsOnScreen(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    const int type = device ? device->devType() : 0;
    return type == QInternal::Widget || type == QInternal::Image || type == QInternal::Pixmap;
}

QRect TGGraphicControl::VisibleRect(const QPainter &painter) const
{
    QRect visible = ScaledBounds();
    if (m_host)
        visible &= QRect(QPoint(0, 0), m_host->SurfaceSize());
    if (const QPaintDevice *device = painter.device()) {
        // Widgets measure in device-independent pixels, images and pixmaps in
        // device pixels.
        QSizeF size(device->width(), device->height());
        if (device->devType() != QInternal::Widget && device->devicePixelRatio() > 0)
            size /= device->devicePixelRatio();
        bool invertible = false;
        const QTransform toPainter = painter.combinedTransform().inverted(&invertible);
        if (invertible)
            visible &= toPainter.mapRect(QRectF(QPointF(0, 0), size)).toAlignedRect();
    }
    return visible;
}

void TGGraphicControl::DrawHandles(QPainter &painter, const QColor &color, bool single) const
{
    const QRect b = ScaledBounds();
    // R = (left - 2, top - 2, right + 2, bottom + 2) with exclusive right/bottom.
    const int l = b.left() - 2;
    const int t = b.top() - 2;
    const int r = b.left() + b.width() + 2;
    const int bt = b.top() + b.height() + 2;
    const auto square = [&](int x, int y) { painter.fillRect(QRect(x, y, 5, 5), color); };
    square(l, t);
    square(r - 5, t);
    square(r - 5, bt - 5);
    square(l, bt - 5);
    if (!single)
        return;
    const int hx = l + static_cast<int>((r - l) * 0.5);
    const int hy = t + static_cast<int>((bt - t) * 0.5);
    square(hx - 2, t);
    square(hx - 2, bt - 5);
    square(l, hy - 2);
    square(r - 5, hy - 2);
}

void TGGraphicControl::PrintTo(PrintEngine &engine, double xInch, double yInch) const
{
    if (Width() <= 0 || Height() <= 0)
        return;
    constexpr double ppi = 96.0;
    Metafile metafile(Metafile::ToHundredthsMm(Width()), Metafile::ToHundredthsMm(Height()));
    {
        QPainter canvas(metafile.Canvas());
        PaintContent(canvas, metafile.Frame(), 1.0f);
    }
    engine.StretchDraw(metafile.Picture(),
                       engine.DeviceRect(xInch + Left() / ppi, yInch + Top() / ppi,
                                         xInch + (Left() + Width()) / ppi,
                                         yInch + (Top() + Height()) / ppi));
}

void TGGraphicControl::AssignProperties(const TGGraphicControl &source)
{
    m_tag = source.m_tag;
    m_cursor = source.m_cursor;
    m_hint = source.m_hint;
    SetBounds(source.m_bounds);
    SetLocked(source.m_locked);
    SetUnselectable(source.m_unselectable);
    Repaint();
}

} // namespace Dayloom
