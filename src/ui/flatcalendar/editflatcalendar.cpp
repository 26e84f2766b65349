#include "ui/flatcalendar/editflatcalendar.h"

#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/surface/pagedocument.h"
#include "ui/flatcalendar/tflatcalendareditor.h"
#include "ui/surface/tgbasepanel.h"

namespace Dayloom {

bool EditFlatCalendar(QWidget *parent, PageDocument &document, TGFlatCalendar &calendar,
                      const FlatCalendarEditorServices &services)
{
    TFlatCalendarEditor editor(parent, services);
    editor.LoadFrom(calendar);
    if (!services.runEditor(editor) || !document.Contains(&calendar))
        return false;
    const int steps = document.UndoStack().index();
    document.EditObject(&calendar, QStringLiteral("Floating Calendar Properties"),
                        [&editor](TGGraphicControl &object) {
                            editor.SaveTo(static_cast<TGFlatCalendar &>(object));
                        });
    return document.UndoStack().index() != steps;
}

void RegisterFlatCalendarActions(TGBasePanel &panel, const FlatCalendarEditorServices &services)
{
    const auto edit = [&panel, services](TGGraphicControl &object) {
        if (auto *calendar = dynamic_cast<TGFlatCalendar *>(&object))
            EditFlatCalendar(panel.window(), panel.Document(), *calendar, services);
    };
    ObjectKindActions &kinds = panel.KindActions();
    kinds.SetToolButton(
        TGFlatCalendar::StoredClassName(),
        {QStringLiteral("PSpeedButton1"), QStringLiteral("dayloom-floating-calendar"),
         QStringLiteral("Calendar"),
         QStringLiteral("Floating Calendar tool \rMini Calendar that you can place anywhere")});
    kinds.AddMenuItem(TGFlatCalendar::StoredClassName(), QStringLiteral("Properties"), edit);
    kinds.SetEditAction(TGFlatCalendar::StoredClassName(), edit);
}

} // namespace Dayloom
