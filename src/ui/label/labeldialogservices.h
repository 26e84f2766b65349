#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"

#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace Dayloom {

// What the label's dialogs ask of the world around them: the font and
// colour dialogs, help, and running a prepared dialog modally. standard()
// gives the real ones; tests hand in their own so that nothing blocks.
struct LabelDialogServices
{
    // The font dialog opened on a font; the choice (colour kept), nothing
    // when cancelled.
    std::function<std::optional<FontSpec>(QWidget *parent, const FontSpec &font,
                                          const QString &title)>
        chooseFont;
    // The colour dialog opened on a colour; nothing when cancelled.
    std::function<std::optional<TColor>(QWidget *parent, TColor color, const QString &title)>
        chooseColor;
    // Opens the manual at a help topic over a dialog.
    std::function<void(QWidget *dialog, int topic)> showHelp;
    // Shows a prepared dialog modally; true when it ended with OK.
    std::function<bool(QDialog &dialog)> runDialog;

    static LabelDialogServices standard();
};

} // namespace Dayloom
