#include "core/recurring/recurringformula.h"

#include "core/recurring/recurringtext.h"

namespace Dayloom {

namespace {

// Characters first..last (1-based, inclusive) of text, as far as present.
QStringView characters(QStringView text, int first, int last)
{
    const qsizetype from = first - 1;
    if (from >= text.size())
        return {};
    return text.sliced(from, qMin<qsizetype>(last - from, text.size() - from));
}

bool inRange(const std::optional<int> &value, int low, int high)
{
    return value && *value >= low && *value <= high;
}

} // namespace

std::optional<int> readFormulaField(QStringView field)
{
    field = TrimBlanks(field);
    bool negative = false;
    if (!field.isEmpty() && (field.front() == u'+' || field.front() == u'-')) {
        negative = field.front() == u'-';
        field = field.sliced(1);
    }
    // Nine digits cannot overflow an int.
    if (field.isEmpty() || field.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

std::optional<int> formulaMonthField(QStringView formula)
{
    if (formula.startsWith(u'@'))
        return readFormulaField(characters(formula, 2, 3));
    if (formula.startsWith(u'$'))
        return readFormulaField(characters(formula, 6, 7));
    return std::nullopt;
}

RecurringFormula RecurringFormula::parse(QStringView formula)
{
    RecurringFormula result;
    if (formula.isEmpty())
        return result;
    switch (formula.front().unicode()) {
    case u'@': {
        result.m_kind = Kind::FixedDay;
        const auto month = readFormulaField(characters(formula, 2, 3));
        const auto day = readFormulaField(characters(formula, 4, 5));
        result.m_valid = inRange(month, 0, 12) && inRange(day, 1, 31);
        if (result.m_valid) {
            result.m_month = *month;
            result.m_day = *day;
        }
        break;
    }
    case u'$': {
        result.m_kind = Kind::NthWeekday;
        const auto occurrence = readFormulaField(characters(formula, 2, 3));
        const auto weekday = readFormulaField(characters(formula, 4, 5));
        const auto month = readFormulaField(characters(formula, 6, 7));
        result.m_valid =
            inRange(occurrence, 0, Last) && inRange(weekday, 0, AnyDay) && inRange(month, 0, 12);
        if (result.m_valid) {
            result.m_occurrence = *occurrence;
            result.m_weekday = *weekday;
            result.m_month = *month;
        }
        break;
    }
    case u'%':
        result.m_kind = Kind::Weekdays;
        result.m_valid = true;
        for (const QChar c : characters(formula, 2, 10)) {
            if (c >= u'1' && c <= u'7')
                result.m_weekdayBits |= 1u << (c.unicode() - u'0');
        }
        break;
    case u'#':
        result.m_kind = Kind::Keyword;
        result.m_valid = true;
        result.m_keyword = TrimBlanks(characters(formula, 1, 11)).toString().toUpper();
        break;
    default:
        break;
    }
    return result;
}

bool RecurringFormula::hasWeekday(int weekdayNumber) const
{
    return weekdayNumber >= 1 && weekdayNumber <= 7 && (m_weekdayBits & (1u << weekdayNumber));
}

} // namespace Dayloom
