// Holiday sets linked into the recurring-dates list: how they are kept in
// DLRECUR.ics, what they write on which days and in which language, and
// that a set the data no longer knows is kept.

#include "core/calendar/calendarsettings.h"
#include "core/calendar/languagenames.h"
#include "core/calendar/pagelanguage.h"
#include "core/holidays/holidaycatalogue.h"
#include "core/holidays/holidaylinksource.h"
#include "core/recurring/holidaylink.h"
#include "core/recurring/publicholidaydates.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringentry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

Q_DECLARE_METATYPE(Dayloom::HolidayLink)

namespace {

const QString SetsFolder = QStringLiteral(DAYLOOM_TEST_DATA "/holidays");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

HolidayLink link(const QString &code, int categories = HolidayLink::DaysOff,
                 const QStringList &hidden = {})
{
    return HolidayLink{code, categories, hidden};
}

// The texts of one day of a list.
QStringList textsOn(const RecurringDates &dates, QDate day, const QString &language = {})
{
    return dates.textsByDay(day, day, language).value(0);
}

} // namespace

class TestHolidayLinks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void valueReadBack_data();
    void valueReadBack();
    void savedBesideTheFormulasWhichStayByteForByte();
    void daysOfALink_data();
    void daysOfALink();
    void namedInThePagesLanguage_data();
    void namedInThePagesLanguage();
    void unknownSetIsKeptAndReported();
    void brokenSetFileNamesItsLine();
    void pageLanguageFromItsNames_data();
    void pageLanguageFromItsNames();
    void redDaysArePublicHolidaysShown();

private:
    HolidayCatalogue m_catalogue;
    std::optional<CatalogueHolidaySource> m_source;
};

void TestHolidayLinks::initTestCase()
{
    m_catalogue = HolidayCatalogue::fromFolder(SetsFolder);
    m_source.emplace([this]() -> const HolidayCatalogue & { return m_catalogue; });
    SetHolidayLinkSource(&*m_source);
}

void TestHolidayLinks::cleanupTestCase()
{
    SetHolidayLinkSource(nullptr);
}

void TestHolidayLinks::valueReadBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("normal"); // empty: refused

    QTest::newRow("code only") << "de-by"
                               << "DE-BY;CATEGORIES=public,bank";
    QTest::newRow("hidden and all") << "US;CATEGORIES=all;HIDE=a,b,a"
                                    << "US;CATEGORIES=public,bank,observance;HIDE=a,b";
    QTest::newRow("unknown key ignored") << "FR;LATER=1;CATEGORIES=observance"
                                         << "FR;CATEGORIES=observance";
    QTest::newRow("unknown category") << "FR;CATEGORIES=feast"
                                      << "";
    QTest::newRow("no categories") << "FR;CATEGORIES="
                                   << "";
    QTest::newRow("not a code") << "Germany"
                                << "";
}

void TestHolidayLinks::valueReadBack()
{
    QFETCH(QString, value);
    QFETCH(QString, normal);
    const auto parsed = HolidayLink::parse(value);
    QCOMPARE(parsed.has_value(), !normal.isEmpty());
    if (parsed)
        QCOMPARE(parsed->toValue(), normal);
}

void TestHolidayLinks::savedBesideTheFormulasWhichStayByteForByte()
{
    QTemporaryDir plain, linked;
    RecurringDates dates;
    dates.formulaLines = {
        RecurringEntry::makeLine(QStringLiteral("Rent"), QStringLiteral("@0001"))};
    QVERIFY(dates.saveUserList(plain.filePath(QStringLiteral("DLRECUR.DAX"))));
    QVERIFY(!QFile::exists(plain.filePath(QStringLiteral("DLRECUR.ics"))));
    // Enough hidden holidays for the line to be folded.
    QStringList hideMany;
    for (int i = 0; i < 40; ++i)
        hideMany.append(QStringLiteral("some-long-holiday-id-%1").arg(i));
    dates.holidayLinks = {link(QStringLiteral("DE-BY"), HolidayLink::Public, {"epiphany"}),
                          link(QStringLiteral("US"), HolidayLink::AllCategories, hideMany)};
    const QString daxPath = linked.filePath(QStringLiteral("DLRECUR.DAX"));
    QVERIFY(dates.saveUserList(daxPath));

    QCOMPARE(readFile(daxPath), readFile(plain.filePath(QStringLiteral("DLRECUR.DAX"))));
    const QByteArray ics = readFile(RecurringDates::icsPathBeside(daxPath));
    QVERIFY(ics.contains("\r\nX-DAYLOOM-HOLIDAYS:DE-BY;CATEGORIES=public;HIDE=epiphany\r\n"));
    for (const QByteArray &line : ics.split('\n'))
        QVERIFY(line.size() <= 76);
    RecurringDates loaded;
    QString error;
    QVERIFY2(RecurringDates::loadUserList(daxPath, loaded, &error), qPrintable(error));
    QCOMPARE(loaded.formulaLines, dates.formulaLines);
    QCOMPARE(loaded.holidayLinks, dates.holidayLinks);
}

void TestHolidayLinks::daysOfALink_data()
{
    QTest::addColumn<HolidayLink>("linked");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("region keeps its own")
        << link("DE-BY") << QDate(2027, 1, 6) << QStringList{"Heilige Drei Könige"};
    QTest::newRow("whole country leaves it out")
        << link("DE") << QDate(2027, 1, 6) << QStringList{};
    QTest::newRow("another region leaves it out")
        << link("DE-BE") << QDate(2027, 1, 6) << QStringList{};
    QTest::newRow("hidden") << link("DE-BY", HolidayLink::DaysOff, {"epiphany"})
                            << QDate(2027, 1, 6) << QStringList{};
    QTest::newRow("easter based") << link("DE") << QDate(2027, 3, 26) << QStringList{"Karfreitag"};
    QTest::newRow("observance left out by default")
        << link("DE") << QDate(2027, 5, 9) << QStringList{};
    QTest::newRow("observance ticked")
        << link("DE", HolidayLink::AllCategories) << QDate(2027, 5, 9) << QStringList{"Muttertag"};
    QTest::newRow("before its first year") << link("DE") << QDate(1989, 10, 3) << QStringList{};
    // 4 July 2027 is a Sunday: the day stays, Monday is the day off.
    QTest::newRow("holiday on a sunday")
        << link("US") << QDate(2027, 7, 4) << QStringList{"Independence Day"};
    QTest::newRow("observed monday")
        << link("US") << QDate(2027, 7, 5) << QStringList{"Independence Day (observed)"};
}

void TestHolidayLinks::daysOfALink()
{
    QFETCH(HolidayLink, linked);
    QFETCH(QDate, day);
    QFETCH(QStringList, texts);
    RecurringDates dates;
    dates.holidayLinks = {linked};
    QCOMPARE(textsOn(dates, day), texts);
    // The listing agrees with the fill.
    QStringList listed;
    for (const QString &line : dates.listMonth(day.month(), day.year())) {
        if (line.section(u'\t', 0, 0).toInt() == day.day())
            listed.append(line.section(u'\t', 1));
    }
    QCOMPARE(listed, texts);
}

void TestHolidayLinks::namedInThePagesLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");

    QTest::newRow("the set has it") << "en"
                                    << "New Year's Day";
    QTest::newRow("the country's own") << "de"
                                       << "Neujahr";
    QTest::newRow("missing: the country's language") << "fr"
                                                     << "Neujahr";
    QTest::newRow("none asked") << ""
                                << "Neujahr";
}

void TestHolidayLinks::namedInThePagesLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    RecurringDates dates;
    dates.formulaLines = {
        RecurringEntry::makeLine(QStringLiteral("Party"), QStringLiteral("@0101"))};
    dates.holidayLinks = {link("DE")};
    const QDate day(2027, 1, 1);
    // Formula entries first, linked sets last.
    QCOMPARE(dates.textsByDay(day, day, language).value(0), (QStringList{"Party", name}));
}

void TestHolidayLinks::unknownSetIsKeptAndReported()
{
    QTemporaryDir dir;
    const QString daxPath = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    RecurringDates dates;
    dates.holidayLinks = {link("DE-ZZ"), link("DE")};
    QVERIFY(dates.saveUserList(daxPath));
    RecurringDates loaded;
    QVERIFY(RecurringDates::loadUserList(daxPath, loaded));
    QCOMPARE(loaded.holidayLinks, dates.holidayLinks);
    QCOMPARE(UnknownHolidayLinks(loaded.holidayLinks), QStringList{"DE-ZZ"});
    QCOMPARE(textsOn(loaded, QDate(2027, 12, 25)), QStringList{"Erster Weihnachtstag"});
    QVERIFY(loaded.saveUserList(daxPath));
    QVERIFY(readFile(RecurringDates::icsPathBeside(daxPath)).contains("X-DAYLOOM-HOLIDAYS:DE-ZZ;"));
}

void TestHolidayLinks::brokenSetFileNamesItsLine()
{
    QCOMPARE(m_catalogue.errors().size(), 1);
    QVERIFY2(m_catalogue.errors().first().startsWith(QStringLiteral("XB.holidays: line 6")),
             qPrintable(m_catalogue.errors().first()));
    QVERIFY(m_catalogue.contains(QStringLiteral("DE-BY")));
    QVERIFY(m_catalogue.contains(QStringLiteral("US")));
}

void TestHolidayLinks::pageLanguageFromItsNames_data()
{
    QTest::addColumn<QString>("language"); // a built-in language, or a locale
    QTest::addColumn<QString>("code");

    QTest::newRow("deutsch") << "Deutsch"
                             << "de";
    QTest::newRow("english") << "English"
                             << "en";
    QTest::newRow("italiano") << "L'italiano"
                              << "it";
    QTest::newRow("dutch locale") << "nl_NL"
                                  << "nl";
}

void TestHolidayLinks::pageLanguageFromItsNames()
{
    QFETCH(QString, language);
    QFETCH(QString, code);
    CalendarSettings settings;
    if (const LanguageNames *names = FindLanguage(language)) {
        settings.monthNames = names->months;
        settings.dayNames = names->days;
    } else {
        const QLocale locale(language);
        for (int i = 0; i < 12; ++i)
            settings.monthNames[i] = locale.standaloneMonthName(i + 1);
        for (int i = 0; i < 7; ++i)
            settings.dayNames[i] = locale.standaloneDayName(i == 0 ? 7 : i);
    }
    QCOMPARE(PageLanguageCode(settings), code);
}

// Red days are the public holidays of the sets, hidden ones left out.
void TestHolidayLinks::redDaysArePublicHolidaysShown()
{
    HolidayLink link{QStringLiteral("DE-BY"), HolidayLink::AllCategories};
    link.hidden = {QStringLiteral("new-year")};
    SetRedDayHolidayLinks({link});
    const QSet<QDate> days = PublicHolidayDates(QDate(2027, 1, 1), QDate(2027, 5, 31));
    SetRedDayHolidayLinks({});
    // Mother's Day (9 May) is an observance; New Year's Day is hidden.
    QCOMPARE(days, (QSet<QDate>{QDate(2027, 1, 6), QDate(2027, 3, 26)}));
}

QTEST_GUILESS_MAIN(TestHolidayLinks)
#include "tst_holidaylinks.moc"
