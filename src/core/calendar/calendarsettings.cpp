#include "core/calendar/calendarsettings.h"

#include <QLocale>

namespace Dayloom {

QString CalendarSettings::MonthName(int index) const
{
    return (index >= 1 && index <= 12) ? monthNames[index - 1] : QString();
}

QString CalendarSettings::DayName(int index) const
{
    return (index >= 1 && index <= 7) ? dayNames[index - 1] : QString();
}

void CalendarSettings::LoadSystemNames()
{
    const QLocale locale = QLocale::system();
    for (int month = 1; month <= 12; ++month)
        monthNames[month - 1] = locale.monthName(month, QLocale::LongFormat);
    for (int day = 1; day <= 7; ++day) {
        const int qtDay = day == 1 ? 7 : day - 1; // Qt counts from Monday
        dayNames[day - 1] = locale.dayName(qtDay, QLocale::LongFormat);
    }
}

int CalendarSettings::FirstWeekday() const
{
    if (extras.firstWeekday >= 3 && extras.firstWeekday <= 7)
        return extras.firstWeekday;
    return startOfWeek == 1 ? 1 : 2;
}

void CalendarSettings::SetFirstWeekday(int weekday)
{
    if (weekday < 1 || weekday > 7)
        return;
    if (weekday <= 2) {
        startOfWeek = weekday;
        extras.firstWeekday = 0;
        return;
    }
    // Tuesday to Thursday lie nearer to Monday, Friday and Saturday to Sunday.
    startOfWeek = weekday <= 5 ? 2 : 1;
    extras.firstWeekday = weekday;
}

bool CalendarSettings::SetLineLayoutPreset(TCalendarLineLayout preset)
{
    if (calendarLineLayout == preset)
        return false;
    calendarLineLayout = preset;
    switch (preset) {
    case llFull:
        calendarBorder = cbAll;
        headersBorder = cbAll;
        break;
    case llHeadersAndCells:
        calendarBorder = cbNone;
        headersBorder = cbAll;
        break;
    case llCellsOnly:
        calendarBorder = cbNone;
        headersBorder = cbNone;
        break;
    }
    cellBorder = cbAll;
    return true;
}

bool CalendarSettings::SetMiniLineLayoutPreset(TMiniCalendarLineLayout preset)
{
    if (miniCalendarLineLayout == preset)
        return false;
    miniCalendarLineLayout = preset;
    switch (preset) {
    case mllFull:
        miniCalBorder = cbAll;
        miniCellBorder = cbAll;
        miniHeadersBorder = cbAll;
        break;
    case mllBoxed:
        miniCalBorder = cbAll;
        miniCellBorder = cbNone;
        miniHeadersBorder = cbTopBottom;
        break;
    case mllMinimal:
        miniCalBorder = cbNone;
        miniCellBorder = cbNone;
        miniHeadersBorder = cbTop;
        break;
    }
    return true;
}

void CalendarSettings::SetMiniFontSizes(int points)
{
    miniTitleFont.SetSize(points);
    const int small = static_cast<int>(points * 0.8);
    miniHeadersFont.SetSize(small);
    miniCellFont.SetSize(small);
}

void CalendarSettings::AssignStyle(const CalendarSettings &source)
{
    CalendarSettings next = source;
    next.numberPosition = numberPosition;
    next.calendarLineLayout = calendarLineLayout;
    next.miniCalendarLineLayout = miniCalendarLineLayout;
    next.calendarBorder = calendarBorder;
    next.headersBorder = headersBorder;
    next.cellBorder = cellBorder;
    next.miniCalBorder = miniCalBorder;
    next.miniHeadersBorder = miniHeadersBorder;
    next.miniCellBorder = miniCellBorder;
    next.SetLineLayoutPreset(source.calendarLineLayout);
    next.SetMiniLineLayoutPreset(source.miniCalendarLineLayout);
    *this = std::move(next);
}

namespace {

// The settings with what SameSettings ignores set to fixed values.
CalendarSettings ComparableLook(CalendarSettings s)
{
    for (FontSpec *font : {&s.titleFont, &s.headersFont, &s.cellFont, &s.miniTitleFont,
                           &s.miniHeadersFont, &s.miniCellFont}) {
        font->SetSize(0);
        // SameLook compares face, style and colour only.
        font->SetCharset(0);
        font->SetPitch(FontSpec::fpDefault);
    }
    s.numberPosition = cnpCenter;
    for (TCalBorderStyle *style : {&s.calendarBorder, &s.headersBorder, &s.cellBorder,
                                   &s.miniCalBorder, &s.miniHeadersBorder, &s.miniCellBorder})
        *style = cbNone;
    return s;
}

} // namespace

bool CalendarSettings::SameSettings(const CalendarSettings &other) const
{
    return ComparableLook(*this) == ComparableLook(other);
}

void CalendarSettings::ApplyDefaultStyle(const QDate &today)
{
    paperSize = 0;
    userTitle.clear();
    calendarLayout = loFCMinisInTitleLS;
    startOfWeek = 1;
    LoadSystemNames();
    mainCalDay = today.day();
    mainCalMonth = today.month();
    mainCalYear = today.year();
    titleBGColor = clWhite;
    headersBGColor = clWhite;
    miniCalBGColor = clWhite;
    miniHeadersBGColor = clWhite;
    miniHeadersFont.SetColor(clBlack);
    miniHeadersStyle = dsFirstChar;
    titleShowYear = true;
    miniShowYear = true;
    leftMarginInch = topMarginInch = rightMarginInch = bottomMarginInch = 0.5f;
    plannerStartTime = QTime(8, 0);
    SetLineLayoutPreset(llFull);
    SetMiniLineLayoutPreset(mllBoxed);
    wmfBorderFile.clear();
    extras = CalendarExtras();
}

} // namespace Dayloom
