#include "ui/supertext/supertextpreview.h"

#include <QPainter>

namespace Dayloom {

SuperTextPreview::SuperTextPreview(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    m_sample.SetName(QStringLiteral("Preview"));
    m_sample.SetBounds(QRect(0, 0, 100, 100));
    m_sample.SetHost(this);
    FollowSample();
}

SuperTextPreview::~SuperTextPreview()
{
    m_sample.SetHost(nullptr);
}

bool SuperTextPreview::FitSample()
{
    const bool fits = m_sample.FitToText();
    FollowSample();
    return fits;
}

void SuperTextPreview::FollowSample()
{
    resize(m_sample.Bounds().size());
    updateGeometry();
    update();
}

void SuperTextPreview::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    m_sample.Paint(painter);
}

} // namespace Dayloom
