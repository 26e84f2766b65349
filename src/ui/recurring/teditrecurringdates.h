#pragma once

#include "core/recurring/datedentry.h"
#include "core/recurring/holidaylink.h"
#include "core/recurring/recurringdateslist.h"
#include "ui/recurring/recurringdialogservices.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace Dayloom {

// "Recurring Dates": the user's list of recurring dates, loaded from the
// recurring-dates file and DLRECUR.ics beside it at creation: the formula
// entries (sorted), then the dated entries (in their order). New makes a
// formula entry, New Rule a dated one in the rule editor; Edit opens the
// editor of the selected entry's kind; New, Edit and Delete change the list,
// Holidays adds picked built-in holidays that are not there yet (ignoring
// case); "Add Holidays…" links a country's or region's holiday set, shown as
// one entry after the dated ones (Edit: the check list of its holidays to
// hide; Delete removes the set); Ok writes the whole list back to both
// files, Cancel drops every change. Edit and Delete are enabled exactly
// while an entry is selected. A linked set the holiday data does not know
// is kept and says so in its row.
//
// A file that exists but cannot be read fully is never overwritten: Ok then
// only reports it (see loadError()). A failed write is reported and the
// dialog stays open with the changes.
class TEditRecurringDates : public QDialog
{
    Q_OBJECT

public:
    explicit TEditRecurringDates(
        const QString &filePath, QWidget *parent = nullptr,
        RecurringDialogServices services = RecurringDialogServices::standard());

    // The formula entries as the dialog holds them, sorted.
    const QStringList &lines() const { return m_list.lines(); }
    // The dated entries, shown after the formula entries.
    const QList<DatedEntry> &datedEntries() const { return m_dated; }
    // The linked holiday sets, shown after the dated entries.
    const QList<HolidayLink> &holidayLinks() const { return m_links; }
    // The selected row, -1 for none.
    int selectedIndex() const;
    // Why the file could not be read; empty when it was (or was missing).
    const QString &loadError() const { return m_loadError; }

    void NewbuttonClick();
    void NewRulebuttonClick();
    void EditbuttonClick();
    void DeleteButtonClick();
    void HolidaysbuttonClick();
    void AddHolidaysbuttonClick();
    void accept() override;

private:
    void showList(int selectRow);
    void loadDatedEntries();
    void editDatedEntry(int index);
    void editHolidayLink(int index);
    // The entries a rule's shift may also move off: the formula entries by
    // name, the dated ones but the one of uid.
    QList<RecurringDialogServices::AvoidableEntry> avoidableBy(const QString &uid) const;
    int datedRow(int index) const { return m_list.count() + index; }
    int linkRow(int index) const { return datedRow(int(m_dated.size())) + index; }
    // The index into m_links of a row, -1 for rows of other kinds.
    int linkIndexOf(int row) const;
    int firstRowOrNone() const
    {
        return m_list.isEmpty() && m_dated.isEmpty() && m_links.isEmpty() ? -1 : 0;
    }
    void updateButtons();
    void inform(const QString &message);

    QString m_filePath;
    RecurringDialogServices m_services;
    RecurringDatesList m_list;
    QList<DatedEntry> m_dated;
    QList<HolidayLink> m_links;
    QString m_loadError;
    QListWidget *m_datesList = nullptr;
    QPushButton *m_editButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
};

} // namespace Dayloom
