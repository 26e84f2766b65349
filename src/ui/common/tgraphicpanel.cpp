#include "ui/common/tgraphicpanel.h"

#include <QPainter>

#include <algorithm>

namespace Dayloom {

namespace {

// One bevel of `width` pixels inside `rect`; returns the rectangle inside it.
QRect DrawBevel(QPainter &painter, QRect rect, TGraphicPanel::TBevelCut cut, int width,
                const QPalette &colors)
{
    if (cut == TGraphicPanel::bvNone)
        return rect;
    const QColor light = colors.color(QPalette::Light);
    const QColor dark = colors.color(QPalette::Dark);
    const QColor topLeft = cut == TGraphicPanel::bvRaised ? light : dark;
    const QColor bottomRight = cut == TGraphicPanel::bvRaised ? dark : light;
    for (int i = 0; i < width && rect.width() > 1 && rect.height() > 1; ++i) {
        painter.setPen(topLeft);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

} // namespace

TGraphicPanel::TGraphicPanel(QWidget *parent)
    : QWidget(parent), m_color(palette().color(QPalette::Button))
{
    setFocusPolicy(Qt::NoFocus);
}

void TGraphicPanel::SetAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void TGraphicPanel::SetBevelInner(TBevelCut cut)
{
    m_bevelInner = cut;
    update();
}

void TGraphicPanel::SetBevelOuter(TBevelCut cut)
{
    m_bevelOuter = cut;
    update();
}

void TGraphicPanel::SetBevelWidth(int width)
{
    m_bevelWidth = std::max(1, width);
    update();
}

void TGraphicPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    update();
}

void TGraphicPanel::SetBorderStyle(bool single)
{
    m_border = single;
    update();
}

void TGraphicPanel::SetColor(const QColor &color)
{
    m_color = color;
    update();
}

void TGraphicPanel::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    setAccessibleName(caption);
    update();
}

QSize TGraphicPanel::sizeHint() const
{
    const int edge = 2 * (m_bevelWidth * 2 + m_borderWidth + (m_border ? 1 : 0)) + 6;
    return {fontMetrics().horizontalAdvance(m_caption) + edge, fontMetrics().height() + edge};
}

void TGraphicPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect rect = this->rect();
    if (m_border) {
        painter.setPen(Qt::black);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
    }
    rect = DrawBevel(painter, rect, m_bevelOuter, m_bevelWidth, palette());
    rect.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    rect = DrawBevel(painter, rect, m_bevelInner, m_bevelWidth, palette());
    painter.fillRect(rect, m_color);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect, int(m_alignment), m_caption);
}

} // namespace Dayloom
