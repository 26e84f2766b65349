#pragma once

#include "core/common/fontspec.h"
#include "core/formats/persistentobject.h"
#include "core/formats/propertylist.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QPainter;

namespace Dayloom {

class ObjectHost;
class PrintEngine;

// The base of every object placed on the page (floating calendar, labels,
// pictures ...). An object is not a widget: the page document owns it and
// the surface paints it, so the same drawing serves the screen, image export
// and printing.
//
// Bounds are kept in pixels of the unzoomed page (96 per inch); this is what
// files and the clipboard store. What the screen shows is derived from them:
// ScaledBounds() rounds each of left, top, width and height times Zoom() half
// to even. Zooming never changes the stored bounds, so zooming out and back
// leaves every object exactly where it was.
//
// An object placed in a design reports its changes to its host, the page
// document (the change event, a refit of the selection handle, a repaint); an
// object outside one just stores its values.
class TGGraphicControl : public PersistentObject
{
public:
    TGGraphicControl() = default;
    ~TGGraphicControl() override = default;
    TGGraphicControl(const TGGraphicControl &) = delete;
    TGGraphicControl &operator=(const TGGraphicControl &) = delete;

    // --- published base properties (bounds in zoom-1 pixels) ---------------------
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    int Left() const { return m_bounds.left(); }
    void SetLeft(int left);
    int Top() const { return m_bounds.top(); }
    void SetTop(int top);
    int Width() const { return m_bounds.width(); }
    void SetWidth(int width);
    int Height() const { return m_bounds.height(); }
    void SetHeight(int height);
    // The toolkit's cursor number (0 = default).
    int Cursor() const { return m_cursor; }
    void SetCursor(int cursor) { m_cursor = cursor; }
    const QString &Hint() const { return m_hint; }
    void SetHint(const QString &hint) { m_hint = hint; }
    // A locked object can be selected but stays put when the selection is
    // dragged, resized or nudged.
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked);
    // An unselectable object is refused by the selection; a press on it acts
    // as a press on the empty page.
    bool Unselectable() const { return m_unselectable; }
    void SetUnselectable(bool unselectable);

    // The base entries of every placed object's property list, in stored
    // order (Tag, Left, Top, Width, Height, Cursor, Hint, Locked,
    // Unselectable). Derived classes start their list from it.
    static const PropertyList &BaseProperties();

    // --- geometry -------------------------------------------------------------------
    // Zoom-1 bounds; a width or height below 0 is stored as 0, and every
    // value is kept within the range a record stores (see
    // PropertyListBuilder::placedObjectBase).
    QRect Bounds() const { return m_bounds; }
    void SetBounds(const QRect &bounds);
    // The display scale (1.0 = 100 %), copied from the page.
    float Zoom() const { return m_zoom; }
    // Sets the display scale; the stored bounds stay as they are. A zoom that
    // is not above 0 is ignored.
    void ScaleTo(float zoom);
    // Bounds on screen at Zoom(): each value rounded half to even.
    QRect ScaledBounds() const { return ScaleRect(m_bounds, m_zoom); }
    static QRect ScaleRect(const QRect &bounds, float zoom);
    static int Scale(int value, float zoom) { return RoundHalfEven(value * double(zoom)); }
    static int RoundHalfEven(double value);

    // --- the page ---------------------------------------------------------------------
    ObjectHost *Host() const { return m_host; }
    void SetHost(ObjectHost *host) { m_host = host; }
    // Raises the page's change event unless the page is printing.
    void NotifyChanged();
    // Asks the page to refit the selection handle once the current operation
    // has returned.
    void RequestHandleFit();
    // Reports a change of the bounds since the last call (change event, refit).
    // Runs after every move or resize; kinds may adjust their bounds first
    // (an auto-sized picture) and then call the base.
    virtual void CheckBoundsChanged();
    // Drops the kept picture and asks the page to repaint.
    void Repaint();

    // Whether a point of the surface (pixels at Zoom()) lies on the object,
    // for clicks: anywhere within ScaledBounds() unless the kind draws less
    // than its box (a line).
    virtual bool Covers(const QPoint &surfacePoint) const
    {
        return ScaledBounds().contains(surfacePoint);
    }
    // Whether a rectangle of the surface touches the object, for selecting
    // by a dragged band; ScaledBounds() unless the kind says otherwise.
    virtual bool Touches(const QRect &surfaceRect) const
    {
        return ScaledBounds().intersects(surfaceRect);
    }

    // Called by a double-click on the object instead of opening its menu.
    using EditActionFunction = std::function<void(TGGraphicControl &)>;
    const EditActionFunction &EditAction() const { return m_editAction; }
    void SetEditAction(EditActionFunction action) { m_editAction = std::move(action); }

    // --- drawing ------------------------------------------------------------------------
    // Draws the object into `target` (device pixels of the painter) at a
    // zoom; fonts must be sized in pixels so that a scaled painter scales
    // them too.
    virtual void PaintContent(QPainter &painter, const QRect &target, float zoom) const = 0;
    // Draws the object at its scaled bounds; nothing while the page suspends
    // painting. On screens and images the drawing is kept as a picture of the
    // object's pixels and redrawn only after Repaint(), a change of size or
    // zoom, or a new device pixel ratio, so every kind must call Repaint()
    // when anything it shows changes. The picture covers only the part of the
    // object that lies on the page and on the painter's device (VisibleRect),
    // so its memory is bounded by the page whatever size the object claims.
    // Printers and recorded pictures always get the drawing itself.
    void Paint(QPainter &painter) const;
    // True for screens, images and pixmaps; false for printers, PDF and
    // recorded pictures, which get the drawing at their own resolution.
    static bool DrawsOnScreen(const QPainter &painter);
    // The part of ScaledBounds() that Paint() can show on the painter: within
    // the host's page (when placed) and the painter's device.
    QRect VisibleRect(const QPainter &painter) const;
    // The selection squares around ScaledBounds(): four corners, and with
    // `single` the four edge middles too, in `color`.
    void DrawHandles(QPainter &painter, const QColor &color, bool single) const;
    // Draws the object on a print engine's page whose origin is offset by
    // (xInch, yInch): at its zoom-1 bounds converted to inches, at the
    // device's resolution. Kinds print themselves; the base draws the zoom-1
    // drawing into a metafile and stretches that into place, so no bitmap
    // is involved.
    virtual void PrintTo(PrintEngine &engine, double xInch, double yInch) const;

    // --- the kind's popup items ---------------------------------------------------------
    // One item a kind appends to its popup menu after the common ones:
    // "-" is a separator; the check and enabled state are those the item
    // has when the menu opens. An item with a `parent` goes into the submenu
    // of that caption (made by its first item); `undoText` names the undo
    // step of an item the object carries out (the caption when empty).
    struct MenuEntry
    {
        MenuEntry(QString caption = QString(), bool checkable = false, bool checked = false,
                  bool enabled = true, QString parent = QString(), QString undoText = QString())
            : caption(std::move(caption)), checkable(checkable), checked(checked), enabled(enabled),
              parent(std::move(parent)), undoText(std::move(undoText))
        {
        }

        QString caption;
        bool checkable = false;
        bool checked = false;
        bool enabled = true;
        QString parent;
        QString undoText;
    };
    // The kind's items in menu order with their current state (the update
    // that runs whenever the menu opens). None by default.
    virtual QList<MenuEntry> MenuEntries() const { return {}; }
    // Carries out an item that needs no dialog (a toggle); false for items
    // the window carries out itself (dialogs) and for unknown captions.
    virtual bool RunMenuEntry(const QString &caption)
    {
        Q_UNUSED(caption);
        return false;
    }

    // --- actions ----------------------------------------------------------------------------
    // Gives a new object made with the kind's tool the values such objects
    // start with where they differ from a stored object's defaults (run
    // before it is placed). Nothing by default.
    virtual void PrepareForTool() {}
    // Objects with a font take the surface's "Font" choice; others ignore it.
    virtual bool HasFont() const { return false; }
    virtual void ApplyFont(const FontSpec &font) { Q_UNUSED(font); }
    // Copies every published property of `source`, an object of the same
    // class (undo of property edits restores a snapshot this way). Derived
    // classes extend it and call the base.
    virtual void AssignProperties(const TGGraphicControl &source);
    // What the object lacks from its host to be shown, as an error text for
    // the load that placed it (a rich text label without the design's
    // master renderer); empty when nothing is missing.
    virtual QString PlacementError() const { return {}; }

private:
    void BoundsEdited();

    int m_tag = 0;
    QRect m_bounds;
    int m_cursor = 0;
    QString m_hint;
    bool m_locked = false;
    bool m_unselectable = false;
    float m_zoom = 1.0f;
    std::optional<QRect> m_storedBounds; // last bounds seen by CheckBoundsChanged
    bool m_checkingBounds = false;
    ObjectHost *m_host = nullptr;
    EditActionFunction m_editAction;
    mutable QImage m_picture;       // the screen drawing, empty when it must be redone
    mutable QPoint m_pictureOffset; // of the picture's top left from the bounds' one
};

} // namespace Dayloom
