#pragma once

#include <QString>

#include <array>

// Building formula texts from the choices of the formula dialog. Each
// builder either gives the formula or the message the dialog shows (with
// ShowInformation) while it stays open.

namespace Dayloom {

struct FormulaBuildResult
{
    bool ok = false;
    QString formula; // when ok
    QString error;   // when not ok
};

// Weekday check boxes, index 0 = Sunday ... 6 = Saturday.
using WeekdayChoice = std::array<bool, 7>;

namespace FormulaMessages {
inline const QString InvalidDay = QStringLiteral("Invalid day of month entered ");
inline const QString InvalidMonth = QStringLiteral("Invalid month entered ");
inline const QString InvalidSpecial = QStringLiteral("Invalid value entered for Special category");
inline const QString NoWeekday =
    QStringLiteral("You must select at least one day for this \rreminder to occur on");
} // namespace FormulaMessages

// "@" + month (0 = each month, 1-12) and day (1-31) as two digits each:
// "@1225". The day is not checked against the month's length ("@0231" is
// accepted). A month of -1 means none was chosen.
FormulaBuildResult buildDayOfMonthFormula(int month, int day);

// "$" + PadField(occurrence, 2) + PadField(weekday, 2) + PadField(month, 2):
// "$3 4 11". Occurrence 0-5 (5 = last), weekday 0-7 (7 = any day), month
// 0-12; -1 (no choice) or any other value gives the Special message.
FormulaBuildResult buildSpecialFormula(int occurrence, int weekday, int month);

// "%" + the digits of the checked weekdays, Sunday = 1 first: "%23456".
FormulaBuildResult buildWeekdaysFormula(const WeekdayChoice &weekdays);

} // namespace Dayloom
