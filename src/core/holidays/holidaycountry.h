#pragma once

#include "core/holidays/holiday.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// A country's holiday set as one ".holidays" file describes it: the
// country's names and languages, its regions, and its holidays as rules.
// occurrences() turns them into days for the country or one region.

namespace Dayloom {

class HolidayCountry
{
public:
    struct Region
    {
        QString code; // without the country: "BY"
        QMap<QString, QString> names;
        friend bool operator==(const Region &, const Region &) = default;
    };

    // One day of a holiday: the holiday's own day, or the extra day off it
    // brings (observed) when it falls on a weekend.
    struct Occurrence
    {
        QDate day;
        const Holiday *holiday = nullptr; // owned by the country
        bool observed = false;
    };

    QString code; // ISO 3166-1: "DE"
    QMap<QString, QString> names;
    QStringList languages; // the first is the country's default
    // Language to pattern for observed days, "{name}" standing for the name.
    QMap<QString, QString> observedNames;
    QList<Region> regions;
    QList<Holiday> holidays;

    const Region *region(const QString &code) const;
    const Holiday *holiday(const QString &id) const;

    // The days of from..to on which the holidays of the country (region
    // empty) or of one of its regions fall, with the categories of the mask
    // (bits of Holiday::Category), in day order, then file order. Holidays
    // only some regions keep are left out for the whole country. The range
    // is bounded: nothing for one longer than MaxRangeDays.
    QList<Occurrence> occurrences(const QString &region, QDate from, QDate to,
                                  int categories = Holiday::AllCategories) const;
    static constexpr int MaxRangeDays = 200 * 366;

    // The name of an occurrence in language, else in the country's
    // languages, else in English.
    QString nameOf(const Occurrence &occurrence, const QString &language) const;
    QString name(const QString &language) const { return NameIn(names, language, languages); }
    QString regionName(const Region &r, const QString &language) const
    {
        return NameIn(r.names, language, languages);
    }

private:
    void addDaysBetweenHolidays(const QString &regionCode, QDate from, QDate to,
                                const QSet<qint64> &publicDays, const QSet<qint64> &taken,
                                QList<Occurrence> &all) const;
};

} // namespace Dayloom
