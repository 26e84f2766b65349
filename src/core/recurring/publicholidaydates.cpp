#include "core/recurring/publicholidaydates.h"

#include "core/recurring/icalendarfile.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringdatesfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace Dayloom {

namespace {

struct RedDayLinks
{
    QMutex mutex;
    QList<HolidayLink> chosen; // from SetRedDayHolidayLinks
    // The user's list as last read, and the file's time then.
    QString path;
    QDateTime modified;
    QList<HolidayLink> user;
};

RedDayLinks &Links()
{
    static RedDayLinks links;
    return links;
}

QList<HolidayLink> CurrentLinks()
{
    RedDayLinks &links = Links();
    const QMutexLocker lock(&links.mutex);
    if (!links.chosen.isEmpty())
        return links.chosen;
    const QString path = RecurringDates::icsPathBeside(RecurringDatesFile::defaultPath());
    const QFileInfo info(path);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (path != links.path || modified != links.modified) {
        links.path = path;
        links.modified = modified;
        links.user.clear();
        QFile file(path);
        if (info.exists() && info.size() <= ICalendarFile::MaxFileBytes &&
            file.open(QIODevice::ReadOnly))
            links.user = ReadHolidayLinks(file.readAll());
    }
    return links.user;
}

} // namespace

QSet<QDate> PublicHolidayDates(const QDate &first, const QDate &last)
{
    QSet<QDate> days;
    const HolidayLinkSource *source = CurrentHolidayLinkSource();
    if (!source || !first.isValid() || !last.isValid() || last < first)
        return days;
    for (HolidayLink link : CurrentLinks()) {
        link.categories = HolidayLink::Public;
        for (const auto &day : source->daysOf(link, first, last, QString())) {
            if (day.day >= first && day.day <= last)
                days.insert(day.day);
        }
    }
    return days;
}

void SetRedDayHolidayLinks(const QList<HolidayLink> &links)
{
    RedDayLinks &all = Links();
    const QMutexLocker lock(&all.mutex);
    all.chosen = links;
}

} // namespace Dayloom
