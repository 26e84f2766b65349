#include "core/recurring/formulaasrule.h"

#include "core/recurring/datesinmonth.h"
#include "core/recurring/recurringentry.h"

namespace Dayloom {

namespace {

using Frequency = RecurrenceRule::Frequency;

// The formulas' weekday numbers (0 = Sunday) as Qt's (7 = Sunday).
int QtWeekday(int formulaWeekday)
{
    return formulaWeekday == 0 ? 7 : formulaWeekday;
}

// A rule within one month of the year, or within every month for month 0.
RecurrenceRule InMonth(int month)
{
    RecurrenceRule rule;
    rule.frequency = month == RecurringFormula::EveryMonth ? Frequency::Monthly : Frequency::Yearly;
    if (month != RecurringFormula::EveryMonth)
        rule.byMonth = {month};
    return rule;
}

RecurrenceRule FixedDayRule(const RecurringFormula &formula)
{
    RecurrenceRule rule = InMonth(formula.month());
    rule.byMonthDay = {formula.day()};
    return rule;
}

RecurrenceRule NthWeekdayRule(const RecurringFormula &formula)
{
    RecurrenceRule rule = InMonth(formula.month());
    const int ordinal =
        formula.occurrence() == RecurringFormula::Last ? -1 : formula.occurrence() + 1;
    if (formula.weekday() == RecurringFormula::AnyDay)
        rule.byMonthDay = {ordinal};
    else
        rule.byDay = {{ordinal, QtWeekday(formula.weekday())}};
    return rule;
}

RecurrenceRule WeekdaysRule(const RecurringFormula &formula)
{
    RecurrenceRule rule;
    rule.frequency = Frequency::Weekly;
    // Monday first, as calendar programs list them.
    for (const int number : {2, 3, 4, 5, 6, 7, 1}) {
        if (formula.hasWeekday(number))
            rule.byDay.append({0, QtWeekday(number - 1)});
    }
    return rule;
}

std::optional<int> EasterOffsetOf(const QString &keyword)
{
    if (keyword == u"#EASTER")
        return 0;
    if (keyword == u"#GOODFRIDAY")
        return -2;
    if (keyword == u"#PALMSUNDAY")
        return -7;
    return std::nullopt;
}

// The first day the formula gives from FormulaRuleFirstYear on, within four
// centuries (every calendar pattern of weekdays and leap years).
QDate FirstDayOf(QStringView formula)
{
    for (int year = FormulaRuleFirstYear; year < FormulaRuleFirstYear + 400; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const QList<int> days = DatesInMonth(formula, year, month);
            if (!days.isEmpty())
                return QDate(year, month, *std::min_element(days.begin(), days.end()));
        }
    }
    return {};
}

} // namespace

std::optional<DatedEntry> FormulaAsDatedEntry(const QString &line, const QString &uid)
{
    const RecurringEntry source(line);
    const RecurringFormula formula = source.parsedFormula();
    if (!formula.isValid())
        return std::nullopt;
    DatedEntry entry;
    entry.uid = uid;
    entry.description = source.name();
    switch (formula.kind()) {
    case RecurringFormula::Kind::FixedDay:
        entry.rule.recurrence = FixedDayRule(formula);
        break;
    case RecurringFormula::Kind::NthWeekday:
        entry.rule.recurrence = NthWeekdayRule(formula);
        break;
    case RecurringFormula::Kind::Weekdays:
        entry.rule.recurrence = WeekdaysRule(formula);
        break;
    case RecurringFormula::Kind::Keyword: {
        const auto offset = EasterOffsetOf(formula.keyword());
        if (!offset)
            return std::nullopt;
        entry.rule.kind = DateRule::Kind::Easter;
        entry.rule.easterOffset = *offset;
        break;
    }
    case RecurringFormula::Kind::None:
        return std::nullopt;
    }
    entry.rule.first = FirstDayOf(source.formula());
    if (!entry.rule.first.isValid())
        return std::nullopt;
    return entry;
}

} // namespace Dayloom
