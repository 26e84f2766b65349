#pragma once

#include "core/common/tcolor.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Dayloom {

class PageDocument;
class TGBasePanel;
class TGShape;

// The colour dialog the shape's items open, on a colour and with a title;
// nothing when cancelled. AskColor by default; tests hand in their own.
using ShapeColorDialog =
    std::function<std::optional<TColor>(QWidget *parent, TColor color, const QString &title)>;

// "Line Colour...": the colour dialog on the shape's pen colour; OK makes it
// the pen's colour as the one undo step "Line Colour". True when the shape
// changed.
bool ChooseShapeLineColour(QWidget *parent, PageDocument &document, TGShape &shape,
                           const ShapeColorDialog &ask);
// "Fill Colour...": the dialog on the brush colour; OK fills the shape with
// the colour as the one undo step "Fill Colour".
bool ChooseShapeFillColour(QWidget *parent, PageDocument &document, TGShape &shape,
                           const ShapeColorDialog &ask);

// Gives the shapes of a page their tool button and their two colour items;
// their other items are the shape's own (TGShape::MenuEntries).
void RegisterShapeActions(TGBasePanel &panel, ShapeColorDialog ask = {});

} // namespace Dayloom
