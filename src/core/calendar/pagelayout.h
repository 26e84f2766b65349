#pragma once

#include "core/calendar/calendardates.h"
#include "core/calendar/calendarsettings.h"
#include "core/common/trect.h"

#include <array>

namespace Dayloom {

// The division of a page for its layout, in pixels of the unzoomed page at
// 96 pixels per inch: a pure function of the settings (CalculatePageLayout).
struct PageLayout
{
    static constexpr int PPI = 96;
    static constexpr int MaxMinis = 60;
    // Extra margin, in inches, that a border picture adds on every side.
    static constexpr double BorderAllowance = 0.47;

    TCalendarOrientation orientation = coPortrait;
    int pageWidth = 0;
    int pageHeight = 0;
    // The page inside the margins, without the border allowance: where the
    // border picture is stretched.
    TRect printableRect;
    // The month grid or planner.
    TRect mainRect;
    bool hasMainCalendar = true;
    bool hasMiniCalendars = false;
    bool isPlanner = false;
    int miniCount = 0;
    std::array<TRect, MaxMinis> miniRects{};
    std::array<MonthYear, MaxMinis> miniMonths{};
    // The mini title size in points the layout suggests (0: none).
    int miniTitlePoints = 0;
    // Widths of the week-number column at the left of the main month grid
    // and of each mini calendar, a fixed share of their rectangle's width
    // (0 without week numbers): the days keep the rest, and every layout
    // its proportions.
    int mainWeekColumn = 0;
    int miniWeekColumn = 0;

    // Index 1-60; a zero rectangle / January 1997 outside that range.
    TRect MiniRect(int index) const;
    MonthYear MiniMonth(int index) const;

    // Lays out mini calendars firstIndex..lastIndex row by row in a grid
    // over the area, with gaps of 1 % of its size; the last row and column
    // end flush with the area. Stops at lastIndex (later slots keep their
    // rectangles).
    void DistributeRects(int rows, int columns, int lastIndex, int firstIndex, const TRect &area);
};

// The layout of the page the settings describe. Every inch-to-pixel
// conversion truncates toward zero; margin sums are held in single precision.
PageLayout CalculatePageLayout(const CalendarSettings &settings);

} // namespace Dayloom
