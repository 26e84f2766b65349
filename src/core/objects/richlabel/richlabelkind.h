#pragma once

#include "core/calendar/calendartypes.h"

namespace Dayloom {

class ObjectKindRegistry;

// The tool that draws a new TGPRichBaseLabel on the page.
inline constexpr TLPanelState psRichLabel{3};

// Registers rich text labels (TGPRichBaseLabel) with their tool, psRichLabel.
void RegisterRichLabelKind(ObjectKindRegistry &registry);

} // namespace Dayloom
