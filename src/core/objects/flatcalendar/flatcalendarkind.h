#pragma once

#include "core/calendar/calendartypes.h"

namespace Dayloom {

class ObjectKindRegistry;

// The tool that draws a new TGFlatCalendar on the page.
inline constexpr TLPanelState psFlatCalendar{5};

// Registers the floating calendar (TGFlatCalendar) with its tool,
// psFlatCalendar.
void RegisterFlatCalendarKind(ObjectKindRegistry &registry);

} // namespace Dayloom
