#include "ui/surface/objectoverlay.h"

#include "core/objects/tggraphiccontrol.h"
#include "core/surface/pagedocument.h"
#include "ui/surface/tgbasepanel.h"

#include <QPainter>

namespace Dayloom {

ObjectOverlay::ObjectOverlay(TGBasePanel *surface, QWidget *parent)
    : QWidget(parent), m_surface(surface)
{
    setObjectName(QStringLiteral("ObjectOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    PageDocument &document = surface->Document();
    connect(&document, &PageDocument::repaintRequested, this, &ObjectOverlay::Refresh);
    connect(&document, &PageDocument::zoomChanged, this, &ObjectOverlay::Refresh);
}

void ObjectOverlay::Cover(const QRect &area)
{
    setGeometry(area);
    m_picture = QImage();
    show();
    raise();
    update();
}

void ObjectOverlay::Refresh()
{
    m_picture = QImage();
    if (isVisible())
        update();
}

void ObjectOverlay::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    const qreal ratio = devicePixelRatioF();
    if (m_picture.isNull() || m_picture.size() != size() * ratio)
        m_picture = DrawObjects();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}

QImage ObjectOverlay::DrawObjects() const
{
    const qreal ratio = devicePixelRatioF();
    QImage picture(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    const PageDocument &document = m_surface->Document();
    if (document.PaintSuspended())
        return picture;
    // The covered area in the surface's pixels, where the objects are drawn.
    const QRect area(m_surface->mapFrom(parentWidget(), pos()), size());
    QPainter painter(&picture);
    painter.translate(-area.topLeft());
    for (const TGGraphicControl *object : document.Objects()) {
        if (object->ScaledBounds().intersects(area))
            object->Paint(painter);
    }
    return picture;
}

} // namespace Dayloom
