#pragma once

#include "core/common/fontspec.h"
#include "core/recurring/holidaylink.h"

#include <QString>
#include <QStringList>

// Writing recurring dates into the day-cell notes of a calendar page: the
// last step of "Fill Calendar with Recurring Dates" and of the headless
// fill. Texts are appended, never replacing what a note holds, so a second
// fill writes every entry again.

namespace Dayloom {

class CalendarPage;
class RecurringDates;

// The first cell 1-42 that shows day 1-31 of the page's month and year, by
// the date rules rather than by the cell records of the last paint (which
// may be missing or stale):
//   month grids (layouts 0-7): the grid cell holding the day, for the
//   page's week start;
//   week planners (18, 19): the row of that date, matched by year, month
//   and day, so a two-week planner that runs into the next month never
//   takes the next month's day of the same number;
//   mini-calendar sheets and day planners: none.
// -1 when no cell shows the day.
int FirstCellOfDay(const CalendarPage &page, int day);

// Appends text as a paragraph of its own to the note of the first cell
// showing day: in defaultFont when the note was empty, otherwise in the
// attributes at the end of the note (its existing text and formatting are
// kept). A note that ends in an empty paragraph takes the text there.
// Stores the note back with SetCellNote, which repaints. False, with the
// page unchanged, when no cell shows the day or the note's RTF is
// unreadable (it is left alone rather than overwritten).
bool PuttextOnDay(CalendarPage &page, int day, const QString &text, const FontSpec &defaultFont);

// Writes the chosen entries into the page's month: for each entry in order,
// each day its formula gives (DatesInMonth for MainCalMonth and
// MainCalYear), its name as by PuttextOnDay. Each touched note is built and
// stored once and the page repaints once. True when any note changed.
bool FillPageWithEntries(CalendarPage &page, const QStringList &chosenEntries,
                         const FontSpec &defaultFont);

// Writes the entries of dates (formula and dated ones, each in its order)
// into the days of the page's month, as FillPageWithEntries does; the fill
// command hands in a list of the chosen entries only. True when any note
// changed.
bool FillPageMonth(CalendarPage &page, const RecurringDates &dates, const FontSpec &defaultFont);
// The same with the shifts of the entries of dates moving off the dates of
// the entries of avoided they name (RecurringDates::textsByDay): the fill
// command hands in the chosen entries and the list without those the user
// left out.
bool FillPageMonth(CalendarPage &page, const RecurringDates &dates, const RecurringDates &avoided,
                   const FontSpec &defaultFont);

// Writes every entry of a whole list into every day the page shows: the
// page's month, or every day of a week planner, also those in the next
// month (the window's fill command keeps to the page's month). True when
// any note changed.
bool FillShownDays(CalendarPage &page, const RecurringDates &dates, const FontSpec &defaultFont);
// The headless fill: FillShownDays with the dates of
// RecurringDates::loadSources (the files and the holiday sets). filled
// tells whether any note changed. False with the reason when the files
// cannot be read; the page is then unchanged.
bool FillPageFromFiles(CalendarPage &page, const QStringList &datesFiles,
                       const FontSpec &defaultFont, bool &filled, QString *error = nullptr,
                       const QList<HolidayLink> &holidays = {});

} // namespace Dayloom
