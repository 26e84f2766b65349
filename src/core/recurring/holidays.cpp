#include "core/recurring/holidays.h"

#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringtext.h"

namespace Dayloom {

namespace {

struct Holiday
{
    const char *name;
    const char *formula;
};

constexpr Holiday Holidays[] = {
    {"April Fools' Day", "@0401"},
    {"Armed Forces Day", "$2 6 5"},
    {"Christmas Day", "@1225"},
    // The United States since 2007: the second Sunday of March to the first
    // Sunday of November.
    {"Daylight Savings time begins", "$1 0 3"},
    {"Daylight Savings Time ends", "$0 0 11"},
    {"Easter", "#EASTER"},
    {"Father's Day", "$2 0 6"},
    {"Flag Day", "@0614"},
    {"Good Friday", "#GOODFRIDAY"},
    {"Groundhog Day", "@0202"},
    {"Halloween", "@1031"},
    {"Independence Day", "@0704"},
    {"Labor Day", "$0 1 9"},
    {"Lincoln's Birthday", "@0212"},
    {"Martin Luther King Day", "$2 1 1"},
    {"Memorial Day", "$5 1 5"},
    {"Mother's Day", "$1 0 5"},
    {"New Year's Day", "@0101"},
    {"Palm Sunday", "#PALMSUNDAY"},
    {"President's Day", "$2 1 2"},
    {"St. Patrick's Day", "@0317"},
    {"Thanksgiving Day", "$3 4 11"},
    {"United Nations Day", "@1024"},
    {"Valentine's Day", "@0214"},
    {"Veterans Day", "@1111"},
    {"Washington's Birthday", "@0222"},
};

QString holidayLine(const Holiday &holiday)
{
    const QString name = PadField(QString::fromLatin1(holiday.name), RecurringEntry::NameWidth);
    const QString formula = QString::fromLatin1(holiday.formula);
    // Keyword formulas are stored as they are, without padding.
    if (formula.startsWith(u'#'))
        return name + formula;
    return name + PadField(formula, RecurringEntry::FormulaWidth);
}

} // namespace

const QStringList &builtInHolidays()
{
    static const QStringList lines = [] {
        QStringList result;
        for (const Holiday &holiday : Holidays)
            result.append(holidayLine(holiday));
        return result;
    }();
    return lines;
}

} // namespace Dayloom
