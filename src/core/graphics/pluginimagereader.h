#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace Dayloom {

// Reads the formats that Qt's image plugins decode well (JPEG, GIF, PNG),
// within the program's picture bounds: the size the plugin will allocate
// (for GIF files the canvas measured from the file itself) is claimed from
// the open PictureBudget before any pixel is decoded, and the plugins'
// allocation limit is the bound of one picture.
class PluginImageReader
{
public:
    // format: the plugin's name, e.g. "jpeg". The picture comes in
    // Format_RGB32 or Format_ARGB32.
    static bool Read(const QByteArray &bytes, const char *format, QImage &image, QString *error);
};

} // namespace Dayloom
