#include "core/objects/builtinobjectkinds.h"

#include "core/objects/flatcalendar/flatcalendarkind.h"

namespace Dayloom {

void RegisterBuiltInObjectKinds(ObjectKindRegistry &registry)
{
    RegisterFlatCalendarKind(registry);
}

} // namespace Dayloom
