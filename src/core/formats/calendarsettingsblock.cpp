#include "core/formats/calendarsettingsblock.h"

#include "core/calendar/calendarpage.h"
#include "core/formats/fontrecord.h"

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {

// Single-precision margins carry about 7 significant digits; this is well
// below any hundredth a person can type and well above the rounding noise.
constexpr double HundredthSnap = 1e-3;

template <typename Assign> bool ReadInt(ValueReader &reader, Assign assign)
{
    const std::optional<qint32> value = reader.readInteger();
    if (!value)
        return false;
    assign(*value);
    return true;
}

// An enumeration stored as its integer; out-of-range values are ignored.
template <typename E, typename Assign> bool ReadEnum(ValueReader &reader, int count, Assign assign)
{
    return ReadInt(reader, [&](qint32 value) {
        if (value >= 0 && value < count)
            assign(static_cast<E>(value));
    });
}

template <typename Assign> bool ReadBool(ValueReader &reader, Assign assign)
{
    const std::optional<bool> value = reader.readBoolean();
    if (!value)
        return false;
    assign(*value);
    return true;
}

template <typename Assign> bool ReadColor(ValueReader &reader, Assign assign)
{
    return ReadInt(reader, [&](qint32 value) { assign(static_cast<TColor>(value)); });
}

template <typename Assign> bool ReadMargin(ValueReader &reader, Assign assign)
{
    return ReadInt(reader, [&](qint32 value) {
        const qint32 bounded = std::clamp(value, -CalendarSettingsBlock::MaxMarginHundredths,
                                          CalendarSettingsBlock::MaxMarginHundredths);
        assign(CalendarSettingsBlock::HundredthsToMargin(bounded));
    });
}

// Reads into a copy of the page's font and hands it back even after a
// failure, so that the values read so far are kept.
template <typename Assign> bool ReadFont(ValueReader &reader, FontSpec font, Assign assign)
{
    const bool ok = ReadFontRecord(reader, font);
    assign(font);
    return ok;
}

template <size_t N> bool ReadNames(ValueReader &reader, std::array<QString, N> &names)
{
    for (QString &name : names) {
        std::optional<QString> value = reader.readString();
        if (!value)
            return false;
        name = std::move(*value);
    }
    return true;
}

constexpr int BorderStyleCount = 5;
constexpr int HeadersStyleCount = 3;
constexpr int LineLayoutCount = 3;

} // namespace

qint32 CalendarSettingsBlock::MarginToHundredths(float inches)
{
    const double bound = MaxMarginHundredths;
    const double exact = std::clamp(static_cast<double>(inches) * 100.0, -bound, bound);
    if (std::isnan(exact))
        return 0;
    const double nearest = std::round(exact);
    if (std::fabs(exact - nearest) < HundredthSnap)
        return static_cast<qint32>(nearest);
    return static_cast<qint32>(std::trunc(exact));
}

float CalendarSettingsBlock::HundredthsToMargin(qint32 hundredths)
{
    return static_cast<float>(hundredths * 0.01);
}

void CalendarSettingsBlock::Write(ValueWriter &writer, const CalendarSettings &s)
{
    writer.writeInteger(s.paperSize);
    writer.writeInteger(s.calendarOrientation);
    writer.writeInteger(MarginToHundredths(s.leftMarginInch));
    writer.writeInteger(MarginToHundredths(s.topMarginInch));
    writer.writeInteger(MarginToHundredths(s.rightMarginInch));
    writer.writeInteger(MarginToHundredths(s.bottomMarginInch));
    writer.writeInteger(s.calendarLayout);
    writer.writeInteger(s.calendarBorder);
    writer.writeInteger(s.calendarLineLayout);
    for (const QString &name : s.monthNames)
        writer.writeString(name);
    for (const QString &name : s.dayNames)
        writer.writeString(name);
    writer.writeInteger(static_cast<qint32>(s.titleBGColor));
    WriteFontRecord(writer, s.titleFont);
    writer.writeBoolean(s.titleShowYear);
    WriteFontRecord(writer, s.headersFont);
    writer.writeInteger(s.headersBorder);
    writer.writeInteger(s.headersStyle);
    writer.writeInteger(static_cast<qint32>(s.headersBGColor));
    WriteFontRecord(writer, s.cellFont);
    writer.writeInteger(s.cellBorder);
    writer.writeInteger(s.miniCalendarLineLayout);
    writer.writeInteger(s.miniCalBorder);
    writer.writeInteger(static_cast<qint32>(s.miniCalBGColor));
    writer.writeBoolean(s.miniShowYear);
    WriteFontRecord(writer, s.miniTitleFont);
    WriteFontRecord(writer, s.miniHeadersFont);
    writer.writeInteger(static_cast<qint32>(s.miniHeadersBGColor));
    writer.writeInteger(s.miniHeadersStyle);
    writer.writeInteger(s.miniHeadersBorder);
    writer.writeInteger(s.miniCellBorder);
    WriteFontRecord(writer, s.miniCellFont);
    writer.writeInteger(s.numberPosition);
}

bool CalendarSettingsBlock::Read(ValueReader &reader, CalendarSettings &s)
{
    // Every value is stored as read, the line layouts too: the individual
    // border styles are stored beside them, so applying a preset would only
    // change borders a cut-off block never reached.
    const auto into = [](auto &field) { return [&field](auto value) { field = value; }; };
    return ReadInt(reader, into(s.paperSize)) &&
           ReadEnum<TCalendarOrientation>(reader, 2, into(s.calendarOrientation)) &&
           ReadMargin(reader, into(s.leftMarginInch)) &&
           ReadMargin(reader, into(s.topMarginInch)) &&
           ReadMargin(reader, into(s.rightMarginInch)) &&
           ReadMargin(reader, into(s.bottomMarginInch)) &&
           ReadEnum<TCalendarLayout>(reader, CalendarLayoutCount, into(s.calendarLayout)) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, into(s.calendarBorder)) &&
           ReadEnum<TCalendarLineLayout>(reader, LineLayoutCount, into(s.calendarLineLayout)) &&
           ReadNames(reader, s.monthNames) && ReadNames(reader, s.dayNames) &&
           ReadColor(reader, into(s.titleBGColor)) &&
           ReadFont(reader, s.titleFont, into(s.titleFont)) &&
           ReadBool(reader, into(s.titleShowYear)) &&
           ReadFont(reader, s.headersFont, into(s.headersFont)) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, into(s.headersBorder)) &&
           ReadEnum<TCalHeadersStyle>(reader, HeadersStyleCount, into(s.headersStyle)) &&
           ReadColor(reader, into(s.headersBGColor)) &&
           ReadFont(reader, s.cellFont, into(s.cellFont)) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, into(s.cellBorder)) &&
           ReadEnum<TMiniCalendarLineLayout>(reader, LineLayoutCount,
                                             into(s.miniCalendarLineLayout)) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, into(s.miniCalBorder)) &&
           ReadColor(reader, into(s.miniCalBGColor)) && ReadBool(reader, into(s.miniShowYear)) &&
           ReadFont(reader, s.miniTitleFont, into(s.miniTitleFont)) &&
           ReadFont(reader, s.miniHeadersFont, into(s.miniHeadersFont)) &&
           ReadColor(reader, into(s.miniHeadersBGColor)) &&
           ReadEnum<TCalHeadersStyle>(reader, HeadersStyleCount, into(s.miniHeadersStyle)) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, into(s.miniHeadersBorder)) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, into(s.miniCellBorder)) &&
           ReadFont(reader, s.miniCellFont, into(s.miniCellFont)) &&
           ReadEnum<TCalendarNumberPosition>(reader, 2, into(s.numberPosition));
}

void CalendarSettingsBlock::Write(ValueWriter &writer, const CalendarPage &page)
{
    Write(writer, page.Settings());
}

bool CalendarSettingsBlock::Read(ValueReader &reader, CalendarPage &page)
{
    CalendarSettings settings = page.Settings();
    const bool ok = Read(reader, settings);
    page.SetSettings(settings);
    return ok;
}

} // namespace Dayloom
