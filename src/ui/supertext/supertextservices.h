#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Dayloom {

class TGSuperText;
class TSuperTextProperties;

// What the SuperText dialogs ask of the world around them: the font,
// colour, texture and symbol choices, messages, help, and running the
// dialog itself. standard() gives the real ones; tests hand in their own so
// that nothing blocks.
struct SuperTextServices
{
    struct Texture
    {
        QImage image;
        QString path; // the file's full name
    };
    struct Symbol
    {
        QChar character;
        QString face;
    };

    // The font dialog on a font, scalable faces only; the chosen font (its
    // colour kept), nothing when cancelled.
    std::function<std::optional<FontSpec>(QWidget *parent, const FontSpec &font,
                                          const QString &title)>
        chooseFont;
    // The colour dialog on a colour; nothing when cancelled.
    std::function<std::optional<TColor>(QWidget *parent, TColor color, const QString &title)>
        chooseColor;
    // A picture to tile into the letters of `text`, starting at the last
    // one loaded (may be empty); nothing when cancelled.
    std::function<std::optional<Texture>(QWidget *parent, const TGSuperText &text,
                                         const QString &lastPath)>
        loadTexture;
    // One character of a symbol font; nothing when cancelled.
    std::function<std::optional<Symbol>(QWidget *parent)> selectSymbol;
    std::function<void(QWidget *parent, const QString &text)> showInformation;
    // Opens the manual at a help topic.
    std::function<void(QWidget *dialog, int topic)> showHelp;
    // Shows the prepared dialog modally; true when it ended with Ok.
    std::function<bool(TSuperTextProperties &dialog)> runEditor;

    static SuperTextServices standard();
};

} // namespace Dayloom
