#include "core/holidays/holidaycatalogue.h"
#include "core/holidays/holidayfilereader.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Dayloom;

namespace {

constexpr int FirstYear = 2000;
constexpr int LastYear = 2030;

// One comparison of our set for code with the library's class and region.
struct Comparison
{
    QString libraryClass, libraryRegion, code;
    int categories = 0;
};

// A difference the known-differences files explain.
struct KnownDifference
{
    QString code;
    bool ours = true; // "+": only we have the day
    QString what;     // MM-DD or a holiday id
    int firstYear = 0, lastYear = 0;
    mutable int used = 0;

    bool covers(const QString &ourCode, QDate day, const QStringList &holidayIds,
                bool oursOnly) const
    {
        if (ours != oursOnly || (ourCode != code && !ourCode.startsWith(code + u'-')))
            return false;
        if ((firstYear && day.year() < firstYear) || (lastYear && day.year() > lastYear))
            return false;
        static const QStringList weekdays = {
            QStringLiteral("monday"),   QStringLiteral("tuesday"), QStringLiteral("wednesday"),
            QStringLiteral("thursday"), QStringLiteral("friday"),  QStringLiteral("saturday"),
            QStringLiteral("sunday")};
        return what == day.toString(QStringLiteral("MM-dd")) || holidayIds.contains(what) ||
               what == weekdays[day.dayOfWeek() - 1];
    }
};

struct Expectations
{
    QList<Comparison> comparisons;
    QStringList skipped;
    QList<KnownDifference> known;
    QStringList problems;
};

int Categories(const QString &text)
{
    int mask = 0;
    for (const QString &word : text.split(u',')) {
        if (word == u"public")
            mask |= int(Holiday::Category::Public);
        else if (word == u"bank")
            mask |= int(Holiday::Category::Bank);
        else if (word == u"observance")
            mask |= int(Holiday::Category::Observance);
        else
            return 0;
    }
    return mask;
}

std::pair<int, int> Years(const QString &text)
{
    static const QRegularExpression years(QStringLiteral("^(\\d{4})?(-)?(\\d{4})?$"));
    const auto m = years.match(text);
    if (!m.hasMatch())
        return {-1, -1};
    const int from = m.captured(1).toInt(), to = m.captured(3).toInt();
    return m.captured(2).isEmpty() ? std::pair{from, from} : std::pair{from, to};
}

QStringList LibraryCall(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(DAYLOOM_TEST_DATA "/library_dates.py")} + arguments);
    if (!python.waitForStarted())
        return {};
    python.write(input);
    python.closeWriteChannel();
    python.waitForFinished(-1);
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

const QStringList &LibraryRegions()
{
    static const QStringList regions = LibraryCall({QStringLiteral("--list")});
    return regions;
}

void ReadKnownFile(const QString &path, Expectations &out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.problems.append(path + QStringLiteral(": cannot be read"));
        return;
    }
    int lineNumber = 0;
    const QString name = QFileInfo(path).fileName();
    for (const QString &raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
        ++lineNumber;
        const QString line = raw.section(u'#', 0, 0).simplified();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(u' ');
        const auto bad = [&] {
            out.problems.append(
                QStringLiteral("%1:%2: cannot read \"%3\"").arg(name).arg(lineNumber).arg(raw));
        };
        if (words[0] == u"compare" && words.size() == 5 && Categories(words[4])) {
            if (words[2] != u"*") {
                // A region named with spaces is written with "_" for each.
                out.comparisons.append({words[1], QString(words[2]).replace(u'_', u' '), words[3],
                                        Categories(words[4])});
                continue;
            }
            for (const QString &pair : LibraryRegions()) {
                const QString cls = pair.section(u'\t', 0, 0), region = pair.section(u'\t', 1);
                if (cls == words[1] && region != u"-")
                    out.comparisons.append({cls, region,
                                            QString(words[3]).replace(QStringLiteral("*"), region),
                                            Categories(words[4])});
            }
        } else if (words[0] == u"skip" && words.size() >= 3) {
            out.skipped.append(words[1]);
        } else if (words[0] == u"diff" && words.size() >= 6 &&
                   (words[2] == u"+" || words[2] == u"-") && Years(words[4]).first >= 0) {
            const auto [from, to] = Years(words[4]);
            out.known.append({words[1], words[2] == u"+", words[3], from, to});
        } else {
            bad();
        }
    }
}

const Expectations &Known()
{
    static const Expectations expectations = [] {
        Expectations e;
        const QDir dir(QStringLiteral(DAYLOOM_TEST_DATA "/../known"));
        for (const QString &name :
             dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
            ReadKnownFile(dir.filePath(name), e);
        // While a set is being written, DAYLOOM_HOLIDAYS_ONLY=DE,AT compares
        // only the codes that begin so.
        const QStringList only =
            qEnvironmentVariable("DAYLOOM_HOLIDAYS_ONLY").split(u',', Qt::SkipEmptyParts);
        if (!only.isEmpty())
            e.comparisons.removeIf([&](const Comparison &c) {
                return std::none_of(only.cbegin(), only.cend(),
                                    [&](const QString &p) { return c.code.startsWith(p); });
            });
        return e;
    }();
    return expectations;
}

const HolidayCatalogue &Sets()
{
    static const HolidayCatalogue catalogue =
        HolidayCatalogue::fromFolder(QStringLiteral(DAYLOOM_HOLIDAY_SETS));
    return catalogue;
}

// The library's days for every comparison, by comparison.
const QList<QSet<QDate>> &LibraryDays()
{
    static const QList<QSet<QDate>> days = [] {
        const QList<Comparison> &comparisons = Known().comparisons;
        QByteArray input;
        for (const Comparison &c : comparisons)
            input += (c.libraryClass + u'\t' + c.libraryRegion + u'\n').toUtf8();
        QList<QSet<QDate>> result(comparisons.size());
        for (const QString &line :
             LibraryCall({QString::number(FirstYear), QString::number(LastYear)}, input)) {
            const int index = line.section(u' ', 0, 0).toInt();
            if (index >= 0 && index < result.size())
                result[index].insert(QDate::fromString(line.section(u' ', 1), Qt::ISODate));
        }
        return result;
    }();
    return days;
}

HolidayCountry Read(const QByteArray &text, QString *error = nullptr)
{
    HolidayCountry country;
    HolidayFileReader::read(text, country, error);
    return country;
}

} // namespace

class TestHolidays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerNamesTheLine_data();
    void readerNamesTheLine();
    void observedDaysFollowTheLaw_data();
    void observedDaysFollowTheLaw();
    void shippedSetsLoad();
    void everyLibraryCountryIsCompared();
    void sameDaysAsTheLibrary_data();
    void sameDaysAsTheLibrary();
    void cleanupTestCase();
};

void TestHolidays::readerNamesTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    const QByteArray head = "country XX\nname en X\n";
    QTest::newRow("no country") << QByteArray("holiday a\n")
                                << "line 1: the file must begin with \"country CODE\"";
    QTest::newRow("bad date") << head + "holiday a\nname en A\nrule date 02-30\n"
                              << "line 5: \"02-30\" is not a day of the year (MM-DD)";
    QTest::newRow("no rule") << head + "holiday a\nname en A\n\nholiday b\n"
                             << "line 3: holiday \"a\" has no rule";
    QTest::newRow("bad recurrence") << head + "holiday a\nname en A\nrule rrule FREQ=SOMETIMES\n"
                                    << "line 5: the recurrence \"FREQ=SOMETIMES\" is not valid: ";
    QTest::newRow("unknown region")
        << head + "region B\nholiday a\nname en A\nrule easter 1\nregions C\n"
        << "line 4: holiday \"a\" names the unknown region \"C\"";
    QTest::newRow("bad weekday")
        << head + "holiday a\nname en A\nrule easter 1\nobserved next off sat,sonday\n"
        << "line 6: \"sonday\" is not a weekday (mon ... sun)";
    QTest::newRow("unknown keyword") << head + "holiday a\nname en A\nrule easter 1\nwhen always\n"
                                     << "line 6: \"when\" is not a keyword";
    QTest::newRow("years backwards")
        << head + "holiday a\nname en A\nrule easter 1\nyears 2000-1990\n"
        << "line 6: the years 2000-1990 end before they begin";
    QTest::newRow("long line") << head + QByteArray(5000, 'x')
                               << "line 3: the line is longer than 4096 characters";
}

void TestHolidays::readerNamesTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QString got;
    HolidayCountry country;
    QVERIFY(!HolidayFileReader::read(text, country, &got));
    QVERIFY2(got.startsWith(error), qPrintable(got));
    QVERIFY(country.code.isEmpty());
}

void TestHolidays::observedDaysFollowTheLaw_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QStringList>("days");
    // Bank holidays in England as gov.uk publishes them: Christmas on a
    // Saturday gives Monday, Boxing Day on the Sunday then Tuesday.
    const QByteArray uk =
        "country GB\nname en UK\n"
        "holiday christmas\nname en Christmas Day\nrule date 12-25\nobserved next off sat,sun\n"
        "holiday boxing\nname en Boxing Day\nrule date 12-26\nobserved next off sat,sun\n";
    QTest::newRow("uk 2021") << uk << QDate(2021, 12, 1)
                             << QStringList{"25 Christmas Day", "26 Boxing Day",
                                            "27 Christmas Day (observed)",
                                            "28 Boxing Day (observed)"};
    QTest::newRow("uk 2022") << uk << QDate(2022, 12, 1)
                             << QStringList{"25 Christmas Day", "26 Boxing Day",
                                            "27 Christmas Day (observed)"};
    // US federal holidays (5 U.S.C. 6103): Saturday to Friday, Sunday to Monday.
    const QByteArray us = "country US\nname en US\nobserved-name en {name} (Observed)\n"
                          "holiday independence\nname en Independence Day\nrule date 07-04\n"
                          "observed nearest off sat,sun years 1971-\n";
    QTest::newRow("us 2020") << us << QDate(2020, 7, 1)
                             << QStringList{"3 Independence Day (Observed)", "4 Independence Day"};
    QTest::newRow("us 2021") << us << QDate(2021, 7, 1)
                             << QStringList{"4 Independence Day", "5 Independence Day (Observed)"};
    QTest::newRow("us 1970") << us << QDate(1970, 7, 1) << QStringList{"4 Independence Day"};
}

void TestHolidays::observedDaysFollowTheLaw()
{
    QFETCH(QByteArray, text);
    QFETCH(QDate, from);
    QFETCH(QStringList, days);
    QString error;
    const HolidayCountry country = Read(text, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList got;
    for (const auto &o : country.occurrences({}, from, from.addDays(from.daysInMonth() - 1)))
        got.append(QString::number(o.day.day()) + u' ' + country.nameOf(o, QStringLiteral("en")));
    QCOMPARE(got, days);
}

void TestHolidays::shippedSetsLoad()
{
    QVERIFY2(Sets().errors().isEmpty(), qPrintable(Sets().errors().join(u'\n')));
    QVERIFY(Sets().countries().size() >= 40);
    for (const HolidayCountry &country : Sets().countries()) {
        QVERIFY2(!country.name(QStringLiteral("en")).isEmpty(), qPrintable(country.code));
        QVERIFY2(!country.languages.isEmpty(), qPrintable(country.code));
        for (const Holiday &holiday : country.holidays) {
            // Every holiday has its name in English and in the country's language.
            QVERIFY2(holiday.names.contains(QStringLiteral("en")),
                     qPrintable(country.code + u' ' + holiday.id));
            QVERIFY2(holiday.names.contains(country.languages.first()),
                     qPrintable(country.code + u' ' + holiday.id));
        }
    }
}

void TestHolidays::everyLibraryCountryIsCompared()
{
    if (qEnvironmentVariableIsSet("DAYLOOM_HOLIDAYS_ONLY"))
        QSKIP("only some sets are compared");
    const Expectations &known = Known();
    QVERIFY2(known.problems.isEmpty(), qPrintable(known.problems.join(u'\n')));
    QVERIFY2(!LibraryRegions().isEmpty(), "python3-holidays did not answer");
    QStringList missing;
    for (const QString &pair : LibraryRegions()) {
        const QString cls = pair.section(u'\t', 0, 0), region = pair.section(u'\t', 1);
        const bool compared = std::any_of(
            known.comparisons.cbegin(), known.comparisons.cend(), [&](const Comparison &c) {
                return c.libraryClass == cls && c.libraryRegion == region;
            });
        if (!compared && !known.skipped.contains(cls))
            missing.append(pair);
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("nothing compares: ") + missing.join(u", ")));
}

void TestHolidays::sameDaysAsTheLibrary_data()
{
    QTest::addColumn<int>("index");
    const QList<Comparison> &comparisons = Known().comparisons;
    if (comparisons.isEmpty())
        QTest::newRow("nothing to compare") << -1;
    for (int i = 0; i < comparisons.size(); ++i)
        QTest::newRow(qPrintable(comparisons[i].code + u' ' + comparisons[i].libraryClass + u' ' +
                                 comparisons[i].libraryRegion))
            << i;
}

void TestHolidays::sameDaysAsTheLibrary()
{
    QFETCH(int, index);
    if (index < 0)
        QSKIP("no set is compared");
    const Comparison &c = Known().comparisons[index];
    QString region;
    const HolidayCountry *country = Sets().find(c.code, &region);
    QVERIFY2(country, qPrintable(c.code + QStringLiteral(" is not among the holiday sets")));
    QHash<QDate, QStringList> ours;
    for (const auto &o : country->occurrences(region, QDate(FirstYear, 1, 1),
                                              QDate(LastYear, 12, 31), c.categories))
        ours[o.day].append(o.holiday->id);
    const QSet<QDate> &theirs = LibraryDays()[index];
    QStringList unexplained;
    const auto explained = [&](QDate day, const QStringList &ids, bool oursOnly) {
        for (const KnownDifference &k : Known().known) {
            if (k.covers(c.code, day, ids, oursOnly)) {
                ++k.used;
                return true;
            }
        }
        return false;
    };
    for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
        if (!theirs.contains(it.key()) && !explained(it.key(), it.value(), true))
            unexplained.append(u'+' + it.key().toString(Qt::ISODate) + u' ' +
                               it.value().join(u','));
    }
    for (const QDate &day : theirs) {
        if (!ours.contains(day) && !explained(day, {}, false))
            unexplained.append(u'-' + day.toString(Qt::ISODate));
    }
    unexplained.sort();
    QVERIFY2(unexplained.isEmpty(),
             qPrintable(c.code + QStringLiteral(": ") + unexplained.join(u' ')));
}

void TestHolidays::cleanupTestCase()
{
    int used = 0;
    for (const KnownDifference &k : Known().known)
        used += k.used;
    qInfo("compared %lld country-years (%lld sets, %d-%d); %lld known-difference lines explain %d "
          "days",
          qlonglong(Known().comparisons.size()) * (LastYear - FirstYear + 1),
          qlonglong(Known().comparisons.size()), FirstYear, LastYear,
          qlonglong(Known().known.size()), used);
}

QTEST_GUILESS_MAIN(TestHolidays)
#include "tst_holidays.moc"
