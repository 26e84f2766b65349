#include "core/recurring/dateruletext.h"
#include "core/recurring/datescsv.h"
#include "core/recurring/icalendarfile.h"
#include "core/recurring/icalendarimport.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringentry.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Dayloom;

namespace {

bool readText(const QByteArray &text, ICalendarFile::Contents &contents, QString &error)
{
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ICalendarFile::read(buffer, contents, &error);
}

const DatedEntry *byUid(const ICalendarFile::Contents &contents, const QString &uid)
{
    for (const DatedEntry &e : contents.entries) {
        if (e.uid == uid)
            return &e;
    }
    return nullptr;
}

QStringList daysOf(const DatedEntry &entry, QDate from, QDate to)
{
    QStringList days;
    for (const auto &d : entry.rule.daysBetween(from, to))
        days.append(d.day.toString(u"MM-dd") + u' ' + entry.textFor(d.start));
    return days;
}

} // namespace

class TestICalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    void importFromOtherPrograms();
    void roundTrip();
    void brokenFiles_data();
    void brokenFiles();
    void peerWorkloadMatchesRemind();
    void reimportUpdatesByUid();
    void ruleInWords_data();
    void ruleInWords();
    void csvExport();
    void exportHoldsFormulaEntries();
    void easterRuleStartsOnItsDay();
    void corpusReplays();
};

// A calendar as calendar programs export it: time zones, a moved and an
// excluded meeting, a span, what cannot be kept listed.
void TestICalendar::importFromOtherPrograms()
{
    QFile file(QStringLiteral(DAYLOOM_TEST_DATA "/other-programs.ics"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(ICalendarFile::looksLikeICalendar(file.peek(64)));
    ICalendarFile::Contents contents;
    QString error;
    QVERIFY2(ICalendarFile::read(file, contents, &error), qPrintable(error));

    const DatedEntry *anna = byUid(contents, QStringLiteral("birthday-anna@example.com"));
    QVERIFY(anna);
    QCOMPARE(daysOf(*anna, QDate(2026, 4, 1), QDate(2026, 4, 30)),
             QStringList{"04-12 Anna turns 37"});

    const DatedEntry *meeting = byUid(contents, QStringLiteral("team-standup@example.com"));
    QVERIFY(meeting);
    QCOMPARE(daysOf(*meeting, QDate(2026, 2, 1), QDate(2026, 3, 31)),
             (QStringList{"02-17 09:30 Team meeting, room 4", "03-03 09:30 Team meeting, room 4",
                          "03-31 09:30 Team meeting, room 4"}));
    const DatedEntry *moved = byUid(contents, QStringLiteral("team-standup@example.com/20260317"));
    QVERIFY(moved);
    QCOMPARE(daysOf(*moved, QDate(2026, 3, 1), QDate(2026, 3, 31)),
             QStringList{"03-18 14:00 Team meeting, room 4"});

    const DatedEntry *camp = byUid(contents, QStringLiteral("summer-camp@example.com"));
    QVERIFY(camp);
    QCOMPARE(camp->rule.spanDays, 12);
    QCOMPARE(daysOf(*camp, QDate(2026, 7, 16), QDate(2026, 7, 31)),
             (QStringList{"07-16 Summer camp", "07-17 Summer camp"}));

    QVERIFY(!byUid(contents, QStringLiteral("cancelled@example.com")));
    const QString leftOut = contents.leftOut.join(u'\n');
    QVERIFY2(leftOut.contains(u"Pills: a rule repeating every hour is finer than a day"),
             qPrintable(leftOut));
    QVERIFY2(leftOut.contains(u"Fair: the event is cancelled"), qPrintable(leftOut));
    QVERIFY2(leftOut.contains(u"VTODO"), qPrintable(leftOut));
    QCOMPARE(contents.entries.size(), 5);
}

// Every kind of rule is written and read back unchanged.
void TestICalendar::roundTrip()
{
    QList<DatedEntry> entries;
    DatedEntry e;
    e.uid = QStringLiteral("a;b,c@x");
    e.description = QStringLiteral("Eric turns {years}, üñí \\ 中文 and a long description that "
                                   "has to be folded over several lines of the file");
    e.rule.first = QDate(1990, 2, 28);
    e.rule.recurrence =
        RecurrenceRule::parse(u"FREQ=YEARLY;BYMONTH=2;BYDAY=-1WE;BYSETPOS=1;WKST=SU");
    e.rule.extraDates = {QDate(2026, 3, 1), QDate(2027, 3, 2)};
    e.rule.exceptions = {QDate(2026, 2, 25)};
    e.rule.shift = DateRule::Shift::NearestWorkday;
    e.rule.shiftOffWeekdays = DateRule::Weekend | (1 << 1);
    e.shiftAvoids = {QStringLiteral("other@x"),
                     QStringLiteral("Presidents' Day, observed; \\ too")};
    e.source = QStringLiteral("/home/a,b;c/family.ics");
    entries.append(e);
    DatedEntry easter;
    easter.uid = QStringLiteral("pentecost@x");
    easter.description = QStringLiteral("Pentecost Monday");
    easter.rule.kind = DateRule::Kind::Easter;
    easter.rule.reckoning = DateRule::Reckoning::Orthodox;
    easter.rule.easterOffset = 50;
    easter.rule.first = QDate(2026, 6, 1);
    entries.append(easter);
    DatedEntry timed;
    timed.uid = QStringLiteral("dentist@x");
    timed.description = QStringLiteral("Dentist\nsecond line");
    timed.rule.first = QDate(2027, 1, 5);
    timed.rule.startTime = QTime(8, 15);
    timed.rule.spanDays = 3;
    entries.append(timed);

    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QVERIFY(ICalendarFile::write(out, entries));
    for (const QByteArray &line : bytes.split('\n'))
        QVERIFY2(line.size() <= 76, line.constData());
    ICalendarFile::Contents back;
    QString error;
    QVERIFY2(readText(bytes, back, error), qPrintable(error));
    QVERIFY2(back.leftOut.isEmpty(), qPrintable(back.leftOut.join(u'\n')));
    QCOMPARE(back.entries.size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        QVERIFY2(back.entries[i] == entries[i], qPrintable(back.entries[i].uid));
}

void TestICalendar::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");

    const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    QTest::newRow("not-icalendar")
        << QByteArray("hello\r\n") << "Line 1: an iCalendar file starts with BEGIN:VCALENDAR";
    QTest::newRow("line-without-colon")
        << head + "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE 20260101\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
        << "Line 4 is not a property";
    QTest::newRow("end-mismatch") << head + "BEGIN:VEVENT\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"
                                  << "Line 4: END:VTODO does not close BEGIN:VEVENT of line 3";
    QTest::newRow("never-closed") << head + "BEGIN:VEVENT\r\nSUMMARY:x\r\n"
                                  << "Line 3: BEGIN:VEVENT is never closed";
    QTest::newRow("bad-date") << head + "BEGIN:VEVENT\r\nUID:1\r\nSUMMARY:Broken\r\nDTSTART;VALUE="
                                        "DATE:2026XX01\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
                              << "Line 3: the event \"Broken\"";
    QTest::newRow("nul-byte") << head + QByteArray("SUMMARY:a\0b\r\n", 13) << "NUL";
}

// A broken file names its line and yields nothing.
void TestICalendar::brokenFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    ICalendarFile::Contents contents;
    contents.leftOut = {QStringLiteral("untouched")};
    QString error;
    QVERIFY(!readText(text, contents, error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(contents.leftOut, QStringList{"untouched"});
}

// The 44 rules of the peers' year workload, as Dayloom keeps them (formula
// entries and an iCalendar file beside them), against remind's own reading of
// the same rules for 2026-2030.
void TestICalendar::peerWorkloadMatchesRemind()
{
    const QString remind = QStandardPaths::findExecutable(QStringLiteral("remind"));
    if (remind.isEmpty())
        QSKIP("remind is not installed");
    const QString peers = QStringLiteral(DAYLOOM_TEST_DATA "/../../../benchmarks/peers/");
    RecurringDates dates;
    QString error;
    QVERIFY2(RecurringDates::loadFiles({peers + "w2.DAX", peers + "w2.ics"}, dates, &error),
             qPrintable(error));

    QProcess oracle;
    oracle.start(remind, {QStringLiteral("-s60"), QStringLiteral(DAYLOOM_TEST_DATA "/w2.rem"),
                          QStringLiteral("2026-01-01")});
    QVERIFY(oracle.waitForFinished(60000));
    QCOMPARE(oracle.exitCode(), 0);
    QStringList expected;
    for (const QString &line :
         QString::fromUtf8(oracle.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        // "2027/01/01 * * * * New Year's Day"
        const QStringList fields = line.split(u' ');
        QVERIFY2(fields.size() > 5, qPrintable(line));
        expected.append(QString(fields[0]).replace(u'/', u'-') + u' ' + fields.mid(5).join(u' '));
    }

    QStringList ours;
    for (int year = 2026; year <= 2030; ++year) {
        const QDate first(year, 1, 1);
        const QList<QStringList> perDay = dates.textsByDay(first, QDate(year, 12, 31));
        for (qsizetype i = 0; i < perDay.size(); ++i) {
            for (const QString &text : perDay[i])
                ours.append(first.addDays(i).toString(Qt::ISODate) + u' ' + text.trimmed());
        }
    }
    expected.sort();
    ours.sort();
    QStringList missing, extra;
    std::set_difference(expected.begin(), expected.end(), ours.begin(), ours.end(),
                        std::back_inserter(missing));
    std::set_difference(ours.begin(), ours.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    QVERIFY2(missing.isEmpty() && extra.isEmpty(),
             qPrintable(QStringLiteral("only remind: %1\nonly Dayloom: %2")
                            .arg(missing.join(u"; "), extra.join(u"; "))));
    QVERIFY(ours.size() > 1200);
}

// A second import of the same file shows what it adds, changes and no
// longer holds, and touches nothing of the user's own or other files.
void TestICalendar::reimportUpdatesByUid()
{
    const auto entry = [](const QString &uid, const QString &text, const QString &source) {
        DatedEntry e;
        e.uid = uid;
        e.description = text;
        e.rule.first = QDate(2026, 5, 1);
        e.source = source;
        return e;
    };
    const QString file = QStringLiteral("/home/u/team.ics");
    const QList<DatedEntry> current{
        entry("own", "Mine", {}), entry("a", "Kept", file), entry("b", "Old title", file),
        entry("c", "Gone from the file", file), entry("d", "Other file", "/x.ics")};
    ICalendarFile::Contents imported;
    imported.entries = {entry("a", "Kept", {}), entry("b", "New title", {}), entry("e", "New", {})};
    const ICalendarImport::Plan plan = ICalendarImport::plan(current, imported, file);
    QCOMPARE(plan.unchanged, 1);
    QCOMPARE(plan.added.size(), 1);
    QCOMPARE(plan.added[0].source, file);
    QCOMPARE(plan.changed.size(), 1);
    QCOMPARE(plan.changed[0].description, QStringLiteral("New title"));
    QCOMPARE(plan.removed.size(), 1);
    QCOMPARE(plan.removed[0].uid, QStringLiteral("c"));
    QStringList after;
    for (const DatedEntry &e : ICalendarImport::apply(current, plan))
        after.append(e.description);
    QCOMPARE(after, (QStringList{"Mine", "Kept", "New title", "Other file", "New"}));
    QVERIFY(ICalendarImport::plan(ICalendarImport::apply(current, plan), imported, file)
                .changesNothing());
}

void TestICalendar::ruleInWords_data()
{
    QTest::addColumn<QString>("rrule"); // "EASTER+n" for Easter rules, empty for one day
    QTest::addColumn<QDate>("first");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("span");
    QTest::addColumn<QString>("words");

    QTest::newRow("fortnightly") << "FREQ=WEEKLY;INTERVAL=2" << QDate(2026, 1, 6) << 0 << 1
                                 << "Every 2 weeks on Tuesday, from 6 Jan 2026";
    QTest::newRow("last-friday") << "FREQ=MONTHLY;BYDAY=-1FR" << QDate(2026, 1, 30) << 0 << 1
                                 << "Every month on the last Friday, from 30 Jan 2026";
    QTest::newRow("last-workday") << "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1;COUNT=10"
                                  << QDate(2026, 1, 30) << 0 << 1
                                  << "Every month on the last of Monday, Tuesday, Wednesday, "
                                     "Thursday and Friday, from 30 Jan 2026, 10 times";
    QTest::newRow("birthday") << "FREQ=YEARLY" << QDate(1989, 4, 12) << 0 << 1
                              << "Every year on 12 April, from 12 Apr 1989";
    QTest::newRow("election-day")
        << "FREQ=YEARLY;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8;UNTIL=20301231"
        << QDate(2000, 11, 7) << 0 << 1
        << "Every year on Tuesday, 2, 3, 4, 5, 6, 7 and 8 in November, from 7 Nov 2000, until 31 "
           "Dec 2030";
    QTest::newRow("observed") << "FREQ=YEARLY" << QDate(2000, 7, 4)
                              << int(DateRule::Shift::NearestWorkday) << 1
                              << "Every year on 4 July, from 4 Jul 2000; moved off Saturday and "
                                 "Sunday to the nearest workday";
    QTest::newRow("ash-wednesday")
        << "EASTER-46" << QDate() << 0 << 1 << "46 days before Easter Sunday";
    QTest::newRow("camp") << "" << QDate(2026, 7, 6) << 0 << 12 << "On 6 Jul 2026; for 12 days";
}

void TestICalendar::ruleInWords()
{
    QFETCH(QString, rrule);
    QFETCH(QDate, first);
    QFETCH(int, shift);
    QFETCH(int, span);
    QFETCH(QString, words);
    DateRule rule;
    rule.first = first;
    if (rrule.startsWith(u"EASTER")) {
        rule.kind = DateRule::Kind::Easter;
        rule.easterOffset = rrule.mid(6).toInt();
    } else if (!rrule.isEmpty()) {
        rule.recurrence = RecurrenceRule::parse(rrule);
    }
    rule.shift = DateRule::Shift(shift);
    rule.spanDays = span;
    QCOMPARE(DescribeDateRule(rule), words);
}

void TestICalendar::csvExport()
{
    RecurringDates dates;
    dates.formulaLines = {
        RecurringEntry::makeLine(QStringLiteral("Christmas Day"), QStringLiteral("@1225"))};
    DatedEntry party;
    party.description = QStringLiteral("Party, \"big\" one");
    party.rule.first = QDate(2026, 12, 25);
    dates.datedEntries = {party};
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QVERIFY(WriteDatesCsv(out, dates, QDate(2026, 12, 1), QDate(2026, 12, 31)));
    QCOMPARE(bytes, QByteArray("Date,Description\r\n2026-12-25,Christmas "
                               "Day\r\n2026-12-25,\"Party, \"\"big\"\" one\"\r\n"));
    QVERIFY(!WriteDatesCsv(out, dates, QDate(2026, 1, 1), QDate(2036, 1, 1)));
}

// Every formula kind exported as iCalendar reads back with the same dates,
// also for an entry whose shift avoids a formula entry by name.
void TestICalendar::exportHoldsFormulaEntries()
{
    RecurringDates dates;
    const QList<std::pair<const char *, const char *>> formulas{{"Christmas Day", "@1225"},
                                                                {"Rent", "@0001"},
                                                                {"Month end", "@0031"},
                                                                {"Leap day", "@0229"},
                                                                {"Thanksgiving Day", "$3 4 11"},
                                                                {"Memorial Day", "$5 1 5"},
                                                                {"Fifth Monday", "$4 1 0"},
                                                                {"Last Sunday", "$5 0 0"},
                                                                {"Last of February", "$5 7 2"},
                                                                {"Third day", "$2 7 0"},
                                                                {"Last day", "$5 7 0"},
                                                                {"Fifth of March", "$4 7 3"},
                                                                {"Work", "%23456"},
                                                                {"Sundays", "%1"},
                                                                {"Every day", "%1234567"},
                                                                {"Never", "@0230"},
                                                                {"Unreadable", "@1x01"}};
    for (const auto &[name, formula] : formulas)
        dates.formulaLines.append(
            RecurringEntry::makeLine(QLatin1String(name), QLatin1String(formula)));
    dates.formulaLines += {QStringLiteral("Easter").leftJustified(120) + "#EASTER",
                           QStringLiteral("Good Friday").leftJustified(120) + "#GOODFRIDAY",
                           QStringLiteral("Palm Sunday").leftJustified(120) + "#PALMSUNDAY",
                           dates.formulaLines.first()};
    DatedEntry party;
    party.uid = QStringLiteral("party@test");
    party.description = QStringLiteral("Staff party");
    party.rule.first = QDate(1990, 12, 25);
    party.rule.recurrence = RecurrenceRule::parse(u"FREQ=YEARLY");
    party.rule.shift = DateRule::Shift::NextWorkday;
    party.shiftAvoids = {QStringLiteral("Christmas Day")};
    dates.datedEntries = {party};

    QStringList leftOut;
    const QList<DatedEntry> exported = dates.asDatedEntries(&leftOut);
    QCOMPARE(leftOut, (QStringList{"Never: it falls on no day and is left out",
                                   "Unreadable: it falls on no day and is left out"}));
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QVERIFY(ICalendarFile::write(out, exported));
    QVERIFY2(bytes.contains("RRULE:FREQ=MONTHLY;BYMONTHDAY=-1\r\n"), bytes.constData());
    QVERIFY2(bytes.contains("RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH\r\n"), bytes.constData());
    QVERIFY2(bytes.contains("RRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\n"), bytes.constData());
    ICalendarFile::Contents back;
    QString error;
    QVERIFY2(readText(bytes, back, error), qPrintable(error));
    QVERIFY2(back.leftOut.isEmpty(), qPrintable(back.leftOut.join(u'\n')));
    RecurringDates imported;
    imported.datedEntries = back.entries;
    QCOMPARE(imported.datedEntries.size(), dates.formulaLines.size() - 2 + 1);

    for (const int year : {1900, 1901, 1999, 2000, 2024, 2025, 2026, 2027, 2028, 2029, 2099}) {
        const QDate first(year, 1, 1), last(year, 12, 31);
        const QList<QStringList> expected = dates.textsByDay(first, last);
        const QList<QStringList> got = imported.textsByDay(first, last);
        QCOMPARE(got.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(got[i] == expected[i],
                     qPrintable(first.addDays(i).toString(Qt::ISODate) + QStringLiteral(": ") +
                                got[i].join(u", ") + QStringLiteral(" instead of ") +
                                expected[i].join(u", ")));
    }
    // A second export names every entry the same way.
    QCOMPARE(dates.asDatedEntries(), exported);
}

// An Easter rule falls from its first date's year on, and other programs see
// it start on that year's day: it used to start on the first date itself.
void TestICalendar::easterRuleStartsOnItsDay()
{
    DatedEntry ascension;
    ascension.uid = QStringLiteral("ascension@x");
    ascension.description = QStringLiteral("Ascension Day");
    ascension.rule.kind = DateRule::Kind::Easter;
    ascension.rule.easterOffset = 39;
    ascension.rule.first = QDate(2026, 12, 8);
    const QList<QDate> days{{2026, 5, 14}, {2027, 5, 6}};
    QCOMPARE(ascension.rule.startsBetween(QDate(2025, 1, 1), QDate(2027, 12, 31)), days);
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QVERIFY(ICalendarFile::write(out, {ascension}));
    QVERIFY2(bytes.contains("DTSTART;VALUE=DATE:20260514\r\n"), bytes.constData());
    ICalendarFile::Contents back;
    QString error;
    QVERIFY2(readText(bytes, back, error), qPrintable(error));
    QCOMPARE(back.entries.size(), 1);
    QCOMPARE(back.entries[0].rule.startsBetween(QDate(2025, 1, 1), QDate(2027, 12, 31)), days);
}

// What the fuzzer found, and the seeds it starts from, read without a crash;
// what reads is written and reads back.
void TestICalendar::corpusReplays()
{
    QDirIterator it(QStringLiteral(DAYLOOM_TEST_DATA "/corpus-ics"), QDir::Files);
    int count = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        ICalendarFile::Contents contents;
        ++count;
        if (!ICalendarFile::read(file, contents))
            continue;
        for (const DatedEntry &entry : std::as_const(contents.entries)) {
            for (const auto &day : entry.rule.daysBetween(QDate(2026, 1, 1), QDate(2026, 12, 31)))
                entry.textFor(day.start);
        }
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        QVERIFY(ICalendarFile::write(out, contents.entries));
        ICalendarFile::Contents back;
        QString error;
        QVERIFY2(readText(bytes, back, error),
                 qPrintable(file.fileName() + QStringLiteral(": ") + error));
    }
    QVERIFY(count > 0);
}

QTEST_GUILESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
