#pragma once

#include "ui/recurring/recurringdialogservices.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QRadioButton;

namespace Dayloom {

// "Export Recurring Dates": the list as iCalendar (every entry, the formula
// ones as repeat rules, which other calendar programs and Import read back)
// or as CSV (date,
// description) over a range of months, to a file the user names.
class TExportRecurringDates : public QDialog
{
    Q_OBJECT

public:
    explicit TExportRecurringDates(
        QWidget *parent = nullptr,
        RecurringDialogServices services = RecurringDialogServices::standard());

    // The choice the controls say; the months' first days. A file name
    // without an extension gets ".ics" or ".csv".
    RecurringDialogServices::ExportChoice choice() const;

    void accept() override;

private:
    void browse();
    void enableControls();

    RecurringDialogServices m_services;
    QRadioButton *m_icalendar = nullptr;
    QRadioButton *m_csv = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QLineEdit *m_path = nullptr;
};

} // namespace Dayloom
