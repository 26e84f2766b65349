#include "core/recurring/datesinmonth.h"

namespace Dayloom {

namespace {

bool appliesToMonth(int monthField, const RecurringMonth &month)
{
    return monthField == RecurringFormula::EveryMonth || monthField == month.month();
}

QList<int> singleDay(int day, const RecurringMonth &month)
{
    if (day < 1 || day > month.dayCount())
        return {};
    return {day};
}

int nthWeekday(const RecurringFormula &formula, const RecurringMonth &month)
{
    const int n = month.dayCount();
    if (formula.weekday() == RecurringFormula::AnyDay)
        return formula.occurrence() == RecurringFormula::Last ? n : formula.occurrence() + 1;
    const int target = formula.weekday() + 1;
    if (formula.occurrence() == RecurringFormula::Last) {
        for (int day = n; day >= 1; --day) {
            if (month.weekdayOf(day) == target)
                return day;
        }
        return 0;
    }
    int count = 0;
    for (int day = 1; day <= n; ++day) {
        if (month.weekdayOf(day) == target && ++count == formula.occurrence() + 1)
            return day;
    }
    return 0;
}

QList<int> chosenWeekdays(const RecurringFormula &formula, const RecurringMonth &month)
{
    QList<int> days;
    for (int day = 1; day <= month.dayCount(); ++day) {
        if (formula.hasWeekday(month.weekdayOf(day)))
            days.append(day);
    }
    return days;
}

} // namespace

QList<int> DatesInMonth(const RecurringFormula &formula, const RecurringMonth &month)
{
    if (!formula.isValid())
        return {};
    switch (formula.kind()) {
    case RecurringFormula::Kind::FixedDay:
        return appliesToMonth(formula.month(), month) ? singleDay(formula.day(), month)
                                                      : QList<int>{};
    case RecurringFormula::Kind::NthWeekday:
        return appliesToMonth(formula.month(), month) ? singleDay(nthWeekday(formula, month), month)
                                                      : QList<int>{};
    case RecurringFormula::Kind::Weekdays:
        return chosenWeekdays(formula, month);
    case RecurringFormula::Kind::Keyword:
        return singleDay(month.keywordDay(formula.keyword()), month);
    case RecurringFormula::Kind::None:
        break;
    }
    return {};
}

QList<int> DatesInMonth(QStringView formula, int year, int month)
{
    const auto facts = RecurringMonth::make(year, month);
    if (!facts)
        return {};
    return DatesInMonth(RecurringFormula::parse(formula), *facts);
}

} // namespace Dayloom
