#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>

namespace Dayloom {

// A rectangle with exclusive right and bottom edges, in whole pixels, as the
// page geometry is computed. Width = Right - Left, Height = Bottom - Top.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Left and top edges inside, right and bottom edges outside.
    constexpr bool Contains(const QPoint &p) const
    {
        return p.x() >= Left && p.x() < Right && p.y() >= Top && p.y() < Bottom;
    }
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    QRectF toQRectF() const { return QRectF(Left, Top, Right - Left, Bottom - Top); }
    static TRect fromQRect(const QRect &r)
    {
        return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }

    friend constexpr bool operator==(const TRect &, const TRect &) = default;
};

} // namespace Dayloom
