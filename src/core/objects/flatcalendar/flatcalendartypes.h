#pragma once

// Enumerations of the floating calendar. Files store them by value name
// (`fcbAll`, `fclGerman`, ...); the numeric values follow the declared order.

namespace Dayloom {

// Lines around the whole calendar, around the day-name row, or between the
// day cells.
enum TFlatCalBorderStyle : int
{
    fcbNone = 0,
    fcbAll = 1,
    fcbTop = 2,
    fcbBottom = 3,
    fcbTopBottom = 4
};

// How much of each day name the day-name row shows.
enum TFlatCalHeadersStyle : int
{
    fdsFirstChar = 0,
    fdsThreeChars = 1,
    fdsWhole = 2
};

// The side on which the drop shadow falls.
enum TFlatShadowPosition : int
{
    fcpLowerRight = 0,
    fcpLowerLeft = 1,
    fcpUpperRight = 2,
    fcpUpperLeft = 3,
};

// Month and day names used. Note that Italian comes before Spanish here,
// unlike the order of the properties dialog's language buttons.
enum TFlatCalLanguage : int
{
    fclEnglish = 0,
    fclGerman = 1,
    fclFrench = 2,
    fclItalian = 3,
    fclSpanish = 4,
};

} // namespace Dayloom
