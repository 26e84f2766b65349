#include "ui/properties/calendarpreview.h"

#include <QPainter>

namespace Dayloom {

CalendarPreview::CalendarPreview(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_page, &CalendarPage::changed, this, qOverload<>(&QWidget::update));
    connect(&m_page, &CalendarPage::geometryChanged, this, &CalendarPreview::UpdateSize);
    UpdateSize();
}

void CalendarPreview::SetZoom(float zoom)
{
    if (zoom <= 0.0f || zoom == m_zoom)
        return;
    m_zoom = zoom;
    UpdateSize();
    update();
}

QSize CalendarPreview::sizeHint() const
{
    return QSize(static_cast<int>(m_page.PageWidth() * m_zoom),
                 static_cast<int>(m_page.PageHeight() * m_zoom));
}

void CalendarPreview::UpdateSize()
{
    const QSize size = sizeHint();
    if (size != this->size())
        setFixedSize(size);
}

void CalendarPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
    m_page.Draw(painter, m_zoom);
}

} // namespace Dayloom
