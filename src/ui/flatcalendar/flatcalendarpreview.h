#pragma once

#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/objecthost.h"

#include <QWidget>

namespace Dayloom {

// The floating calendar editor's preview: it owns the calendar `Sample`,
// hosts it as the page does its objects, and shows it at zoom 1 at its own
// size through the object's paint code. Every change to the sample repaints
// the preview; a new size resizes it.
class FlatCalendarPreview : public QWidget, public ObjectHost
{
    Q_OBJECT

public:
    explicit FlatCalendarPreview(QWidget *parent = nullptr);
    ~FlatCalendarPreview() override;

    TGFlatCalendar &Sample() { return m_sample; }
    const TGFlatCalendar &Sample() const { return m_sample; }
    // The sample's size in pixels at zoom 1 (it sits at the top left).
    void SetSampleSize(const QSize &size);

    QSize sizeHint() const override { return m_sample.Bounds().size(); }

    // ObjectHost: a preview never prints, suspends or selects.
    bool Printing() const override { return false; }
    bool PaintSuspended() const override { return false; }
    void NotifyChanged() override {}
    void RequestHandleFit() override {}
    void RequestRepaint() override;
    void ObjectStateChanged(TGGraphicControl *object) override { Q_UNUSED(object); }
    QSize SurfaceSize() const override { return size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TGFlatCalendar m_sample;
};

} // namespace Dayloom
