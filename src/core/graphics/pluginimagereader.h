#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace Dayloom {

// Reads the formats that Qt's image plugins decode well (JPEG, GIF, PNG),
// within the program's picture bounds: the size is checked before any
// pixel is decoded, and the plugins' allocation limit is the same bound.
class PluginImageReader
{
public:
    // format: the plugin's name, e.g. "jpeg". The picture comes in
    // Format_RGB32 or Format_ARGB32.
    static bool Read(const QByteArray &bytes, const char *format, QImage &image, QString *error);
};

} // namespace Dayloom
