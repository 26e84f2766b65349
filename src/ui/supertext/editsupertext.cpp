#include "ui/supertext/editsupertext.h"

#include "core/objects/supertext/tgsupertext.h"
#include "core/surface/pagedocument.h"
#include "ui/supertext/tsupertextproperties.h"
#include "ui/surface/tgbasepanel.h"

namespace Dayloom {

bool EditSuperText(QWidget *parent, PageDocument &document, TGSuperText &text,
                   const SuperTextServices &services)
{
    TSuperTextProperties dialog(parent, services);
    dialog.LoadFrom(text);
    if (!services.runEditor || !services.runEditor(dialog) || !document.Contains(&text))
        return false;
    document.EditObject(
        &text, QStringLiteral("SuperText Properties"),
        [&dialog](TGGraphicControl &object) { dialog.SaveTo(static_cast<TGSuperText &>(object)); });
    return true;
}

void RegisterSuperTextActions(TGBasePanel &panel, const SuperTextServices &services)
{
    const QByteArray kind = TGSuperText::StoredClassName();
    const auto properties = [&panel, services](TGGraphicControl &object) {
        auto *text = dynamic_cast<TGSuperText *>(&object);
        return !text || EditSuperText(panel.window(), panel.Document(), *text, services);
    };
    const auto font = [&panel, services](TGGraphicControl &object) {
        auto *text = dynamic_cast<TGSuperText *>(&object);
        if (!text || !services.chooseFont)
            return;
        if (const std::optional<FontSpec> chosen =
                services.chooseFont(panel.window(), text->Font(), QStringLiteral("Font"))) {
            panel.Document().EditObject(text, QStringLiteral("Font"),
                                        [&chosen](TGGraphicControl &o) { o.ApplyFont(*chosen); });
        }
    };
    const auto background = [&panel, services](TGGraphicControl &object) {
        auto *text = dynamic_cast<TGSuperText *>(&object);
        if (!text || !services.chooseColor)
            return;
        if (const std::optional<TColor> color = services.chooseColor(
                panel.window(), text->BGColor(), QStringLiteral("Background Color"))) {
            panel.Document().EditObject(text, QStringLiteral("Background Color"),
                                        [&color](TGGraphicControl &o) {
                                            auto &t = static_cast<TGSuperText &>(o);
                                            t.SetBGColor(*color);
                                            t.SetControlTransparent(false);
                                        });
        }
    };
    ObjectKindActions &actions = panel.KindActions();
    actions.SetToolButton(
        kind,
        {QStringLiteral("DrawSuperText"), QStringLiteral("dayloom-supertext"),
         QStringLiteral("SuperText"),
         QStringLiteral("SuperText tool \rSpecial Effects Text - fill with gradients or bitmaps")});
    actions.AddMenuItem(kind, QStringLiteral("Font"), font);
    actions.AddMenuItem(kind, QStringLiteral("Background Color"), background);
    actions.AddMenuItem(kind, QStringLiteral("Properties"), properties);
    actions.SetCreatedAction(kind, properties);
}

} // namespace Dayloom
