#include "core/recurring/formuladialogfields.h"

#include "core/recurring/recurringformula.h"

namespace Dayloom {

FormulaDialogFields FormulaDialogFields::fromFormula(const QString &formula)
{
    FormulaDialogFields fields;
    const RecurringFormula parsed = RecurringFormula::parse(formula);
    if (formula.startsWith(u'$')) {
        if (parsed.isValid()) {
            fields.style = Style::Special;
            fields.specialOccurrence = parsed.occurrence();
            fields.specialDayOfWeek = parsed.weekday();
            fields.specialMonth = parsed.month();
        }
        return fields;
    }
    if (formula.startsWith(u'@')) {
        if (parsed.isValid()) {
            fields.dayOfMonthDay = parsed.day();
            fields.dayOfMonthMonth = parsed.month();
        }
        return fields;
    }
    fields.style = Style::DayOfWeek;
    for (int index = 0; index < 7; ++index)
        fields.weekdays[index] = formula.contains(QChar(u'1' + index));
    return fields;
}

FormulaBuildResult FormulaDialogFields::buildFormula() const
{
    switch (style) {
    case Style::DayOfMonth:
        return buildDayOfMonthFormula(dayOfMonthMonth, dayOfMonthDay);
    case Style::Special:
        return buildSpecialFormula(specialOccurrence, specialDayOfWeek, specialMonth);
    case Style::DayOfWeek:
        break;
    }
    return buildWeekdaysFormula(weekdays);
}

} // namespace Dayloom
