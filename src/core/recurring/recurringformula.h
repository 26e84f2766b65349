#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The formula of a recurring-date entry: the text from line position 121 on.
//
//   "@MMDD"      fixed day: MM 00 = every month or 01-12, DD 01-31
//   "$O D M "    nth weekday, fields two characters each, number first:
//                O 0-4 = 1st-5th, 5 = last; D 0-6 = Sunday-Saturday,
//                7 = any day; M 0 = every month or 1-12
//   "%digits"    weekdays, digits 1 = Sunday ... 7 = Saturday anywhere in
//                characters 2-10
//   "#KEYWORD"   "#EASTER", "#GOODFRIDAY", "#PALMSUNDAY" (built-in only):
//                characters 1-11, trimmed and upper-cased
//
// Each number field is cut out, trimmed and read as a decimal integer with
// an optional sign. A field that does not read, or reads outside its range,
// makes the whole formula invalid: it describes itself with empty
// parentheses and falls on no day.

namespace Dayloom {

class RecurringFormula
{
public:
    enum class Kind
    {
        None,
        FixedDay,
        NthWeekday,
        Weekdays,
        Keyword
    };

    static constexpr int Last = 5;   // occurrence field: the last one
    static constexpr int AnyDay = 7; // weekday field: any day
    static constexpr int EveryMonth = 0;

    // Reads a formula (line positions 121 onwards). Never fails: an
    // unreadable formula gives isValid() == false.
    static RecurringFormula parse(QStringView formula);

    Kind kind() const { return m_kind; }
    bool isValid() const { return m_valid; }

    // FixedDay and NthWeekday: 0 = every month, 1-12.
    int month() const { return m_month; }
    // FixedDay: 1-31.
    int day() const { return m_day; }
    // NthWeekday: 0-4 = 1st-5th, Last.
    int occurrence() const { return m_occurrence; }
    // NthWeekday: 0-6 = Sunday-Saturday, AnyDay.
    int weekday() const { return m_weekday; }
    // Weekdays: whether weekday 1 (Sunday) ... 7 (Saturday) is chosen.
    bool hasWeekday(int weekdayNumber) const;
    // Keyword: trimmed and upper-cased, '#' included ("#EASTER").
    const QString &keyword() const { return m_keyword; }

private:
    Kind m_kind = Kind::None;
    bool m_valid = false;
    int m_month = 0;
    int m_day = 0;
    int m_occurrence = 0;
    int m_weekday = 0;
    unsigned m_weekdayBits = 0; // bit n set for weekday number n
    QString m_keyword;
};

// Reads one number field: trimmed, optional sign, decimal digits.
std::optional<int> readFormulaField(QStringView field);

// The month field of an "@" or "$" formula as a plain integer, without range
// checks; nothing when the formula is of another kind or the field does not
// read. The fill's pre-filter goes by this field alone.
std::optional<int> formulaMonthField(QStringView formula);

} // namespace Dayloom
