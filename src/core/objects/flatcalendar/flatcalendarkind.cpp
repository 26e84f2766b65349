#include "core/objects/flatcalendar/flatcalendarkind.h"

#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/objectkindregistry.h"

namespace Dayloom {

void RegisterFlatCalendarKind(ObjectKindRegistry &registry)
{
    registry.Register<TGFlatCalendar>(TGFlatCalendar::StoredClassName(), psFlatCalendar);
}

} // namespace Dayloom
