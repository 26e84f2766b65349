#pragma once

#include "core/calendar/calendartypes.h"
#include "core/surface/pagedocument.h"
#include "ui/surface/objectkindactions.h"

#include <QByteArray>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace Dayloom {

class ObjectPopupMenu;
class SurfacePopupMenu;
class TGGraphicControl;
class TGHandle;

// The design surface: a widget on which placed objects are created by
// dragging a rectangle, selected by a click, a Shift+click or a rubber
// band, dragged, resized, nudged, aligned, stacked, locked, copied, pasted,
// cloned and deleted. It owns its PageDocument (page model, objects, undo
// stack) and the one selection handle; it translates mouse and keys into
// document operations and paints the document. The widget's size is the
// document's page size times the zoom.
class TGBasePanel : public QWidget
{
    Q_OBJECT

public:
    enum ClipboardKind
    {
        ckCut = 0,
        ckCopy = 1,
        ckPaste = 2,
        ckDelete = 3
    };
    enum TLabelShapeType
    {
        lsRectangle,
        lsRoundRect,
        lsEllipse
    };
    enum TGridSize
    {
        gs4x4,
        gs8x8
    };

    explicit TGBasePanel(QWidget *parent = nullptr);
    ~TGBasePanel() override;

    PageDocument &Document() { return *m_document; }
    const PageDocument &Document() const { return *m_document; }
    TGHandle *SelectionHandle() const { return m_handle; }
    QList<TGGraphicControl *> Selection() const;

    // --- settings ------------------------------------------------------------------
    // Pointing: gestures select; otherwise a dragged band creates an object.
    bool Pointing() const { return m_pointing; }
    void SetPointing(bool pointing);
    bool DrawOutline() const { return m_drawOutline; }
    void SetDrawOutline(bool on);
    TLabelShapeType Shape() const { return m_shape; }
    void SetShape(TLabelShapeType shape);
    TGridSize GridSize() const { return m_gridSize; }
    void SetGridSize(TGridSize size);
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool on);
    bool SnapToGrid() const { return m_snapToGrid; }
    void SetSnapToGrid(bool on);
    // Background pictures stretched over the surface (base painting only).
    void SetPicture(const QPixmap &picture);
    void SetColorPicture(const QPixmap &picture);

    float Zoom() const { return m_document->Zoom(); }
    // Zooms the surface and every object; stored bounds never change.
    void SetZoom(float zoom);
    bool Printing() const { return m_document->Printing(); }
    void SetPrinting(bool printing) { m_document->SetPrinting(printing); }
    bool PaintSuspended() const { return m_document->PaintSuspended(); }
    void SetPaintSuspended(bool suspended) { m_document->SetPaintSuspended(suspended); }
    bool ChangeEventsSuspended() const { return m_document->ChangeEventsSuspended(); }
    void SetChangeEventsSuspended(bool s) { m_document->SetChangeEventsSuspended(s); }

    // Milliseconds of a monotonic clock for the press and drag rules; tests
    // replace it.
    void SetClock(std::function<qint64()> clock);
    qint64 Now() const { return m_document->Now(); }

    // --- operations ----------------------------------------------------------------
    // Creates the current tool's object in a band; nothing on this surface.
    virtual void CreateObjectInRect(const QRect &rect);
    // A press on an object (surface coordinates).
    virtual void ObjectMouseDown(TGGraphicControl *object, Qt::MouseButton button,
                                 Qt::KeyboardModifiers modifiers, const QPoint &point);
    // Called after an object was cloned.
    virtual void ObjectCloned(TGGraphicControl *copy, TGGraphicControl *source);
    void PrintObjects(QPainter &painter, double xInch, double yInch) const;
    void ClampObjects();
    void RemoveStrayObjects();
    bool ObjectAtPoint(const QPoint &point) const { return m_document->ObjectAtPoint(point); }
    void HookObjects();
    void ClearObjects();
    // Selects the objects touching the band (right/bottom exclusive); with
    // Shift the touched objects toggle in the current selection.
    void SelectInRect(const QRect &band, Qt::KeyboardModifiers modifiers);
    // On the selection.
    void ClipboardAction(ClipboardKind kind);
    // On the given objects (an object's own menu); a clipboard file that
    // cannot be written or read is reported either way. Pasted objects
    // become the selection.
    void ClipboardAction(ClipboardKind kind, const QList<TGGraphicControl *> &objects);
    void CloneObject(TGGraphicControl *object);

    // --- popup actions on the selection ------------------------------------------
    void BringToFront();
    void SendToBack();
    void AlignLeft();
    void AlignRight();
    void AlignTops();
    void AlignBottoms();
    void CenterVertically();
    void CenterHorizontally();
    void LockAll();
    void UnlockAll();
    void MarkAllSelectable();
    void MarkAllUnselectable();
    void SelectAll();
    // Asks for a font (modal dialog) and applies it to the selection.
    void ChooseFont();
    void ApplyFont(const FontSpec &font);

    // --- menus ---------------------------------------------------------------------
    SurfacePopupMenu *SurfaceMenu() const { return m_surfaceMenu; }
    // The menu of one object, rebuilt for it; extra items of its class follow
    // the common ones.
    ObjectPopupMenu *ObjectMenu(TGGraphicControl *object);
    using ObjectAction = std::function<void(TGGraphicControl &)>;
    // The window's menu items, double-click and creation actions per kind.
    ObjectKindActions &KindActions() { return m_kindActions; }
    const ObjectKindActions &KindActions() const { return m_kindActions; }
    // Adds an item to the menus of every object of a class (e.g.
    // "Properties" of "TGFlatCalendar"), after a separator.
    void AddObjectMenuItem(const QByteArray &className, const QString &caption,
                           ObjectAction action);
    void PopupSurfaceMenu(const QPoint &globalPos);
    void PopupObjectMenu(TGGraphicControl *object, const QPoint &globalPos);
    // The menu of the one selected object, else the surface's menu, at the
    // selection's (or the visible page's) corner: the Menu key and Shift+F10.
    void PopupSelectionMenu();

    // --- routing (used by the selection handle) ----------------------------------
    // The surface's own mouse handling: rubber band, surface menu, click.
    void SurfaceMousePress(const QPoint &point, Qt::MouseButton button,
                           Qt::KeyboardModifiers modifiers);
    void SurfaceMouseMove(const QPoint &point, Qt::MouseButtons buttons,
                          Qt::KeyboardModifiers modifiers);
    void SurfaceMouseRelease(const QPoint &point, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers);
    // A left press on the handle that it keeps (Shift drops objects under it).
    void HandleMouseDown(const QPoint &point, Qt::MouseButton button,
                         Qt::KeyboardModifiers modifiers);
    // A double-click on an object runs its own edit action, else its kind's
    // (KindActions), else opens its popup menu.
    void HandleDoubleClick(const QPoint &point, const QPoint &globalPos);
    // Shortcuts: Ctrl+C, Ctrl+V, Ctrl+X, Delete, the Menu key and Shift+F10.
    void SurfaceKeyDown(QKeyEvent *event);

    bool BandActive() const { return m_banding; }
    // Normalised band (exclusive right/bottom) while a band runs.
    QRect BandRect() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // A drawing-mode band was handed to CreateObjectInRect.
    void DroppedObjectEvent(const QRect &rect);
    // The objects changed (creation, geometry, stacking, lock, font ...).
    void LabelChangedEvent();
    // A double-click on the empty surface.
    void SurfaceDoubleClicked(const QPoint &point);

protected:
    // Paints what lies under the objects; the base draws the background
    // pictures, outline and grid.
    virtual void PaintBackground(QPainter &painter);
    // A left press and release on the surface itself (pointing mode).
    virtual void Click(const QPoint &point) { Q_UNUSED(point); }
    // Tells the user why a clipboard command failed (a modal message box).
    virtual void ReportError(const QString &caption, const QString &text);
    // The drawing-tool cursor for the current mode.
    QCursor ModeCursor() const;
    void UpdateSurfaceSize();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    void ClipRegionPath(QPainterPath &path) const;
    void PaintGrid(QPainter &painter) const;
    void DropRemovedObject(TGGraphicControl *object);
    // Pasted objects become the selection (nothing changes when none was).
    void SelectPasted(const QList<TGGraphicControl *> &pasted);
    void ObjectStateChanged(TGGraphicControl *object);
    QPoint HandlePoint(const QPoint &surfacePoint) const;
    // A double-click on an object: its own edit action, else its kind's,
    // else its popup menu.
    void EditOrPopupObject(TGGraphicControl *object, const QPoint &globalPos);
    // Acts on the selection when the object is part of it, else on it alone.
    QList<TGGraphicControl *> TargetsOf(TGGraphicControl *object) const;

    std::unique_ptr<PageDocument> m_document;
    TGHandle *m_handle = nullptr;
    SurfacePopupMenu *m_surfaceMenu = nullptr;
    ObjectPopupMenu *m_objectMenu = nullptr;
    ObjectKindActions m_kindActions;
    bool m_pointing = true;
    bool m_drawOutline = false;
    TLabelShapeType m_shape = lsRoundRect;
    TGridSize m_gridSize = gs4x4;
    bool m_showGrid = false;
    bool m_snapToGrid = false;
    QPixmap m_picture;
    QPixmap m_colorPicture;
    bool m_banding = false;
    QPoint m_bandStart; // the press point
    QPoint m_bandEnd;   // follows the mouse
    bool m_pressedOnSurface = false;
    bool m_pressPointing = true; // the mode when the last surface press began

    friend class ObjectPopupMenu;
};

} // namespace Dayloom
