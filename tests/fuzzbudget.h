#pragma once

#include "core/graphics/picturebudget.h"

namespace Dayloom::Testing {

// The picture budget each fuzz input runs in: below the 64 MB a single
// allocation may take (fuzzsettings.cpp), so that an allocation over that
// limit is one that escaped the budget, whatever the program's own budgets
// allow a real design.
inline constexpr qint64 FuzzPictureBytes = qint64(48) * 1024 * 1024;

} // namespace Dayloom::Testing
