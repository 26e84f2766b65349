#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers the placed label (TGPLabel) with its tool, psLabel.
void RegisterLabelKind(ObjectKindRegistry &registry);

} // namespace Dayloom
