#include "core/calendar/pagelayout.h"

namespace Dayloom {

namespace {

// Inches to pixels, truncated toward zero.
int Px(float inches)
{
    return static_cast<int>(PageLayout::PPI * static_cast<double>(inches));
}

// A margin plus a fixed band, held in single precision before conversion.
float Plus(float margin, double inches)
{
    return static_cast<float>(static_cast<double>(margin) + inches);
}

bool IsLandscapeLayout(TCalendarLayout layout)
{
    return layout >= LOFullCalendarLS && layout <= loMC60MonthLS && (layout % 2) == 1;
}

struct SheetGrid
{
    int rows;
    int columns;
    int count;
    int miniTitlePoints;
};

// Mini-calendar sheets (layouts 8-17): portrait grid, count, mini title size.
SheetGrid MiniSheetGrid(TCalendarLayout layout)
{
    switch (layout) {
    case lopMC6Month:
    case lopMC6MonthLS:
        return {3, 2, 6, 18};
    case loMC12Month:
    case loMC12MonthLS:
        return {4, 3, 12, 18};
    case loMC24Month:
    case loMC24MonthLS:
        return {6, 4, 24, 12};
    case loMC48Month:
    case loMC48MonthLS:
        return {8, 6, 48, 10};
    default:
        return {10, 6, 60, 8};
    }
}

} // namespace

TRect PageLayout::MiniRect(int index) const
{
    return (index >= 1 && index <= MaxMinis) ? miniRects[index - 1] : TRect{};
}

MonthYear PageLayout::MiniMonth(int index) const
{
    return (index >= 1 && index <= MaxMinis) ? miniMonths[index - 1] : MonthYear{};
}

void PageLayout::DistributeRects(int rows, int columns, int lastIndex, int firstIndex,
                                 const TRect &area)
{
    if (rows <= 0 || columns <= 0)
        return;
    const int gapV = area.Height() / 100;
    const int gapH = area.Width() / 100;
    const int cellH = (area.Height() - gapV * (rows - 1)) / rows;
    const int cellW = (area.Width() - gapH * (columns - 1)) / columns;
    int index = firstIndex;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (index > lastIndex || index < 1 || index > MaxMinis)
                return;
            TRect &r = miniRects[index - 1];
            r.Left =
                column == columns - 1 ? area.Right - cellW : area.Left + column * (gapH + cellW);
            r.Top = row == rows - 1 ? area.Bottom - cellH : area.Top + row * (gapV + cellH);
            r.Right = r.Left + cellW;
            r.Bottom = r.Top + cellH;
            ++index;
        }
    }
}

namespace {

// The main grid gives a sixteenth of its width to the numbers, about half a
// day column; a mini's numbers, in a font hardly smaller than its days, a
// tenth.
void SetWeekColumns(PageLayout &layout)
{
    if (layout.hasMainCalendar)
        layout.mainWeekColumn = layout.mainRect.Width() / 16;
    if (layout.hasMiniCalendars && layout.miniCount > 0)
        layout.miniWeekColumn = layout.miniRects[0].Width() / 10;
}

} // namespace

PageLayout CalculatePageLayout(const CalendarSettings &s)
{
    PageLayout out;
    const double border = s.wmfBorderFile.isEmpty() ? 0.0 : PageLayout::BorderAllowance;
    const float L = Plus(s.leftMarginInch, border);
    const float T = Plus(s.topMarginInch, border);
    const float R = Plus(s.rightMarginInch, border);
    const float B = Plus(s.bottomMarginInch, border);

    const TCalendarLayout layout = s.calendarLayout;
    out.orientation = IsLandscapeLayout(layout) ? coLandscape : coPortrait;
    const double shortSide = s.IsA4() ? 8.27 : 8.5;
    const double longSide = s.IsA4() ? 11.69 : 11.0;
    const bool landscape = out.orientation == coLandscape;
    out.pageWidth = static_cast<int>(PageLayout::PPI * (landscape ? longSide : shortSide));
    out.pageHeight = static_cast<int>(PageLayout::PPI * (landscape ? shortSide : longSide));
    const int W = out.pageWidth;
    const int H = out.pageHeight;

    out.printableRect = {Px(s.leftMarginInch), Px(s.topMarginInch), W - Px(s.rightMarginInch),
                         H - Px(s.bottomMarginInch)};
    const TRect standard{Px(L) + 2, Px(T) + 2, W - Px(R) - 2, H - Px(B) - 2};

    auto fillMiniMonths = [&out, &s](auto shiftOfIndex) {
        for (int i = 1; i <= out.miniCount; ++i)
            out.miniMonths[i - 1] =
                CalendarDates::ShiftMonth(s.mainCalMonth, s.mainCalYear, shiftOfIndex(i));
    };

    out.hasMainCalendar = layout <= loFC12AfterLS;
    out.hasMiniCalendars = layout >= loFCMinisInTitle && layout <= loMC60MonthLS;
    out.isPlanner = layout >= loWeek;

    switch (layout) {
    case loFullCalendar:
    case LOFullCalendarLS:
    case loWeek:
    case lo2Week:
    case loDay10:
    case loDay15:
        out.mainRect = standard;
        break;
    case loFCMinisInTitle:
    case loFCMinisInTitleLS: {
        out.mainRect = standard;
        const int side = static_cast<int>(PageLayout::PPI * 1.5);
        const int inset = PageLayout::PPI / 8;
        const TRect &m = out.mainRect;
        out.miniRects[0] = {m.Left + inset, m.Top + inset, m.Left + side - inset,
                            m.Top + side - inset};
        out.miniRects[1] = {m.Right - side + inset, m.Top + inset, m.Right - inset,
                            m.Top + side - inset};
        out.miniCount = 2;
        fillMiniMonths([](int i) { return i == 1 ? -1 : 1; });
        out.miniTitlePoints = 10;
        break;
    }
    case loFC6Before6After:
        out.mainRect = {Px(L) + 2, Px(Plus(T, 1.3)) + 2, W - Px(R) - 2, H - Px(Plus(B, 1.3)) - 2};
        out.DistributeRects(1, 6, 6, 1,
                            {Px(L) + 2, Px(T) + 2, W - Px(R) - 2, Px(Plus(T, 1.3)) - 2});
        out.DistributeRects(1, 6, 12, 7,
                            {Px(L) + 2, H - Px(Plus(B, 1.3)) + 2, W - Px(R) - 2, H - Px(B) - 2});
        out.miniCount = 12;
        fillMiniMonths([](int i) { return i <= 6 ? i - 7 : i - 6; });
        out.miniTitlePoints = 10;
        break;
    case loFC6Before6AfterLS:
        out.mainRect = {Px(Plus(L, 1.3)) + 4, Px(T) + 2, W - Px(Plus(R, 1.3)) - 4, H - Px(B) - 2};
        out.DistributeRects(6, 1, 6, 1, {Px(L) + 2, Px(T) + 2, Px(Plus(L, 1.3)), H - Px(B) - 2});
        out.DistributeRects(6, 1, 12, 7,
                            {W - Px(Plus(R, 1.3)) + 2, Px(T) + 2, W - Px(R) - 2, H - Px(B) - 2});
        out.miniCount = 12;
        fillMiniMonths([](int i) { return i <= 6 ? i - 7 : i - 6; });
        out.miniTitlePoints = 10;
        break;
    case loFC12After:
        out.mainRect = {Px(L) + 2, Px(T) + 2, W - Px(R) - 2, H - Px(Plus(B, 2.9)) - 2};
        out.DistributeRects(2, 6, 12, 1,
                            {Px(L) + 2, H - Px(Plus(B, 2.8)) + 2, W - Px(R) - 2, H - Px(B) - 4});
        out.miniCount = 12;
        fillMiniMonths([](int i) { return i; });
        out.miniTitlePoints = 10;
        break;
    case loFC12AfterLS:
        out.mainRect = {Px(L) + 2, Px(T) + 2, W - Px(Plus(R, 2.9)) + 8, H - Px(B) - 2};
        out.DistributeRects(6, 2, 12, 1,
                            {W - Px(Plus(R, 2.8)) + 2, Px(T) + 2, W - Px(R) - 4, H - Px(B) - 2});
        out.miniCount = 12;
        fillMiniMonths([](int i) { return i; });
        out.miniTitlePoints = 10;
        break;
    default: { // mini-calendar sheets; the main rectangle is not used
        const SheetGrid grid = MiniSheetGrid(layout);
        const int rows = landscape ? grid.columns : grid.rows;
        const int columns = landscape ? grid.rows : grid.columns;
        out.DistributeRects(rows, columns, grid.count, 1, standard);
        out.miniCount = grid.count;
        fillMiniMonths([](int i) { return i - 1; });
        out.miniTitlePoints = grid.miniTitlePoints;
        break;
    }
    }
    if (s.extras.weekNumbers != WeekNumbering::None)
        SetWeekColumns(out);
    return out;
}

} // namespace Dayloom
