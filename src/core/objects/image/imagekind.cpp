#include "core/objects/image/imagekind.h"

#include "core/objects/image/tgimage.h"
#include "core/objects/objectkindregistry.h"

namespace Dayloom {

void RegisterImageKind(ObjectKindRegistry &registry)
{
    registry.Register<TGImage>(TGImage::StoredClassName(), psImage);
}

} // namespace Dayloom
