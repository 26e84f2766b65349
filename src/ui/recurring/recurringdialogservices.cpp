#include "ui/recurring/recurringdialogservices.h"

#include "ui/recurring/teditrecurringdateformula.h"
#include "ui/recurring/tgetholidays.h"
#include "ui/recurring/tselectrecurringdates.h"

#include <QApplication>
#include <QMessageBox>

namespace Dayloom {

namespace {

void showInformationBox(QWidget *parent, const QString &message)
{
    QString text = message;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

std::optional<RecurringDialogServices::EditedEntry> runFormulaDialog(QWidget *parent,
                                                                     const QString &caption,
                                                                     const QString &eventText,
                                                                     const QString &formula)
{
    TEditRecurringDateFormula dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setEntry(eventText, formula);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return RecurringDialogServices::EditedEntry{dialog.eventText(), dialog.formula()};
}

std::optional<QStringList> runHolidaysDialog(QWidget *parent)
{
    TGetHolidays dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenLines();
}

std::optional<QStringList> runSelectionDialog(QWidget *parent, const QStringList &entries)
{
    TSelectRecurringDates dialog(entries, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenLines();
}

} // namespace

RecurringDialogServices RecurringDialogServices::standard()
{
    RecurringDialogServices services;
    services.showInformation = showInformationBox;
    services.beep = [] { QApplication::beep(); };
    services.editFormula = runFormulaDialog;
    services.pickHolidays = runHolidaysDialog;
    services.selectDates = runSelectionDialog;
    return services;
}

} // namespace Dayloom
