#pragma once

#include <QList>
#include <QString>

namespace Dayloom {

// The icon libraries the program ships, each a list of emoji drawn from
// the colour emoji font.
struct IconSet
{
    QString file; // relative to the program's folder
    QString theme;
    QList<char32_t> codePoints;
};

QList<IconSet> ShippedIconSets();

} // namespace Dayloom
