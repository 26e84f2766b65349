#pragma once

#include "core/common/tcolor.h"

#include <QPushButton>

namespace Dayloom {

// A push button that shows a colour as a framed swatch at its left, before
// its caption. Clicking it is left to the owner (a colour dialog).
class ColorSwatchButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorSwatchButton(const QString &caption, QWidget *parent = nullptr);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // Where the swatch's colour shows, inside its frame (widget pixels).
    QRect SwatchRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int SwatchWidth() const;

    TColor m_color = clWhite;
};

} // namespace Dayloom
