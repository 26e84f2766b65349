#pragma once

#include <QIcon>
#include <QString>

namespace Dayloom {

// The icon of a button that shows the glyph `name` (e.g. "zoom-in",
// "dayloom-supertext").
//
// Names the desktop's icon naming standard defines ("zoom-in",
// "document-print", "edit-copy" ...) come from the desktop's own icon theme
// when it has them, so the window matches the rest of the desktop; every
// other name, and every standard one the theme lacks, is the bundled glyph
// (see GlyphIconEngine). The icon is null only for a name that is neither.
QIcon ButtonGlyph(const QString &name);

} // namespace Dayloom
