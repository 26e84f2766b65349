#include "ui/glyphs/buttonglyph.h"

#include "ui/glyphs/glyphiconengine.h"

#include <QSet>

namespace Dayloom {

namespace {

// The names of the desktop icon naming standard among our glyphs. Others
// ("edit-select", "draw-text") exist only in some themes, and may mean
// something else there, so they always come from the bundle.
bool IsStandardName(const QString &name)
{
    static const QSet<QString> standard = {
        QStringLiteral("document-print"),
        QStringLiteral("document-properties"),
        QStringLiteral("document-save"),
        QStringLiteral("edit-copy"),
        QStringLiteral("edit-cut"),
        QStringLiteral("edit-paste"),
        QStringLiteral("edit-select-all"),
        QStringLiteral("format-justify-center"),
        QStringLiteral("format-justify-left"),
        QStringLiteral("format-justify-right"),
        QStringLiteral("format-text-bold"),
        QStringLiteral("format-text-italic"),
        QStringLiteral("format-text-underline"),
        QStringLiteral("insert-image"),
        QStringLiteral("zoom-in"),
        QStringLiteral("zoom-out"),
    };
    return standard.contains(name);
}

} // namespace

QIcon ButtonGlyph(const QString &name)
{
    if (IsStandardName(name) && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    if (!GlyphIconEngine::Exists(name))
        return {};
    return QIcon(new GlyphIconEngine(name));
}

} // namespace Dayloom
