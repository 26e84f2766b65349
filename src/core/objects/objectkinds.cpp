#include "core/objects/objectkinds.h"

#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/image/imagekind.h"
#include "core/objects/label/labelkind.h"
#include "core/objects/richlabel/richlabelkind.h"
#include "core/objects/shape/shapekind.h"
#include "core/objects/supertext/supertextkind.h"

namespace Dayloom {

void RegisterObjectKinds(ObjectKindRegistry &registry)
{
    RegisterLabelKind(registry);
    RegisterImageKind(registry);
    RegisterFlatCalendarKind(registry);
    RegisterSuperTextKind(registry);
    RegisterRichLabelKind(registry);
    RegisterShapeKind(registry);
}

} // namespace Dayloom
