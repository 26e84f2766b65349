#include "core/surface/handlegeometry.h"

#include <Qt>

#include <algorithm>
#include <cmath>

namespace Dayloom {

int HandleGeometry::ZoneAt(const QPoint &point, const QSize &handleSize, bool singleObject)
{
    if (!singleObject)
        return Body;
    const int x = point.x();
    const int y = point.y();
    const int w = handleSize.width();
    const int h = handleSize.height();
    const auto near = [](int a, int b) { return std::abs(a - b) < 8; };
    const auto nearMiddle = [](int a, int size) { return std::abs(a - size * 0.5) < 6.0; };
    // Later matches override earlier ones.
    int zone = Body;
    if (near(x, 0) && near(y, 0))
        zone = TopLeft;
    if (near(x, w) && near(y, h))
        zone = BottomRight;
    if (near(x, w) && near(y, 0))
        zone = TopRight;
    if (near(x, 0) && near(y, h))
        zone = BottomLeft;
    if (nearMiddle(x, w) && near(y, 0))
        zone = TopEdge;
    if (nearMiddle(x, w) && near(y, h))
        zone = BottomEdge;
    if (nearMiddle(y, h) && near(x, 0))
        zone = LeftEdge;
    if (nearMiddle(y, h) && near(x, w))
        zone = RightEdge;
    return zone;
}

QRect HandleGeometry::DragRect(int zone, const QRect &handle, const QPoint &delta, int gridX,
                               int gridY)
{
    const int L = handle.left();
    const int T = handle.top();
    const int W = handle.width();
    const int H = handle.height();
    const int dx = delta.x();
    const int dy = delta.y();
    const auto sx = [gridX](int v) { return Snap(v, gridX); };
    const auto sy = [gridY](int v) { return Snap(v, gridY); };
    int left = L;
    int top = T;
    int width = W;
    int height = H;
    switch (zone) {
    case Body:
        left = sx(L + dx);
        top = sy(T + dy);
        break;
    case TopLeft:
        left = sx(L + dx);
        top = sy(T + dy);
        width = W + L - left;
        height = H + T - top;
        break;
    case TopRight:
        top = sy(T + dy);
        width = sx(W + dx) - 1;
        height = H + T - top;
        break;
    case BottomLeft:
        left = sx(L + dx);
        width = W + L - left;
        height = sy(H + dy) - 1;
        break;
    case BottomRight:
        width = sx(W + dx) - 1;
        height = sy(H + dy) - 1;
        break;
    case TopEdge:
        top = sy(T + dy);
        height = H + T - top;
        break;
    case LeftEdge:
        left = sx(L + dx);
        width = W + L - left;
        break;
    case BottomEdge:
        height = sy(H + dy) - 1;
        break;
    case RightEdge:
        width = sx(W + dx) - 1;
        break;
    default:
        break;
    }
    return QRect(left, top, std::max(5, width), std::max(5, height));
}

QRect HandleGeometry::OutlineRect(const QRect &handle)
{
    return QRect(QPoint(handle.left() + 2, handle.top() + 2),
                 QPoint(handle.left() + handle.width() - 3, handle.top() + handle.height() - 3));
}

QRect HandleGeometry::AddToHandle(const QRect &handle, bool first, const QRect &object)
{
    if (first)
        return QRect(object.left() - 2, object.top() - 2, object.width() + 5, object.height() + 5);
    const int left = std::min(handle.left(), object.left() - 2);
    const int top = std::min(handle.top(), object.top() - 2);
    const int right = std::max(handle.left() + handle.width() - 3, object.left() + object.width());
    const int bottom = std::max(handle.top() + handle.height() - 3, object.top() + object.height());
    return QRect(left, top, right - left + 3, bottom - top + 3);
}

QRect HandleGeometry::HandleAround(const QList<QRect> &objects)
{
    QRect handle;
    bool first = true;
    for (const QRect &object : objects) {
        handle = AddToHandle(handle, first, object);
        first = false;
    }
    return handle;
}

QRect HandleGeometry::FitAround(const QList<QRect> &objects)
{
    if (objects.isEmpty())
        return QRect();
    int minLeft = objects.first().left();
    int minTop = objects.first().top();
    int maxRight = minLeft + objects.first().width();
    int maxBottom = minTop + objects.first().height();
    for (const QRect &o : objects) {
        minLeft = std::min(minLeft, o.left());
        minTop = std::min(minTop, o.top());
        maxRight = std::max(maxRight, o.left() + o.width());
        maxBottom = std::max(maxBottom, o.top() + o.height());
    }
    return QRect(minLeft - 2, minTop - 2, maxRight - minLeft + 6, maxBottom - minTop + 6);
}

QRect HandleGeometry::NudgeStart(const QRect &handle)
{
    return QRect(QPoint(handle.left() + 2, handle.top() + 2),
                 QPoint(handle.left() + handle.width() - 3, handle.top() + handle.height() - 3));
}

QRect HandleGeometry::Nudge(const QRect &box, int key, bool resize, const QSize &surface)
{
    int left = box.left();
    int top = box.top();
    int right = box.right();
    int bottom = box.bottom();
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    const bool roomRight = surface.width() >= w + left;
    const bool roomDown = surface.height() >= h + top;
    if (resize) {
        if (key == Qt::Key_Left && w > 10)
            --right;
        else if (key == Qt::Key_Up && h > 10)
            --bottom;
        else if (key == Qt::Key_Right && roomRight)
            ++right;
        else if (key == Qt::Key_Down && roomDown)
            ++bottom;
    } else {
        int dx = 0;
        int dy = 0;
        if (key == Qt::Key_Left && left > 0)
            dx = -1;
        else if (key == Qt::Key_Up && top > 0)
            dy = -1;
        else if (key == Qt::Key_Right && roomRight)
            dx = 1;
        else if (key == Qt::Key_Down && roomDown)
            dy = 1;
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect HandleGeometry::NudgeToHandle(const QRect &box)
{
    return QRect(box.left() - 2, box.top() - 2, box.right() - box.left() + 5,
                 box.bottom() - box.top() + 5);
}

} // namespace Dayloom
