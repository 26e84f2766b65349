#include "ui/surface/tcalendarpanel32.h"

#include "ui/surface/calendarpanelaccessible.h"
#include "ui/surface/surfacecursors.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace Dayloom {

TCalendarPanel32::TCalendarPanel32(QWidget *parent) : TGBasePanel(parent)
{
    CalendarPage &page = Page();
    connect(&page, &CalendarPage::geometryChanged, this, &TCalendarPanel32::UpdateSurfaceSize);
    connect(&page, &CalendarPage::ClickedInCellEvent, this, &TCalendarPanel32::ClickedInCellEvent);
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
    // The focus frame lies round the current cell, else round the page.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = Qt::white;
    const CellRecord record = Page().CellRecordOf(m_currentCell);
    option.rect = record.rTotal.IsZero() ? rect().adjusted(1, 1, -2, -2)
                                         : QRect(QPoint(record.rTotal.Left, record.rTotal.Top),
                                                 QPoint(record.rTotal.Right, record.rTotal.Bottom));
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
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
        if (const ObjectAction created = KindActions().CreatedAction(object->ClassName()))
            created(*object);
        Q_EMIT ObjectCreated(object);
    }
    m_creating = false;
}

void TCalendarPanel32::PaintBackground(QPainter &painter)
{
    painter.fillRect(rect(), Qt::white);
    Page().Paint(painter, Zoom());
}

void TCalendarPanel32::Click(const QPoint &point)
{
    const ClickOutcome outcome = Page().DecideClick(point, ObjectAtPoint(point));
    if (outcome.clickedHeader)
        Q_EMIT OnClickedHeader();
    if (outcome.clickedDaysArea)
        Q_EMIT OnClickedDaysArea();
    if (outcome.cell != 0) {
        m_clickPoint = point;
        Page().ClickCell(outcome.cell);
        m_clickPoint.reset();
    }
    if (outcome.onClick)
        Q_EMIT OnClick();
}

} // namespace Dayloom
