#include "ui/recurring/texportrecurringdates.h"

#include "core/recurring/recurringdates.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QDateEdit *MakeMonthEdit(QWidget *parent, const char *name, QDate month)
{
    auto *edit = new QDateEdit(month, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDisplayFormat(QStringLiteral("MMM yyyy"));
    return edit;
}

QDate FirstOfMonth(QDate date)
{
    return QDate(date.year(), date.month(), 1);
}

} // namespace

TExportRecurringDates::TExportRecurringDates(QWidget *parent, RecurringDialogServices services)
    : QDialog(parent), m_services(std::move(services))
{
    setWindowTitle(QStringLiteral("Export Recurring Dates"));
    m_icalendar = new QRadioButton(QStringLiteral("&iCalendar (.ics)"), this);
    m_icalendar->setObjectName(QStringLiteral("rbICalendar"));
    m_icalendar->setChecked(true);
    m_csv = new QRadioButton(QStringLiteral("&CSV (date, description)"), this);
    m_csv->setObjectName(QStringLiteral("rbCsv"));
    auto *note = new QLabel(
        QStringLiteral("The iCalendar file holds every entry as a repeating event, which "
                       "calendar programs and Import iCalendar read. The CSV file lists the "
                       "dates of every entry in the months chosen."),
        this);
    note->setWordWrap(true);

    const QDate thisYear(QDate::currentDate().year(), 1, 1);
    m_from = MakeMonthEdit(this, "FromMonth", thisYear);
    m_to = MakeMonthEdit(this, "ToMonth", thisYear.addMonths(11));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("FilePath"));
    m_path->setMinimumWidth(320);
    auto *browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("Browsebutton"));
    connect(browse, &QPushButton::clicked, this, &TExportRecurringDates::browse);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path);
    pathRow->addWidget(browse);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&From:"), m_from);
    form->addRow(QStringLiteral("&To:"), m_to);
    form->addRow(QStringLiteral("File:"), pathRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("Okbutton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TExportRecurringDates::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_csv, &QRadioButton::toggled, this, &TExportRecurringDates::enableControls);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_icalendar);
    layout->addWidget(m_csv);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
    enableControls();
}

void TExportRecurringDates::enableControls()
{
    m_from->setEnabled(m_csv->isChecked());
    m_to->setEnabled(m_csv->isChecked());
}

void TExportRecurringDates::browse()
{
    const bool csv = m_csv->isChecked();
    const QString path = QFileDialog::getSaveFileName(
        this, windowTitle(), m_path->text(),
        csv ? QStringLiteral("CSV files (*.csv)") : QStringLiteral("iCalendar files (*.ics)"));
    if (!path.isEmpty())
        m_path->setText(path);
}

RecurringDialogServices::ExportChoice TExportRecurringDates::choice() const
{
    QString path = m_path->text().trimmed();
    // A name typed without an extension gets the chosen format's.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += m_csv->isChecked() ? QStringLiteral(".csv") : QStringLiteral(".ics");
    return {path, m_csv->isChecked(), FirstOfMonth(m_from->date()), FirstOfMonth(m_to->date())};
}

void TExportRecurringDates::accept()
{
    const auto chosen = choice();
    const QDate end = chosen.to.addMonths(1).addDays(-1);
    QString problem;
    if (chosen.path.isEmpty())
        problem = QStringLiteral("Name the file to write.");
    else if (chosen.csv &&
             (end < chosen.from || chosen.from.daysTo(end) >= RecurringDates::MaxRangeDays))
        problem = QStringLiteral("Choose up to 36 months, the first not after the last.");
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    if (m_services.showInformation)
        m_services.showInformation(this, problem);
}

} // namespace Dayloom
