#include "core/holidays/holidaycountry.h"
#include "core/holidays/holidayfilereader.h"
#include "core/recurring/calendarrule.h"
#include "core/recurring/chinesecalendar.h"
#include "core/recurring/dateruletext.h"
#include "core/recurring/hebrewcalendar.h"
#include "core/recurring/hijricalendar.h"
#include "core/recurring/icalendarfile.h"
#include "core/recurring/solarlongitude.h"

#include <QBuffer>
#include <QDateTime>
#include <QProcess>
#include <QTest>
#include <QTimeZone>

#include <cmath>

using namespace Dayloom;

namespace {

QDateTime MomentOf(double jd)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround((jd - 2440587.5) * 86400000.0)),
                                          QTimeZone::utc());
}

// Lines "Y M D YYYY-MM-DD" from convertdate (python3-holidays' own
// dependency), for the calendar module named and its function giving the
// days of a month.
QStringList ConvertdateDays(const QString &module, const QString &monthDays, int firstYear,
                            int lastYear, int lastMonth)
{
    const QString script =
        QStringLiteral("import sys\n"
                       "from convertdate import gregorian, %1 as c\n"
                       "for y in range(%2, %3):\n"
                       "    for m in range(1, %4):\n"
                       "        if m > 12 and not c.leap(y):\n"
                       "            continue\n"
                       "        for d in range(1, c.%5(y, m) + 1):\n"
                       "            g = gregorian.from_jd(c.to_jd(y, m, d))\n"
                       "            print(y, m, d, '{:04d}-{:02d}-{:02d}'.format(*g))\n")
            .arg(module)
            .arg(firstYear)
            .arg(lastYear + 1)
            .arg(lastMonth + 1)
            .arg(monthDays);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script});
    python.waitForFinished(-1);
    return QString::fromLatin1(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestCalendars : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void solarLongitudeMatchesPublishedMoments_data();
    void solarLongitudeMatchesPublishedMoments();
    void lunarNewYearMatchesPublishedDays();
    void chineseFestivalsMatchHongKongGazette_data();
    void chineseFestivalsMatchHongKongGazette();
    void hebrewDaysMatchConvertdate();
    void hijriDaysMatchConvertdate();
    void rulesReadAndWrite_data();
    void rulesReadAndWrite();
    void badRulesNameTheLine_data();
    void badRulesNameTheLine();
    void iCalendarKeepsCalendarRules();
};

void TestCalendars::solarLongitudeMatchesPublishedMoments_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("degrees");
    QTest::addColumn<QDateTime>("published");
    // Equinoxes as the US Naval Observatory publishes them, and Qingming as
    // the Hong Kong Observatory does (in UTC), to the minute.
    const auto utc = [](int y, int mo, int d, int h, int mi) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
    };
    QTest::newRow("march 2000") << 2000 << 0 << utc(2000, 3, 20, 7, 35);
    QTest::newRow("september 2000") << 2000 << 180 << utc(2000, 9, 22, 17, 27);
    // 23:49 in Japan: a 15-minute error would give Japan the wrong day.
    QTest::newRow("september 2012") << 2012 << 180 << utc(2012, 9, 22, 14, 49);
    QTest::newRow("march 2020") << 2020 << 0 << utc(2020, 3, 20, 3, 50);
    QTest::newRow("september 2020") << 2020 << 180 << utc(2020, 9, 22, 13, 31);
    QTest::newRow("march 2023") << 2023 << 0 << utc(2023, 3, 20, 21, 24);
    QTest::newRow("march 2024") << 2024 << 0 << utc(2024, 3, 20, 3, 6);
    QTest::newRow("september 2024") << 2024 << 180 << utc(2024, 9, 22, 12, 44);
    QTest::newRow("qingming 2019") << 2019 << 15 << utc(2019, 4, 5, 1, 51);
    QTest::newRow("qingming 2021") << 2021 << 15 << utc(2021, 4, 4, 13, 35);
}

void TestCalendars::solarLongitudeMatchesPublishedMoments()
{
    QFETCH(int, year);
    QFETCH(int, degrees);
    QFETCH(QDateTime, published);
    const QDateTime ours = MomentOf(solarLongitudeMoment(year, degrees));
    QVERIFY2(std::abs(ours.secsTo(published)) <= 60, qPrintable(ours.toString(Qt::ISODate)));
}

void TestCalendars::lunarNewYearMatchesPublishedDays()
{
    // The first day of the first month, 2000-2030, as published.
    const char *const published[] = {
        "2000-02-05", "2001-01-24", "2002-02-12", "2003-02-01", "2004-01-22", "2005-02-09",
        "2006-01-29", "2007-02-18", "2008-02-07", "2009-01-26", "2010-02-14", "2011-02-03",
        "2012-01-23", "2013-02-10", "2014-01-31", "2015-02-19", "2016-02-08", "2017-01-28",
        "2018-02-16", "2019-02-05", "2020-01-25", "2021-02-12", "2022-02-01", "2023-01-22",
        "2024-02-10", "2025-01-29", "2026-02-17", "2027-02-06", "2028-01-26", "2029-02-13",
        "2030-02-03"};
    for (int year = 2000; year <= 2030; ++year)
        QCOMPARE(chineseCalendarDay(year, 1, 1).toString(Qt::ISODate),
                 QLatin1String(published[year - 2000]));
}

void TestCalendars::chineseFestivalsMatchHongKongGazette_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QDate>("published");
    QTest::newRow("buddha 2020") << 2020 << 4 << 8 << QDate(2020, 4, 30);
    QTest::newRow("tuen ng 2020") << 2020 << 5 << 5 << QDate(2020, 6, 25);
    QTest::newRow("mid-autumn 2020") << 2020 << 8 << 15 << QDate(2020, 10, 1);
    QTest::newRow("chung yeung 2020") << 2020 << 9 << 9 << QDate(2020, 10, 25);
    QTest::newRow("buddha 2023") << 2023 << 4 << 8 << QDate(2023, 5, 26);
    QTest::newRow("chung yeung 2023") << 2023 << 9 << 9 << QDate(2023, 10, 23);
    // A leap 4th month in 2020 and a leap 6th in 2025 come before these.
    QTest::newRow("tuen ng 2023") << 2023 << 5 << 5 << QDate(2023, 6, 22);
    QTest::newRow("buddha 2025") << 2025 << 4 << 8 << QDate(2025, 5, 5);
    QTest::newRow("mid-autumn 2025") << 2025 << 8 << 15 << QDate(2025, 10, 6);
    // 2033 has a leap 11th month; the next year begins on 19 February.
    QTest::newRow("new year 2034") << 2034 << 1 << 1 << QDate(2034, 2, 19);
}

void TestCalendars::chineseFestivalsMatchHongKongGazette()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QDate, published);
    QCOMPARE(chineseCalendarDay(year, month, day), published);
}

void TestCalendars::hebrewDaysMatchConvertdate()
{
    // AM 5660-5900: 1899-2140.
    const QStringList lines =
        ConvertdateDays(QStringLiteral("hebrew"), QStringLiteral("month_days"), 5660, 5900, 13);
    QVERIFY2(lines.size() > 80000, "python3-convertdate did not answer");
    for (const QString &line : lines) {
        const QStringList w = line.split(u' ');
        const int year = w[0].toInt(), month = w[1].toInt(), day = w[2].toInt();
        // convertdate's 12 is Adar I in a leap year and its 13 Adar II, as ours.
        QCOMPARE(hebrewCalendarDay(year, month, day).toString(Qt::ISODate), w[3]);
    }
    // A common year's 13th month is its Adar: Purim 5784 and 5785.
    QCOMPARE(hebrewCalendarDay(5784, 13, 14), QDate(2024, 3, 24));
    QCOMPARE(hebrewCalendarDay(5785, 13, 14), QDate(2025, 3, 14));
    // Elul always has 29 days.
    QVERIFY(!hebrewCalendarDay(5784, 6, 30).isValid());
}

void TestCalendars::hijriDaysMatchConvertdate()
{
    const QStringList lines =
        ConvertdateDays(QStringLiteral("islamic"), QStringLiteral("month_length"), 1300, 1500, 12);
    QVERIFY2(lines.size() > 50000, "python3-convertdate did not answer");
    for (const QString &line : lines) {
        const QStringList w = line.split(u' ');
        const QDate day = hijriCalendarDay(w[0].toInt(), w[1].toInt(), w[2].toInt());
        QCOMPARE(day.toString(Qt::ISODate), w[3]);
        QCOMPARE(hijriYearOf(day), w[0].toInt());
    }
}

void TestCalendars::rulesReadAndWrite_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("days");
    QTest::addColumn<QString>("description");
    // Japan's Vernal Equinox Day: the Sun at 0 degrees in Japan's civil day.
    QTest::newRow("sun") << "sun 0 UTC+9" << 2023 << QStringList{"2023-03-21"}
                         << "The day the Sun reaches 0° of longitude (UTC+9)";
    // 22 September 2012 23:49 in Japan, 23 September in China.
    QTest::newRow("sun zone") << "sun 180 UTC+8" << 2012 << QStringList{"2012-09-22"}
                              << "The day the Sun reaches 180° of longitude (UTC+8)";
    QTest::newRow("sun half hour") << "sun 270 UTC-3:30" << 2012 << QStringList{"2012-12-21"}
                                   << "The day the Sun reaches 270° of longitude (UTC-3:30)";
    QTest::newRow("yom kippur") << "hebrew 7 10" << 2023 << QStringList{"2023-09-25"}
                                << "Day 10 of month 7 of the Hebrew calendar";
    QTest::newRow("mid-autumn") << "chinese 8 15 UTC+8" << 2023 << QStringList{"2023-09-29"}
                                << "Day 15 of month 8 of the Chinese calendar (UTC+8)";
    // Singapore's Deepavali estimate: the day before the 10th month begins.
    QTest::newRow("offset") << "chinese 10 1 UTC+8 -1" << 2019 << QStringList{"2019-10-27"}
                            << "1 day before day 1 of month 10 of the Chinese calendar (UTC+8)";
    // The Islamic year is shorter: 2000 holds two of its new years' feasts.
    QTest::newRow("two in a year")
        << "hijri 10 1" << 2000 << QStringList{"2000-01-08", "2000-12-28"}
        << "Day 1 of month 10 of the Islamic calendar";
}

void TestCalendars::rulesReadAndWrite()
{
    QFETCH(QString, rule);
    QFETCH(int, year);
    QFETCH(QStringList, days);
    QFETCH(QString, description);
    DateRule parsed;
    QString why;
    QVERIFY2(ParseCalendarRule(rule.split(u' '), parsed, &why), qPrintable(why));
    QCOMPARE(CalendarRuleText(parsed), rule);
    QCOMPARE(DescribeDateRule(parsed), description);
    QStringList got;
    for (const QDate &d : parsed.startsBetween(QDate(year, 1, 1), QDate(year, 12, 31)))
        got.append(d.toString(Qt::ISODate));
    QCOMPARE(got, days);
}

void TestCalendars::badRulesNameTheLine_data()
{
    QTest::addColumn<QByteArray>("rule");
    QTest::addColumn<QString>("error");
    QTest::newRow("no zone") << QByteArray("sun 0")
                             << "line 5: \"sun\" reads: sun DEGREES UTC+H [+N|-N]";
    QTest::newRow("bad zone") << QByteArray("chinese 1 1 JST")
                              << "line 5: \"JST\" is not a time zone such as UTC+8";
    QTest::newRow("far zone") << QByteArray("sun 0 UTC+15")
                              << "line 5: \"UTC+15\" is not a time zone such as UTC+8";
    QTest::newRow("month 14") << QByteArray("hebrew 14 1")
                              << "line 5: \"14\" is not a month from 1 to 13";
    QTest::newRow("day 31") << QByteArray("hijri 9 31")
                            << "line 5: \"31\" is not a day from 1 to 30";
    QTest::newRow("degrees") << QByteArray("sun 360 UTC")
                             << "line 5: \"360\" is not a longitude from 0 to 359";
}

void TestCalendars::badRulesNameTheLine()
{
    QFETCH(QByteArray, rule);
    QFETCH(QString, error);
    HolidayCountry country;
    QString got;
    QVERIFY(!HolidayFileReader::read(
        "country XX\nname en X\nholiday a\nname en A\nrule " + rule + "\n", country, &got));
    QCOMPARE(got, error);
}

// A calendar rule written to iCalendar comes back whole, shift and all, and
// starts on a real day for programs that only read DTSTART.
void TestCalendars::iCalendarKeepsCalendarRules()
{
    QList<DatedEntry> entries;
    for (const char *text : {"sun 15 UTC+8", "hebrew 13 14", "chinese 1 1 UTC+8", "hijri 12 10"}) {
        DatedEntry entry;
        entry.uid = QString::fromLatin1(text);
        entry.description = QString::fromLatin1(text);
        QVERIFY(ParseCalendarRule(entry.uid.split(u' '), entry.rule, nullptr));
        entry.rule.shift = DateRule::Shift::NextWorkday;
        entry.rule.shiftOffWeekdays = DateRule::Sunday;
        entries.append(entry);
    }
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QVERIFY(ICalendarFile::write(out, entries));
    QVERIFY(bytes.contains("DTSTART;VALUE=DATE:20000205\r\n"));
    QVERIFY(bytes.contains("X-DAYLOOM-CALENDAR:chinese 1 1 UTC+8\r\n"));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    ICalendarFile::Contents contents;
    QString error;
    QVERIFY2(ICalendarFile::read(in, contents, &error), qPrintable(error));
    QVERIFY2(contents.leftOut.isEmpty(), qPrintable(contents.leftOut.join(u'\n')));
    QCOMPARE(contents.entries.size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const DateRule &back = contents.entries[i].rule;
        QCOMPARE(CalendarRuleText(back), entries[i].uid);
        QCOMPARE(back.shift, DateRule::Shift::NextWorkday);
        QCOMPARE(back.startsBetween(QDate(2001, 1, 1), QDate(2030, 12, 31)),
                 entries[i].rule.startsBetween(QDate(2001, 1, 1), QDate(2030, 12, 31)));
    }
}

QTEST_GUILESS_MAIN(TestCalendars)
#include "tst_calendars.moc"
