#pragma once

#include "core/calendar/calendarpage.h"

#include <QWidget>

namespace Dayloom {

// The properties dialog's sample page: a calendar page of its own, drawn by
// the same renderer as the main page at the preview's zoom. Painting only
// reads the page; every change the page signals repaints it, and a new
// geometry resizes the widget to the page size times the zoom.
class CalendarPreview : public QWidget
{
    Q_OBJECT

public:
    explicit CalendarPreview(QWidget *parent = nullptr);

    CalendarPage &Page() { return m_page; }
    const CalendarPage &Page() const { return m_page; }

    float Zoom() const { return m_zoom; }
    void SetZoom(float zoom);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void UpdateSize();

    CalendarPage m_page;
    float m_zoom = 1.0f;
};

} // namespace Dayloom
