#pragma once

#include <QCursor>

namespace Dayloom {

// The cursors of the design surface: the grab cursor over the selection
// body, the hand-point cursor over objects and during a band, the drag
// cursor of the drawing tools and the sizing cursors of the handle zones.
class SurfaceCursors
{
public:
    static QCursor Grab() { return QCursor(Qt::OpenHandCursor); }
    static QCursor HandPoint() { return QCursor(Qt::PointingHandCursor); }
    static QCursor Drag() { return QCursor(Qt::DragMoveCursor); }
    // Zones 0-8 of the selection handle.
    static QCursor ForZone(int zone);
};

} // namespace Dayloom
