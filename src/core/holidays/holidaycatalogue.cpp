#include "core/holidays/holidaycatalogue.h"

#include "core/holidays/holidayfilereader.h"
#include "core/io/appfolders.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace Dayloom {

HolidayCatalogue HolidayCatalogue::fromFolder(const QString &folder)
{
    HolidayCatalogue catalogue;
    const QDir dir(folder);
    QStringList files = dir.entryList({QStringLiteral("*.holidays")}, QDir::Files, QDir::Name);
    if (files.size() > MaxFiles) {
        catalogue.m_errors.append(QStringLiteral("%1: only the first %2 holiday files are read")
                                      .arg(folder)
                                      .arg(MaxFiles));
        files = files.mid(0, MaxFiles);
    }
    for (const QString &name : std::as_const(files)) {
        QFile file(dir.filePath(name));
        HolidayCountry country;
        QString error;
        if (!file.open(QIODevice::ReadOnly))
            error = file.errorString();
        else if (HolidayFileReader::read(file, country, &error) && catalogue.find(country.code))
            error = QStringLiteral("the country %1 is described twice").arg(country.code);
        if (!error.isEmpty()) {
            catalogue.m_errors.append(name + QStringLiteral(": ") + error);
            continue;
        }
        catalogue.m_countries.append(std::move(country));
    }
    std::sort(catalogue.m_countries.begin(), catalogue.m_countries.end(),
              [](const HolidayCountry &a, const HolidayCountry &b) { return a.code < b.code; });
    return catalogue;
}

const HolidayCatalogue &HolidayCatalogue::shipped()
{
    // Tests name a folder of their own sets.
    static const HolidayCatalogue catalogue = [] {
        const QString chosen = qEnvironmentVariable("DAYLOOM_HOLIDAYS_FOLDER");
        return fromFolder(chosen.isEmpty() ? AssetPath(QStringLiteral("Holidays")) : chosen);
    }();
    return catalogue;
}

const HolidayCountry *HolidayCatalogue::find(const QString &code, QString *region) const
{
    const QString countryCode = code.section(u'-', 0, 0).toUpper();
    const QString regionCode = code.contains(u'-') ? code.section(u'-', 1).toUpper() : QString();
    const auto it = std::find_if(m_countries.cbegin(), m_countries.cend(),
                                 [&](const HolidayCountry &c) { return c.code == countryCode; });
    if (it == m_countries.cend() || (!regionCode.isEmpty() && !it->region(regionCode)))
        return nullptr;
    if (region)
        *region = regionCode;
    return &*it;
}

} // namespace Dayloom
