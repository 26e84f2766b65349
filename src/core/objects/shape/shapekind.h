#pragma once

#include "core/calendar/calendartypes.h"

namespace Dayloom {

class ObjectKindRegistry;

// The tool that draws a new TGShape on the page.
inline constexpr TLPanelState psShape{6};

// Registers drawn shapes (TGShape) with their tool, psShape.
void RegisterShapeKind(ObjectKindRegistry &registry);

} // namespace Dayloom
