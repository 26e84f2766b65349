#include "ui/recurring/tselectrecurringdates.h"

namespace Dayloom {

TSelectRecurringDates::TSelectRecurringDates(const QStringList &entries, QWidget *parent,
                                             RecurringDialogServices services)
    : CheckListDialog(QStringLiteral("Select Recurring Dates To Use"), QStringLiteral("Dates"),
                      entries, {"okbutton", "Allbutton", "Nonebutton", "CancelButton"}, parent,
                      std::move(services))
{
    selectAll();
}

} // namespace Dayloom
