#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Dayloom {

class TFlatCalendarEditor;

// What the floating calendar editor asks of the world around it: the font
// and colour dialogs, help, and running the editor itself. standard() gives
// the real ones; tests hand in their own so that nothing blocks.
struct FlatCalendarEditorServices
{
    // The font dialog opened on a font; the chosen font (with the colour,
    // character set and pitch of the given one), nothing when cancelled.
    std::function<std::optional<FontSpec>(QWidget *parent, const FontSpec &font,
                                          const QString &title)>
        chooseFont;
    // The colour dialog opened on a colour; nothing when cancelled.
    std::function<std::optional<TColor>(QWidget *parent, TColor color, const QString &title)>
        chooseColor;
    // Opens the manual at a help topic; the standard one opens it in a window
    // of the editor's own, so that it takes input while the editor is modal.
    std::function<void(QWidget *editor, int topic)> showHelp;
    // Shows the prepared editor modally; true when it ended with Ok.
    std::function<bool(TFlatCalendarEditor &editor)> runEditor;

    static FlatCalendarEditorServices standard();
};

} // namespace Dayloom
