#include "core/recurring/formulabuilder.h"

#include "core/recurring/recurringformula.h"
#include "core/recurring/recurringtext.h"

namespace Dayloom {

namespace {

FormulaBuildResult built(const QString &formula)
{
    return {true, formula, {}};
}

FormulaBuildResult failed(const QString &message)
{
    return {false, {}, message};
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

FormulaBuildResult buildDayOfMonthFormula(int month, int day)
{
    if (day < 1 || day > 31)
        return failed(FormulaMessages::InvalidDay);
    if (month < 0 || month > 12)
        return failed(FormulaMessages::InvalidMonth);
    return built(QLatin1Char('@') + twoDigits(month) + twoDigits(day));
}

FormulaBuildResult buildSpecialFormula(int occurrence, int weekday, int month)
{
    if (occurrence < 0 || occurrence > RecurringFormula::Last || weekday < 0 ||
        weekday > RecurringFormula::AnyDay || month < 0 || month > 12)
        return failed(FormulaMessages::InvalidSpecial);
    return built(QLatin1Char('$') + PadField(QString::number(occurrence), 2) +
                 PadField(QString::number(weekday), 2) + PadField(QString::number(month), 2));
}

FormulaBuildResult buildWeekdaysFormula(const WeekdayChoice &weekdays)
{
    QString formula = QStringLiteral("%");
    for (int index = 0; index < 7; ++index) {
        if (weekdays[index])
            formula += QChar(u'1' + index);
    }
    if (formula.size() == 1)
        return failed(FormulaMessages::NoWeekday);
    return built(formula);
}

} // namespace Dayloom
