#include "ui/surface/surfacecursors.h"

#include "core/surface/handlegeometry.h"

namespace Dayloom {

QCursor SurfaceCursors::ForZone(int zone)
{
    switch (zone) {
    case HandleGeometry::TopLeft:
    case HandleGeometry::BottomRight:
        return QCursor(Qt::SizeFDiagCursor);
    case HandleGeometry::TopRight:
    case HandleGeometry::BottomLeft:
        return QCursor(Qt::SizeBDiagCursor);
    case HandleGeometry::TopEdge:
    case HandleGeometry::BottomEdge:
        return QCursor(Qt::SizeVerCursor);
    case HandleGeometry::LeftEdge:
    case HandleGeometry::RightEdge:
        return QCursor(Qt::SizeHorCursor);
    default:
        return Grab();
    }
}

} // namespace Dayloom
