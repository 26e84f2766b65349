#pragma once

#include "ui/supertext/supertextservices.h"

class QWidget;

namespace Dayloom {

class PageDocument;
class TGBasePanel;
class TGSuperText;

// Runs "SuperText Properties" on an object of the document; an Ok that
// changed something is one undo step, "SuperText Properties". True when the
// dialog ended with Ok, whether or not the object changed.
bool EditSuperText(QWidget *parent, PageDocument &document, TGSuperText &text,
                   const SuperTextServices &services = SuperTextServices::standard());

// What the window does with SuperTexts: the tool button ("DrawSuperText"),
// "Font" (scalable faces), "Background Color" and "Properties" in their
// menu, and the properties dialog right after the tool has made one.
void RegisterSuperTextActions(TGBasePanel &panel,
                              const SuperTextServices &services = SuperTextServices::standard());

} // namespace Dayloom
