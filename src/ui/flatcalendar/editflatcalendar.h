#pragma once

#include "ui/flatcalendar/flatcalendareditorservices.h"

class QWidget;

namespace Dayloom {

class PageDocument;
class TGBasePanel;
class TGFlatCalendar;

// "Properties" of a floating calendar on the page: the editor opens on a
// copy of its properties at its size at zoom 1. Ok copies them back as the
// one undo step "Floating Calendar Properties" (none when nothing changed;
// the object keeps its size); Cancel leaves the calendar as it was. True
// when the calendar changed.
bool EditFlatCalendar(
    QWidget *parent, PageDocument &document, TGFlatCalendar &calendar,
    const FlatCalendarEditorServices &services = FlatCalendarEditorServices::standard());

// Gives the floating calendars of a page their tool button
// ("PSpeedButton1") and their "Properties" menu item, and opens the same
// editor on a double-click.
void RegisterFlatCalendarActions(TGBasePanel &panel, const FlatCalendarEditorServices &services =
                                                         FlatCalendarEditorServices::standard());

} // namespace Dayloom
