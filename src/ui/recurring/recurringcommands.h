#pragma once

#include "core/common/fontspec.h"
#include "ui/recurring/recurringdialogservices.h"

#include <QString>

class QWidget;

// The recurring-date commands of the main window. The caller commits any
// open note before a command that touches the page, hides and shows the
// icon tool around the dialogs, and reopens its note editor afterwards.

namespace Dayloom {

class CalendarPage;

// "Edit Recurring Dates": runs the Recurring Dates dialog on the file at
// filePath (normally RecurringDatesFile::defaultPath()). True when Ok wrote
// the file. A file that exists but cannot be read is reported and not
// opened for editing, so that Ok can never overwrite it with a partial list.
bool EditRecurringDates(
    QWidget *parent, const QString &filePath,
    const RecurringDialogServices &services = RecurringDialogServices::standard());

// "Fill Calendar with Recurring Dates": when the file or DLRECUR.ics beside
// it exists, offers the entries that may fall in the page's month (formula
// entries, then dated ones with a day in it; "No predefined dates match the
// current month" when none), lets the user choose among them and appends
// the chosen ones to the notes of their days, new notes in defaultFont. A
// chosen entry's shift avoids only the other chosen entries' dates.
// True when any note changed: the caller then marks the design modified.
// Nothing happens for a page without day cells or a missing file; an
// unreadable file is reported.
bool FillCalendarWithRecurringDates(
    QWidget *parent, CalendarPage &page, const QString &filePath, const FontSpec &defaultFont,
    const RecurringDialogServices &services = RecurringDialogServices::standard());

// "Import iCalendar…": a file the user picks is read (a broken one is
// reported with the line at fault, and nothing is imported), the import
// plan by UID shown, and on OK applied to the dated entries of the list at
// filePath and saved. True when the list changed.
bool ImportICalendarDates(
    QWidget *parent, const QString &filePath,
    const RecurringDialogServices &services = RecurringDialogServices::standard());

// "Export…" of the recurring dates: the dated entries of the list at
// filePath as iCalendar, or the dates of all its entries over a range of
// months as CSV, to the file the user names. True when it was written.
bool ExportRecurringDates(
    QWidget *parent, const QString &filePath,
    const RecurringDialogServices &services = RecurringDialogServices::standard());

// At start-up: converts the earlier "DLRECUR.DAT" of folder (normally
// ProgramFolder()) into "DLRECUR.DAX" and deletes it. A failure is reported
// and leaves both files as they were, to be tried again at the next start.
// True when there was nothing to do or the conversion succeeded.
bool ConvertEarlierRecurringDates(
    QWidget *parent, const QString &folder,
    const RecurringDialogServices &services = RecurringDialogServices::standard());

} // namespace Dayloom
