#include "core/recurring/recurringdates.h"

#include "core/io/saveatomically.h"
#include "core/recurring/datesinmonth.h"
#include "core/recurring/formulaasrule.h"
#include "core/recurring/icalendarfile.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringfill.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace Dayloom {

namespace {

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool ReadICalendar(const QString &path, RecurringDates &list, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    ICalendarFile::Contents contents;
    QString reason;
    if (!ICalendarFile::read(file, contents, &reason))
        return Fail(error, QStringLiteral("%1: %2").arg(path, reason));
    list.datedEntries = std::move(contents.entries);
    // The reader took it whole, so the file is within its bound.
    if (file.seek(0))
        list.holidayLinks = ReadHolidayLinks(file.readAll());
    return true;
}

// A UID for a formula entry that stays the same as long as its line does.
QString UidOfFormulaLine(const QString &line)
{
    const QByteArray hash =
        QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    return QStringLiteral("formula-") + QString::fromLatin1(hash) + QStringLiteral("@dayloom");
}

} // namespace

QString RecurringDates::icsPathBeside(const QString &daxPath)
{
    return QFileInfo(daxPath).dir().filePath(icsFileName());
}

bool RecurringDates::loadUserList(const QString &daxPath, RecurringDates &out, QString *error)
{
    RecurringDates list;
    QString reason;
    if (!RecurringDatesFile::load(daxPath, list.formulaLines, &reason))
        return Fail(error, QStringLiteral("%1: %2").arg(daxPath, reason));
    const QString icsPath = icsPathBeside(daxPath);
    if (QFile::exists(icsPath) && !ReadICalendar(icsPath, list, error))
        return false;
    out = std::move(list);
    return true;
}

bool RecurringDates::saveUserList(const QString &daxPath, QString *error) const
{
    if (!RecurringDatesFile::save(daxPath, formulaLines, error))
        return false;
    const QString icsPath = icsPathBeside(daxPath);
    if (datedEntries.isEmpty() && holidayLinks.isEmpty() && !QFile::exists(icsPath))
        return true;
    return SaveAtomically(icsPath, error, [this](QIODevice &device, QString *why) {
        if (holidayLinks.isEmpty())
            return ICalendarFile::write(device, datedEntries, why);
        QBuffer calendar;
        calendar.open(QIODevice::WriteOnly);
        ICalendarFile::write(calendar, datedEntries, why);
        const QByteArray bytes = WithHolidayLinks(calendar.data(), holidayLinks);
        if (device.write(bytes) == bytes.size())
            return true;
        return Fail(why, device.errorString());
    });
}

bool RecurringDates::loadFile(const QString &path, RecurringDates &out, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return Fail(error, QStringLiteral("%1: no such file.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const bool icalendar = ICalendarFile::looksLikeICalendar(file.peek(64));
    file.close();
    RecurringDates list;
    if (icalendar) {
        if (!ReadICalendar(path, list, error))
            return false;
    } else {
        QString reason;
        if (!RecurringDatesFile::load(path, list.formulaLines, &reason))
            return Fail(error, QStringLiteral("%1: %2").arg(path, reason));
    }
    out = std::move(list);
    return true;
}

bool RecurringDates::loadFiles(const QStringList &paths, RecurringDates &out, QString *error)
{
    RecurringDates all;
    if (paths.isEmpty() && !loadUserList(RecurringDatesFile::defaultPath(), all, error))
        return false;
    for (const QString &path : paths) {
        RecurringDates one;
        if (!loadFile(path, one, error))
            return false;
        all.append(one);
    }
    out = std::move(all);
    return true;
}

bool RecurringDates::loadSources(const QStringList &paths, const QList<HolidayLink> &holidays,
                                 RecurringDates &out, QString *error)
{
    RecurringDates all;
    if ((!paths.isEmpty() || holidays.isEmpty()) && !loadFiles(paths, all, error))
        return false;
    for (const HolidayLink &link : holidays)
        all.linkHolidays(link);
    out = std::move(all);
    return true;
}

void RecurringDates::append(const RecurringDates &other)
{
    formulaLines += other.formulaLines;
    datedEntries += other.datedEntries;
    for (const HolidayLink &link : other.holidayLinks)
        linkHolidays(link);
}

void RecurringDates::linkHolidays(const HolidayLink &link)
{
    const auto same = [&](const HolidayLink &l) { return l.code == link.code; };
    const auto it = std::find_if(holidayLinks.begin(), holidayLinks.end(), same);
    if (it == holidayLinks.end())
        holidayLinks.append(link);
    else
        *it = link;
}

QList<DatedEntry> RecurringDates::asDatedEntries(QStringList *leftOut) const
{
    QList<DatedEntry> entries;
    QHash<QString, QStringList> uidsByName;
    QSet<QString> uids;
    for (const QString &line : formulaLines) {
        QString uid = UidOfFormulaLine(line);
        // The same line twice is two entries, as in the list.
        for (int copy = 2; uids.contains(uid); ++copy)
            uid = UidOfFormulaLine(line) + u'-' + QString::number(copy);
        const auto entry = FormulaAsDatedEntry(line, uid);
        if (!entry) {
            if (leftOut)
                leftOut->append(QStringLiteral("%1: it falls on no day and is left out")
                                    .arg(RecurringEntry(line).name()));
            continue;
        }
        uids.insert(uid);
        uidsByName[entry->description].append(uid);
        entries.append(*entry);
    }
    for (DatedEntry entry : datedEntries) {
        QStringList avoids;
        for (const QString &avoided : std::as_const(entry.shiftAvoids)) {
            const auto formulaUids = uidsByName.constFind(avoided);
            if (formulaUids == uidsByName.cend()) {
                avoids.append(avoided);
                continue;
            }
            // A name may also be another dated entry's UID.
            if (std::any_of(datedEntries.begin(), datedEntries.end(),
                            [&](const DatedEntry &e) { return e.uid == avoided; }))
                avoids.append(avoided);
            avoids += *formulaUids;
        }
        entry.shiftAvoids = avoids;
        // Where an entry was imported from is this computer's business.
        entry.source.clear();
        entries.append(std::move(entry));
    }
    return entries;
}

QSet<qint64> RecurringDates::blockedFor(const DatedEntry &entry, QDate from, QDate to) const
{
    QSet<qint64> blocked;
    if (entry.shiftAvoids.isEmpty())
        return blocked;
    // A shift moves at most two weeks; the dates it avoids are its
    // neighbours' own, unmoved by what those avoid in turn.
    const QDate near = from.addDays(-31), far = to.addDays(31);
    for (const DatedEntry &other : datedEntries) {
        if (other.uid == entry.uid || !entry.shiftAvoids.contains(other.uid))
            continue;
        for (const auto &day : other.rule.daysBetween(near, far))
            blocked.insert(day.day.toJulianDay());
    }
    // Formula entries have no UID: they are named by their name.
    for (const QString &line : formulaLines) {
        const RecurringEntry formulaEntry(line);
        if (!entry.shiftAvoids.contains(formulaEntry.name()))
            continue;
        for (QDate month(near.year(), near.month(), 1); month <= far; month = month.addMonths(1)) {
            for (const int day : DatesInMonth(formulaEntry.formula(), month.year(), month.month()))
                blocked.insert(month.addDays(day - 1).toJulianDay());
        }
    }
    return blocked;
}

QList<QList<std::pair<QDate, QString>>>
RecurringDates::datedTexts(QDate from, QDate to, const RecurringDates &avoided) const
{
    QList<QList<std::pair<QDate, QString>>> perEntry;
    for (const DatedEntry &entry : datedEntries) {
        QList<std::pair<QDate, QString>> days;
        // Most texts are the same on every day: shared, not built again.
        const bool sameText =
            !entry.rule.startTime.isValid() && !entry.description.contains(u"{years}");
        for (const auto &shown :
             entry.rule.daysBetween(from, to, avoided.blockedFor(entry, from, to)))
            days.append({shown.day, sameText ? entry.description : entry.textFor(shown.start)});
        perEntry.append(std::move(days));
    }
    return perEntry;
}

QList<QStringList> RecurringDates::textsByDay(QDate from, QDate to, const QString &language) const
{
    return textsByDay(from, to, *this, language);
}

QList<QStringList> RecurringDates::textsByDay(QDate from, QDate to, const RecurringDates &avoided,
                                              const QString &language) const
{
    if (!from.isValid() || !to.isValid() || to < from || from.daysTo(to) >= MaxRangeDays)
        return {};
    QList<QStringList> texts(from.daysTo(to) + 1);
    for (QDate month(from.year(), from.month(), 1); month <= to; month = month.addMonths(1)) {
        const QList<QStringList> perDay = fillTexts(formulaLines, month.month(), month.year());
        for (qsizetype day = 0; day < perDay.size(); ++day) {
            const qint64 index = from.daysTo(month.addDays(day));
            if (index >= 0 && index < texts.size())
                texts[index] += perDay[day];
        }
    }
    for (const auto &days : datedTexts(from, to, avoided)) {
        for (const auto &[day, text] : days)
            texts[from.daysTo(day)].append(text);
    }
    for (const auto &days : LinkedHolidayTexts(holidayLinks, from, to, language)) {
        for (const auto &[day, text] : days)
            texts[from.daysTo(day)].append(text);
    }
    return texts;
}

QList<int> RecurringDates::datedEntriesBetween(QDate from, QDate to) const
{
    QList<int> found;
    for (int i = 0; i < datedEntries.size(); ++i) {
        const DateRule &rule = datedEntries[i].rule;
        if (!rule.daysBetween(from, to).isEmpty() ||
            !rule.daysBetween(from, to, blockedFor(datedEntries[i], from, to)).isEmpty())
            found.append(i);
    }
    return found;
}

QStringList RecurringDates::listMonth(int month, int year, const QString &language) const
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    const QDate last = first.addDays(first.daysInMonth() - 1);
    QList<QStringList> perDay(first.daysInMonth());
    for (const QString &line : listDatesInMonth(formulaLines, month, year))
        perDay[line.section(u'\t', 0, 0).toInt() - 1].append(line);
    for (const auto &days : datedTexts(first, last, *this)) {
        for (const auto &[day, text] : days)
            perDay[day.day() - 1].append(QString::number(day.day()) + u'\t' + text);
    }
    for (const auto &days : LinkedHolidayTexts(holidayLinks, first, last, language)) {
        for (const auto &[day, text] : days)
            perDay[day.day() - 1].append(QString::number(day.day()) + u'\t' + text);
    }
    QStringList lines;
    for (const QStringList &dayLines : std::as_const(perDay))
        lines += dayLines;
    return lines;
}

} // namespace Dayloom
