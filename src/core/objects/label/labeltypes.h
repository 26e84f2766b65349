#pragma once

#include <QPoint>

namespace Dayloom {

// Horizontal placement of an unrotated label's text.
enum TAlignment : int
{
    taLeftJustify = 0,
    taRightJustify = 1,
    taCenter = 2,
};

// Where the highlight copy of a label's text lies from the text itself.
enum THighlightDirection : int
{
    hdNone = 0,
    hdright = 1,
    hdLeft = 2,
    hdUpRight = 3,
    hdUpLeft = 4,
    hdUp = 5,
};

// Where the shadow copy of a label's text lies from the text itself.
enum TShadowDirection : int
{
    sdNone = 0,
    sdRight = 1,
    sdLeft = 2,
    sdDownRight = 3,
    sdDownLeft = 4,
    sdDown = 5,
};

// The offset of the shadow copy for a direction and a depth in pixels.
inline QPoint ShadowOffset(TShadowDirection direction, int depth)
{
    switch (direction) {
    case sdNone:
        break;
    case sdRight:
        return QPoint(depth, 0);
    case sdLeft:
        return QPoint(-depth, 0);
    case sdDownRight:
        return QPoint(depth, depth);
    case sdDownLeft:
        return QPoint(-depth, depth);
    case sdDown:
        return QPoint(0, depth);
    }
    return QPoint(0, 0);
}

// The offset of the highlight copy for a direction and a depth in pixels.
inline QPoint HighlightOffset(THighlightDirection direction, int depth)
{
    switch (direction) {
    case hdNone:
        break;
    case hdright:
        return QPoint(depth, 0);
    case hdLeft:
        return QPoint(-depth, 0);
    case hdUpRight:
        return QPoint(depth, -depth);
    case hdUpLeft:
        return QPoint(-depth, -depth);
    case hdUp:
        return QPoint(0, -depth);
    }
    return QPoint(0, 0);
}

} // namespace Dayloom
