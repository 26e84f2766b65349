#include "core/formats/calendarsettingsblock.h"

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

bool ReadNames(ValueReader &reader, CalendarPage &page, int count, bool months)
{
    for (int index = 1; index <= count; ++index) {
        const std::optional<QString> name = reader.readString();
        if (!name)
            return false;
        if (months)
            page.SetMonthName(index, *name);
        else
            page.SetDayName(index, *name);
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

void CalendarSettingsBlock::Write(ValueWriter &writer, const CalendarPage &page)
{
    writer.writeInteger(page.PaperSize());
    writer.writeInteger(page.CalendarOrientation());
    writer.writeInteger(MarginToHundredths(page.LeftMarginInch()));
    writer.writeInteger(MarginToHundredths(page.TopMarginInch()));
    writer.writeInteger(MarginToHundredths(page.RightMarginInch()));
    writer.writeInteger(MarginToHundredths(page.BottomMarginInch()));
    writer.writeInteger(page.CalendarLayout());
    writer.writeInteger(page.CalendarBorder());
    writer.writeInteger(page.CalendarLineLayout());
    for (int month = 1; month <= 12; ++month)
        writer.writeString(page.MonthName(month));
    for (int day = 1; day <= 7; ++day)
        writer.writeString(page.DayName(day));
    writer.writeInteger(static_cast<qint32>(page.TitleBGColor()));
    WriteFontRecord(writer, page.TitleFont());
    writer.writeBoolean(page.TitleShowYear());
    WriteFontRecord(writer, page.HeadersFont());
    writer.writeInteger(page.HeadersBorder());
    writer.writeInteger(page.HeadersStyle());
    writer.writeInteger(static_cast<qint32>(page.HeadersBGColor()));
    WriteFontRecord(writer, page.CellFont());
    writer.writeInteger(page.CellBorder());
    writer.writeInteger(page.MiniCalendarLineLayout());
    writer.writeInteger(page.MiniCalBorder());
    writer.writeInteger(static_cast<qint32>(page.MiniCalBGColor()));
    writer.writeBoolean(page.MiniShowYear());
    WriteFontRecord(writer, page.MiniTitleFont());
    WriteFontRecord(writer, page.MiniHeadersFont());
    writer.writeInteger(static_cast<qint32>(page.MiniHeadersBGColor()));
    writer.writeInteger(page.MiniHeadersStyle());
    writer.writeInteger(page.MiniHeadersBorder());
    writer.writeInteger(page.MiniCellBorder());
    WriteFontRecord(writer, page.MiniCellFont());
    writer.writeInteger(page.NumberPosition());
}

bool CalendarSettingsBlock::Read(ValueReader &reader, CalendarPage &page)
{
    CalendarPage &p = page;
    // The outer border is stored before the preset that would overwrite it:
    // it is set once as read and again after the preset.
    TCalBorderStyle calendarBorder = p.CalendarBorder();
    const auto setCalendarBorder = [&](TCalBorderStyle style) {
        calendarBorder = style;
        p.SetCalendarBorder(style);
    };
    return ReadInt(reader, [&](qint32 v) { p.SetPaperSize(v); }) &&
           ReadEnum<TCalendarOrientation>(reader, 2,
                                          [&](auto v) { p.SetCalendarOrientation(v); }) &&
           ReadMargin(reader, [&](float v) { p.SetLeftMarginInch(v); }) &&
           ReadMargin(reader, [&](float v) { p.SetTopMarginInch(v); }) &&
           ReadMargin(reader, [&](float v) { p.SetRightMarginInch(v); }) &&
           ReadMargin(reader, [&](float v) { p.SetBottomMarginInch(v); }) &&
           ReadEnum<TCalendarLayout>(reader, CalendarLayoutCount,
                                     [&](auto v) { p.SetCalendarLayout(v); }) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount, setCalendarBorder) &&
           ReadEnum<TCalendarLineLayout>(reader, LineLayoutCount,
                                         [&](auto v) {
                                             p.SetCalendarLineLayout(v);
                                             p.SetCalendarBorder(calendarBorder);
                                         }) &&
           ReadNames(reader, p, 12, true) && ReadNames(reader, p, 7, false) &&
           ReadColor(reader, [&](TColor c) { p.SetTitleBGColor(c); }) &&
           ReadFont(reader, p.TitleFont(), [&](const FontSpec &f) { p.SetTitleFont(f); }) &&
           ReadBool(reader, [&](bool v) { p.SetTitleShowYear(v); }) &&
           ReadFont(reader, p.HeadersFont(), [&](const FontSpec &f) { p.SetHeadersFont(f); }) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount,
                                     [&](auto v) { p.SetHeadersBorder(v); }) &&
           ReadEnum<TCalHeadersStyle>(reader, HeadersStyleCount,
                                      [&](auto v) { p.SetHeadersStyle(v); }) &&
           ReadColor(reader, [&](TColor c) { p.SetHeadersBGColor(c); }) &&
           ReadFont(reader, p.CellFont(), [&](const FontSpec &f) { p.SetCellFont(f); }) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount,
                                     [&](auto v) { p.SetCellBorder(v); }) &&
           ReadEnum<TMiniCalendarLineLayout>(reader, LineLayoutCount,
                                             [&](auto v) { p.SetMiniCalendarLineLayout(v); }) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount,
                                     [&](auto v) { p.SetMiniCalBorder(v); }) &&
           ReadColor(reader, [&](TColor c) { p.SetMiniCalBGColor(c); }) &&
           ReadBool(reader, [&](bool v) { p.SetMiniShowYear(v); }) &&
           ReadFont(reader, p.MiniTitleFont(), [&](const FontSpec &f) { p.SetMiniTitleFont(f); }) &&
           ReadFont(reader, p.MiniHeadersFont(),
                    [&](const FontSpec &f) { p.SetMiniHeadersFont(f); }) &&
           ReadColor(reader, [&](TColor c) { p.SetMiniHeadersBGColor(c); }) &&
           ReadEnum<TCalHeadersStyle>(reader, HeadersStyleCount,
                                      [&](auto v) { p.SetMiniHeadersStyle(v); }) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount,
                                     [&](auto v) { p.SetMiniHeadersBorder(v); }) &&
           ReadEnum<TCalBorderStyle>(reader, BorderStyleCount,
                                     [&](auto v) { p.SetMiniCellBorder(v); }) &&
           ReadFont(reader, p.MiniCellFont(), [&](const FontSpec &f) { p.SetMiniCellFont(f); }) &&
           ReadEnum<TCalendarNumberPosition>(reader, 2, [&](auto v) { p.SetNumberPosition(v); });
}

} // namespace Dayloom
