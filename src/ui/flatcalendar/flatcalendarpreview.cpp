#include "ui/flatcalendar/flatcalendarpreview.h"

#include <QPainter>

namespace Dayloom {

FlatCalendarPreview::FlatCalendarPreview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Sample"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    m_sample.SetName(QStringLiteral("Sample"));
    m_sample.SetHost(this);
}

FlatCalendarPreview::~FlatCalendarPreview()
{
    m_sample.SetHost(nullptr);
}

void FlatCalendarPreview::SetSampleSize(const QSize &size)
{
    m_sample.SetBounds(QRect(QPoint(0, 0), size));
    resize(m_sample.Bounds().size());
    updateGeometry();
    update();
}

void FlatCalendarPreview::RequestRepaint()
{
    update();
}

void FlatCalendarPreview::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    m_sample.Paint(painter);
}

} // namespace Dayloom
