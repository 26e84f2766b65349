#include "core/objects/supertext/supertextkind.h"

#include "core/objects/objectkindregistry.h"
#include "core/objects/supertext/tgsupertext.h"

namespace Dayloom {

void RegisterSuperTextKind(ObjectKindRegistry &registry)
{
    registry.Register<TGSuperText>(TGSuperText::StoredClassName(), psSuperText, true);
}

} // namespace Dayloom
