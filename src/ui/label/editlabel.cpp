#include "ui/label/editlabel.h"

#include "core/objects/label/tgplabel.h"
#include "core/surface/pagedocument.h"
#include "ui/label/tgetlabeltext.h"
#include "ui/label/tgfont3deffects.h"
#include "ui/surface/tgbasepanel.h"

namespace Dayloom {

namespace {
// Runs an edit of the label as one undo step; the label settles its size
// within the edit, so the new size is part of the step.
bool Record(PageDocument &document, TGBaseLabel &label, const QString &text,
            const std::function<void(TGBaseLabel &)> &edit)
{
    const int steps = document.UndoStack().index();
    document.EditObject(&label, text, [&edit](TGGraphicControl &object) {
        edit(static_cast<TGBaseLabel &>(object));
    });
    return document.UndoStack().index() != steps;
}
} // namespace

bool EditLabelText(QWidget *parent, PageDocument &document, TGPLabel &label,
                   const LabelDialogServices &services)
{
    TGetLabelText dialog(parent, services.showHelp);
    dialog.SetText(label.Caption());
    if (!services.runDialog(dialog) || !document.Contains(&label))
        return false;
    const QString text = dialog.Text();
    Record(document, label, QStringLiteral("Edit label text"),
           [&text](TGBaseLabel &l) { static_cast<TGPLabel &>(l).TakeEditedText(text); });
    return true;
}

bool ChooseLabelFont(QWidget *parent, PageDocument &document, TGBaseLabel &label,
                     const LabelDialogServices &services)
{
    const std::optional<FontSpec> font =
        services.chooseFont(parent, label.Font(), QStringLiteral("Font"));
    if (!font || !document.Contains(&label))
        return false;
    return Record(document, label, QStringLiteral("Change label font"),
                  [&font](TGBaseLabel &l) { l.TakeChosenFont(*font); });
}

bool EditLabelEffects(QWidget *parent, PageDocument &document, TGBaseLabel &label,
                      const LabelDialogServices &services)
{
    TGFont3DEffects dialog(label, parent, services.showHelp);
    if (!services.runDialog(dialog) || !document.Contains(&label))
        return false;
    return Record(document, label, QStringLiteral("Change 3D effects"),
                  [&dialog](TGBaseLabel &l) { dialog.CopyTo(l); });
}

bool ChooseLabelBackground(QWidget *parent, PageDocument &document, TGBaseLabel &label,
                           const LabelDialogServices &services)
{
    const std::optional<TColor> color =
        services.chooseColor(parent, label.BackColor(), QStringLiteral("Background Color"));
    if (!color || !document.Contains(&label))
        return false;
    return Record(document, label, QStringLiteral("Change background color"),
                  [&color](TGBaseLabel &l) { l.TakeBackgroundColor(*color); });
}

void RegisterLabelActions(TGBasePanel &panel, const LabelDialogServices &services)
{
    ObjectKindActions &kinds = panel.KindActions();
    const QByteArray kind = TGPLabel::StoredClassName();
    const auto asLabel = [](TGGraphicControl &object) { return dynamic_cast<TGPLabel *>(&object); };
    kinds.SetToolButton(kind, {QStringLiteral("DrawLabelButton"), QStringLiteral("draw-text"),
                               QStringLiteral("Label"), QStringLiteral("Label tool")});
    kinds.AddMenuItem(kind, TGBaseLabel::FontCaption,
                      [&panel, services, asLabel](TGGraphicControl &object) {
                          if (TGPLabel *label = asLabel(object))
                              ChooseLabelFont(panel.window(), panel.Document(), *label, services);
                      });
    kinds.AddMenuItem(kind, TGBaseLabel::EffectsCaption,
                      [&panel, services, asLabel](TGGraphicControl &object) {
                          if (TGPLabel *label = asLabel(object))
                              EditLabelEffects(panel.window(), panel.Document(), *label, services);
                      });
    kinds.AddMenuItem(kind, TGBaseLabel::BackgroundColorCaption,
                      [&panel, services, asLabel](TGGraphicControl &object) {
                          if (TGPLabel *label = asLabel(object))
                              ChooseLabelBackground(panel.window(), panel.Document(), *label,
                                                    services);
                      });
    kinds.AddMenuItem(kind, TGPLabel::TextCaption,
                      [&panel, services, asLabel](TGGraphicControl &object) {
                          if (TGPLabel *label = asLabel(object))
                              EditLabelText(panel.window(), panel.Document(), *label, services);
                      });
    kinds.SetCreatedAction(kind, [&panel, services, asLabel](TGGraphicControl &object) {
        TGPLabel *label = asLabel(object);
        if (!label)
            return true;
        const QFont surface = panel.font();
        label->TakeCreationLook(FontSpec(surface.family(), 20));
        return EditLabelText(panel.window(), panel.Document(), *label, services);
    });
}

} // namespace Dayloom
