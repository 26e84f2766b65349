#include "ui/recurring/tselectrecurringdates.h"

#include "ui/recurring/entrylist.h"

#include <QListWidget>

namespace Dayloom {

TSelectRecurringDates::TSelectRecurringDates(const QStringList &entries, QWidget *parent,
                                             RecurringDialogServices services,
                                             const QStringList &datedTexts)
    : CheckListDialog(QStringLiteral("Select Recurring Dates To Use"), QStringLiteral("Dates"),
                      entries, {"okbutton", "Allbutton", "Nonebutton", "CancelButton"}, parent,
                      std::move(services)),
      m_formulaRows(int(entries.size()))
{
    AppendTextRows(*list(), datedTexts);
    selectAll();
}

QList<int> TSelectRecurringDates::chosenDated() const
{
    QList<int> chosen;
    for (int row = m_formulaRows; row < list()->count(); ++row) {
        if (list()->item(row)->isSelected())
            chosen.append(row - m_formulaRows);
    }
    return chosen;
}

} // namespace Dayloom
