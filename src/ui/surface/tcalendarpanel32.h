#pragma once

#include "core/calendar/calendarpage.h"
#include "ui/surface/tgbasepanel.h"

#include <QPoint>

#include <optional>

namespace Dayloom {

// The calendar page widget: the design surface showing its document's
// CalendarPage, with the placed objects over it. It paints the page, then
// the objects in stacking order, then the selection squares; turns a click
// into the page's cell, header and weekday-row events; and creates the
// current tool's object in a dragged band. Geometry is at 96 pixels per
// inch times the zoom; drawing is vector, so it stays sharp on high-density
// screens.
class TCalendarPanel32 : public TGBasePanel
{
    Q_OBJECT

public:
    explicit TCalendarPanel32(QWidget *parent = nullptr);

    CalendarPage &Page() { return Document().Page(); }
    const CalendarPage &Page() const { return Document().Page(); }

    // The current tool; also sets Pointing and the cursor (the drag cursor
    // for every drawing tool).
    TLPanelState PanelState() const { return Page().PanelState(); }
    void SetPanelState(TLPanelState state);

    // Creates the current tool's object in the band (at least 50 x 15 for a
    // click), returns to the pointing tool and runs the kind's created
    // action; when that is cancelled the object is taken back with its undo
    // step. A call while one runs does nothing.
    void CreateObjectInRect(const QRect &rect) override;

    // The cell being edited or last chosen, 0 for none. Changing it tells
    // assistive technology (the page's accessible name names the cell) and
    // moves the focus frame.
    int CurrentCell() const { return m_currentCell; }
    void SetCurrentCell(int cell);
    // While a click on the page is being handled, where it was (in this
    // widget's pixels); empty otherwise, e.g. when a cell is chosen by key.
    std::optional<QPoint> ClickPoint() const { return m_clickPoint; }

    // What the last paint drew (widget pixels): the cell records, title and
    // weekday-row rectangles clicks are tested against.
    const PageDrawing &Drawn() const { return m_drawn; }
    // The size notes are laid out at when printed: the last paint's first
    // note rectangle grown by 5, taken back to zoom 1 (page pixels); empty
    // before the first paint.
    QSize PrintReferenceNoteSize() const;
    // Raise ClickedInCellEvent for cell 1-42 as last painted; the previous /
    // next variants only when that neighbour has a note area.
    void ClickCell(int cell);
    void ClickPreviousCell(int cell);
    void ClickNextCell(int cell);
    // The day cell `steps` cells away from the current one (a row is 7
    // cells) that has a note area, the first such cell when none is current;
    // 0 when there is none that way.
    int NeighbourCell(int steps) const;

Q_SIGNALS:
    // A click that chose no day cell.
    void OnClick();
    void OnClickedHeader();
    void OnClickedDaysArea();
    // A day cell was chosen (by a click, or by ClickCell and its neighbours).
    void ClickedInCellEvent(const Dayloom::CellEvent &event);
    // A new object was placed by a tool and kept (after its kind's created
    // action).
    void ObjectCreated(Dayloom::TGGraphicControl *object);
    // Enter or F2 on the page asks to type into the current cell (with a
    // placing tool chosen they place its object there instead).
    void TypeInCellRequested(int cell);

protected:
    void PaintBackground(QPainter &painter) override;
    void Click(const QPoint &point) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void PlaceAtFocus();

    bool m_creating = false;
    bool m_painting = false;
    PageDrawing m_drawn;
    float m_drawnZoom = 1.0f;
    int m_currentCell = 0;
    std::optional<QPoint> m_clickPoint;
};

} // namespace Dayloom
