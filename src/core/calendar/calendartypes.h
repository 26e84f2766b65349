#pragma once

// Enumerations of the calendar page. The numeric values are stored in
// calendar files and style sheets: never reorder them.

namespace Dayloom {

enum TCalendarLayout : int
{
    loFullCalendar = 0,
    LOFullCalendarLS = 1,
    loFCMinisInTitle = 2,
    loFCMinisInTitleLS = 3,
    loFC6Before6After = 4,
    loFC6Before6AfterLS = 5,
    loFC12After = 6,
    loFC12AfterLS = 7,
    lopMC6Month = 8,
    lopMC6MonthLS = 9,
    loMC12Month = 10,
    loMC12MonthLS = 11,
    loMC24Month = 12,
    loMC24MonthLS = 13,
    loMC48Month = 14,
    loMC48MonthLS = 15,
    loMC60Month = 16,
    loMC60MonthLS = 17,
    loWeek = 18,
    lo2Week = 19,
    loDay10 = 20,
    loDay15 = 21,
};
inline constexpr int CalendarLayoutCount = 22;

// The day cells of a page, each with its note: six weeks of seven days.
inline constexpr int CalendarCellCount = 42;

enum TCalendarOrientation : int
{
    coPortrait = 0,
    coLandscape = 1
};

enum TCalendarLineLayout : int
{
    llFull = 0,
    llHeadersAndCells = 1,
    llCellsOnly = 2
};

enum TMiniCalendarLineLayout : int
{
    mllFull = 0,
    mllBoxed = 1,
    mllMinimal = 2
};

enum TCalBorderStyle : int
{
    cbNone = 0,
    cbAll = 1,
    cbTop = 2,
    cbBottom = 3,
    cbTopBottom = 4
};

enum TCalHeadersStyle : int
{
    dsFirstChar = 0,
    dsThreeChars = 1,
    dsWhole = 2
};

enum TCalendarNumberPosition : int
{
    cnpCenter = 0,
    cnpUpperRight = 1
};

// The page's current tool. psPointing selects and moves placed objects; any
// other value is the tool of one kind of placed object, which the kind's
// registration names in its own header (psLabel = 1 in labelkind.h ...) and
// gives to the ObjectKindRegistry. The page only tells pointing from drawing.
enum TLPanelState : int
{
    psPointing = 0,
};

} // namespace Dayloom
