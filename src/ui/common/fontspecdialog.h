#pragma once

#include "core/common/fontspec.h"

#include <QString>

#include <optional>

class QWidget;

namespace Dayloom {

// Asks for a font with the platform's font dialog, starting from `font` at
// its size in points. Returns `font` with the chosen face, size and styles
// (its colour kept), or nothing when the user cancels.
std::optional<FontSpec> AskFontSpec(QWidget *parent, const FontSpec &font,
                                    const QString &title = QString());

} // namespace Dayloom
