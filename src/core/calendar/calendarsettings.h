#pragma once

#include "core/calendar/calendarextras.h"
#include "core/calendar/calendartypes.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <array>

namespace Dayloom {

// Every setting of one printed calendar page as a plain value: what files
// store, what style sheets carry and what the properties dialog edits. The
// page model (CalendarPage) holds one and signals its changes; everything
// else — layout, drawing, style transfer, comparison — is a function of it.
//
// Margins are in inches; fonts in whole points; colours as stored values.
// The fields have the page class's defaults.
struct CalendarSettings
{
    TCalendarLayout calendarLayout = loFullCalendar;
    // Follows the layout (CalculatePageLayout derives it); stored in files.
    TCalendarOrientation calendarOrientation = coPortrait;
    TCalendarLineLayout calendarLineLayout = llFull;
    TMiniCalendarLineLayout miniCalendarLineLayout = mllFull;

    TColor titleBGColor = clWhite;
    TColor headersBGColor = clWhite;
    TColor miniHeadersBGColor = clWhite;
    TColor miniCalBGColor = clWhite;

    FontSpec titleFont{QStringLiteral("Times New Roman"), 26, true};
    FontSpec headersFont{QStringLiteral("Times New Roman"), 16, true};
    FontSpec cellFont{QStringLiteral("Times New Roman"), 16, true};
    FontSpec miniTitleFont{QStringLiteral("Times New Roman"), 6, true};
    FontSpec miniHeadersFont{QStringLiteral("Times New Roman"), 8, false, clWhite};
    FontSpec miniCellFont{QStringLiteral("Times New Roman"), 6, false};

    float leftMarginInch = 0.25f;
    float topMarginInch = 0.25f;
    float rightMarginInch = 0.25f;
    float bottomMarginInch = 0.25f;

    TCalBorderStyle calendarBorder = cbAll;
    TCalBorderStyle headersBorder = cbAll;
    TCalBorderStyle cellBorder = cbAll;
    TCalBorderStyle miniCalBorder = cbAll;
    TCalBorderStyle miniHeadersBorder = cbBottom;
    TCalBorderStyle miniCellBorder = cbNone;

    bool titleShowYear = true;
    bool miniShowYear = true;
    TCalHeadersStyle headersStyle = dsThreeChars;
    TCalHeadersStyle miniHeadersStyle = dsFirstChar;
    TCalendarNumberPosition numberPosition = cnpUpperRight;

    int mainCalDay = 0;
    int mainCalMonth = 1;
    int mainCalYear = 1997;
    // 1 = weeks start on Sunday; any other value = on Monday.
    int startOfWeek = 1;
    QString userTitle;
    // A bare file name without extension, or empty for no border picture.
    QString wmfBorderFile;

    // 0 = Letter (8.5 x 11 in); any other value = A4 (8.27 x 11.69 in).
    int paperSize = 0;
    QTime plannerStartTime{8, 0};
    // Months January first, days Sunday first.
    std::array<QString, 12> monthNames;
    std::array<QString, 7> dayNames;
    // Any first weekday, week numbers, weekends, red days, moon phases, day
    // counters; stored apart from the fields above (CalendarExtrasRecord).
    CalendarExtras extras;

    bool IsA4() const { return paperSize != 0; }
    bool MondayFirst() const { return startOfWeek != 1; }
    // The weekday (1 = Sunday ... 7 = Saturday) weeks start on: the extras'
    // first weekday when set, else Sunday or Monday as startOfWeek says.
    int FirstWeekday() const;
    // Sunday and Monday go to startOfWeek (1 or 2) and clear the extras'
    // first weekday; Tuesday to Saturday go to the extras, startOfWeek
    // taking the nearer of Sunday and Monday for readers that know no
    // other. Values outside 1-7 are ignored.
    void SetFirstWeekday(int weekday);

    // Month 1-12 / day 1-7; an empty string outside.
    QString MonthName(int index) const;
    QString DayName(int index) const;
    // Long month and day names of the system locale.
    void LoadSystemNames();

    // Applies a line-layout preset to the border styles it governs, only
    // when it differs from the current one; returns whether it did.
    bool SetLineLayoutPreset(TCalendarLineLayout preset);
    bool SetMiniLineLayoutPreset(TMiniCalendarLineLayout preset);
    // MiniTitleFont := points; mini header and cell fonts := 80 %, truncated.
    void SetMiniFontSizes(int points);

    // Takes over the look of another page: everything but the number
    // position and the individual border styles, which follow the
    // line-layout presets taken over. The border name is copied as is.
    void AssignStyle(const CalendarSettings &source);
    // The looser comparison the properties dialog uses to see a change:
    // font sizes, the number position and the individual border styles do
    // not count.
    bool SameSettings(const CalendarSettings &other) const;
    // The default style for a date: Letter landscape month grid with two
    // minis, the system's names, white backgrounds, half-inch margins, full
    // lines with boxed minis, no user title, no border picture and no
    // extras. Fonts other than the mini header colour are kept.
    void ApplyDefaultStyle(const QDate &today);

    friend bool operator==(const CalendarSettings &, const CalendarSettings &) = default;
};

} // namespace Dayloom
