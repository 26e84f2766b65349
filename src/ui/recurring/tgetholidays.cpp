#include "ui/recurring/tgetholidays.h"

#include "core/recurring/holidays.h"

namespace Dayloom {

TGetHolidays::TGetHolidays(QWidget *parent, RecurringDialogServices services)
    : CheckListDialog(QStringLiteral("Holidays"), QStringLiteral("Holidays"), builtInHolidays(),
                      {"okbutton", "AllButton", "nonebutton", "CancelButton"}, parent,
                      std::move(services))
{
}

} // namespace Dayloom
