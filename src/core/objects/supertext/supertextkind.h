#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers special-effect text (TGSuperText) and its tool.
void RegisterSuperTextKind(ObjectKindRegistry &registry);

} // namespace Dayloom
