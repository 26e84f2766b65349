#pragma once

#include "core/calendar/calendartypes.h"

namespace Dayloom {

class ObjectKindRegistry;

// The tool that draws a new TGImage on the page.
inline constexpr TLPanelState psImage{2};

// Registers clip art (TGImage) with its tool, psImage.
void RegisterImageKind(ObjectKindRegistry &registry);

} // namespace Dayloom
