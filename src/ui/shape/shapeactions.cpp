#include "ui/shape/shapeactions.h"

#include "core/objects/shape/tgshape.h"
#include "core/surface/pagedocument.h"
#include "ui/common/askcolor.h"
#include "ui/surface/tgbasepanel.h"

namespace Dayloom {

namespace {

// Runs the dialog on `color` and, on OK, the edit as one undo step `text`.
bool EditColour(QWidget *parent, PageDocument &document, TGShape &shape, TColor color,
                const QString &text, const ShapeColorDialog &ask,
                const std::function<void(TGShape &, TColor)> &apply)
{
    const std::optional<TColor> chosen = ask(parent, color, text);
    if (!chosen || !document.Contains(&shape))
        return false;
    const int steps = document.UndoStack().index();
    document.EditObject(&shape, text, [&apply, &chosen](TGGraphicControl &object) {
        apply(static_cast<TGShape &>(object), *chosen);
    });
    return document.UndoStack().index() != steps;
}

} // namespace

bool ChooseShapeLineColour(QWidget *parent, PageDocument &document, TGShape &shape,
                           const ShapeColorDialog &ask)
{
    return EditColour(parent, document, shape, shape.PenColor(), QStringLiteral("Line Colour"), ask,
                      [](TGShape &s, TColor color) { s.SetPenColor(color); });
}

bool ChooseShapeFillColour(QWidget *parent, PageDocument &document, TGShape &shape,
                           const ShapeColorDialog &ask)
{
    return EditColour(parent, document, shape, shape.BrushColor(), QStringLiteral("Fill Colour"),
                      ask, [](TGShape &s, TColor color) {
                          s.SetBrushColor(color);
                          s.SetBrushStyle(TGShape::bsSolid);
                      });
}

void RegisterShapeActions(TGBasePanel &panel, ShapeColorDialog ask)
{
    if (!ask)
        ask = [](QWidget *parent, TColor color, const QString &title) {
            return AskColor(parent, color, title);
        };
    const QByteArray kind = TGShape::StoredClassName();
    ObjectKindActions &kinds = panel.KindActions();
    kinds.SetToolButton(kind, {QStringLiteral("DrawShapeButton"), QStringLiteral("dayloom-shape"),
                               QStringLiteral("Shape"),
                               QStringLiteral("Shape tool \rLines, boxes and ellipses")});
    kinds.AddMenuItem(kind, TGShape::LineColourCaption, [&panel, ask](TGGraphicControl &object) {
        if (auto *shape = dynamic_cast<TGShape *>(&object))
            ChooseShapeLineColour(panel.window(), panel.Document(), *shape, ask);
    });
    kinds.AddMenuItem(kind, TGShape::FillColourCaption, [&panel, ask](TGGraphicControl &object) {
        if (auto *shape = dynamic_cast<TGShape *>(&object))
            ChooseShapeFillColour(panel.window(), panel.Document(), *shape, ask);
    });
}

} // namespace Dayloom
