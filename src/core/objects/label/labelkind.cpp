#include "core/objects/label/labelkind.h"

#include "core/objects/label/tgplabel.h"
#include "core/objects/objectkindregistry.h"

namespace Dayloom {

void RegisterLabelKind(ObjectKindRegistry &registry)
{
    registry.Register<TGPLabel>(TGPLabel::StoredClassName(), psLabel);
}

} // namespace Dayloom
