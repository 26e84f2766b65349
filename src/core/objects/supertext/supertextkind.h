#pragma once

#include "core/calendar/calendartypes.h"

namespace Dayloom {

class ObjectKindRegistry;

// The tool that draws a new TGSuperText on the page.
inline constexpr TLPanelState psSuperText{4};

// Registers special-effect text (TGSuperText) with its tool, psSuperText;
// its letters print as paths, which keeps printers busy.
void RegisterSuperTextKind(ObjectKindRegistry &registry);

} // namespace Dayloom
