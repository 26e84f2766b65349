#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace Dayloom {

// The seamless texture pictures the program ships for filling text with a
// picture. Every texture is computed from periodic noise, so its right edge
// continues its left edge and its bottom its top: tiled, it shows no seams.
class TextureArt
{
public:
    // The names of every texture, as their files are called.
    static QStringList Names();
    // The texture of that name, `size` pixels square; a null image for an
    // unknown name or a size below 16.
    static QImage Draw(const QString &name, int size);
};

} // namespace Dayloom
