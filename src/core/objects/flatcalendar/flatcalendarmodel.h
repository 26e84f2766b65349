#pragma once

#include "core/calendar/languagenames.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"
#include "core/formats/identifiertable.h"
#include "core/formats/propertylistbuilder.h"
#include "core/objects/flatcalendar/flatcalendarpainter.h"
#include "core/objects/flatcalendar/flatcalendartypes.h"

#include <QDate>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

namespace Dayloom {

// The published properties of a floating calendar (all but the placed-object
// base ones: Left, Top, Width, Height, Locked, Unselectable, Tag, Cursor,
// Hint), the texts derived from them and the drawing. A plain value: the
// placed object owns one and forwards its properties to it.
//
// Change notification: every setter returns true when it stored a new value
// and false when the value was equal or refused; the owner repaints and
// reports the change only on true. Refused values: StartOfWeek outside 1-7, ShadowDepth above 10,
// Month outside 1-12, enumeration values outside their type.
//
// Sizes: ShadowDepth is in pixels at zoom 1; font sizes are points, drawn
// at 96 pixels per inch times the zoom.
class FlatCalendarModel
{
public:
    static constexpr int ScreenPpi = 96;
    static constexpr int MaxShadowDepth = 10;

    // The creation defaults, with today's month and year.
    FlatCalendarModel();
    // The creation defaults with the month and year of the given date (an
    // invalid date gives January 2000).
    explicit FlatCalendarModel(const QDate &today);

    // --- published properties, in stored order ------------------------------
    // The weekday weeks start on: 1 = Sunday, 2 = Monday ... 7 = Saturday;
    // other values are refused. (Files of programs that knew only Sunday
    // and Monday hold 1 or 2; such a program keeps Sunday for the others.)
    int StartOfWeek() const { return m_startOfWeek; }
    bool SetStartOfWeek(int value);
    // 1-12; other values are refused (they would name no month).
    int Month() const { return m_month; }
    bool SetMonth(int value);
    // Any year; the weekdays follow the Gregorian calendar backwards too.
    int Year() const { return m_year; }
    bool SetYear(int value);
    const FontSpec &TitleFont() const { return m_titleFont; }
    bool SetTitleFont(const FontSpec &value);
    const FontSpec &DayNameFont() const { return m_dayNameFont; }
    bool SetDayNameFont(const FontSpec &value);
    const FontSpec &CellFont() const { return m_cellFont; }
    bool SetCellFont(const FontSpec &value);
    bool ShowYear() const { return m_showYear; }
    bool SetShowYear(bool value);
    TColor DayNameBGColor() const { return m_dayNameBGColor; }
    bool SetDayNameBGColor(TColor value);
    TFlatCalBorderStyle CalendarBorderStyle() const { return m_calendarBorderStyle; }
    bool SetCalendarBorderStyle(TFlatCalBorderStyle value);
    TFlatCalBorderStyle DayNameBorderStyle() const { return m_dayNameBorderStyle; }
    bool SetDayNameBorderStyle(TFlatCalBorderStyle value);
    TFlatCalBorderStyle CellBorderStyle() const { return m_cellBorderStyle; }
    bool SetCellBorderStyle(TFlatCalBorderStyle value);
    TFlatCalHeadersStyle DayNameStyle() const { return m_dayNameStyle; }
    bool SetDayNameStyle(TFlatCalHeadersStyle value);
    TColor TitleBGcolor() const { return m_titleBGcolor; }
    bool SetTitleBGcolor(TColor value);
    TColor Backgroundcolor() const { return m_backgroundcolor; }
    bool SetBackgroundcolor(TColor value);
    TColor ShadowColor() const { return m_shadowColor; }
    bool SetShadowColor(TColor value);
    // Pixels at zoom 1; values above 10 are refused, below 1 mean no shadow.
    int ShadowDepth() const { return m_shadowDepth; }
    bool SetShadowDepth(int value);
    TFlatShadowPosition ShadowPosition() const { return m_shadowPosition; }
    bool SetShadowPosition(TFlatShadowPosition value);
    TFlatCalLanguage Language() const { return m_language; }
    bool SetLanguage(TFlatCalLanguage value);
    // No backgrounds and no shadow.
    bool CalTransparent() const { return m_calTransparent; }
    bool SetCalTransparent(bool value);

    // --- texts --------------------------------------------------------------
    // The fixed month and day names of a language ("Freitag " keeps its
    // trailing blank).
    static const LanguageNames &NamesOf(TFlatCalLanguage language);
    const LanguageNames &Names() const { return NamesOf(m_language); }
    QString MonthName() const;
    // The month name, or with ShowYear the month name, a blank and the year.
    QString TitleText() const;
    // The day name over column 0-6 as the day-name row shows it (week start
    // and DayNameStyle applied); empty outside 0-6.
    QString DayNameText(int column) const;

    // --- dates --------------------------------------------------------------
    // Column (1-7) of the first of the month for the week start.
    int FirstColumn() const;
    int DaysInMonth() const;
    // Day shown in grid row 0-5, column 0-6; 0 for an empty cell or outside.
    int DayInCell(int row, int column) const;

    // --- geometry and drawing -----------------------------------------------
    // Bounds are the object's rectangle in device pixels of the painter
    // (its zoom-1 rectangle times the zoom, as on screen). Paint draws
    // nothing at a zoom that is not a positive finite number; the geometry
    // functions take such a zoom as 1.

    // Shadow offset in device pixels: ShadowDepth x zoom, truncated; 0 when
    // ShadowDepth < 1 or transparent.
    int ShadowOffset(float zoom) const;
    // The calendar rectangle within the bounds (exclusive right and bottom),
    // leaving room for the shadow.
    TRect CalendarRect(const QRect &bounds, float zoom) const;
    // The filled shadow rectangle, clipped to the bounds; all zero when no
    // shadow is drawn.
    TRect ShadowRect(const QRect &bounds, float zoom) const;
    // The record the drawing works from: colours, names, border styles, the
    // calendar rectangle and the fonts with their sizes times the zoom
    // (truncated, at least 1 point). Outputs are not yet filled.
    TGFlatCalendarAttributes Attributes(const QRect &bounds, float zoom) const;
    // The record with its outputs filled: title band, day-name row and cell
    // by cell the rectangle and the day, exactly as Paint draws them.
    TGFlatCalendarAttributes Geometry(const QRect &bounds, float zoom) const;

    // Draws the calendar into the bounds: shadow, backgrounds, title, day
    // names, grid, day numbers, borders. Nothing is drawn outside the
    // bounds. Works on any paint device; vector operations only.
    void Paint(QPainter &painter, const QRect &bounds, float zoom) const;
    // Prints into a rectangle in device pixels of a device with the given
    // pixels per inch: the calendar is drawn as on screen at zoom 1 at
    // (rectangle size x 96 / ppi) pixels, each rounded, and scaled onto the
    // rectangle, so paper shows the screen's layout. Vector operations
    // only (text stays text). Non-positive pixels per inch draw nothing.
    void Print(QPainter &painter, const QRectF &deviceRect, double ppiX, double ppiY) const;
    void Print(QPainter &painter, const QRectF &deviceRect, double ppi) const
    {
        Print(painter, deviceRect, ppi, ppi);
    }

    // --- stored value names -------------------------------------------------
    static const IdentifierTable &BorderStyleIdentifiers();    // fcbNone ... fcbTopBottom
    static const IdentifierTable &HeadersStyleIdentifiers();   // fdsFirstChar ...
    static const IdentifierTable &ShadowPositionIdentifiers(); // fcpLowerRight ...
    static const IdentifierTable &LanguageIdentifiers();       // fclEnglish ...

    // Appends the published properties above, in stored order with their
    // defaults, to a placed-object class's list (after placedObjectBase()).
    // model(const T &) returns the object's model; change(T &, edit) runs
    // edit on the object's model and, when edit returns true, repaints and
    // reports the change (edit is one of the setters above).
    using ModelEdit = std::function<bool(FlatCalendarModel &)>;
    template <class T, class GetModel, class ChangeModel>
    static PropertyListBuilder<T> &AppendPublishedProperties(PropertyListBuilder<T> &builder,
                                                             GetModel model, ChangeModel change);

    friend bool operator==(const FlatCalendarModel &, const FlatCalendarModel &) = default;

private:
    int m_startOfWeek = 1;
    int m_month = 1;
    int m_year = 2000;
    FontSpec m_titleFont{QStringLiteral("Arial"), 8};
    FontSpec m_dayNameFont{QStringLiteral("Arial"), 8};
    FontSpec m_cellFont{QStringLiteral("Arial"), 7};
    bool m_showYear = false;
    TColor m_dayNameBGColor = clWhite;
    TFlatCalBorderStyle m_calendarBorderStyle = fcbAll;
    TFlatCalBorderStyle m_dayNameBorderStyle = fcbAll;
    TFlatCalBorderStyle m_cellBorderStyle = fcbNone;
    TFlatCalHeadersStyle m_dayNameStyle = fdsFirstChar;
    TColor m_titleBGcolor = clWhite;
    TColor m_backgroundcolor = clWhite;
    TColor m_shadowColor = clBlack;
    int m_shadowDepth = 0;
    TFlatShadowPosition m_shadowPosition = fcpLowerRight;
    TFlatCalLanguage m_language = fclEnglish;
    bool m_calTransparent = false;
};

template <class T, class GetModel, class ChangeModel>
PropertyListBuilder<T> &
FlatCalendarModel::AppendPublishedProperties(PropertyListBuilder<T> &builder, GetModel model,
                                             ChangeModel change)
{
    using M = FlatCalendarModel;
    // A property's getter and setter expressed on the object.
    const auto get = [model](auto getter) {
        return [model, getter](const T &o) { return std::invoke(getter, model(o)); };
    };
    const auto set = [change](auto setter) {
        return [change, setter](T &o, auto value) {
            change(o, ModelEdit([setter, value](M &m) { return std::invoke(setter, m, value); }));
        };
    };
    const FlatCalendarModel defaults{QDate(2000, 1, 1)};
    // Month and Year have no fixed default (they start at today's date), so
    // they are always written.
    return builder
        .integer("StartOfWeek", get(&M::StartOfWeek), set(&M::SetStartOfWeek),
                 defaults.StartOfWeek(), 0, 255)
        .integer("Month", get(&M::Month), set(&M::SetMonth), std::nullopt)
        .integer("Year", get(&M::Year), set(&M::SetYear), std::nullopt)
        .font("TitleFont", get(&M::TitleFont), set(&M::SetTitleFont), defaults.TitleFont())
        .font("DayNameFont", get(&M::DayNameFont), set(&M::SetDayNameFont), defaults.DayNameFont())
        .font("CellFont", get(&M::CellFont), set(&M::SetCellFont), defaults.CellFont())
        .boolean("ShowYear", get(&M::ShowYear), set(&M::SetShowYear), defaults.ShowYear())
        .color("DayNameBGColor", get(&M::DayNameBGColor), set(&M::SetDayNameBGColor),
               defaults.DayNameBGColor())
        .template enumeration<TFlatCalBorderStyle>(
            "CalendarBorderStyle", get(&M::CalendarBorderStyle), set(&M::SetCalendarBorderStyle),
            BorderStyleIdentifiers(), defaults.CalendarBorderStyle())
        .template enumeration<TFlatCalBorderStyle>(
            "DayNameBorderStyle", get(&M::DayNameBorderStyle), set(&M::SetDayNameBorderStyle),
            BorderStyleIdentifiers(), defaults.DayNameBorderStyle())
        .template enumeration<TFlatCalBorderStyle>(
            "CellBorderStyle", get(&M::CellBorderStyle), set(&M::SetCellBorderStyle),
            BorderStyleIdentifiers(), defaults.CellBorderStyle())
        .template enumeration<TFlatCalHeadersStyle>(
            "DayNameStyle", get(&M::DayNameStyle), set(&M::SetDayNameStyle),
            HeadersStyleIdentifiers(), defaults.DayNameStyle())
        .color("TitleBGcolor", get(&M::TitleBGcolor), set(&M::SetTitleBGcolor),
               defaults.TitleBGcolor())
        .color("Backgroundcolor", get(&M::Backgroundcolor), set(&M::SetBackgroundcolor),
               defaults.Backgroundcolor())
        .color("ShadowColor", get(&M::ShadowColor), set(&M::SetShadowColor), defaults.ShadowColor())
        .integer("ShadowDepth", get(&M::ShadowDepth), set(&M::SetShadowDepth),
                 defaults.ShadowDepth())
        .template enumeration<TFlatShadowPosition>(
            "ShadowPosition", get(&M::ShadowPosition), set(&M::SetShadowPosition),
            ShadowPositionIdentifiers(), defaults.ShadowPosition())
        .template enumeration<TFlatCalLanguage>("Language", get(&M::Language), set(&M::SetLanguage),
                                                LanguageIdentifiers(), defaults.Language())
        .boolean("CalTransparent", get(&M::CalTransparent), set(&M::SetCalTransparent),
                 defaults.CalTransparent());
}

} // namespace Dayloom
