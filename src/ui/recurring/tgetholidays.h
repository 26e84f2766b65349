#pragma once

#include "ui/recurring/checklistdialog.h"

namespace Dayloom {

// "Holidays": the built-in holiday list to pick from, none selected at
// first. chosenLines() gives the picked holiday lines.
class TGetHolidays : public CheckListDialog
{
    Q_OBJECT

public:
    explicit TGetHolidays(QWidget *parent = nullptr,
                          RecurringDialogServices services = RecurringDialogServices::standard());
};

} // namespace Dayloom
