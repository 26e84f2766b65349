#pragma once

#include "core/holidays/holidaycatalogue.h"
#include "core/recurring/holidaylink.h"

#include <functional>

// The holiday data behind the sets linked into recurring-dates lists: a
// catalogue's countries turned into named days, less the holidays a link
// hides.

namespace Dayloom {

class CatalogueHolidaySource : public HolidayLinkSource
{
public:
    // catalogue is asked for on first use (so the shipped sets are read
    // only when a list links one); it must outlive the source.
    explicit CatalogueHolidaySource(std::function<const HolidayCatalogue &()> catalogue);

    bool knows(const QString &code) const override;
    QList<Day> daysOf(const HolidayLink &link, QDate from, QDate to,
                      const QString &language) const override;

private:
    std::function<const HolidayCatalogue &()> m_catalogue;
};

// Makes the shipped sets (HolidayCatalogue::shipped) what every list's links
// expand from; the programs call it at start-up. The sets are read when a
// link is first expanded; onFileErrors then receives the files left out
// ("FILE: line N: reason"), once, when there are any.
void UseShippedHolidays(std::function<void(const QStringList &errors)> onFileErrors = {});

} // namespace Dayloom
