#pragma once

#include <QColor>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

namespace Dayloom {

class TGBasePanel;
class TGGraphicControl;

// The one selection handle of a design surface: a transparent child widget
// laid over the bounding box of the selected objects. It holds the
// selection, shows the sizing cursors of its nine zones, drags and resizes
// the selection (with optional grid snapping) and nudges it with the arrow
// keys; every change goes to the page document as one undoable step. The
// squares round the objects are painted by the surface.
//
// While the handle "has the capture" (after a press selected an object, as
// the press continues as a drag) the surface routes its mouse moves and
// release here.
class TGHandle : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DragDelayMs = 10;   // a selecting press turns into a drag after this
    static constexpr int ClickLimitMs = 150; // a shorter press-release never moves

    explicit TGHandle(TGBasePanel *surface);

    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    QColor SecondaryColor() const { return m_secondaryColor; }
    void SetSecondaryColor(const QColor &color);
    // A locked handle never starts a drag.
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    // Grid spacings 1-32 (default 8); snapping uses them only while
    // SnapToGrid is on.
    int GridX() const { return m_gridX; }
    void SetGridX(int spacing);
    int GridY() const { return m_gridY; }
    void SetGridY(int spacing);
    bool SnapToGrid() const { return m_snapX > 1 || m_snapY > 1; }
    void SetSnapToGrid(bool snap);

    // --- selection -----------------------------------------------------------------
    // Unselectable objects are refused. Adding takes the mouse capture and
    // the focus, so that the press that selected continues as a drag.
    void AddObject(TGGraphicControl *object);
    void RemoveObject(TGGraphicControl *object);
    void ClearSelection();
    int IndexOf(const TGGraphicControl *object) const;
    int SelectedCount() const { return static_cast<int>(m_selection.size()); }
    // Null when i is outside the selection.
    TGGraphicControl *SelectedObject(int i) const;
    const QList<TGGraphicControl *> &Selection() const { return m_selection; }
    // The first selected object whose bounds grown by 2 pixels contain the
    // surface point.
    TGGraphicControl *HitObject(const QPoint &surfacePoint) const;
    // Lays the handle round the selection again (after changes, zoom, undo).
    void FitToSelection();
    void BringSelectionToFront();
    void SendSelectionToBack();

    // The squares of every selected object, on the surface's painter.
    void DrawHandles(QPainter &painter) const;
    // The drag or nudge outline in surface pixels (inclusive edges); null
    // when none is shown.
    QRect Outline() const { return m_outline; }

    int Zone() const { return m_zone; }
    bool Dragging() const { return m_dragging; }
    bool Nudging() const { return m_nudging; }
    bool HasCapture() const { return m_capture; }
    // A new press on the surface is not the one that selected the objects.
    void ReleaseCapture() { m_capture = false; }
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // Mouse events in handle coordinates (also routed here by the surface
    // while the handle has the capture).
    void HandlePress(const QPoint &pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void HandleMove(const QPoint &pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void HandleRelease(const QPoint &pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPoint ToSurface(const QPoint &pos) const { return pos + geometry().topLeft(); }
    QPoint ClampToSurface(const QPoint &pos) const;
    QRect DragTarget(const QPoint &pos) const;
    void SetOutline(const QRect &outline);
    void ApplyHandleBounds(const QRect &bounds, const QString &text, bool nudge);
    // Moves or resizes the selection by the nudge that put the handle at `bounds`.
    void ApplyNudge(const QRect &bounds);
    bool ContinuesNudgeRun() const;
    void ShowAt(const QRect &bounds);
    void TakeCaptureAndFocus();
    void Hide();
    void SetZoneCursor(int zone);
    qint64 Now() const { return m_clock(); }

    TGBasePanel *m_surface;
    qint64 m_pressTime = 0;
    QPoint m_dragOrigin;
    bool m_dragging = false;
    int m_zone = 0;
    bool m_nudging = false;
    QRect m_nudgeRect;
    QRect m_outline;
    QColor m_color = Qt::black;
    QColor m_secondaryColor = QColor(128, 128, 128);
    bool m_locked = false;
    int m_snapX = 1;
    int m_snapY = 1;
    int m_gridX = 8;
    int m_gridY = 8;
    QList<TGGraphicControl *> m_selection;
    // Consecutive nudges of one selection (one undo step): the zoom-1 bounds
    // at its start, the screen pixels moved since (left, top) and grown
    // (right = width, bottom = height), and the bounds it set last.
    struct NudgeRun
    {
        QList<TGGraphicControl *> objects;
        QList<QRect> start;
        QList<QRect> placed;
        QMargins delta;
        float zoom = 0.0f;
        int undoIndex = -1;
    };
    NudgeRun m_nudgeRun;
    bool m_doubleClicked = false;
    bool m_capture = false;
    bool m_forwarding = false; // a press went on to the surface: so do its moves
    std::function<qint64()> m_clock;
};

} // namespace Dayloom
