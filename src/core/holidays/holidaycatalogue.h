#pragma once

#include "core/holidays/holidaycountry.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every country's holiday set, read from a folder of ".holidays" files.
// A file that does not parse is left out and named in errors(); the others
// load. Codes are ISO 3166: "DE" for a country, "DE-BY" for a region.

namespace Dayloom {

class HolidayCatalogue
{
public:
    // Reads every "*.holidays" file of folder, at most MaxFiles of them.
    static HolidayCatalogue fromFolder(const QString &folder);
    // The sets installed with the program (the "Holidays" asset folder, or
    // the folder DAYLOOM_HOLIDAYS_FOLDER names), read once on first use.
    static const HolidayCatalogue &shipped();
    static constexpr int MaxFiles = 1000;

    const QList<HolidayCountry> &countries() const { return m_countries; }
    // "FILE: line N: reason" for each file left out.
    const QStringList &errors() const { return m_errors; }

    // The country of a code ("DE" or "DE-BY"), or null; region receives the
    // part after the dash ("BY"), empty for a whole country. A region code the
    // country does not declare gives null.
    const HolidayCountry *find(const QString &code, QString *region = nullptr) const;
    // Whether code names a country or a region of one.
    bool contains(const QString &code) const { return find(code) != nullptr; }

private:
    QList<HolidayCountry> m_countries; // by code
    QStringList m_errors;
};

} // namespace Dayloom
