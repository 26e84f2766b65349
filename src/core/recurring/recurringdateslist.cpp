#include "core/recurring/recurringdateslist.h"

#include <algorithm>

namespace Dayloom {

namespace {

bool sameIgnoringCase(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

RecurringDatesList::RecurringDatesList(const QStringList &lines) : m_lines(sorted(lines)) {}

bool RecurringDatesList::lessThan(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

QStringList RecurringDatesList::sorted(QStringList lines)
{
    std::stable_sort(lines.begin(), lines.end(), lessThan);
    return lines;
}

int RecurringDatesList::lowerBound(const QString &line) const
{
    return int(std::lower_bound(m_lines.cbegin(), m_lines.cend(), line, lessThan) -
               m_lines.cbegin());
}

int RecurringDatesList::indexOf(const QString &line) const
{
    const int index = lowerBound(line);
    return index < count() && sameIgnoringCase(m_lines.at(index), line) ? index : -1;
}

int RecurringDatesList::add(const QString &line)
{
    const int index =
        int(std::upper_bound(m_lines.cbegin(), m_lines.cend(), line, lessThan) - m_lines.cbegin());
    m_lines.insert(index, line);
    return index;
}

int RecurringDatesList::replace(int index, const QString &line)
{
    removeAt(index);
    return add(line);
}

void RecurringDatesList::removeAt(int index)
{
    if (index >= 0 && index < count())
        m_lines.removeAt(index);
}

int RecurringDatesList::addMissing(const QStringList &lines)
{
    int added = 0;
    for (const QString &line : lines) {
        if (!contains(line)) {
            add(line);
            ++added;
        }
    }
    return added;
}

} // namespace Dayloom
