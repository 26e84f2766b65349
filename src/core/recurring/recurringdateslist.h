#pragma once

#include <QString>
#include <QStringList>

namespace Dayloom {

// The user's recurring dates as the Recurring Dates dialog keeps them:
// sorted by the whole line, ignoring letter case. Every entry the user made
// is kept, also lines that differ only in case or are equal; only Holidays
// (addMissing) skips lines already there.
class RecurringDatesList
{
public:
    RecurringDatesList() = default;
    // Sorts the lines; lines that compare equal keep their order.
    explicit RecurringDatesList(const QStringList &lines);

    // Case-insensitive order of whole lines, the order of the list and file.
    static bool lessThan(const QString &a, const QString &b);
    // Sorts, keeping every line; equal lines keep their order.
    static QStringList sorted(QStringList lines);

    const QStringList &lines() const { return m_lines; }
    int count() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QString &at(int index) const { return m_lines.at(index); }
    // Index of the line (ignoring case), -1 when absent.
    int indexOf(const QString &line) const;
    bool contains(const QString &line) const { return indexOf(line) >= 0; }

    // Inserts the line in order (after lines equal to it ignoring case) and
    // returns its index.
    int add(const QString &line);
    // Replaces the line at index (as the dialog's Edit does) and returns the
    // new line's index. An index out of range only adds.
    int replace(int index, const QString &line);
    // Ignores indices out of range.
    void removeAt(int index);
    // Adds every line not yet present (ignoring case); returns how many.
    int addMissing(const QStringList &lines);

private:
    int lowerBound(const QString &line) const;

    QStringList m_lines;
};

} // namespace Dayloom
