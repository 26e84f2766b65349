#include "ui/surface/tcalendarpanel32.h"

#include "ui/surface/calendarpanelaccessible.h"
#include "ui/surface/surfacecursors.h"
#include "ui/surface/tghandle.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

namespace Dayloom {

TCalendarPanel32::TCalendarPanel32(QWidget *parent) : TGBasePanel(parent)
{
    CalendarPage &page = Page();
    connect(&page, &CalendarPage::geometryChanged, this, &TCalendarPanel32::UpdateSurfaceSize);
    // Cells of another layout are not clicked before the next paint.
    connect(&page, &CalendarPage::geometryChanged, this, [this] { m_drawn = PageDrawing(); });
    SetPointing(page.Pointing());
    UpdateSurfaceSize();
    CalendarPanelAccessible::Install();
    setAccessibleName(QStringLiteral("Calendar page"));
}

void TCalendarPanel32::SetCurrentCell(int cell)
{
    if (cell < 0 || cell > CalendarPage::CellCount)
        cell = 0;
    if (cell == m_currentCell)
        return;
    m_currentCell = cell;
    update();
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    if (hasFocus()) {
        QAccessibleEvent focused(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

void TCalendarPanel32::paintEvent(QPaintEvent *event)
{
    TGBasePanel::paintEvent(event);
    if (!hasFocus())
        return;
    // A thin frame round the current cell, else round the page; the style's
    // focus rectangle would fill it with a tint.
    const CellRecord record = m_drawn.CellRecordOf(m_currentCell);
    const QRect frame = record.rTotal.IsZero()
                            ? rect().adjusted(1, 1, -2, -2)
                            : QRect(QPoint(record.rTotal.Left, record.rTotal.Top),
                                    QPoint(record.rTotal.Right, record.rTotal.Bottom));
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

void TCalendarPanel32::focusInEvent(QFocusEvent *event)
{
    TGBasePanel::focusInEvent(event);
    update();
}

void TCalendarPanel32::focusOutEvent(QFocusEvent *event)
{
    TGBasePanel::focusOutEvent(event);
    update();
}

void TCalendarPanel32::SetPanelState(TLPanelState state)
{
    Page().SetPanelState(state);
    SetPointing(state == psPointing);
    setCursor(ModeCursor());
}

void TCalendarPanel32::CreateObjectInRect(const QRect &rect)
{
    if (m_creating)
        return;
    m_creating = true;
    TGGraphicControl *object = Document().CreateObjectInRect(PanelState(), rect);
    if (object) {
        SetPanelState(psPointing);
        const ObjectKindActions::CreatedAction created =
            KindActions().CreatedActionOf(object->ClassName());
        const bool kept = !created || created(*object) || !Document().WithdrawCreation(object);
        if (kept)
            Q_EMIT ObjectCreated(object);
    }
    m_creating = false;
}

void TCalendarPanel32::PaintBackground(QPainter &painter)
{
    painter.fillRect(rect(), Qt::white);
    // A paint started while one runs (a picture's event loop) draws nothing.
    if (m_painting)
        return;
    m_painting = true;
    m_drawn = Page().Draw(painter, Zoom());
    m_drawnZoom = Zoom();
    m_painting = false;
}

QSize TCalendarPanel32::PrintReferenceNoteSize() const
{
    const QSize drawn = m_drawn.referenceNoteSize;
    if (drawn.isEmpty() || !(m_drawnZoom > 0))
        return QSize();
    return QSize(static_cast<int>(drawn.width() / m_drawnZoom),
                 static_cast<int>(drawn.height() / m_drawnZoom));
}

void TCalendarPanel32::ClickCell(int cell)
{
    if (cell < 1 || cell > CalendarPage::CellCount)
        return;
    const CellRecord record = m_drawn.CellRecordOf(cell);
    Q_EMIT ClickedInCellEvent(CellEvent{record.rTotal, record.rFree, cell, record.day});
}

void TCalendarPanel32::ClickPreviousCell(int cell)
{
    if (cell > 1 && cell <= CalendarPage::CellCount && m_drawn.HasNoteArea(cell - 1))
        ClickCell(cell - 1);
}

void TCalendarPanel32::ClickNextCell(int cell)
{
    if (cell >= 1 && cell < CalendarPage::CellCount && m_drawn.HasNoteArea(cell + 1))
        ClickCell(cell + 1);
}

int TCalendarPanel32::NeighbourCell(int steps) const
{
    int cell = m_currentCell;
    if (cell == 0) {
        cell = 1;
        steps = 1;
        if (m_drawn.HasNoteArea(cell))
            return cell;
    }
    if (steps == 0)
        return m_drawn.HasNoteArea(cell) ? cell : 0;
    for (cell += steps; cell >= 1 && cell <= CalendarPage::CellCount; cell += steps) {
        if (m_drawn.HasNoteArea(cell))
            return cell;
    }
    return 0;
}

void TCalendarPanel32::PlaceAtFocus()
{
    // As a click there would: the tool's smallest object, inside the
    // current cell or the visible part of the page.
    const CellRecord record = m_drawn.CellRecordOf(m_currentCell);
    const QPoint corner = record.rTotal.IsZero()
                              ? visibleRegion().boundingRect().topLeft() + QPoint(20, 20)
                              : QPoint(record.rTotal.Left + 4, record.rTotal.Top + 4);
    const QRect band(corner, QSize(1, 1));
    const int before = Document().ObjectCount();
    CreateObjectInRect(band);
    Q_EMIT DroppedObjectEvent(band);
    // The keyboard goes on with the new object: its menu, nudging, deleting.
    if (Document().ObjectCount() > before) {
        TGHandle *handle = SelectionHandle();
        handle->ClearSelection();
        handle->AddObject(Document().Object(Document().ObjectCount() - 1));
        handle->setFocus(Qt::OtherFocusReason);
    }
}

void TCalendarPanel32::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && event->key() != Qt::Key_Backtab) {
        TGBasePanel::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (!Pointing())
            PlaceAtFocus();
        else if (const int cell = NeighbourCell(0))
            Q_EMIT TypeInCellRequested(cell);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int steps = event->key() == Qt::Key_Left    ? -1
                          : event->key() == Qt::Key_Right ? 1
                          : event->key() == Qt::Key_Up    ? -7
                                                          : 7;
        if (const int cell = NeighbourCell(steps))
            SetCurrentCell(cell);
        return;
    }
    // The page's Tab leaves it, as from any other control.
    case Qt::Key_Tab:
        focusNextPrevChild(true);
        return;
    case Qt::Key_Backtab:
        focusNextPrevChild(false);
        return;
    default:
        TGBasePanel::keyPressEvent(event);
    }
}

void TCalendarPanel32::Click(const QPoint &point)
{
    const ClickOutcome outcome = Page().DecideClick(m_drawn, point, ObjectAtPoint(point));
    if (outcome.clickedHeader)
        Q_EMIT OnClickedHeader();
    if (outcome.clickedDaysArea)
        Q_EMIT OnClickedDaysArea();
    if (outcome.cell != 0) {
        m_clickPoint = point;
        ClickCell(outcome.cell);
        m_clickPoint.reset();
    }
    if (outcome.onClick)
        Q_EMIT OnClick();
}

} // namespace Dayloom
