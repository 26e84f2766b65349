#pragma once

#include "ui/label/labeldialogservices.h"

class QWidget;

namespace Dayloom {

class PageDocument;
class TGBaseLabel;
class TGBasePanel;
class TGPLabel;

// The label's dialog items. Each opens its dialog on the label's current
// values; OK changes the label as one undo step ("Edit label text",
// "Change label font", "Change 3D effects", "Change background color"),
// Cancel leaves it as it was. EditLabelText returns true when its dialog
// ended with Ok (the text may be the same), the others true when the label
// changed.
bool EditLabelText(QWidget *parent, PageDocument &document, TGPLabel &label,
                   const LabelDialogServices &services = LabelDialogServices::standard());
bool ChooseLabelFont(QWidget *parent, PageDocument &document, TGBaseLabel &label,
                     const LabelDialogServices &services = LabelDialogServices::standard());
bool EditLabelEffects(QWidget *parent, PageDocument &document, TGBaseLabel &label,
                      const LabelDialogServices &services = LabelDialogServices::standard());
bool ChooseLabelBackground(QWidget *parent, PageDocument &document, TGBaseLabel &label,
                           const LabelDialogServices &services = LabelDialogServices::standard());

// Gives the labels of a page their tool button ("DrawLabelButton") and their
// dialog items ("Font", "3D Effects", "Background Color", "Text"), and makes
// a label fresh from the tool look as it should ("Enter text..." in the
// surface's font at 20 points, opaque, framed) before its text dialog opens.
void RegisterLabelActions(TGBasePanel &panel,
                          const LabelDialogServices &services = LabelDialogServices::standard());

} // namespace Dayloom
