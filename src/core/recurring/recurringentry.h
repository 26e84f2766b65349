#pragma once

#include "core/recurring/recurringformula.h"

#include <QChar>
#include <QString>
#include <QStringView>

// One recurring date: a text line holding the event name in positions
// 1-120 (blank-padded) and the formula from position 121 on (normally 10
// characters, blank-padded; built-in "#" entries and converted entries may
// be shorter or longer). Lines of any length are accepted: missing
// positions are simply absent.

namespace Dayloom {

class RecurringEntry
{
public:
    static constexpr int NameWidth = 120;
    static constexpr int FormulaWidth = 10;

    // PadField(name, 120) + PadField(formula, 10).
    static QString makeLine(const QString &name, const QString &formula);

    explicit RecurringEntry(QString line) : m_line(std::move(line)) {}

    const QString &line() const { return m_line; }
    // Positions 1-120 as they stand.
    QString nameField() const { return m_line.left(NameWidth); }
    // The name without surrounding blanks.
    QString name() const;
    // Position 121 ('@', '$', '%', '#', ...), a null QChar for short lines.
    QChar kind() const;
    // Positions 121 onwards: what DatesInMonth evaluates.
    QStringView formula() const;
    // Positions 121-130: what the formula dialog edits.
    QString editableFormula() const { return m_line.mid(NameWidth, FormulaWidth); }
    // Only "@", "$" and "%" entries are made and changed by the user.
    bool isEditable() const;
    // The text the fill writes into a day's note: the trimmed name.
    QString fillText() const { return name(); }
    RecurringFormula parsedFormula() const { return RecurringFormula::parse(formula()); }

private:
    QString m_line;
};

// The text shown for an entry in the recurring-date lists, with month names
// (long, stand-alone) and weekday names (short) of the default QLocale:
//   "@"  Christmas Day (25th of December), or (1st of Each Month)
//   "$"  Thanksgiving Day (4th Thu of November), (Last Sun of October),
//        (1st Day Each Month)
//   "%"  Work (Mon,Tue,Wed,Thu,Fri)
//   else positions 1-120 as they stand.
// An "@" or "$" formula that does not read gives empty parentheses.
QString DescribeEntry(const QString &line);

} // namespace Dayloom
