#include "core/objects/builtinobjectkinds.h"

#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/image/imagekind.h"
#include "core/objects/label/labelkind.h"

namespace Dayloom {

void RegisterBuiltInObjectKinds(ObjectKindRegistry &registry)
{
    RegisterLabelKind(registry);
    RegisterImageKind(registry);
    RegisterFlatCalendarKind(registry);
}

} // namespace Dayloom
