#include "core/objects/richlabel/richlabelkind.h"

#include "core/objects/objectkindregistry.h"
#include "core/objects/richlabel/tgprichbaselabel.h"

namespace Dayloom {

void RegisterRichLabelKind(ObjectKindRegistry &registry)
{
    registry.Register<TGPRichBaseLabel>(TGPRichBaseLabel::StoredClassName(), psRichLabel);
}

} // namespace Dayloom
