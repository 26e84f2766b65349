#include "core/formats/fontrecord.h"

#include <algorithm>

namespace Dayloom {

void WriteFontRecord(ValueWriter &writer, const FontSpec &font)
{
    writer.writeString(font.Name());
    writer.writeInteger(font.Size());
    writer.writeBoolean(font.Bold());
    writer.writeBoolean(font.Italic());
    writer.writeBoolean(font.Underline());
    writer.writeBoolean(font.StrikeOut());
    writer.writeInteger(static_cast<qint32>(font.Color()));
}

bool ReadFontRecord(ValueReader &reader, FontSpec &font)
{
    const std::optional<QString> name = reader.readString();
    if (!name)
        return false;
    font.SetName(*name);
    const std::optional<qint32> size = reader.readInteger();
    if (!size)
        return false;
    font.SetSize(std::clamp(*size, 1, MaxFontPoints));
    const std::optional<bool> bold = reader.readBoolean();
    if (!bold)
        return false;
    font.SetBold(*bold);
    const std::optional<bool> italic = reader.readBoolean();
    if (!italic)
        return false;
    font.SetItalic(*italic);
    const std::optional<bool> underline = reader.readBoolean();
    if (!underline)
        return false;
    font.SetUnderline(*underline);
    const std::optional<bool> strikeOut = reader.readBoolean();
    if (!strikeOut)
        return false;
    font.SetStrikeOut(*strikeOut);
    const std::optional<qint32> color = reader.readInteger();
    if (!color)
        return false;
    font.SetColor(static_cast<TColor>(*color));
    return true;
}

} // namespace Dayloom
