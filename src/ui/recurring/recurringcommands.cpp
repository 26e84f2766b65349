#include "ui/recurring/recurringcommands.h"

#include "core/calendar/calendarpage.h"
#include "core/io/saveatomically.h"
#include "core/recurring/datescsv.h"
#include "core/recurring/holidaylink.h"
#include "core/recurring/icalendarfile.h"
#include "core/recurring/icalendarimport.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "ui/recurring/entrylist.h"
#include "ui/recurring/taddholidays.h"
#include "ui/recurring/teditrecurringdates.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Dayloom {

namespace {

void inform(const RecurringDialogServices &services, QWidget *parent, const QString &message)
{
    if (services.showInformation)
        services.showInformation(parent, message);
}

// The user's list for a command that changes or exports it; a list that
// cannot be read is reported (and so never overwritten).
std::optional<RecurringDates> LoadUserList(const RecurringDialogServices &services, QWidget *parent,
                                           const QString &filePath)
{
    RecurringDates dates;
    QString error;
    if (RecurringDates::loadUserList(filePath, dates, &error))
        return dates;
    inform(services, parent,
           QStringLiteral("The recurring dates file could not be read:\r%1").arg(error));
    return std::nullopt;
}

// The dated entries with a day in the month, by index.
QList<int> DatedEntriesInMonth(const RecurringDates &dates, int month, int year)
{
    const QDate first(year, month, 1);
    return dates.datedEntriesBetween(first, first.addDays(first.daysInMonth() - 1));
}

// The list without the offered entries the user left out: what the chosen
// entries' shifts still move off. Entries not offered (with no day in the
// month) were not left out and still count.
RecurringDates WithoutLeftOut(const RecurringDates &dates, const QStringList &offered,
                              const QList<int> &offeredDated,
                              const RecurringDialogServices::ChosenDates &chosen)
{
    RecurringDates kept = dates;
    QStringList chosenLines = chosen.lines;
    for (const QString &line : offered) {
        if (!chosenLines.removeOne(line))
            kept.formulaLines.removeOne(line);
    }
    QList<qsizetype> leftOut;
    for (qsizetype i = 0; i < offeredDated.size(); ++i) {
        if (!chosen.dated.contains(int(i)))
            leftOut.append(offeredDated[i]);
    }
    std::sort(leftOut.rbegin(), leftOut.rend());
    for (const qsizetype index : leftOut)
        kept.datedEntries.removeAt(index);
    return kept;
}

// The linked holiday sets with a holiday in the month, by index.
QList<int> LinkedSetsInMonth(const QList<HolidayLink> &links, int month, int year)
{
    const QDate first(year, month, 1);
    const QDate last = first.addDays(first.daysInMonth() - 1);
    QList<int> offered;
    const auto perLink = LinkedHolidayTexts(links, first, last, QString());
    for (int i = 0; i < perLink.size(); ++i) {
        if (!perLink[i].isEmpty())
            offered.append(i);
    }
    return offered;
}

} // namespace

bool EditRecurringDates(QWidget *parent, const QString &filePath,
                        const RecurringDialogServices &services)
{
    TEditRecurringDates dialog(filePath, parent, services);
    if (!dialog.loadError().isEmpty()) {
        inform(services, parent,
               QStringLiteral("The recurring dates file could not be read:\r%1")
                   .arg(dialog.loadError()));
        return false;
    }
    return dialog.exec() == QDialog::Accepted;
}

bool FillCalendarWithRecurringDates(QWidget *parent, CalendarPage &page, const QString &filePath,
                                    const FontSpec &defaultFont,
                                    const RecurringDialogServices &services)
{
    if (!page.HasDayCells() ||
        (!QFile::exists(filePath) && !QFile::exists(RecurringDates::icsPathBeside(filePath))))
        return false;
    const auto dates = LoadUserList(services, parent, filePath);
    if (!dates)
        return false;
    const int month = page.MainCalMonth(), year = page.MainCalYear();
    const QStringList offered = offeredEntries(dates->formulaLines, month, year);
    const QList<int> offeredDated = DatedEntriesInMonth(*dates, month, year);
    const QList<int> offeredLinks = LinkedSetsInMonth(dates->holidayLinks, month, year);
    if (offered.isEmpty() && offeredDated.isEmpty() && offeredLinks.isEmpty()) {
        inform(services, parent, NoDatesMatchMessage);
        return false;
    }
    QStringList datedTexts;
    for (const int i : offeredDated)
        datedTexts.append(DescribeDatedEntry(dates->datedEntries[i]));
    // The linked sets are offered after the dated entries, one row each.
    for (const int i : offeredLinks) {
        const QString &code = dates->holidayLinks[i].code;
        datedTexts.append(QStringLiteral("Holidays: ") +
                          (services.holidayCatalogue
                               ? HolidaySetTitle(services.holidayCatalogue(), code)
                               : code));
    }
    const auto chosen =
        services.selectDates ? services.selectDates(parent, offered, datedTexts) : std::nullopt;
    if (!chosen)
        return false;
    RecurringDates fill;
    fill.formulaLines = chosen->lines;
    for (const int i : chosen->dated) {
        if (i >= 0 && i < offeredDated.size())
            fill.datedEntries.append(dates->datedEntries[offeredDated[i]]);
        else if (const qsizetype link = i - offeredDated.size();
                 link >= 0 && link < offeredLinks.size())
            fill.holidayLinks.append(dates->holidayLinks[offeredLinks[link]]);
    }
    return FillPageMonth(page, fill, WithoutLeftOut(*dates, offered, offeredDated, *chosen),
                         defaultFont);
}

bool ImportICalendarDates(QWidget *parent, const QString &filePath,
                          const RecurringDialogServices &services)
{
    auto dates = LoadUserList(services, parent, filePath);
    const auto path =
        dates && services.chooseImportFile ? services.chooseImportFile(parent) : std::nullopt;
    if (!path)
        return false;
    QFile file(*path);
    ICalendarFile::Contents contents;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !ICalendarFile::read(file, contents, &error)) {
        inform(services, parent,
               QStringLiteral("The iCalendar file could not be read:\r%1: %2")
                   .arg(*path, error.isEmpty() ? file.errorString() : error));
        return false;
    }
    const ICalendarImport::Plan plan =
        ICalendarImport::plan(dates->datedEntries, contents, QFileInfo(*path).absoluteFilePath());
    if (!services.confirmImport || !services.confirmImport(parent, plan) || plan.changesNothing())
        return false;
    dates->datedEntries = ICalendarImport::apply(dates->datedEntries, plan);
    if (!dates->saveUserList(filePath, &error)) {
        inform(services, parent,
               QStringLiteral("The recurring dates could not be saved:\r%1").arg(error));
        return false;
    }
    return true;
}

bool ExportRecurringDates(QWidget *parent, const QString &filePath,
                          const RecurringDialogServices &services)
{
    const auto dates = LoadUserList(services, parent, filePath);
    const auto choice =
        dates && services.chooseExport ? services.chooseExport(parent) : std::nullopt;
    if (!choice)
        return false;
    const QDate end = choice->to.addMonths(1).addDays(-1);
    QString error;
    QStringList leftOut;
    const bool written = SaveAtomically(choice->path, &error, [&](QIODevice &device, QString *why) {
        if (choice->csv)
            return WriteDatesCsv(device, *dates, choice->from, end, why);
        // The linked holiday sets go along as the links they are, so the
        // file reads back whole.
        QBuffer calendar;
        calendar.open(QIODevice::WriteOnly);
        if (!ICalendarFile::write(calendar, dates->asDatedEntries(&leftOut), why))
            return false;
        return device.write(WithHolidayLinks(calendar.data(), dates->holidayLinks)) >= 0;
    });
    if (!written)
        inform(services, parent,
               QStringLiteral("The recurring dates could not be exported:\r%1").arg(error));
    else if (!leftOut.isEmpty())
        inform(services, parent,
               QStringLiteral("The recurring dates were exported; what could not be written:\r%1")
                   .arg(leftOut.join(u'\r')));
    return written;
}

bool ConvertEarlierRecurringDates(QWidget *parent, const QString &folder,
                                  const RecurringDialogServices &services)
{
    QString error;
    if (RecurringDatesFile::convertEarlierFile(folder, &error))
        return true;
    inform(
        services, parent,
        QStringLiteral("The earlier recurring dates file could not be converted:\r%1").arg(error));
    return false;
}

} // namespace Dayloom
