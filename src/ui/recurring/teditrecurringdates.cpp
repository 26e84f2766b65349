#include "ui/recurring/teditrecurringdates.h"

#include "core/recurring/icalendarfile.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "ui/recurring/entrylist.h"
#include "ui/recurring/taddholidays.h"

#include <QFile>
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

// The row of a linked set: "Holidays: Germany, Bavaria (public, bank; 1
// hidden)"; a set the data does not know says that it is kept.
QString DescribeHolidayLink(const HolidayLink &link, const HolidayCatalogue &catalogue)
{
    if (!catalogue.contains(link.code))
        return QStringLiteral("Holidays: %1 (not in this version's holiday data; kept unused)")
            .arg(link.code);
    QString details = HolidaySetTitle(catalogue, link.code) + QStringLiteral(" (") +
                      HolidayLink::categoriesText(link.categories).replace(u',', QStringLiteral(", "));
    if (!link.hidden.isEmpty())
        details += QStringLiteral("; %1 hidden").arg(link.hidden.size());
    return QStringLiteral("Holidays: ") + details + u')';
}

// The catalogue's files that did not parse are reported once per run.
bool HolidayErrorsReported = false;

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
    loadDatedEntries();

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
    static constexpr Button buttons[] = {{"okbutton", "Ok"},
                                         {"Editbutton", "Edit"},
                                         {"Newbutton", "New"},
                                         {"NewRulebutton", "New Rule..."},
                                         {"DeleteButton", "Delete"},
                                         {"Holidaysbutton", "Holidays"},
                                         {"AddHolidaysbutton", "Add Holidays…"},
                                         {"CancelButton", "Cancel"}};
    auto *row = new QHBoxLayout;
    QList<QPushButton *> made;
    for (const Button &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QLatin1String(b.name));
        row->addWidget(button);
        made.append(button);
    }
    made[0]->setDefault(true);
    m_editButton = made[1];
    m_deleteButton = made[4];
    connect(made[0], &QPushButton::clicked, this, &TEditRecurringDates::accept);
    connect(made[1], &QPushButton::clicked, this, &TEditRecurringDates::EditbuttonClick);
    connect(made[2], &QPushButton::clicked, this, &TEditRecurringDates::NewbuttonClick);
    connect(made[3], &QPushButton::clicked, this, &TEditRecurringDates::NewRulebuttonClick);
    connect(made[4], &QPushButton::clicked, this, &TEditRecurringDates::DeleteButtonClick);
    connect(made[5], &QPushButton::clicked, this, &TEditRecurringDates::HolidaysbuttonClick);
    connect(made[6], &QPushButton::clicked, this, &TEditRecurringDates::AddHolidaysbuttonClick);
    connect(made[7], &QPushButton::clicked, this, &TEditRecurringDates::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_datesList);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    showList(firstRowOrNone());
}

void TEditRecurringDates::loadDatedEntries()
{
    // A broken DLRECUR.ics is never overwritten either: its entries would be lost.
    QFile file(RecurringDates::icsPathBeside(m_filePath));
    if (!file.exists() || !m_loadError.isEmpty())
        return;
    ICalendarFile::Contents contents;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !ICalendarFile::read(file, contents, &error)) {
        m_loadError = QStringLiteral("%1: %2").arg(file.fileName(),
                                                   error.isEmpty() ? file.errorString() : error);
        return;
    }
    m_dated = std::move(contents.entries);
    if (file.seek(0))
        m_links = ReadHolidayLinks(file.readAll()); // the reader took it whole: it is small
}

int TEditRecurringDates::selectedIndex() const
{
    const QList<QListWidgetItem *> selected = m_datesList->selectedItems();
    return selected.isEmpty() ? -1 : m_datesList->row(selected.first());
}

void TEditRecurringDates::showList(int selectRow)
{
    FillEntryList(*m_datesList, m_list.lines());
    QStringList datedTexts;
    for (const DatedEntry &entry : std::as_const(m_dated))
        datedTexts.append(DescribeDatedEntry(entry));
    AppendTextRows(*m_datesList, datedTexts);
    if (!m_links.isEmpty()) {
        const HolidayCatalogue &catalogue = m_services.holidayCatalogue
                                                ? m_services.holidayCatalogue()
                                                : HolidayCatalogue::shipped();
        QStringList linkTexts;
        for (const HolidayLink &link : std::as_const(m_links))
            linkTexts.append(DescribeHolidayLink(link, catalogue));
        AppendTextRows(*m_datesList, linkTexts);
    }
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

QList<RecurringDialogServices::AvoidableEntry>
TEditRecurringDates::avoidableBy(const QString &uid) const
{
    QList<RecurringDialogServices::AvoidableEntry> others;
    QStringList names;
    for (const QString &line : m_list.lines()) {
        const QString name = RecurringEntry(line).name();
        if (names.contains(name))
            continue;
        names.append(name);
        others.append({name, withoutTrailingBlanks(DescribeEntry(line))});
    }
    for (const DatedEntry &entry : m_dated) {
        if (entry.uid != uid)
            others.append({entry.uid, DescribeDatedEntry(entry)});
    }
    return others;
}

void TEditRecurringDates::NewRulebuttonClick()
{
    if (!m_services.editDateRule)
        return;
    DatedEntry fresh;
    fresh.uid = DatedEntry::newUid();
    fresh.rule.first = QDate::currentDate();
    const auto edited = m_services.editDateRule(this, QStringLiteral("Add Recurring Date Rule"),
                                                fresh, avoidableBy(fresh.uid));
    if (!edited) {
        updateButtons();
        return;
    }
    m_dated.append(*edited);
    showList(datedRow(int(m_dated.size()) - 1));
}

void TEditRecurringDates::editDatedEntry(int index)
{
    if (!m_services.editDateRule)
        return;
    const auto edited = m_services.editDateRule(this, QStringLiteral("Edit Recurring Date Rule"),
                                                m_dated.at(index), avoidableBy(m_dated[index].uid));
    if (!edited) {
        updateButtons();
        return;
    }
    m_dated[index] = *edited;
    showList(datedRow(index));
}

void TEditRecurringDates::EditbuttonClick()
{
    const int index = selectedIndex();
    if (index < 0) {
        if (m_services.beep)
            m_services.beep();
        return;
    }
    if (const int link = linkIndexOf(index); link >= 0) {
        editHolidayLink(link);
        return;
    }
    if (index >= m_list.count()) {
        editDatedEntry(index - m_list.count());
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
    if (const int link = linkIndexOf(index); link >= 0)
        m_links.removeAt(link);
    else if (index >= m_list.count())
        m_dated.removeAt(index - m_list.count());
    else
        m_list.removeAt(index);
    showList(firstRowOrNone());
}

void TEditRecurringDates::HolidaysbuttonClick()
{
    const int selected = selectedIndex();
    const QString selectedLine =
        selected >= 0 && selected < m_list.count() ? m_list.at(selected) : QString();
    const int count = m_list.count();
    const auto picked = m_services.pickHolidays ? m_services.pickHolidays(this) : std::nullopt;
    if (picked)
        m_list.addMissing(*picked);
    const int keep = selectedLine.isEmpty() ? -1 : m_list.indexOf(selectedLine);
    const int datedSelected = selected >= 0 && selectedLine.isEmpty() ? selected - count : -1;
    showList(keep >= 0 ? keep : datedSelected >= 0 ? datedRow(datedSelected) : firstRowOrNone());
}

int TEditRecurringDates::linkIndexOf(int row) const
{
    const int index = row - linkRow(0);
    return index >= 0 && index < m_links.size() ? index : -1;
}

void TEditRecurringDates::editHolidayLink(int index)
{
    if (!m_services.holidayCatalogue || !m_services.chooseShownHolidays)
        return;
    const HolidayCatalogue &catalogue = m_services.holidayCatalogue();
    const HolidayLink &link = m_links.at(index);
    const HolidayCountry *country = catalogue.find(link.code);
    if (!country) {
        inform(QStringLiteral("The holiday set %1 is not in this version's holiday data. It is "
                              "kept in the list and writes nothing; Delete removes it.")
                   .arg(link.code));
        return;
    }
    const auto hidden =
        m_services.chooseShownHolidays(this, *country, link, HolidaySetTitle(catalogue, link.code));
    if (hidden)
        m_links[index].hidden = *hidden;
    showList(linkRow(index));
}

void TEditRecurringDates::AddHolidaysbuttonClick()
{
    if (!m_services.holidayCatalogue || !m_services.addHolidays)
        return;
    const HolidayCatalogue &catalogue = m_services.holidayCatalogue();
    if (!catalogue.errors().isEmpty() && !HolidayErrorsReported) {
        HolidayErrorsReported = true;
        inform(QStringLiteral("Some holiday sets could not be read and are left out:\r%1")
                   .arg(catalogue.errors().join(u'\r')));
    }
    const int selected = selectedIndex();
    const auto chosen = m_services.addHolidays(this, catalogue);
    if (!chosen) {
        showList(selected);
        return;
    }
    // Adding a set again changes its categories; what the user hid stays hidden.
    for (qsizetype i = 0; i < m_links.size(); ++i) {
        if (m_links[i].code == chosen->code) {
            m_links[i].categories = chosen->categories;
            showList(linkRow(int(i)));
            return;
        }
    }
    m_links.append(*chosen);
    showList(linkRow(int(m_links.size()) - 1));
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
    RecurringDates dates;
    dates.formulaLines = m_list.lines();
    dates.datedEntries = m_dated;
    dates.holidayLinks = m_links;
    if (!dates.saveUserList(m_filePath, &error)) {
        inform(QStringLiteral("The recurring dates could not be saved:\r%1").arg(error));
        return;
    }
    QDialog::accept();
}

} // namespace Dayloom
