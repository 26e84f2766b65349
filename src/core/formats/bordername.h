#pragma once

#include <QString>

namespace Dayloom {

// The border name read from a file, as the page may use it: a bare file name
// without folder. A stored name that reaches elsewhere ("../x", "C:\x",
// names with control characters) is read as no border, so that a file cannot
// make the page load an arbitrary file as its border picture.
QString StoredBorderName(const QString &stored);

} // namespace Dayloom
