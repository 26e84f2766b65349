#pragma once

#include "core/common/tcolor.h"

#include <QString>

#include <array>

namespace Dayloom {

// The 16 text colours a note editor offers: the classic palette in its usual
// order, black first and white last.
class TextColorTable
{
public:
    static constexpr int Count = 16;

    static const std::array<TColor, Count> &Colors();
    // The colour of entry 0-15; entries outside the table give black.
    static TColor ColorAt(int index);
    static QString NameAt(int index);
    // The last entry equal to the colour (system colours resolved first),
    // or -1 when the table does not hold it.
    static int IndexOf(TColor color);
    // IndexOf, with entry 0 when the table does not hold the colour.
    static int IndexOrFirst(TColor color);
};

} // namespace Dayloom
