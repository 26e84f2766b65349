#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

namespace Dayloom {

// The page borders the program ships, drawn with QPainter: each fills a
// band along the edges of a page of the given size (page pixels, 96 per
// inch) and leaves the middle empty, where the calendar goes.
class BorderArt
{
public:
    // The names of every border, as their files are called.
    static QStringList Names();
    // Draws the border of that name; false for an unknown name.
    static bool Draw(const QString &name, QPainter &painter, const QSizeF &page);
};

} // namespace Dayloom
