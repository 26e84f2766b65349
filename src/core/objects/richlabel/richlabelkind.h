#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers rich text labels (TGPRichBaseLabel) with their tool, psRichLabel.
void RegisterRichLabelKind(ObjectKindRegistry &registry);

} // namespace Dayloom
