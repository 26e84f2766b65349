#include "core/objects/builtinobjectkinds.h"

#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/image/imagekind.h"
#include "core/objects/richlabel/richlabelkind.h"
#include "core/objects/supertext/supertextkind.h"
#include "core/objects/label/labelkind.h"

namespace Dayloom {

void RegisterBuiltInObjectKinds(ObjectKindRegistry &registry)
{
    RegisterLabelKind(registry);
    RegisterImageKind(registry);
    RegisterFlatCalendarKind(registry);
    RegisterSuperTextKind(registry);
    RegisterRichLabelKind(registry);
}

} // namespace Dayloom
