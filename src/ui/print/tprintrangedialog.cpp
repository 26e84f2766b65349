#include "ui/print/tprintrangedialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QDateEdit *MonthEdit(const QString &name, const QDate &month, QWidget *parent)
{
    auto *edit = new QDateEdit(month, parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("MMMM yyyy"));
    edit->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 1));
    return edit;
}

QDate FirstOfMonth(int year, int month)
{
    return QDate(year, month, 1);
}

} // namespace

TPrintRangeDialog::TPrintRangeDialog(const QString &caption, const PrintRange &proposed,
                                     const QDate &pageMonth, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintRangeDialog"));
    setWindowTitle(caption);
    const QDate page = FirstOfMonth(pageMonth.year(), pageMonth.month());
    QDate from = page;
    QDate to = page.addMonths(11);
    if (proposed.months) {
        from = FirstOfMonth(proposed.months->fromYear, proposed.months->fromMonth);
        to = FirstOfMonth(proposed.months->toYear, proposed.months->toMonth);
    }

    m_thisPage = new QRadioButton(QStringLiteral("&This page"), this);
    m_thisPage->setObjectName(QStringLiteral("ThisPageRadio"));
    m_months = new QRadioButton(QStringLiteral("&Months from"), this);
    m_months->setObjectName(QStringLiteral("MonthsRadio"));
    m_from = MonthEdit(QStringLiteral("FromMonth"), from, this);
    m_from->setAccessibleName(QStringLiteral("First month"));
    m_to = MonthEdit(QStringLiteral("ToMonth"), to, this);
    m_to->setAccessibleName(QStringLiteral("Last month"));
    auto *toLabel = new QLabel(QStringLiteral("t&o"), this);
    toLabel->setBuddy(m_to);
    (proposed.months ? m_months : m_thisPage)->setChecked(true);

    auto *grid = new QGridLayout;
    grid->addWidget(m_thisPage, 0, 0, 1, 4);
    grid->addWidget(m_months, 1, 0);
    grid->addWidget(m_from, 1, 1);
    grid->addWidget(toLabel, 1, 2);
    grid->addWidget(m_to, 1, 3);
    auto *note = new QLabel(QStringLiteral("One page per month (week and day planners: per week "
                                           "or day). The design's notes stay on its own month."),
                            this);
    note->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_months, &QRadioButton::toggled, this, &TPrintRangeDialog::UpdateEnabled);
    connect(m_from, &QDateEdit::dateChanged, this, [this] { KeepOrder(true); });
    connect(m_to, &QDateEdit::dateChanged, this, [this] { KeepOrder(false); });
    UpdateEnabled();
}

void TPrintRangeDialog::UpdateEnabled()
{
    m_from->setEnabled(m_months->isChecked());
    m_to->setEnabled(m_months->isChecked());
}

void TPrintRangeDialog::KeepOrder(bool fromChanged)
{
    // The last month never lies before the first, nor more than a century
    // after it (as --months).
    if (m_to->date() < m_from->date()) {
        if (fromChanged)
            m_to->setDate(m_from->date());
        else
            m_from->setDate(m_to->date());
    }
    const QDate limit = m_from->date().addMonths(1199);
    if (m_to->date() > limit)
        m_to->setDate(limit);
}

PrintRange TPrintRangeDialog::Range() const
{
    PrintRange range;
    if (m_months->isChecked()) {
        const QDate from = m_from->date();
        const QDate to = m_to->date();
        range.months = MonthSpan{from.year(), from.month(), to.year(), to.month()};
    }
    return range;
}

} // namespace Dayloom
