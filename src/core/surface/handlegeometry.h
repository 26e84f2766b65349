#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace Dayloom {

// The arithmetic of the selection handle, in surface pixels (the screen at
// the current zoom). The handle is the rectangle laid round the selected
// objects: 2 pixels outside on the left and top, 3 (after a refit 4) on the
// right and bottom.
class HandleGeometry
{
public:
    // Parts of the handle: 0 body (move), 1 top-left, 2 top-right,
    // 3 bottom-left, 4 bottom-right corner, 5 top, 6 left, 7 bottom, 8 right
    // edge middle.
    enum Zone
    {
        Body = 0,
        TopLeft = 1,
        TopRight = 2,
        BottomLeft = 3,
        BottomRight = 4,
        TopEdge = 5,
        LeftEdge = 6,
        BottomEdge = 7,
        RightEdge = 8
    };

    // The zone under a point of a handle of the given size (point relative to
    // the handle). Only a single selected object can be resized; otherwise
    // the whole handle moves.
    static int ZoneAt(const QPoint &point, const QSize &handleSize, bool singleObject);

    // Snaps down to a multiple of the spacing (truncating towards zero).
    static int Snap(int value, int spacing) { return spacing * (value / spacing); }

    // The handle's new bounds for a drag of `zone` by `delta` from `handle`,
    // snapped to the spacings (1 = no snapping). A size taken from the right
    // or bottom edge is one less than the snapped value; sizes stay at least
    // 5.
    static QRect DragRect(int zone, const QRect &handle, const QPoint &delta, int gridX, int gridY);

    // The outline shown during a drag: the objects' future bounding box
    // ((l + 2, t + 2) to (l + w - 3, t + h - 3), right/bottom inclusive).
    static QRect OutlineRect(const QRect &handle);

    // The handle after adding an object: placed round the first one, grown
    // to cover later ones.
    static QRect AddToHandle(const QRect &handle, bool first, const QRect &object);
    // The handle round several objects as adding them one by one gives it.
    static QRect HandleAround(const QList<QRect> &objects);
    // The handle after a refit: one pixel more on the right and bottom.
    static QRect FitAround(const QList<QRect> &objects);

    // Keyboard nudging works on the objects' box with inclusive right and
    // bottom edges, in a QRect's (left, top, right, bottom).
    static QRect NudgeStart(const QRect &handle);
    // One arrow key (Qt::Key_Left ...) on the nudge box. With `resize` the
    // right or bottom edge moves (shrinking stops at 10 pixels); otherwise
    // the box moves by one pixel, stopping at the surface's edges.
    static QRect Nudge(const QRect &box, int key, bool resize, const QSize &surface);
    static QRect NudgeToHandle(const QRect &box);
};

} // namespace Dayloom
