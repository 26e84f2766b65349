#pragma once

#include "core/calendar/calendartypes.h"

namespace Dayloom {

class ObjectKindRegistry;

// The tool that draws a new TGPLabel on the page.
inline constexpr TLPanelState psLabel{1};

// Registers the placed label (TGPLabel) with its tool, psLabel.
void RegisterLabelKind(ObjectKindRegistry &registry);

} // namespace Dayloom
