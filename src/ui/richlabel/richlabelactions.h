#pragma once

#include "core/common/tcolor.h"

#include <functional>
#include <optional>

class QWidget;

namespace Dayloom {

class PageDocument;
class TGBasePanel;
class TGPRichBaseLabel;
class TRichTextLabelEditor;

// What the rich text label's window actions ask of the world around them:
// the colour dialog, help, and running the editor. standard() gives the
// real ones; tests hand in their own so that nothing blocks.
struct RichLabelServices
{
    // The colour dialog opened on a colour; nothing when cancelled.
    std::function<std::optional<TColor>(QWidget *parent, TColor color)> chooseColor;
    // Opens the manual at a help topic.
    std::function<void(QWidget *editor, int topic)> showHelp;
    // Shows the prepared editor modally; true when it ended with Ok.
    std::function<bool(TRichTextLabelEditor &editor)> runEditor;

    static RichLabelServices standard();
};

// "Edit" of a rich text label: the editor opens on the label's text at its
// size and zoom (hourglass while it is prepared). Ok puts the edited text
// on the label as the one undo step "Edit Rich Text" (none when the text
// is unchanged; a text too large for a label is refused by the editor,
// which stays open); Cancel leaves the label as it was. True when the
// editor ended with Ok, whether or not the text changed.
bool EditRichText(QWidget *parent, PageDocument &document, TGPRichBaseLabel &label,
                  const RichLabelServices &services = RichLabelServices::standard());

// "Background Color": the colour dialog on the label's colour; Ok makes it
// the background and the label opaque, as the one undo step
// "Background Color".
bool ChooseRichLabelBackground(QWidget *parent, PageDocument &document, TGPRichBaseLabel &label,
                               const RichLabelServices &services = RichLabelServices::standard());

// Gives the rich text labels of a page their tool button ("DrawRichText")
// and their "Background Color" and "Edit" menu items, and opens the editor
// on a double-click and right after the tool has made a label.
void RegisterRichLabelActions(TGBasePanel &panel,
                              const RichLabelServices &services = RichLabelServices::standard());

} // namespace Dayloom
