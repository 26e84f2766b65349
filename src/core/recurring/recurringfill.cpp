#include "core/recurring/recurringfill.h"

#include "core/recurring/datesinmonth.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringmonth.h"

#include <QFile>
#include <QRegularExpression>

namespace Dayloom {

namespace {

bool isEasterKeyword(const QString &keyword)
{
    return keyword == QLatin1String("#EASTER") || keyword == QLatin1String("#GOODFRIDAY") ||
           keyword == QLatin1String("#PALMSUNDAY");
}

bool isOffered(const RecurringEntry &entry, int month, const std::optional<RecurringMonth> &facts)
{
    const QChar kind = entry.kind();
    if (kind == u'@' || kind == u'$') {
        const auto monthField = formulaMonthField(entry.formula());
        return !monthField || *monthField == 0 || *monthField == month;
    }
    if (kind == u'#') {
        const QString keyword = entry.parsedFormula().keyword();
        return !isEasterKeyword(keyword) || (facts && facts->keywordDay(keyword) > 0);
    }
    return true;
}

QString withoutTrailingBlanks(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    text.truncate(end);
    return text;
}

} // namespace

QStringList offeredEntries(const QStringList &entries, int month, int year)
{
    const auto facts = RecurringMonth::make(year, month);
    QStringList offered;
    for (const QString &line : entries) {
        if (isOffered(RecurringEntry(line), month, facts))
            offered.append(line);
    }
    return offered;
}

QList<QStringList> fillTexts(const QStringList &chosenEntries, int month, int year)
{
    const auto facts = RecurringMonth::make(year, month);
    if (!facts)
        return {};
    QList<QStringList> texts(facts->dayCount());
    for (const QString &line : chosenEntries) {
        const RecurringEntry entry(line);
        const QList<int> days = DatesInMonth(entry.parsedFormula(), *facts);
        if (days.isEmpty())
            continue;
        const QString text = entry.fillText();
        for (const int day : days)
            texts[day - 1].append(text);
    }
    return texts;
}

QStringList listDatesInMonth(const QStringList &entries, int month, int year)
{
    const auto facts = RecurringMonth::make(year, month);
    if (!facts)
        return {};
    QList<QStringList> perDay(facts->dayCount());
    for (const QString &line : entries) {
        const RecurringEntry entry(line);
        const QList<int> days = DatesInMonth(entry.parsedFormula(), *facts);
        if (days.isEmpty())
            continue;
        const QString description = withoutTrailingBlanks(DescribeEntry(line));
        for (const int day : days)
            perDay[day - 1].append(QString::number(day) + QLatin1Char('\t') + description);
    }
    QStringList lines;
    for (const QStringList &dayLines : std::as_const(perDay))
        lines += dayLines;
    return lines;
}

std::optional<YearMonth> parseYearMonth(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{4})-([0-9]{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const YearMonth value{match.captured(1).toInt(), match.captured(2).toInt()};
    if (value.year < 1 || value.month < 1 || value.month > 12)
        return std::nullopt;
    return value;
}

bool listDatesFromFiles(const QString &yearMonth, const QStringList &datesFiles, QStringList &lines,
                        QString *error, const QList<HolidayLink> &holidays)
{
    lines.clear();
    const auto when = parseYearMonth(yearMonth);
    if (!when) {
        if (error)
            *error = QStringLiteral("Invalid month \"%1\": expected YYYY-MM.").arg(yearMonth);
        return false;
    }
    RecurringDates dates;
    if (!RecurringDates::loadSources(datesFiles, holidays, dates, error))
        return false;
    lines = dates.listMonth(when->month, when->year);
    if (error)
        error->clear();
    return true;
}

} // namespace Dayloom
