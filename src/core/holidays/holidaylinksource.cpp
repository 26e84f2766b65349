#include "core/holidays/holidaylinksource.h"

#include <mutex>

namespace Dayloom {

CatalogueHolidaySource::CatalogueHolidaySource(std::function<const HolidayCatalogue &()> catalogue)
    : m_catalogue(std::move(catalogue))
{
}

bool CatalogueHolidaySource::knows(const QString &code) const
{
    return m_catalogue().contains(code);
}

QList<HolidayLinkSource::Day> CatalogueHolidaySource::daysOf(const HolidayLink &link, QDate from,
                                                             QDate to,
                                                             const QString &language) const
{
    QList<Day> days;
    QString region;
    const HolidayCountry *country = m_catalogue().find(link.code, &region);
    if (!country)
        return days;
    for (const auto &occurrence : country->occurrences(region, from, to, link.categories)) {
        if (!link.hidden.contains(occurrence.holiday->id))
            days.append({occurrence.day, country->nameOf(occurrence, language)});
    }
    return days;
}

void UseShippedHolidays(std::function<void(const QStringList &errors)> onFileErrors)
{
    static std::function<void(const QStringList &)> report;
    report = std::move(onFileErrors);
    static const CatalogueHolidaySource source([]() -> const HolidayCatalogue & {
        static std::once_flag reported;
        const HolidayCatalogue &catalogue = HolidayCatalogue::shipped();
        std::call_once(reported, [&] {
            if (report && !catalogue.errors().isEmpty())
                report(catalogue.errors());
        });
        return catalogue;
    });
    SetHolidayLinkSource(&source);
}

} // namespace Dayloom
