#pragma once

#include "core/common/tcolor.h"

#include <QPushButton>

namespace Dayloom {

// A push button that shows a colour as a swatch at its left edge, before
// its caption.
class ColorSwatchButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorSwatchButton(const QString &text, QWidget *parent = nullptr);

    TColor Color() const { return m_color; }
    // Emits colorChanged when the colour differs.
    void SetColor(TColor color);
    // The swatch, in button coordinates.
    QRect SwatchRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void colorChanged(Dayloom::TColor color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TColor m_color = clWhite;
};

} // namespace Dayloom
