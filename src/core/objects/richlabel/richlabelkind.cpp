#include "core/objects/richlabel/richlabelkind.h"

#include "core/objects/objectkindregistry.h"
#include "core/objects/richlabel/tgprichbaselabel.h"

namespace Dayloom {

void RegisterRichLabelKind(ObjectKindRegistry &registry)
{
    registry.Register<TGPRichBaseLabel>(
        TGPRichBaseLabel::StoredClassName(), psRichLabel, QStringLiteral("Rich Text"),
        QStringLiteral("Rich Text tool \rMixed fonts, colors and styles"));
}

} // namespace Dayloom
