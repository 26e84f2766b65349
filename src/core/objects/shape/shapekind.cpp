#include "core/objects/shape/shapekind.h"

#include "core/objects/objectkindregistry.h"
#include "core/objects/shape/tgshape.h"

namespace Dayloom {

void RegisterShapeKind(ObjectKindRegistry &registry)
{
    registry.Register<TGShape>(TGShape::StoredClassName(), psShape);
}

} // namespace Dayloom
