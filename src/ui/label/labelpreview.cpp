#include "ui/label/labelpreview.h"

#include "core/objects/label/tgbaselabel.h"

#include <QPainter>

namespace Dayloom {

LabelPreview::LabelPreview(TGBaseLabel *label, QWidget *parent) : QWidget(parent), m_label(label)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelPreview::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_label)
        return;
    m_label->Layout();
    m_label->PaintContent(painter, QRect(0, 0, m_label->Width(), m_label->Height()), 1.0f);
}

} // namespace Dayloom
