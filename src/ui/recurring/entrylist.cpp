#include "ui/recurring/entrylist.h"

#include "core/recurring/datedentry.h"
#include "core/recurring/dateruletext.h"
#include "core/recurring/recurringentry.h"

#include <QFontMetrics>
#include <QListWidget>

namespace Dayloom {

namespace {
constexpr int RowHeight = 16;

QListWidgetItem *AddRow(QListWidget &list, const QString &text)
{
    const QFontMetrics metrics(list.font());
    auto *item = new QListWidgetItem(text, &list);
    item->setSizeHint(QSize(metrics.horizontalAdvance(text) + 8, RowHeight));
    return item;
}

} // namespace

void FillEntryList(QListWidget &list, const QStringList &lines)
{
    list.setFont(QFont(QStringLiteral("Arial"), 9));
    list.setUniformItemSizes(true);
    list.clear();
    for (const QString &line : lines)
        AddRow(list, DescribeEntry(line))->setData(Qt::UserRole, line);
}

void AppendTextRows(QListWidget &list, const QStringList &texts)
{
    for (const QString &text : texts)
        AddRow(list, text);
}

QString DescribeDatedEntry(const DatedEntry &entry)
{
    return QStringLiteral("%1 (%2)").arg(entry.description, DescribeDateRule(entry.rule));
}

QString EntryLineAt(const QListWidget &list, int row)
{
    const QListWidgetItem *item = list.item(row);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

} // namespace Dayloom
