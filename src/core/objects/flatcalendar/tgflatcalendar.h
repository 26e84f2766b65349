#pragma once

#include "core/objects/flatcalendar/flatcalendarmodel.h"
#include "core/objects/tggraphiccontrol.h"

#include <functional>

namespace Dayloom {

// The floating calendar: a placed object that draws one month as a small
// calendar (title, day names, six weeks of day numbers) from its own
// properties, whatever the page shows. The properties live in its
// FlatCalendarModel; this class places, stores and paints it.
class TGFlatCalendar : public TGGraphicControl
{
public:
    // The defaults of a new calendar, showing today's month.
    TGFlatCalendar();

    // "TGFlatCalendar", the class name files store it under.
    static QByteArray StoredClassName() { return QByteArrayLiteral("TGFlatCalendar"); }
    QByteArray ClassName() const override { return StoredClassName(); }
    // The base properties, then StartOfWeek, Month, Year, TitleFont,
    // DayNameFont, CellFont, ShowYear, DayNameBGColor, CalendarBorderStyle,
    // DayNameBorderStyle, CellBorderStyle, DayNameStyle, TitleBGcolor,
    // Backgroundcolor, ShadowColor, ShadowDepth, ShadowPosition, Language,
    // CalTransparent.
    const PropertyList &PublishedProperties() const override;

    const FlatCalendarModel &Model() const { return m_model; }
    // Runs one of the model's setters; when it stored a new value the
    // calendar repaints and reports the change. Returns the setter's answer.
    bool ChangeModel(const std::function<bool(FlatCalendarModel &)> &edit);
    // Replaces every calendar property at once (the editor's OK).
    void SetModel(const FlatCalendarModel &model);

    void PaintContent(QPainter &painter, const QRect &target, float zoom) const override;
    // Through the model's Print: the zoom-1 layout scaled onto the target
    // rectangle in device pixels.
    void PrintTo(PrintEngine &engine, double xInch, double yInch) const override;
    void AssignProperties(const TGGraphicControl &source) override;

private:
    FlatCalendarModel m_model;
};

} // namespace Dayloom
