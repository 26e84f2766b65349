#include "ui/flatcalendar/colorswatchbutton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace Dayloom {

namespace {
constexpr int Margin = 6;
constexpr int Gap = 6;
} // namespace

ColorSwatchButton::ColorSwatchButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

void ColorSwatchButton::SetColor(TColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

int ColorSwatchButton::SwatchWidth() const
{
    return fontMetrics().height() + 6;
}

QRect ColorSwatchButton::SwatchRect() const
{
    const int side = fontMetrics().height();
    return QRect(Margin + 1, (height() - side) / 2 + 1, SwatchWidth() - 2, side - 2);
}

QSize ColorSwatchButton::sizeHint() const
{
    QSize hint = QPushButton::sizeHint();
    hint.rwidth() += SwatchWidth() + Gap;
    return hint;
}

void ColorSwatchButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The button's frame, then its caption in the room right of the swatch.
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect swatch = SwatchRect();
    const QRect textRect = rect().adjusted(swatch.right() + 1 + Gap, 0, -Margin, 0) & rect();
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignHCenter | Qt::TextSingleLine, text());
    painter.fillRect(swatch, ToQColor(m_color));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(swatch.adjusted(-1, -1, 0, 0));
}

} // namespace Dayloom
