#include "core/objects/supertext/supertextkind.h"

#include "core/objects/objectkindregistry.h"
#include "core/objects/supertext/tgsupertext.h"

namespace Dayloom {

void RegisterSuperTextKind(ObjectKindRegistry &registry)
{
    registry.Register<TGSuperText>(
        TGSuperText::StoredClassName(), psSuperText, QStringLiteral("SuperText"),
        QStringLiteral("SuperText tool \rSpecial Effects Text - fill with gradients or bitmaps"));
}

} // namespace Dayloom
