#include "core/objects/flatcalendar/tgflatcalendar.h"

#include <QPaintDevice>
#include <QPainter>

namespace Dayloom {

TGFlatCalendar::TGFlatCalendar() = default;

const PropertyList &TGFlatCalendar::PublishedProperties() const
{
    static const PropertyList list = [] {
        PropertyListBuilder<TGFlatCalendar> builder(TGGraphicControl::BaseProperties());
        FlatCalendarModel::AppendPublishedProperties(
            builder, [](const TGFlatCalendar &o) -> const FlatCalendarModel & { return o.m_model; },
            [](TGFlatCalendar &o, const FlatCalendarModel::ModelEdit &edit) {
                o.ChangeModel(edit);
            });
        return builder.build();
    }();
    return list;
}

bool TGFlatCalendar::ChangeModel(const std::function<bool(FlatCalendarModel &)> &edit)
{
    if (!edit(m_model))
        return false;
    if (!IsReading()) {
        Repaint();
        NotifyChanged();
    }
    return true;
}

void TGFlatCalendar::SetModel(const FlatCalendarModel &model)
{
    if (m_model == model)
        return;
    m_model = model;
    Repaint();
    NotifyChanged();
}

void TGFlatCalendar::PaintContent(QPainter &painter, const QRect &target, float zoom) const
{
    m_model.Paint(painter, target, zoom);
}

void TGFlatCalendar::PrintTo(QPainter &painter, double xInch, double yInch) const
{
    const QPaintDevice *device = painter.device();
    const double ppiX = device ? device->logicalDpiX() : FlatCalendarModel::ScreenPpi;
    const double ppiY = device ? device->logicalDpiY() : FlatCalendarModel::ScreenPpi;
    constexpr double screen = FlatCalendarModel::ScreenPpi;
    const QRectF target((xInch + Left() / screen) * ppiX, (yInch + Top() / screen) * ppiY,
                        Width() / screen * ppiX, Height() / screen * ppiY);
    m_model.Print(painter, target, ppiX, ppiY);
}

void TGFlatCalendar::AssignProperties(const TGGraphicControl &source)
{
    TGGraphicControl::AssignProperties(source);
    if (const auto *calendar = dynamic_cast<const TGFlatCalendar *>(&source))
        SetModel(calendar->m_model);
}

} // namespace Dayloom
