#include "ui/app/windowobjectkinds.h"

#include "core/app/preferences.h"
#include "ui/flatcalendar/editflatcalendar.h"
#include "ui/image/loadimagefromdisk.h"
#include "ui/label/editlabel.h"
#include "ui/richlabel/richlabelactions.h"
#include "ui/shape/shapeactions.h"
#include "ui/supertext/editsupertext.h"

namespace Dayloom {

void RegisterWindowObjectKinds(TGBasePanel &panel, Preferences &preferences)
{
    RegisterLabelActions(panel);
    RegisterImageActions(panel, preferences.imageFolder);
    RegisterFlatCalendarActions(panel);
    RegisterSuperTextActions(panel);
    RegisterRichLabelActions(panel);
    RegisterShapeActions(panel);
}

} // namespace Dayloom
