#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers the floating calendar (TGFlatCalendar) with its tool,
// psFlatCalendar.
void RegisterFlatCalendarKind(ObjectKindRegistry &registry);

} // namespace Dayloom
