#include "core/objects/flatcalendar/flatcalendarmodel.h"

#include "core/calendar/calendardates.h"
#include "core/formats/fontrecord.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayloom {

namespace {

// Stores a new value; true when it differed.
template <class V> bool Store(V &member, const V &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

bool UsableZoom(float zoom)
{
    return std::isfinite(zoom) && zoom > 0.0f;
}

float EffectiveZoom(float zoom)
{
    return UsableZoom(zoom) ? zoom : 1.0f;
}

// Truncation toward zero, kept within the int range.
int Truncate(double value)
{
    constexpr double limit = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, -limit, limit));
}

// A font whose size is multiplied by the zoom and truncated; at least one
// point, as a size of 0 would fall back to some default height.
FontSpec Scaled(const FontSpec &font, float zoom)
{
    FontSpec scaled = font;
    scaled.SetSize(std::clamp(Truncate(double(font.Size()) * zoom), 1, MaxFontPoints));
    return scaled;
}

TRect Intersected(const TRect &a, const TRect &b)
{
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

} // namespace

FlatCalendarModel::FlatCalendarModel() : FlatCalendarModel(QDate::currentDate()) {}

FlatCalendarModel::FlatCalendarModel(const QDate &today)
{
    if (today.isValid()) {
        m_month = today.month();
        m_year = today.year();
    }
}

bool FlatCalendarModel::SetStartOfWeek(int value)
{
    return value >= 1 && value <= 7 && Store(m_startOfWeek, value);
}

bool FlatCalendarModel::SetMonth(int value)
{
    return value >= 1 && value <= 12 && Store(m_month, value);
}

bool FlatCalendarModel::SetYear(int value)
{
    return Store(m_year, value);
}

bool FlatCalendarModel::SetTitleFont(const FontSpec &value)
{
    return Store(m_titleFont, value);
}

bool FlatCalendarModel::SetDayNameFont(const FontSpec &value)
{
    return Store(m_dayNameFont, value);
}

bool FlatCalendarModel::SetCellFont(const FontSpec &value)
{
    return Store(m_cellFont, value);
}

bool FlatCalendarModel::SetShowYear(bool value)
{
    return Store(m_showYear, value);
}

bool FlatCalendarModel::SetDayNameBGColor(TColor value)
{
    return Store(m_dayNameBGColor, value);
}

bool FlatCalendarModel::SetCalendarBorderStyle(TFlatCalBorderStyle value)
{
    return value >= fcbNone && value <= fcbTopBottom && Store(m_calendarBorderStyle, value);
}

bool FlatCalendarModel::SetDayNameBorderStyle(TFlatCalBorderStyle value)
{
    return value >= fcbNone && value <= fcbTopBottom && Store(m_dayNameBorderStyle, value);
}

bool FlatCalendarModel::SetCellBorderStyle(TFlatCalBorderStyle value)
{
    return value >= fcbNone && value <= fcbTopBottom && Store(m_cellBorderStyle, value);
}

bool FlatCalendarModel::SetDayNameStyle(TFlatCalHeadersStyle value)
{
    return value >= fdsFirstChar && value <= fdsWhole && Store(m_dayNameStyle, value);
}

bool FlatCalendarModel::SetTitleBGcolor(TColor value)
{
    return Store(m_titleBGcolor, value);
}

bool FlatCalendarModel::SetBackgroundcolor(TColor value)
{
    return Store(m_backgroundcolor, value);
}

bool FlatCalendarModel::SetShadowColor(TColor value)
{
    return Store(m_shadowColor, value);
}

bool FlatCalendarModel::SetShadowDepth(int value)
{
    return value <= MaxShadowDepth && Store(m_shadowDepth, value);
}

bool FlatCalendarModel::SetShadowPosition(TFlatShadowPosition value)
{
    return value >= fcpLowerRight && value <= fcpUpperLeft && Store(m_shadowPosition, value);
}

bool FlatCalendarModel::SetLanguage(TFlatCalLanguage value)
{
    return value >= fclEnglish && value <= fclSpanish && Store(m_language, value);
}

bool FlatCalendarModel::SetCalTransparent(bool value)
{
    return Store(m_calTransparent, value);
}

const LanguageNames &FlatCalendarModel::NamesOf(TFlatCalLanguage language)
{
    // The built-in tables are in the dialog's order (English, Deutsch,
    // Français, Español, L'italiano); this enumeration puts Italian before
    // Spanish.
    const auto &tables = BuiltInLanguages();
    switch (language) {
    case fclEnglish:
        break;
    case fclGerman:
        return tables[1];
    case fclFrench:
        return tables[2];
    case fclItalian:
        return tables[4];
    case fclSpanish:
        return tables[3];
    }
    return tables[0];
}

QString FlatCalendarModel::MonthName() const
{
    return (m_month >= 1 && m_month <= 12) ? Names().months[m_month - 1] : QString();
}

QString FlatCalendarModel::TitleText() const
{
    return m_showYear ? MonthName() + QLatin1Char(' ') + QString::number(m_year) : MonthName();
}

QString FlatCalendarModel::DayNameText(int column) const
{
    if (column < 0 || column > 6)
        return QString();
    const int index = CalendarDates::HeaderWeekday(column, m_startOfWeek);
    return FlatCalendarPainter::CutDayName(Names().days[index - 1], m_dayNameStyle);
}

int FlatCalendarModel::FirstColumn() const
{
    return CalendarDates::FirstColumnOn(m_month, m_year, m_startOfWeek);
}

int FlatCalendarModel::DaysInMonth() const
{
    return CalendarDates::DaysInMonth(m_month, m_year);
}

int FlatCalendarModel::DayInCell(int row, int column) const
{
    if (row < 0 || row > 5 || column < 0 || column > 6)
        return 0;
    return CalendarDates::DayInCell(row, column, FirstColumn(), DaysInMonth());
}

int FlatCalendarModel::ShadowOffset(float zoom) const
{
    if (m_shadowDepth < 1 || m_calTransparent)
        return 0;
    return Truncate(double(m_shadowDepth) * EffectiveZoom(zoom));
}

TRect FlatCalendarModel::CalendarRect(const QRect &bounds, float zoom) const
{
    const int a = ShadowOffset(zoom);
    const int x = bounds.left();
    const int y = bounds.top();
    const int w = bounds.width();
    const int h = bounds.height();
    switch (m_shadowPosition) {
    case fcpLowerRight:
        break;
    case fcpLowerLeft:
        return {x + a, y, x + w, y + h - a};
    case fcpUpperRight:
        return {x, y + a, x + w - a, y + h};
    case fcpUpperLeft:
        return {x + a, y + a, x + w, y + h};
    }
    return {x, y, x + w - a, y + h - a};
}

TRect FlatCalendarModel::ShadowRect(const QRect &bounds, float zoom) const
{
    if (m_shadowDepth < 1 || m_calTransparent)
        return {};
    const int a = ShadowOffset(zoom);
    const int x = bounds.left();
    const int y = bounds.top();
    const int w = bounds.width();
    const int h = bounds.height();
    TRect shadow{x + a, y + a, x + w, y + h};
    switch (m_shadowPosition) {
    case fcpLowerRight:
        break;
    case fcpLowerLeft:
        shadow = {x, y + a, x + w - a, y + h};
        break;
    case fcpUpperRight:
        shadow = {x + a, y, x + w, y + h - a};
        break;
    case fcpUpperLeft:
        shadow = {x, y, x + w - a, y + h - a};
        break;
    }
    // The shadow is filled one pixel wider to the right and at the bottom,
    // which only matters where that stays inside the object.
    ++shadow.Right;
    ++shadow.Bottom;
    return Intersected(shadow, TRect::fromQRect(bounds));
}

TGFlatCalendarAttributes FlatCalendarModel::Attributes(const QRect &bounds, float zoom) const
{
    const float z = EffectiveZoom(zoom);
    TGFlatCalendarAttributes a;
    a.backgroundColor = m_backgroundcolor;
    a.titleBackgroundColor = m_titleBGcolor;
    a.month = m_month;
    a.year = m_year;
    a.rect = CalendarRect(bounds, z);
    a.startOfWeek = m_startOfWeek;
    a.calendarBorderStyle = m_calendarBorderStyle;
    a.titleFont = Scaled(m_titleFont, z);
    a.showYear = m_showYear;
    a.dayNameFont = Scaled(m_dayNameFont, z);
    a.dayNameBorderStyle = m_dayNameBorderStyle;
    a.dayNameStyle = m_dayNameStyle;
    a.dayNameBackgroundColor = m_dayNameBGColor;
    a.cellFont = Scaled(m_cellFont, z);
    a.cellBorderStyle = m_cellBorderStyle;
    a.monthNames = Names().months;
    a.dayNames = Names().days;
    a.transparent = m_calTransparent;
    return a;
}

TGFlatCalendarAttributes FlatCalendarModel::Geometry(const QRect &bounds, float zoom) const
{
    TGFlatCalendarAttributes a = Attributes(bounds, zoom);
    FlatCalendarPainter::Layout(a);
    return a;
}

void FlatCalendarModel::Paint(QPainter &painter, const QRect &bounds, float zoom) const
{
    if (bounds.isEmpty() || !UsableZoom(zoom))
        return;
    painter.save();
    painter.setClipRect(bounds, Qt::IntersectClip);
    const TRect shadow = ShadowRect(bounds, zoom);
    if (!shadow.IsEmpty())
        painter.fillRect(shadow.toQRect(), ToQColor(m_shadowColor));
    TGFlatCalendarAttributes attributes = Attributes(bounds, zoom);
    FlatCalendarPainter::DrawCalendar(painter, attributes);
    painter.restore();
}

void FlatCalendarModel::Print(QPainter &painter, const QRectF &deviceRect, double ppiX,
                              double ppiY) const
{
    if (!(ppiX > 0) || !(ppiY > 0) || !deviceRect.isValid())
        return;
    constexpr double maxSide = 32767; // the largest extent of a placed object
    const double width = std::round(deviceRect.width() * ScreenPpi / ppiX);
    const double height = std::round(deviceRect.height() * ScreenPpi / ppiY);
    if (!(width >= 1 && width <= maxSide && height >= 1 && height <= maxSide))
        return;
    painter.save();
    painter.translate(deviceRect.topLeft());
    painter.scale(deviceRect.width() / width, deviceRect.height() / height);
    Paint(painter, QRect(0, 0, int(width), int(height)), 1.0f);
    painter.restore();
}

const IdentifierTable &FlatCalendarModel::BorderStyleIdentifiers()
{
    static const IdentifierTable table{"fcbNone", "fcbAll", "fcbTop", "fcbBottom", "fcbTopBottom"};
    return table;
}

const IdentifierTable &FlatCalendarModel::HeadersStyleIdentifiers()
{
    static const IdentifierTable table{"fdsFirstChar", "fdsThreeChars", "fdsWhole"};
    return table;
}

const IdentifierTable &FlatCalendarModel::ShadowPositionIdentifiers()
{
    static const IdentifierTable table{"fcpLowerRight", "fcpLowerLeft", "fcpUpperRight",
                                       "fcpUpperLeft"};
    return table;
}

const IdentifierTable &FlatCalendarModel::LanguageIdentifiers()
{
    static const IdentifierTable table{"fclEnglish", "fclGerman", "fclFrench", "fclItalian",
                                       "fclSpanish"};
    return table;
}

} // namespace Dayloom
