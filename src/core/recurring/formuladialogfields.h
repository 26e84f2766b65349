#pragma once

#include "core/recurring/formulabuilder.h"

#include <QString>

namespace Dayloom {

// The state of the formula dialog's controls, without the controls: the
// dialog loads a formula into it, mirrors the user's choices into it and
// asks it for the formula on Ok. Combo box indices equal field values; -1
// stands for a combo box without a choice.
struct FormulaDialogFields
{
    enum class Style
    {
        DayOfMonth,
        DayOfWeek,
        Special
    };

    Style style = Style::DayOfMonth;
    int dayOfMonthDay = 1;   // spin edit, 1-31
    int dayOfMonthMonth = 0; // 0 = "Each Month", 1-12
    // Sunday first; Monday to Friday are checked when the dialog opens.
    WeekdayChoice weekdays{false, true, true, true, true, true, false};
    int specialOccurrence = 0; // 0-4 = 1st-5th, 5 = Last
    int specialDayOfWeek = 0;  // 0-6 = Sunday-Saturday, 7 = any day
    int specialMonth = 0;      // 0 = "Each Month", 1-12

    // The controls for a formula (line positions 121-130): a readable "$"
    // formula selects Special, a readable "@" formula Day of the Month; any
    // other text (a "%" formula, an empty one) selects Day of the Week with
    // exactly the weekdays whose digits 1-7 occur in it. An unreadable "$"
    // or "@" formula leaves the opening state.
    static FormulaDialogFields fromFormula(const QString &formula);

    // The formula of the selected style, or the message to show.
    FormulaBuildResult buildFormula() const;
};

} // namespace Dayloom
