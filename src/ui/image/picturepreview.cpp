#include "ui/image/picturepreview.h"

#include <QPainter>

namespace Dayloom {

PicturePreview::PicturePreview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
}

void PicturePreview::SetPicture(const Picture &picture)
{
    m_picture = picture;
    updateGeometry();
    update();
}

void PicturePreview::SetStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

QSize PicturePreview::sizeHint() const
{
    const QSize size = m_picture.Size();
    return size.isValid() ? size : QSize(0, 0);
}

void PicturePreview::paintEvent(QPaintEvent *)
{
    if (m_picture.IsEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF target = m_stretch ? QRectF(rect()) : QRectF(QPointF(0, 0), m_picture.Size());
    m_picture.Draw(painter, target);
}

} // namespace Dayloom
