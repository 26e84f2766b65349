#include "core/formats/bordername.h"

namespace Dayloom {

QString StoredBorderName(const QString &stored)
{
    if (stored == QLatin1String(".") || stored == QLatin1String(".."))
        return QString();
    for (const QChar c : stored) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.unicode() < 0x20)
            return QString();
    }
    return stored;
}

} // namespace Dayloom
