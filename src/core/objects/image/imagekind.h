#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers clip art (TGImage) with its tool, psImage.
void RegisterImageKind(ObjectKindRegistry &registry);

} // namespace Dayloom
