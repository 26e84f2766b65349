#pragma once

#include "ui/recurring/checklistdialog.h"

namespace Dayloom {

// "Select Recurring Dates To Use": the entries offered for the page's month,
// the formula entries in the order given, then the dated entries by their
// texts, all of them selected at first. chosenLines() gives the formula
// entries to fill in, chosenDated() the indices of the dated ones, both in
// list order.
class TSelectRecurringDates : public CheckListDialog
{
    Q_OBJECT

public:
    explicit TSelectRecurringDates(
        const QStringList &entries, QWidget *parent = nullptr,
        RecurringDialogServices services = RecurringDialogServices::standard(),
        const QStringList &datedTexts = {});

    QList<int> chosenDated() const;

private:
    int m_formulaRows = 0;
};

} // namespace Dayloom
