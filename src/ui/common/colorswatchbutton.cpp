#include "ui/common/colorswatchbutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace Dayloom {

namespace {
constexpr int SwatchWidth = 28;
constexpr int SwatchMargin = 6;
} // namespace

ColorSwatchButton::ColorSwatchButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

void ColorSwatchButton::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
    Q_EMIT colorChanged(color);
}

QRect ColorSwatchButton::SwatchRect() const
{
    const int height = std::max(8, this->height() - 2 * SwatchMargin - 2);
    return QRect(SwatchMargin + 2, (this->height() - height) / 2, SwatchWidth, height);
}

QSize ColorSwatchButton::sizeHint() const
{
    const QSize hint = QPushButton::sizeHint();
    return QSize(hint.width() + SwatchWidth + 3 * SwatchMargin, hint.height());
}

void ColorSwatchButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);

    const QRect swatch = SwatchRect();
    painter.fillRect(swatch, ToQColor(m_color));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    QStyleOptionButton label = option;
    label.text = text();
    label.rect = rect().adjusted(swatch.right() + SwatchMargin, 0, 0, 0);
    style()->drawControl(QStyle::CE_PushButtonLabel, &label, &painter, this);
}

} // namespace Dayloom
