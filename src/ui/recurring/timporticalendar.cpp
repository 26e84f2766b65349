#include "ui/recurring/timporticalendar.h"

#include "ui/recurring/entrylist.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QString Summary(const ICalendarImport::Plan &plan)
{
    if (plan.changesNothing())
        return QStringLiteral("The list already holds every event of this file; importing it "
                              "changes nothing.");
    const auto entries = [](qsizetype n) {
        return n == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(n);
    };
    return QStringLiteral("Importing adds %1, changes %2 and removes %3; %4 %5.")
        .arg(entries(plan.added.size()), entries(plan.changed.size()), entries(plan.removed.size()),
             entries(plan.unchanged),
             plan.unchanged == 1 ? QStringLiteral("stays as it is")
                                 : QStringLiteral("stay as they are"));
}

} // namespace

TImportICalendar::TImportICalendar(const ICalendarImport::Plan &plan, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Import iCalendar"));
    m_summary = new QLabel(Summary(plan), this);
    m_summary->setObjectName(QStringLiteral("ImportSummary"));
    m_summary->setWordWrap(true);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ImportPlan"));
    m_list->setAccessibleName(QStringLiteral("What the import changes"));
    m_list->setMinimumSize(640, 16 * 16);
    // A left-out reason is a sentence: shown whole rather than cut.
    m_list->setWordWrap(true);
    const std::pair<const char *, const QList<DatedEntry> *> groups[] = {
        {"Add: ", &plan.added}, {"Change: ", &plan.changed}, {"Remove: ", &plan.removed}};
    for (const auto &[prefix, entries] : groups) {
        for (const DatedEntry &entry : *entries)
            m_list->addItem(QLatin1String(prefix) + DescribeDatedEntry(entry));
    }
    for (const QString &line : plan.leftOut)
        m_list->addItem(QStringLiteral("Left out: ") + line);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("Okbutton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

QStringList TImportICalendar::rows() const
{
    QStringList rows;
    for (int row = 0; row < m_list->count(); ++row)
        rows.append(m_list->item(row)->text());
    return rows;
}

} // namespace Dayloom
