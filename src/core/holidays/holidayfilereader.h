#pragma once

#include "core/holidays/holidaycountry.h"

#include <QIODevice>
#include <QString>

// Reads one ".holidays" file (assets/Holidays/FORMAT describes it) into a
// HolidayCountry. The input is treated as hostile: its size, line length
// and counts are bounded. On failure out is unchanged and error holds
// "line N: reason".

namespace Dayloom {

class HolidayFileReader
{
public:
    static constexpr qint64 MaxFileBytes = 1 << 20;
    static constexpr int MaxLineLength = 4096;
    static constexpr int MaxHolidays = 4000;
    static constexpr int MaxRegions = 400;
    static constexpr int MaxOnceDates = 400;

    static bool read(QIODevice &device, HolidayCountry &out, QString *error = nullptr);
    static bool read(const QByteArray &bytes, HolidayCountry &out, QString *error = nullptr);
};

} // namespace Dayloom
