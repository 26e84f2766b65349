#pragma once

#include <QSize>

namespace Dayloom {

class NoteRenderer;
class TGGraphicControl;

// What a placed object needs from the design that holds it: where to report
// changes and the size of the page it lies on. The page document implements
// it; objects know their document only through this interface.
class ObjectHost
{
public:
    // True while the page is printing: object changes raise no change event.
    virtual bool Printing() const = 0;
    // True while neither the page nor the objects paint.
    virtual bool PaintSuspended() const = 0;
    // Raises the design's change event.
    virtual void NotifyChanged() = 0;
    // Refits the selection handle once the current operation has returned.
    virtual void RequestHandleFit() = 0;
    virtual void RequestRepaint() = 0;
    // The object's Locked or Unselectable flag changed.
    virtual void ObjectStateChanged(TGGraphicControl *object) = 0;
    // The page at the current zoom, in the surface pixels objects paint in;
    // its top left corner is (0, 0).
    virtual QSize SurfaceSize() const = 0;
    // The one hidden rich text renderer every rich text label of the design
    // draws through, one after another ("MASTERWPRICHTEXT"); null when the
    // design has none, and then rich text labels draw nothing.
    virtual NoteRenderer *MasterRichText() const { return nullptr; }

protected:
    ~ObjectHost() = default;
};

} // namespace Dayloom
