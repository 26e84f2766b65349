#include "core/objects/flatcalendar/tgflatcalendar.h"

#include "core/print/printengine.h"

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

void TGFlatCalendar::PrintTo(PrintEngine &engine, double xInch, double yInch) const
{
    constexpr double screen = FlatCalendarModel::ScreenPpi;
    const TRect target =
        engine.DeviceRect(xInch + Left() / screen, yInch + Top() / screen,
                          xInch + (Left() + Width()) / screen, yInch + (Top() + Height()) / screen);
    m_model.Print(engine.Painter(), target.toQRectF(), engine.XPixelsPerInch(),
                  engine.YPixelsPerInch());
}

void TGFlatCalendar::AssignProperties(const TGGraphicControl &source)
{
    TGGraphicControl::AssignProperties(source);
    if (const auto *calendar = dynamic_cast<const TGFlatCalendar *>(&source))
        SetModel(calendar->m_model);
}

} // namespace Dayloom
