#include "ui/surface/tghandle.h"

#include "core/surface/handlegeometry.h"
#include "core/surface/objectboundscommand.h"
#include "core/surface/pagedocument.h"
#include "ui/surface/surfacecursors.h"
#include "ui/surface/tgbasepanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {
constexpr QSize HiddenSize(24, 24);

bool IsArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// The zoom-1 length whose scaled (half-to-even rounded) length is `screen`;
// the nearest one below when no zoom-1 length scales to it exactly.
int Unscale(int screen, float zoom)
{
    int value = static_cast<int>(std::lround(screen / double(zoom)));
    while (TGGraphicControl::Scale(value, zoom) < screen)
        ++value;
    while (TGGraphicControl::Scale(value, zoom) > screen)
        --value;
    return value;
}
} // namespace

TGHandle::TGHandle(TGBasePanel *surface)
    : QWidget(surface), m_surface(surface), m_clock([surface] { return surface->Now(); })
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(HiddenSize);
    setEnabled(false);
    QWidget::hide();
}

void TGHandle::SetColor(const QColor &color)
{
    m_color = color;
    m_surface->update();
}

void TGHandle::SetSecondaryColor(const QColor &color)
{
    m_secondaryColor = color;
    m_surface->update();
}

void TGHandle::SetGridX(int spacing)
{
    spacing = std::clamp(spacing, 1, 32);
    if (spacing == m_gridX)
        return;
    m_gridX = spacing;
    if (SnapToGrid())
        m_snapX = spacing;
}

void TGHandle::SetGridY(int spacing)
{
    spacing = std::clamp(spacing, 1, 32);
    if (spacing == m_gridY)
        return;
    m_gridY = spacing;
    if (SnapToGrid())
        m_snapY = spacing;
}

void TGHandle::SetSnapToGrid(bool snap)
{
    m_snapX = snap ? m_gridX : 1;
    m_snapY = snap ? m_gridY : 1;
}

// --- selection -----------------------------------------------------------------------

void TGHandle::AddObject(TGGraphicControl *object)
{
    if (!object || object->Unselectable() || !m_surface->Document().Contains(object))
        return;
    m_pressTime = Now();
    if (m_selection.contains(object))
        return;
    setCursor(SurfaceCursors::Grab());
    const bool first = m_selection.isEmpty();
    if (first)
        SetOutline(QRect());
    ShowAt(HandleGeometry::AddToHandle(geometry(), first, object->ScaledBounds()));
    m_selection.append(object);
    m_zone = HandleGeometry::Body;
    TakeCaptureAndFocus();
    m_surface->update();
}

void TGHandle::RemoveObject(TGGraphicControl *object)
{
    if (!m_selection.removeOne(object))
        return;
    if (m_selection.isEmpty()) {
        m_locked = false;
        Hide();
        return;
    }
    QList<QRect> rects;
    for (TGGraphicControl *selected : m_selection)
        rects.append(selected->ScaledBounds());
    ShowAt(HandleGeometry::HandleAround(rects));
    m_surface->update();
}

void TGHandle::ClearSelection()
{
    m_selection.clear();
    m_locked = false;
    Hide();
}

void TGHandle::Hide()
{
    m_dragging = false;
    m_nudging = false;
    m_capture = false;
    QWidget::hide();
    resize(HiddenSize);
    setEnabled(false);
    SetOutline(QRect());
    m_surface->update();
}

int TGHandle::IndexOf(const TGGraphicControl *object) const
{
    for (int i = 0; i < m_selection.size(); ++i) {
        if (m_selection[i] == object)
            return i;
    }
    return -1;
}

TGGraphicControl *TGHandle::SelectedObject(int i) const
{
    if (i < 0 || i >= m_selection.size())
        return nullptr;
    return m_selection[i];
}

TGGraphicControl *TGHandle::HitObject(const QPoint &surfacePoint) const
{
    for (TGGraphicControl *object : m_selection) {
        if (object->ScaledBounds().adjusted(-2, -2, 2, 2).contains(surfacePoint))
            return object;
    }
    return nullptr;
}

void TGHandle::FitToSelection()
{
    if (m_selection.isEmpty())
        return;
    QList<QRect> rects;
    for (TGGraphicControl *object : m_selection)
        rects.append(object->ScaledBounds());
    raise();
    ShowAt(HandleGeometry::FitAround(rects));
    m_surface->update();
}

void TGHandle::BringSelectionToFront()
{
    if (m_selection.isEmpty() || m_locked)
        return;
    m_surface->Document().BringToFront(m_selection);
    raise();
    if (isVisible() && isEnabled())
        setFocus();
}

void TGHandle::SendSelectionToBack()
{
    if (m_selection.isEmpty() || m_locked)
        return;
    m_surface->Document().SendToBack(m_selection);
    raise();
    if (isVisible() && isEnabled())
        setFocus();
}

void TGHandle::ShowAt(const QRect &bounds)
{
    setEnabled(true);
    setGeometry(bounds);
    show();
}

void TGHandle::TakeCaptureAndFocus()
{
    raise();
    m_capture = true;
    if (isVisible() && isEnabled())
        setFocus();
}

void TGHandle::DrawHandles(QPainter &painter) const
{
    const bool single = m_selection.size() == 1;
    const QColor color = single ? m_color : m_secondaryColor;
    for (const TGGraphicControl *object : m_selection)
        object->DrawHandles(painter, color, single);
}

// --- mouse -----------------------------------------------------------------------------

QPoint TGHandle::ClampToSurface(const QPoint &pos) const
{
    const QSize surface = m_surface->size();
    return QPoint(std::clamp(pos.x(), -x(), surface.width() - x()),
                  std::clamp(pos.y(), -y(), surface.height() - y()));
}

QRect TGHandle::DragTarget(const QPoint &pos) const
{
    return HandleGeometry::DragRect(m_zone, geometry(), pos - m_dragOrigin, m_snapX, m_snapY);
}

void TGHandle::SetOutline(const QRect &outline)
{
    if (outline == m_outline)
        return;
    const QRect old = m_outline;
    m_outline = outline;
    m_surface->update(old.adjusted(-1, -1, 1, 1));
    m_surface->update(outline.adjusted(-1, -1, 1, 1));
}

void TGHandle::SetZoneCursor(int zone)
{
    setCursor(SurfaceCursors::ForZone(zone));
}

void TGHandle::HandlePress(const QPoint &pos, Qt::MouseButton button,
                           Qt::KeyboardModifiers modifiers)
{
    m_pressTime = Now();
    const QPoint p = ToSurface(pos);
    if (m_surface->Pointing() && button == Qt::LeftButton) {
        if (HitObject(p) || !m_selection.isEmpty()) {
            if (!m_locked) {
                m_dragOrigin = pos;
                m_dragging = true;
            }
            m_surface->HandleMouseDown(p, button, modifiers);
            return;
        }
    }
    if (button == Qt::RightButton) {
        TGGraphicControl *hit = HitObject(p);
        const QPoint global = mapToGlobal(pos);
        if (m_selection.size() == 1 && hit)
            m_surface->PopupObjectMenu(hit, global);
        else
            m_surface->PopupSurfaceMenu(global);
        return;
    }
    unsetCursor();
    m_forwarding = true;
    m_surface->SurfaceMousePress(p, button, modifiers);
}

void TGHandle::HandleMove(const QPoint &pos, Qt::MouseButtons buttons,
                          Qt::KeyboardModifiers modifiers)
{
    if (m_forwarding) {
        m_surface->SurfaceMouseMove(ToSurface(pos), buttons, modifiers);
        return;
    }
    if (m_doubleClicked)
        m_dragging = false;
    m_doubleClicked = false;
    if (!m_surface->Pointing()) {
        setCursor(SurfaceCursors::Drag());
        return;
    }
    const bool left = buttons & Qt::LeftButton;
    if (!left || m_dragging || m_locked) {
        if (!left)
            m_capture = false;
        int zone = HandleGeometry::Body;
        if (!m_dragging)
            setCursor(SurfaceCursors::Grab());
        if (m_selection.size() == 1) {
            zone = HandleGeometry::ZoneAt(pos, size(), true);
            if (zone != HandleGeometry::Body)
                SetZoneCursor(zone);
        }
        if (m_locked)
            setCursor(Qt::ForbiddenCursor);
        if (!m_dragging)
            m_zone = zone;
        else
            SetOutline(HandleGeometry::OutlineRect(DragTarget(ClampToSurface(pos))));
    } else if (m_pressTime > 0 && Now() - m_pressTime > DragDelayMs) {
        m_dragOrigin = pos;
        m_dragging = true;
    }
    m_surface->SurfaceMouseMove(ToSurface(pos), buttons, modifiers);
}

void TGHandle::HandleRelease(const QPoint &pos, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers)
{
    if (m_forwarding) {
        m_forwarding = false;
        m_surface->SurfaceMouseRelease(ToSurface(pos), button, modifiers);
        return;
    }
    if (m_dragging && Now() - m_pressTime < ClickLimitMs)
        m_dragOrigin = pos;
    m_pressTime = 0;
    if (!m_dragging || button != Qt::LeftButton) {
        m_capture = false;
        m_surface->SurfaceMouseRelease(ToSurface(pos), button, modifiers);
        update();
        return;
    }
    const QPoint clamped = ClampToSurface(pos);
    if (clamped != m_dragOrigin) {
        const QString text = m_zone == HandleGeometry::Body ? tr("Move") : tr("Resize");
        ApplyHandleBounds(DragTarget(clamped), text, false);
    }
    SetOutline(QRect());
    if (isVisible() && isEnabled())
        setFocus();
    m_dragging = false;
    unsetCursor();
    m_capture = false;
    m_surface->SurfaceMouseRelease(ToSurface(pos), button, modifiers);
    update();
}

void TGHandle::ApplyHandleBounds(const QRect &bounds, const QString &text, bool nudge)
{
    const QRect old = geometry();
    m_surface->Document().MoveResizeObjects(m_selection, old, bounds, text, nudge);
    setGeometry(bounds);
    // Locked objects stay behind: the handle goes back round the objects,
    // not where the mouse left it.
    FitToSelection();
    m_surface->update();
}

void TGHandle::mousePressEvent(QMouseEvent *event)
{
    HandlePress(event->position().toPoint(), event->button(), event->modifiers());
}

void TGHandle::mouseMoveEvent(QMouseEvent *event)
{
    HandleMove(event->position().toPoint(), event->buttons(), event->modifiers());
}

void TGHandle::mouseReleaseEvent(QMouseEvent *event)
{
    HandleRelease(event->position().toPoint(), event->button(), event->modifiers());
}

void TGHandle::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_doubleClicked = true;
    m_surface->HandleDoubleClick(ToSurface(event->position().toPoint()),
                                 mapToGlobal(event->position().toPoint()));
}

void TGHandle::leaveEvent(QEvent *event)
{
    if (!m_dragging)
        setCursor(m_surface->Pointing() ? QCursor(Qt::ArrowCursor) : SurfaceCursors::Drag());
    QWidget::leaveEvent(event);
}

// --- keyboard ----------------------------------------------------------------------------

bool TGHandle::event(QEvent *event)
{
    // The arrow keys nudge instead of moving the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        if (IsArrow(static_cast<QKeyEvent *>(event)->key())) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TGHandle::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (IsArrow(key) && !m_selection.isEmpty()) {
        if (!m_nudging) {
            m_nudging = true;
            m_nudgeRect = HandleGeometry::NudgeStart(geometry());
        }
        const bool resize = (event->modifiers() & Qt::ShiftModifier) && m_selection.size() == 1;
        m_nudgeRect = HandleGeometry::Nudge(m_nudgeRect, key, resize, m_surface->size());
    }
    m_surface->SurfaceKeyDown(event);
    if (m_nudging)
        SetOutline(m_nudgeRect);
}

void TGHandle::keyReleaseEvent(QKeyEvent *event)
{
    if (!m_nudging || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    SetOutline(QRect());
    m_nudging = false;
    ApplyNudge(HandleGeometry::NudgeToHandle(m_nudgeRect));
    update();
}

bool TGHandle::ContinuesNudgeRun() const
{
    if (m_nudgeRun.objects != m_selection || m_nudgeRun.zoom != m_surface->Zoom() ||
        m_nudgeRun.undoIndex != m_surface->Document().UndoStack().index())
        return false;
    for (qsizetype i = 0; i < m_nudgeRun.objects.size(); ++i) {
        if (m_nudgeRun.objects[i]->Bounds() != m_nudgeRun.placed[i])
            return false;
    }
    return true;
}

void TGHandle::ApplyNudge(const QRect &bounds)
{
    // Objects keep zoom-1 bounds. Converting each press's screen pixel to
    // zoom-1 pixels would round every time and drift from the outline, so a
    // run of nudges adds up its screen movement and places each object where
    // its scaled bounds are exactly that far from where the run began.
    const QRect old = geometry();
    if (!ContinuesNudgeRun()) {
        m_nudgeRun = NudgeRun();
        m_nudgeRun.objects = m_selection;
        m_nudgeRun.zoom = m_surface->Zoom();
        for (TGGraphicControl *object : std::as_const(m_selection))
            m_nudgeRun.start.append(object->Bounds());
    }
    m_nudgeRun.delta.setLeft(m_nudgeRun.delta.left() + bounds.left() - old.left());
    m_nudgeRun.delta.setTop(m_nudgeRun.delta.top() + bounds.top() - old.top());
    m_nudgeRun.delta.setRight(m_nudgeRun.delta.right() + bounds.width() - old.width());
    m_nudgeRun.delta.setBottom(m_nudgeRun.delta.bottom() + bounds.height() - old.height());
    const float zoom = m_nudgeRun.zoom;
    const QMargins &delta = m_nudgeRun.delta;
    QList<std::pair<TGGraphicControl *, QRect>> placed;
    for (qsizetype i = 0; i < m_nudgeRun.objects.size(); ++i) {
        TGGraphicControl *object = m_nudgeRun.objects[i];
        if (object->Locked())
            continue;
        const QRect start = TGGraphicControl::ScaleRect(m_nudgeRun.start[i], zoom);
        placed.append({object, QRect(Unscale(start.left() + delta.left(), zoom),
                                     Unscale(start.top() + delta.top(), zoom),
                                     std::max(1, Unscale(start.width() + delta.right(), zoom)),
                                     std::max(1, Unscale(start.height() + delta.bottom(), zoom)))});
    }
    PageDocument &document = m_surface->Document();
    document.SetObjectBounds(placed, tr("Nudge"), ObjectBoundsCommand::NudgeMergeId);
    m_nudgeRun.placed.clear();
    for (TGGraphicControl *object : std::as_const(m_nudgeRun.objects))
        m_nudgeRun.placed.append(object->Bounds());
    m_nudgeRun.undoIndex = document.UndoStack().index();
    setGeometry(bounds);
    FitToSelection();
    m_surface->update();
}

} // namespace Dayloom
