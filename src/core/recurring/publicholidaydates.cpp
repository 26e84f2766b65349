#include "core/recurring/publicholidaydates.h"

namespace Dayloom {

QSet<QDate> PublicHolidayDates(const QDate &first, const QDate &last)
{
    Q_UNUSED(first);
    Q_UNUSED(last);
    return {};
}

} // namespace Dayloom
