#include "core/holidays/holiday.h"

namespace Dayloom {

bool Holiday::appliesIn(const QString &region) const
{
    if (!regions.isEmpty() && !regions.contains(region))
        return false;
    return region.isEmpty() || !exceptRegions.contains(region);
}

bool Holiday::keptIn(int year) const
{
    return (firstYear == 0 || year >= firstYear) && (lastYear == 0 || year <= lastYear);
}

bool Holiday::observedIn(int year) const
{
    return observed && (observed->firstYear == 0 || year >= observed->firstYear) &&
           (observed->lastYear == 0 || year <= observed->lastYear);
}

QString NameIn(const QMap<QString, QString> &names, const QString &language,
               const QStringList &fallbacks)
{
    if (const auto it = names.constFind(language); it != names.cend())
        return *it;
    for (const QString &fallback : fallbacks) {
        if (const auto it = names.constFind(fallback); it != names.cend())
            return *it;
    }
    if (const auto it = names.constFind(QStringLiteral("en")); it != names.cend())
        return *it;
    return names.isEmpty() ? QString() : names.first();
}

} // namespace Dayloom
