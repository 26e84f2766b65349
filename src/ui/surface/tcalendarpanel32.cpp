#include "ui/surface/tcalendarpanel32.h"

#include "ui/surface/surfacecursors.h"

#include <QPainter>

namespace Dayloom {

TCalendarPanel32::TCalendarPanel32(QWidget *parent) : TGBasePanel(parent)
{
    CalendarPage &page = Page();
    connect(&page, &CalendarPage::geometryChanged, this, &TCalendarPanel32::UpdateSurfaceSize);
    connect(&page, &CalendarPage::ClickedInCellEvent, this, &TCalendarPanel32::ClickedInCellEvent);
    SetPointing(page.Pointing());
    UpdateSurfaceSize();
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
    if (outcome.cell != 0)
        Page().ClickCell(outcome.cell);
    if (outcome.onClick)
        Q_EMIT OnClick();
}

} // namespace Dayloom
