#include "core/recurring/recurringpagefill.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/calendarpage.h"
#include "core/calendar/pagelanguage.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringfill.h"
#include "core/richtext/notedocument.h"

#include <QDate>
#include <QFile>
#include <QSignalBlocker>
#include <QTextBlock>

#include <algorithm>
#include <map>

namespace Dayloom {

namespace {

int WeekPlannerCellOfDay(const CalendarPage &page, int day)
{
    const QDate wanted(page.MainCalYear(), page.MainCalMonth(), day);
    const QDate first = page.PlannerFirstDate();
    if (!wanted.isValid() || !first.isValid())
        return -1;
    const qint64 row = first.daysTo(wanted);
    return row >= 0 && row < page.PlannerDayCount() ? int(row) + 1 : -1;
}

bool IsWeekPlanner(const CalendarPage &page)
{
    return page.LayoutKind() == 2 || page.LayoutKind() == 3;
}

// Appends each text as a paragraph of its own; see PuttextOnDay.
void AppendParagraphs(NoteDocument &note, const QStringList &texts, const FontSpec &defaultFont)
{
    for (const QString &text : texts) {
        note.MoveToEnd();
        if (note.IsEmpty())
            note.SetInsertionAttributes(defaultFont);
        else if (note.Cursor().block().length() > 1)
            note.NewParagraph();
        note.InsertText(text);
    }
}

// Builds the cell's new note; false when the present note is unreadable.
bool AppendToNote(const TWPRtfStorage &current, const QStringList &texts,
                  const FontSpec &defaultFont, TWPRtfStorage &result)
{
    NoteDocument note;
    if (!note.Load(current))
        return false;
    AppendParagraphs(note, texts, defaultFont);
    note.StoreTo(result);
    return true;
}

} // namespace

int FirstCellOfDay(const CalendarPage &page, int day)
{
    if (page.LayoutKind() == 0)
        return page.MonthCellOfDay(day);
    if (IsWeekPlanner(page))
        return WeekPlannerCellOfDay(page, day);
    return -1;
}

bool PuttextOnDay(CalendarPage &page, int day, const QString &text, const FontSpec &defaultFont)
{
    const int cell = FirstCellOfDay(page, day);
    if (cell < 1)
        return false;
    TWPRtfStorage note;
    if (!AppendToNote(page.CellNote(cell), QStringList{text}, defaultFont, note))
        return false;
    page.SetCellNote(cell, note);
    return true;
}

namespace {

using TextsByCell = std::map<int, QStringList>;

// The texts of the page's month, by the cell of each day.
TextsByCell TextsOfPageMonth(const CalendarPage &page, const RecurringDates &dates,
                             const RecurringDates &avoided)
{
    TextsByCell perCell;
    const QDate first(page.MainCalYear(), page.MainCalMonth(), 1);
    if (!first.isValid())
        return perCell;
    const QList<QStringList> perDay =
        dates.textsByDay(first, first.addDays(first.daysInMonth() - 1), avoided,
                         PageLanguageCode(page.Settings()));
    // Several days never share a cell, but gathering by cell keeps each
    // note's texts in entry order whatever the mapping.
    for (int day = 1; day <= perDay.size(); ++day) {
        const QStringList &texts = perDay[day - 1];
        if (texts.isEmpty())
            continue;
        const int cell = FirstCellOfDay(page, day);
        if (cell >= 1)
            perCell[cell] += texts;
    }
    return perCell;
}

// The texts of every day a week planner shows, whichever month it is in.
TextsByCell TextsOfPlannerDays(const CalendarPage &page, const RecurringDates &dates)
{
    TextsByCell perCell;
    const QDate first = page.PlannerFirstDate();
    if (!first.isValid())
        return perCell;
    const QList<QStringList> perDay = dates.textsByDay(
        first, first.addDays(page.PlannerDayCount() - 1), PageLanguageCode(page.Settings()));
    for (int row = 0; row < perDay.size(); ++row) {
        if (!perDay[row].isEmpty())
            perCell[row + 1] += perDay[row];
    }
    return perCell;
}

bool AppendToCells(CalendarPage &page, const TextsByCell &perCell, const FontSpec &defaultFont)
{
    bool changed = false;
    {
        const QSignalBlocker quiet(page);
        for (const auto &[cell, texts] : perCell) {
            TWPRtfStorage note;
            if (!AppendToNote(page.CellNote(cell), texts, defaultFont, note))
                continue;
            page.SetCellNote(cell, note);
            changed = true;
        }
    }
    if (changed)
        Q_EMIT page.changed();
    return changed;
}

} // namespace

bool FillPageWithEntries(CalendarPage &page, const QStringList &chosenEntries,
                         const FontSpec &defaultFont)
{
    RecurringDates dates;
    dates.formulaLines = chosenEntries;
    return FillPageMonth(page, dates, defaultFont);
}

bool FillPageMonth(CalendarPage &page, const RecurringDates &dates, const FontSpec &defaultFont)
{
    return FillPageMonth(page, dates, dates, defaultFont);
}

bool FillPageMonth(CalendarPage &page, const RecurringDates &dates, const RecurringDates &avoided,
                   const FontSpec &defaultFont)
{
    return AppendToCells(page, TextsOfPageMonth(page, dates, avoided), defaultFont);
}

bool FillShownDays(CalendarPage &page, const RecurringDates &dates, const FontSpec &defaultFont)
{
    if (!IsWeekPlanner(page))
        return AppendToCells(page, TextsOfPageMonth(page, dates, dates), defaultFont);
    return AppendToCells(page, TextsOfPlannerDays(page, dates), defaultFont);
}

bool FillPageFromFiles(CalendarPage &page, const QStringList &datesFiles,
                       const FontSpec &defaultFont, bool &filled, QString *error,
                       const QList<HolidayLink> &holidays)
{
    filled = false;
    RecurringDates dates;
    if (!RecurringDates::loadSources(datesFiles, holidays, dates, error))
        return false;
    filled = FillShownDays(page, dates, defaultFont);
    if (error)
        error->clear();
    return true;
}

} // namespace Dayloom
