#include "ui/recurring/entrylist.h"

#include "core/recurring/recurringentry.h"

#include <QFontMetrics>
#include <QListWidget>

namespace Dayloom {

namespace {
constexpr int RowHeight = 16;
}

void FillEntryList(QListWidget &list, const QStringList &lines)
{
    list.setFont(QFont(QStringLiteral("Arial"), 9));
    list.setUniformItemSizes(true);
    list.clear();
    const QFontMetrics metrics(list.font());
    for (const QString &line : lines) {
        const QString text = DescribeEntry(line);
        auto *item = new QListWidgetItem(text, &list);
        item->setData(Qt::UserRole, line);
        item->setSizeHint(QSize(metrics.horizontalAdvance(text) + 8, RowHeight));
    }
}

QString EntryLineAt(const QListWidget &list, int row)
{
    const QListWidgetItem *item = list.item(row);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

} // namespace Dayloom
