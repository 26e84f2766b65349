#include "ui/recurring/tlinkedholidays.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Dayloom {

TLinkedHolidays::TLinkedHolidays(const HolidayCountry &country, const HolidayLink &link,
                                 const QString &title, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Holidays of %1").arg(title));
    setFont(QFont(QStringLiteral("Arial"), 8));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("HolidaysList"));
    m_list->setAccessibleName(QStringLiteral("Holidays written into the calendar"));
    m_list->setMinimumSize(360, 16 * 16);
    const QString region = link.code.contains(u'-') ? link.code.section(u'-', 1) : QString();
    const QString language = QLocale::languageToCode(QLocale().language(), QLocale::ISO639Part1);
    QStringList listed;
    for (const Holiday &holiday : country.holidays) {
        // As the set's days are chosen: a whole country leaves out the
        // holidays only some of its regions keep.
        if (!(int(holiday.category) & link.categories) || !holiday.appliesIn(region) ||
            (region.isEmpty() && !holiday.regions.isEmpty()) || listed.contains(holiday.id))
            continue;
        listed.append(holiday.id);
        // A holiday the law changed over the years is several entries of one
        // name: one row hides them all.
        const QString name = NameIn(holiday.names, language, country.languages);
        const QList<QListWidgetItem *> same = m_list->findItems(name, Qt::MatchExactly);
        QListWidgetItem *item = same.isEmpty() ? new QListWidgetItem(name, m_list) : same.first();
        const QStringList ids = item->data(Qt::UserRole).toStringList() + QStringList{holiday.id};
        item->setData(Qt::UserRole, ids);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        const bool allHidden = std::all_of(
            ids.cbegin(), ids.cend(), [&](const QString &id) { return link.hidden.contains(id); });
        item->setCheckState(allHidden ? Qt::Unchecked : Qt::Checked);
    }
    for (const QString &id : link.hidden) {
        if (!listed.contains(id))
            m_hiddenElsewhere.append(id);
    }

    auto *ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("Okbutton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(ok, &QPushButton::clicked, this, &TLinkedHolidays::accept);
    connect(cancel, &QPushButton::clicked, this, &TLinkedHolidays::reject);
    auto *label = new QLabel(QStringLiteral("&Holidays written into the calendar:"), this);
    label->setBuddy(m_list);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

QStringList TLinkedHolidays::hidden() const
{
    QStringList ids = m_hiddenElsewhere;
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem *item = m_list->item(row);
        if (item->checkState() == Qt::Unchecked)
            ids += item->data(Qt::UserRole).toStringList();
    }
    return ids;
}

} // namespace Dayloom
