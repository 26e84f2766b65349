#pragma once

#include "core/common/fontspec.h"
#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"

namespace Dayloom {

// The seven-value font record of the page's settings: face name (string),
// size in points (integer), bold, italic, underline, strike-out (booleans),
// colour (32-bit integer). Character set and pitch are not part of it.

// Sizes read from a file are kept within 1 to MaxFontPoints points, so that
// a hostile file cannot ask for glyphs of absurd size.
inline constexpr int MaxFontPoints = 1600;

void WriteFontRecord(ValueWriter &writer, const FontSpec &font);
// Assigns each value to `font` as it is read, so that after a failure the
// values read so far are in place. Returns false on a read error.
bool ReadFontRecord(ValueReader &reader, FontSpec &font);

} // namespace Dayloom
