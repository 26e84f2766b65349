#include "ui/richlabel/richlabelactions.h"

#include "core/objects/richlabel/tgprichbaselabel.h"
#include "core/surface/pagedocument.h"
#include "ui/app/helpwindow.h"
#include "ui/app/uihelpers.h"
#include "ui/common/askcolor.h"
#include "ui/richlabel/trichtextlabeleditor.h"
#include "ui/surface/tgbasepanel.h"

namespace Dayloom {

RichLabelServices RichLabelServices::standard()
{
    RichLabelServices services;
    services.chooseColor = [](QWidget *parent, TColor color) { return AskColor(parent, color); };
    services.showHelp = HelpWindow::ShowTopicFor;
    services.runEditor = [](TRichTextLabelEditor &editor) {
        return editor.exec() == QDialog::Accepted;
    };
    return services;
}

bool EditRichText(QWidget *parent, PageDocument &document, TGPRichBaseLabel &label,
                  const RichLabelServices &services)
{
    ShowBusyCursor();
    TRichTextLabelEditor editor(parent, services.showHelp);
    editor.LoadFrom(label);
    if (parent)
        CenterForm(&editor, parent->window());
    RestoreCursor();
    if (!services.runEditor(editor) || !document.Contains(&label))
        return false;
    const QByteArray text = editor.RTFText();
    // The label would keep nothing of a longer text (the editor refuses it).
    if (text.size() > TGPRichBaseLabel::MaxRtfSize)
        return true;
    document.EditObject(&label, QStringLiteral("Edit Rich Text"), [&text](TGGraphicControl &o) {
        static_cast<TGPRichBaseLabel &>(o).SetRTFText(text);
    });
    return true;
}

bool ChooseRichLabelBackground(QWidget *parent, PageDocument &document, TGPRichBaseLabel &label,
                               const RichLabelServices &services)
{
    const std::optional<TColor> color = services.chooseColor(parent, label.BGColor());
    if (!color || !document.Contains(&label))
        return false;
    const int steps = document.UndoStack().index();
    document.EditObject(&label, QStringLiteral("Background Color"), [color](TGGraphicControl &o) {
        static_cast<TGPRichBaseLabel &>(o).ChooseBackground(*color);
    });
    return document.UndoStack().index() != steps;
}

void RegisterRichLabelActions(TGBasePanel &panel, const RichLabelServices &services)
{
    const auto edit = [&panel, services](TGGraphicControl &object) {
        auto *label = dynamic_cast<TGPRichBaseLabel *>(&object);
        return !label || EditRichText(panel.window(), panel.Document(), *label, services);
    };
    const auto background = [&panel, services](TGGraphicControl &object) {
        if (auto *label = dynamic_cast<TGPRichBaseLabel *>(&object))
            ChooseRichLabelBackground(panel.window(), panel.Document(), *label, services);
    };
    ObjectKindActions &kinds = panel.KindActions();
    const QByteArray name = TGPRichBaseLabel::StoredClassName();
    kinds.SetToolButton(name, {QStringLiteral("DrawRichText"), QStringLiteral("dayloom-rich-text"),
                               QStringLiteral("Rich Text"),
                               QStringLiteral("Rich Text tool \rMixed fonts, colors and styles")});
    kinds.AddMenuItem(name, QStringLiteral("Background Color"), background);
    kinds.AddMenuItem(name, QStringLiteral("Edit"), edit);
    kinds.SetEditAction(name, edit);
    kinds.SetCreatedAction(name, edit);
}

} // namespace Dayloom
