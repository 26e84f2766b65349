#pragma once

#include "ui/recurring/checklistdialog.h"

namespace Dayloom {

// "Select Recurring Dates To Use": the entries offered for the page's month,
// in the order given, all of them selected at first. chosenLines() gives
// the entries to fill in, in list order.
class TSelectRecurringDates : public CheckListDialog
{
    Q_OBJECT

public:
    explicit TSelectRecurringDates(
        const QStringList &entries, QWidget *parent = nullptr,
        RecurringDialogServices services = RecurringDialogServices::standard());
};

} // namespace Dayloom
