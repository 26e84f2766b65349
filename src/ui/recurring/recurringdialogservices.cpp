#include "ui/recurring/recurringdialogservices.h"

#include "ui/recurring/taddholidays.h"
#include "ui/recurring/teditdaterule.h"
#include "ui/recurring/teditrecurringdateformula.h"
#include "ui/recurring/texportrecurringdates.h"
#include "ui/recurring/tgetholidays.h"
#include "ui/recurring/timporticalendar.h"
#include "ui/recurring/tlinkedholidays.h"
#include "ui/recurring/tselectrecurringdates.h"

#include <QApplication>
#include <QFileDialog>
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

std::optional<HolidayLink> runAddHolidaysDialog(QWidget *parent, const HolidayCatalogue &catalogue)
{
    TAddHolidays dialog(catalogue, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.link();
}

std::optional<QStringList> runLinkedHolidaysDialog(QWidget *parent, const HolidayCountry &country,
                                                   const HolidayLink &link, const QString &title)
{
    TLinkedHolidays dialog(country, link, title, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.hidden();
}

std::optional<RecurringDialogServices::ChosenDates>
runSelectionDialog(QWidget *parent, const QStringList &entries, const QStringList &datedTexts)
{
    TSelectRecurringDates dialog(entries, parent, RecurringDialogServices::standard(), datedTexts);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return RecurringDialogServices::ChosenDates{dialog.chosenLines(), dialog.chosenDated()};
}

std::optional<DatedEntry>
runRuleEditor(QWidget *parent, const QString &caption, const DatedEntry &entry,
              const QList<RecurringDialogServices::AvoidableEntry> &others)
{
    TEditDateRule dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setAvoidable(others);
    dialog.setEntry(entry);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.entry();
}

std::optional<QString> chooseICalendarFile(QWidget *parent)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Import iCalendar"), QString(),
                                     QStringLiteral("iCalendar files (*.ics);;All files (*)"));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

bool runImportDialog(QWidget *parent, const ICalendarImport::Plan &plan)
{
    TImportICalendar dialog(plan, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<RecurringDialogServices::ExportChoice> runExportDialog(QWidget *parent)
{
    TExportRecurringDates dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace

RecurringDialogServices RecurringDialogServices::standard()
{
    RecurringDialogServices services;
    services.showInformation = showInformationBox;
    services.beep = [] { QApplication::beep(); };
    services.editFormula = runFormulaDialog;
    services.pickHolidays = runHolidaysDialog;
    services.holidayCatalogue = []() -> const HolidayCatalogue & {
        return HolidayCatalogue::shipped();
    };
    services.addHolidays = runAddHolidaysDialog;
    services.chooseShownHolidays = runLinkedHolidaysDialog;
    services.selectDates = runSelectionDialog;
    services.editDateRule = runRuleEditor;
    services.chooseImportFile = chooseICalendarFile;
    services.confirmImport = runImportDialog;
    services.chooseExport = runExportDialog;
    return services;
}

} // namespace Dayloom
