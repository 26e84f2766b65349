#include "ui/recurring/teditrecurringdates.h"

#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "ui/recurring/entrylist.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QString withoutTrailingBlanks(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

} // namespace

TEditRecurringDates::TEditRecurringDates(const QString &filePath, QWidget *parent,
                                         RecurringDialogServices services)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_filePath(filePath), m_services(std::move(services))
{
    setWindowTitle(QStringLiteral("Recurring Dates"));
    setFont(QFont(QStringLiteral("Arial"), 8));

    QStringList lines;
    QString error;
    if (!RecurringDatesFile::load(filePath, lines, &error))
        m_loadError = error.isEmpty() ? QStringLiteral("The file could not be read.") : error;
    m_list = RecurringDatesList(lines);

    m_datesList = new QListWidget(this);
    m_datesList->setObjectName(QStringLiteral("DatesList"));
    m_datesList->setAccessibleName(QStringLiteral("Recurring dates"));
    m_datesList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_datesList->setMinimumSize(420, 16 * 16);
    connect(m_datesList, &QListWidget::itemSelectionChanged, this,
            &TEditRecurringDates::updateButtons);
    connect(m_datesList, &QListWidget::itemDoubleClicked, this,
            &TEditRecurringDates::EditbuttonClick);

    struct Button
    {
        const char *name;
        const char *caption;
    };
    static constexpr Button buttons[] = {
        {"okbutton", "Ok"},         {"Editbutton", "Edit"},         {"Newbutton", "New"},
        {"DeleteButton", "Delete"}, {"Holidaysbutton", "Holidays"}, {"CancelButton", "Cancel"}};
    auto *row = new QHBoxLayout;
    QList<QPushButton *> made;
    for (const Button &b : buttons) {
        auto *button = new QPushButton(QLatin1String(b.caption), this);
        button->setObjectName(QLatin1String(b.name));
        row->addWidget(button);
        made.append(button);
    }
    made[0]->setDefault(true);
    m_editButton = made[1];
    m_deleteButton = made[3];
    connect(made[0], &QPushButton::clicked, this, &TEditRecurringDates::accept);
    connect(made[1], &QPushButton::clicked, this, &TEditRecurringDates::EditbuttonClick);
    connect(made[2], &QPushButton::clicked, this, &TEditRecurringDates::NewbuttonClick);
    connect(made[3], &QPushButton::clicked, this, &TEditRecurringDates::DeleteButtonClick);
    connect(made[4], &QPushButton::clicked, this, &TEditRecurringDates::HolidaysbuttonClick);
    connect(made[5], &QPushButton::clicked, this, &TEditRecurringDates::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_datesList);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    showList(m_list.isEmpty() ? -1 : 0);
}

int TEditRecurringDates::selectedIndex() const
{
    const QList<QListWidgetItem *> selected = m_datesList->selectedItems();
    return selected.isEmpty() ? -1 : m_datesList->row(selected.first());
}

void TEditRecurringDates::showList(int selectRow)
{
    FillEntryList(*m_datesList, m_list.lines());
    if (selectRow >= 0 && selectRow < m_datesList->count()) {
        m_datesList->setCurrentRow(selectRow);
        m_datesList->scrollToItem(m_datesList->item(selectRow));
    }
    updateButtons();
}

void TEditRecurringDates::updateButtons()
{
    const bool selected = selectedIndex() >= 0;
    m_editButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
}

void TEditRecurringDates::inform(const QString &message)
{
    if (m_services.showInformation)
        m_services.showInformation(this, message);
}

void TEditRecurringDates::NewbuttonClick()
{
    if (!m_services.editFormula)
        return;
    const auto edited =
        m_services.editFormula(this, QStringLiteral("Add Recurring Date"),
                               QStringLiteral("[Enter event]"), QStringLiteral("@"));
    if (!edited) {
        updateButtons();
        return;
    }
    showList(m_list.add(RecurringEntry::makeLine(edited->eventText, edited->formula)));
}

void TEditRecurringDates::EditbuttonClick()
{
    const int index = selectedIndex();
    if (index < 0) {
        if (m_services.beep)
            m_services.beep();
        return;
    }
    const RecurringEntry entry(m_list.at(index));
    if (entry.kind() == u'#') {
        inform(QStringLiteral("This entry cannot be edited"));
        return;
    }
    if (!entry.isEditable() || !m_services.editFormula)
        return;
    // The name field without its padding: the blanks would only fill the edit.
    const auto edited =
        m_services.editFormula(this, QStringLiteral("Edit Recurring Date Formula"),
                               withoutTrailingBlanks(entry.nameField()), entry.editableFormula());
    if (!edited) {
        updateButtons();
        return;
    }
    showList(m_list.replace(index, RecurringEntry::makeLine(edited->eventText, edited->formula)));
}

void TEditRecurringDates::DeleteButtonClick()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    m_list.removeAt(index);
    showList(m_list.isEmpty() ? -1 : 0);
}

void TEditRecurringDates::HolidaysbuttonClick()
{
    const int selected = selectedIndex();
    const QString selectedLine = selected >= 0 ? m_list.at(selected) : QString();
    const auto picked = m_services.pickHolidays ? m_services.pickHolidays(this) : std::nullopt;
    if (picked)
        m_list.addMissing(*picked);
    const int keep = selectedLine.isEmpty() ? -1 : m_list.indexOf(selectedLine);
    showList(keep >= 0 ? keep : (m_list.isEmpty() ? -1 : 0));
}

void TEditRecurringDates::accept()
{
    if (!m_loadError.isEmpty()) {
        inform(QStringLiteral("The recurring dates file could not be read, so it is not "
                              "replaced:\r%1")
                   .arg(m_loadError));
        return;
    }
    QString error;
    if (!RecurringDatesFile::save(m_filePath, m_list.lines(), &error)) {
        inform(QStringLiteral("The recurring dates could not be saved:\r%1").arg(error));
        return;
    }
    QDialog::accept();
}

} // namespace Dayloom
