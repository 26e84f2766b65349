#pragma once

#include <QAccessibleWidget>
#include <QString>

namespace Dayloom {

class CalendarPage;
class TCalendarPanel32;

// What assistive technology learns of the calendar page: its name and value
// announce the current cell as its date and the plain text of its note,
// e.g. "Wednesday 9 December 2026, note: Dentist 9:30".
class CalendarPanelAccessible : public QAccessibleWidget
{
public:
    explicit CalendarPanelAccessible(TCalendarPanel32 *panel);

    QString text(QAccessible::Text kind) const override;

    // Registers the factory that gives every calendar page this interface.
    static void Install();

    // The date a cell stands for: the day of the month grid, or the
    // planner's row ("Friday 25 December 2026", "Notes"); empty for a
    // cell without a day.
    static QString CellDateText(const CalendarPage &page, int cell);
    // The date followed by the note's plain text, when it has one.
    static QString CellText(const CalendarPage &page, int cell);

private:
    TCalendarPanel32 *Panel() const;
};

} // namespace Dayloom
