#pragma once

#include "core/calendar/calendarsettings.h"
#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"

namespace Dayloom {

class CalendarPage;

// The calendar settings block: the 49 values, in fixed order and without
// names, that hold the look of a page. It opens every calendar file and is
// the body of a style sheet.
//
// Margins are stored in hundredths of an inch, truncated toward zero.
// Reading stores each value into the settings as it is read, so a failure
// leaves the values read before it; the line layouts are stored as values,
// never applied as presets over border styles. Stored enumeration values
// outside their range leave the setting unchanged; margins are kept within
// +/-MaxMarginHundredths.
class CalendarSettingsBlock
{
public:
    static constexpr int MaxMarginHundredths = 10000;

    static void Write(ValueWriter &writer, const CalendarSettings &settings);
    // Returns false on the first value that does not fit (the reader holds
    // the reason).
    static bool Read(ValueReader &reader, CalendarSettings &settings);
    // The same for a page: what was read is applied to it in one step, also
    // after a failure.
    static void Write(ValueWriter &writer, const CalendarPage &page);
    static bool Read(ValueReader &reader, CalendarPage &page);

    // Inches to whole hundredths, truncated toward zero. A value that lies
    // within single-precision noise below a whole hundredth (0.29 is held as
    // 0.2899999917) counts as that hundredth, so saving does not lose one.
    static qint32 MarginToHundredths(float inches);
    static float HundredthsToMargin(qint32 hundredths);
};

} // namespace Dayloom
