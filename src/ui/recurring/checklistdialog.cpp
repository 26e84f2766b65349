#include "ui/recurring/checklistdialog.h"

#include "ui/recurring/checkmarkdelegate.h"
#include "ui/recurring/entrylist.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

CheckListDialog::CheckListDialog(const QString &caption, const QString &listName,
                                 const QStringList &lines,
                                 const std::array<const char *, 4> &buttonNames, QWidget *parent,
                                 RecurringDialogServices services)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(std::move(services))
{
    setWindowTitle(caption);
    setFont(QFont(QStringLiteral("Arial"), 8));

    m_list = new QListWidget(this);
    m_list->setObjectName(listName);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->setItemDelegate(new CheckMarkDelegate(m_list));
    FillEntryList(*m_list, lines);
    m_list->setMinimumSize(360, 16 * 16);

    const QString captions[4] = {QStringLiteral("&Ok"), QStringLiteral("&All"),
                                 QStringLiteral("&None"), QStringLiteral("&Cancel")};
    QPushButton *buttons[4] = {};
    auto *row = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QPushButton(captions[i], this);
        buttons[i]->setObjectName(QLatin1String(buttonNames[i]));
        row->addWidget(buttons[i]);
    }
    buttons[0]->setDefault(true);
    connect(buttons[0], &QPushButton::clicked, this, &CheckListDialog::accept);
    connect(buttons[1], &QPushButton::clicked, this, &CheckListDialog::selectAll);
    connect(buttons[2], &QPushButton::clicked, this, &CheckListDialog::selectNone);
    connect(buttons[3], &QPushButton::clicked, this, &CheckListDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList CheckListDialog::chosenLines() const
{
    QStringList lines;
    for (int row = 0; row < m_list->count(); ++row) {
        const QString line = EntryLineAt(*m_list, row);
        if (m_list->item(row)->isSelected() && !line.isEmpty())
            lines.append(line);
    }
    return lines;
}

void CheckListDialog::selectAll()
{
    m_list->selectAll();
}

void CheckListDialog::selectNone()
{
    m_list->clearSelection();
}

void CheckListDialog::accept()
{
    if (m_list->selectedItems().isEmpty()) {
        if (m_services.beep)
            m_services.beep();
        return;
    }
    QDialog::accept();
}

} // namespace Dayloom
