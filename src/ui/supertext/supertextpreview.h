#pragma once

#include "core/objects/objecthost.h"
#include "core/objects/supertext/tgsupertext.h"

#include <QWidget>

namespace Dayloom {

// A SuperText shown by itself: the widget owns the object `Sample`, hosts
// it as the page does its objects and shows it at zoom 1 at the widget's top
// left, over white paper. Every change repaints it; a new size of the sample
// resizes the widget.
class SuperTextPreview : public QWidget, public ObjectHost
{
    Q_OBJECT

public:
    explicit SuperTextPreview(QWidget *parent = nullptr);
    ~SuperTextPreview() override;

    TGSuperText &Sample() { return m_sample; }
    const TGSuperText &Sample() const { return m_sample; }
    // Fits the sample to its text and the widget to the sample.
    bool FitSample();
    // Resizes the widget to the sample's bounds.
    void FollowSample();

    QSize sizeHint() const override { return m_sample.Bounds().size(); }

    // ObjectHost: a preview never prints, suspends or selects.
    bool Printing() const override { return false; }
    bool PaintSuspended() const override { return false; }
    void NotifyChanged() override {}
    void RequestHandleFit() override {}
    void RequestRepaint() override { update(); }
    void ObjectStateChanged(TGGraphicControl *object) override { Q_UNUSED(object); }
    QSize SurfaceSize() const override { return size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TGSuperText m_sample;
};

} // namespace Dayloom
