#include "core/recurring/datescsv.h"

#include "core/recurring/recurringdates.h"

#include <QIODevice>

namespace Dayloom {

namespace {

QByteArray CsvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') &&
        !field.contains('\r'))
        return field;
    return '"' + field.replace('"', "\"\"") + '"';
}

} // namespace

bool WriteDatesCsv(QIODevice &device, const RecurringDates &dates, QDate from, QDate to,
                   QString *error)
{
    if (!from.isValid() || !to.isValid() || to < from ||
        from.daysTo(to) >= RecurringDates::MaxRangeDays) {
        if (error)
            *error = QStringLiteral("The months to export must lie within three years.");
        return false;
    }
    QByteArray out = "Date,Description\r\n";
    const QList<QStringList> perDay = dates.textsByDay(from, to);
    for (qsizetype i = 0; i < perDay.size(); ++i) {
        const QByteArray day = from.addDays(i).toString(Qt::ISODate).toLatin1();
        for (const QString &text : perDay[i])
            out += day + ',' + CsvField(text.trimmed()) + "\r\n";
    }
    if (device.write(out) != out.size()) {
        if (error)
            *error = device.errorString();
        return false;
    }
    return true;
}

} // namespace Dayloom
