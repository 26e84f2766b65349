#include "core/recurring/daterule.h"
#include "core/recurring/datesinmonth.h"
#include "core/recurring/easter.h"
#include "core/recurring/formuladialogfields.h"
#include "core/recurring/holidays.h"
#include "core/recurring/recurrencerule.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringdateslist.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringtext.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

using DayList = QList<int>;

Q_DECLARE_METATYPE(Dayloom::FormulaDialogFields)
Q_DECLARE_METATYPE(Dayloom::DateRule)

namespace {

QString entry(const QString &name, const QString &formula)
{
    return RecurringEntry::makeLine(name, formula);
}

QString holiday(const QString &name)
{
    for (const QString &line : builtInHolidays()) {
        if (RecurringEntry(line).name() == name)
            return line;
    }
    return {};
}

// Easter by the anonymous Gregorian algorithm, as an independent check.
QDate gregorianEaster(int y)
{
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    return QDate(y, month, (h + l - 7 * m + 114) % 31 + 1);
}

bool readBytes(const QByteArray &bytes, QStringList &lines, QString &error)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return RecurringDatesFile::readLines(buffer, lines, &error);
}

// A recurrence rule drawn at random from the combinations people write:
// BYWEEKNO only yearly, BYYEARDAY not monthly or weekly and never with
// BYMONTHDAY, ordinal weekdays only monthly or yearly, BYSETPOS only where a
// period holds several days. Rules that never fall would compare nothing,
// so the parts are kept to ones that usually do.
QString randomRule(QRandomGenerator &random)
{
    static const char *const frequencies[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    static const char *const weekdays[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    enum
    {
        Daily,
        Weekly,
        Monthly,
        Yearly
    };
    const int frequency = int(random.bounded(4));
    QStringList parts{QStringLiteral("FREQ=") + QLatin1String(frequencies[frequency])};
    const auto chance = [&](int percent) { return int(random.bounded(100)) < percent; };
    const auto nonZero = [&](int low, int high) {
        int v = 0;
        while (v == 0)
            v = low + int(random.bounded(high - low + 1));
        return v;
    };
    const auto numbers = [&](int most, int low, int high) {
        QStringList values;
        const int n = 1 + int(random.bounded(most));
        for (int i = 0; i < n; ++i)
            values.append(QString::number(nonZero(low, high)));
        values.removeDuplicates();
        return values.join(u',');
    };
    if (chance(40))
        parts.append(QStringLiteral("INTERVAL=%1").arg(2 + random.bounded(3)));
    if (chance(25))
        parts.append(QStringLiteral("COUNT=%1").arg(1 + random.bounded(40)));
    else if (chance(25))
        parts.append(QStringLiteral("UNTIL=%1")
                         .arg(QDate(2021 + random.bounded(19), 1 + random.bounded(12),
                                    1 + random.bounded(28))
                                  .toString(u"yyyyMMdd")));
    if (chance(frequency == Daily ? 20 : 35))
        parts.append(QStringLiteral("BYMONTH=") + numbers(3, 1, 12));
    int daysInPeriod = frequency == Daily ? 1 : 7;
    bool weekNumbers = false;
    if (frequency == Yearly && chance(20)) {
        parts.append(QStringLiteral("BYWEEKNO=") + numbers(2, -3, 52));
        weekNumbers = true;
    } else if ((frequency == Daily || frequency == Yearly) && chance(20)) {
        parts.append(QStringLiteral("BYYEARDAY=") + numbers(4, -366, 366));
    } else if (frequency != Weekly && chance(35)) {
        parts.append(QStringLiteral("BYMONTHDAY=") + numbers(4, -31, 31));
    }
    if (chance(55)) {
        const bool ordinals =
            (frequency == Monthly || frequency == Yearly) && !weekNumbers && chance(60);
        const bool inMonth = frequency == Monthly || parts.join(u';').contains(u"BYMONTH=");
        QStringList days;
        const int n = 1 + int(random.bounded(3));
        for (int i = 0; i < n; ++i) {
            QString day = QLatin1String(weekdays[random.bounded(7)]);
            if (ordinals)
                day.prepend(QString::number(inMonth ? nonZero(-4, 4) : nonZero(-50, 50)));
            days.append(day);
        }
        days.removeDuplicates();
        parts.append(QStringLiteral("BYDAY=") + days.join(u','));
        daysInPeriod = ordinals ? days.size() : days.size() * (frequency == Weekly ? 1 : 4);
    }
    if (frequency != Daily && daysInPeriod > 1 && chance(30))
        parts.append(QStringLiteral("BYSETPOS=") +
                     numbers(2, -std::min(daysInPeriod, 3), std::min(daysInPeriod, 3)));
    if (chance(20))
        parts.append(QStringLiteral("WKST=") + QLatin1String(weekdays[random.bounded(7)]));
    return parts.join(u';');
}

} // namespace

class TestRecurring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void textRoutines_data();
    void textRoutines();
    void ordinalText_data();
    void ordinalText();

    void datesInMonth_data();
    void datesInMonth();
    void fifthMondayOnlyInFiveMondayMonths();
    void easter_data();
    void easter();
    void easterRuleMatchesGregorian();

    void describeEntry_data();
    void describeEntry();
    void entryLayout();

    void buildFormula_data();
    void buildFormula();
    void dialogFieldsFromFormula_data();
    void dialogFieldsFromFormula();

    void holidayList();
    void holidaysAddedOnce();
    void daylightSavingTimeDays_data();
    void daylightSavingTimeDays();
    void entriesDifferingInCaseAreKept();

    void preFilter_data();
    void preFilter();
    void fillTexts();
    void listing();

    void convertEarlierLine();
    void convertEarlierFile();
    void roundTrip();
    void readLineEnds_data();
    void readLineEnds();
    void hostileInput_data();
    void hostileInput();
    void randomBytesNeverCrash();

    void recurrenceRuleText_data();
    void recurrenceRuleText();
    void recurrenceMatchesDateutil();
    void easterReckoningsMatchDateutil();
    void dateRules_data();
    void dateRules();
};

void TestRecurring::textRoutines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("padded");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("pad") << "ab" << 4 << "ab  "
                         << "ab";
    QTest::newRow("cut") << "abcdef" << 3 << "abc"
                         << "abcdef";
    QTest::newRow("exact") << " a b" << 4 << " a b"
                           << "a b";
    QTest::newRow("zero width") << "abc" << 0 << ""
                                << "abc";
    QTest::newRow("negative width") << "abc" << -5 << ""
                                    << "abc";
    QTest::newRow("tabs and blanks") << "\t x \r\n"
                                     << 2 << "\t "
                                     << "x";
    // A cut through a surrogate pair used to leave half a character.
    QTest::newRow("surrogate cut") << QString::fromUtf8("a\U0001F600") << 2 << "a "
                                   << "a\U0001F600";
}

void TestRecurring::textRoutines()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, padded);
    QCOMPARE(PadField(text, width), padded);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimBlanks(text), trimmed);
}

void TestRecurring::ordinalText_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("text");
    const QList<std::pair<int, const char *>> rows = {
        {0, "0th"},   {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},    {10, "10th"},
        {11, "11th"}, {12, "12th"}, {13, "13th"}, {19, "19th"}, {20, "20th"},  {21, "21st"},
        {22, "22nd"}, {23, "23rd"}, {30, "30th"}, {31, "31st"}, {111, "111th"}};
    for (const auto &[n, text] : rows)
        QTest::newRow(text) << n << QString::fromLatin1(text);
}

void TestRecurring::ordinalText()
{
    QFETCH(int, n);
    QFETCH(QString, text);
    QCOMPARE(OrdinalText(n), text);
}

void TestRecurring::datesInMonth_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<DayList>("days");

    // fixed day
    QTest::newRow("@ 31 February is skipped") << "@0231" << 2024 << 2 << DayList{};
    QTest::newRow("@ christmas") << "@1225     " << 1999 << 12 << DayList{25};
    QTest::newRow("@ other month") << "@1225" << 1999 << 11 << DayList{};
    QTest::newRow("@ every month") << "@0015" << 2023 << 6 << DayList{15};
    QTest::newRow("@ converted, 11 characters") << "@1225      " << 2000 << 12 << DayList{25};
    QTest::newRow("@ month not a number") << "@1x25" << 2000 << 12 << DayList{};
    QTest::newRow("@ month 13") << "@1325" << 2000 << 12 << DayList{};
    QTest::newRow("@ truncated") << "@12" << 2000 << 12 << DayList{};
    // nth weekday
    QTest::newRow("$ last day feb 2000") << "$5 7 2 " << 2000 << 2 << DayList{29};
    QTest::newRow("$ last day feb 1900") << "$5 7 2 " << 1900 << 2 << DayList{28};
    QTest::newRow("$ last day feb 2100") << "$5 7 2 " << 2100 << 2 << DayList{28};
    QTest::newRow("$ last day, other month") << "$5 7 2 " << 2000 << 3 << DayList{};
    QTest::newRow("$ 1st any day") << "$0 7 0 " << 2024 << 7 << DayList{1};
    QTest::newRow("$ 3rd any day") << "$2 7 0 " << 2024 << 7 << DayList{3};
    QTest::newRow("$ thanksgiving 2024") << "$3 4 11" << 2024 << 11 << DayList{28};
    QTest::newRow("$ last sunday oct 2024") << "$5 0 10" << 2024 << 10 << DayList{27};
    QTest::newRow("$ memorial day 2024") << "$5 1 5 " << 2024 << 5 << DayList{27};
    QTest::newRow("$ labor day 2024") << "$0 1 9 " << 2024 << 9 << DayList{2};
    QTest::newRow("$ occurrence 9") << "$9 1 0 " << 2024 << 9 << DayList{};
    QTest::newRow("$ weekday 8") << "$0 8 0 " << 2024 << 9 << DayList{};
    QTest::newRow("$ blank field") << "$  1 0 " << 2024 << 9 << DayList{};
    // weekdays
    QTest::newRow("% sundays") << "%1" << 2024 << 9 << DayList{1, 8, 15, 22, 29};
    QTest::newRow("% no digits") << "%" << 2024 << 9 << DayList{};
    QTest::newRow("% digits 8 9 ignored") << "%89x" << 2024 << 9 << DayList{};
    QTest::newRow("% digit beyond position 10 ignored") << "%         1" << 2024 << 9 << DayList{};
    // keywords
    QTest::newRow("# easter in march 2024") << "#EASTER" << 2024 << 3 << DayList{31};
    QTest::newRow("# easter not in april 2024") << "#EASTER" << 2024 << 4 << DayList{};
    QTest::newRow("# lower-case keyword") << "#easter   " << 2025 << 4 << DayList{20};
    QTest::newRow("# good friday 2011") << "#GOODFRIDAY" << 2011 << 4 << DayList{22};
    QTest::newRow("# palm sunday 2008") << "#PALMSUNDAY" << 2008 << 3 << DayList{16};
    QTest::newRow("# unknown keyword") << "#WHITSUN" << 2008 << 3 << DayList{};
    // out of range
    QTest::newRow("month 13") << "%1234567" << 2024 << 13 << DayList{};
    QTest::newRow("year 0") << "%1234567" << 0 << 1 << DayList{};
    QTest::newRow("empty formula") << "" << 2024 << 1 << DayList{};
    QTest::newRow("unknown kind") << "X1225" << 2024 << 12 << DayList{};
}

void TestRecurring::datesInMonth()
{
    QFETCH(QString, formula);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(DayList, days);
    QCOMPARE(DatesInMonth(formula, year, month), days);
}

void TestRecurring::fifthMondayOnlyInFiveMondayMonths()
{
    for (int year = 1999; year <= 2030; ++year) {
        for (int month = 1; month <= 12; ++month) {
            DayList mondays;
            const QDate first(year, month, 1);
            for (QDate d = first; d.month() == month; d = d.addDays(1)) {
                if (d.dayOfWeek() == Qt::Monday)
                    mondays.append(d.day());
            }
            const DayList expected = mondays.size() == 5 ? DayList{mondays.last()} : DayList{};
            QCOMPARE(DatesInMonth(u"$4 1 0 ", year, month), expected);
            QCOMPARE(DatesInMonth(u"%1234567", year, month).size(), first.daysInMonth());
        }
    }
}

void TestRecurring::easter_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("sunday");

    QTest::newRow("1997") << 1997 << QDate(1997, 3, 30);
    QTest::newRow("2000") << 2000 << QDate(2000, 4, 23);
    QTest::newRow("2008") << 2008 << QDate(2008, 3, 23);
    QTest::newRow("2011") << 2011 << QDate(2011, 4, 24);
    QTest::newRow("2024") << 2024 << QDate(2024, 3, 31);
    QTest::newRow("2025") << 2025 << QDate(2025, 4, 20);
}

void TestRecurring::easter()
{
    QFETCH(int, year);
    QFETCH(QDate, sunday);
    QCOMPARE(easterSunday(year), sunday);
    QCOMPARE(goodFriday(year), sunday.addDays(-2));
    QCOMPARE(palmSunday(year), sunday.addDays(-7));
}

void TestRecurring::easterRuleMatchesGregorian()
{
    for (int year = 1900; year <= 2099; ++year)
        QCOMPARE(easterSunday(year), gregorianEaster(year));
    // Outside 1900-2099 the short rule may miss Sunday; the feasts still
    // land on a Friday and a Sunday.
    for (int year : {1, 1582, 2100, 2200, 9999}) {
        QVERIFY(easterSunday(year).isValid());
        QCOMPARE(goodFriday(year).dayOfWeek(), int(Qt::Friday));
        QCOMPARE(palmSunday(year).dayOfWeek(), int(Qt::Sunday));
    }
    QVERIFY(!easterSunday(0).isValid());
    QVERIFY(!easterSunday(-400).isValid());
}

void TestRecurring::describeEntry_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");

    QTest::newRow("@ christmas") << holiday("Christmas Day") << "Christmas Day (25th of December)";
    QTest::newRow("@ each month") << entry("Rent", "@0001") << "Rent (1st of Each Month)";
    QTest::newRow("$ thanksgiving")
        << holiday("Thanksgiving Day") << "Thanksgiving Day (4th Thu of November)";
    QTest::newRow("$ first sunday") << holiday("Daylight Savings Time ends")
                                    << "Daylight Savings Time ends (1st Sun of November)";
    QTest::newRow("$ any day") << entry("Pay", "$0 7 0 ") << "Pay (1st Day Each Month)";
    QTest::newRow("$ last any day") << entry("Pay", "$5 7 2 ") << "Pay (Last Day February)";
    QTest::newRow("% workdays") << entry("Work", "%23456") << "Work (Mon,Tue,Wed,Thu,Fri)";
    QTest::newRow("% digits out of order") << entry("Gym", "%71") << "Gym (Sun,Sat)";
    QTest::newRow("% none") << entry("Never", "%") << "Never ()";
    QTest::newRow("@ unreadable") << entry("Bad", "@xx25") << "Bad ()";
    QTest::newRow("$ unreadable") << entry("Bad", "$a 1 1 ") << "Bad ()";
    // Out-of-range fields used to index past the name tables.
    QTest::newRow("$ weekday 9") << entry("Bad", "$1 9 1 ") << "Bad ()";
    QTest::newRow("@ month 13") << entry("Bad", "@1301") << "Bad ()";
    QTest::newRow("# keyword shows name field")
        << holiday("Easter") << PadField(QStringLiteral("Easter"), 120);
    QTest::newRow("short line as it stands") << "  just text"
                                             << "  just text";
    QTest::newRow("unknown kind") << entry("Odd", "X") << PadField(QStringLiteral("Odd"), 120);
}

void TestRecurring::describeEntry()
{
    QFETCH(QString, line);
    QFETCH(QString, text);
    QCOMPARE(DescribeEntry(line), text);
}

void TestRecurring::entryLayout()
{
    const QString longName = QString(100, u'a') + QString(30, u'b');
    const RecurringEntry made(entry(longName, "@0101"));
    QCOMPARE(made.line().size(), 130);
    QCOMPARE(made.name(), longName.left(120));
    QCOMPARE(made.kind(), QChar(u'@'));
    QCOMPARE(made.formula().toString(), QStringLiteral("@0101     "));
    QCOMPARE(made.editableFormula(), QStringLiteral("@0101     "));
    QVERIFY(made.isEditable());

    const RecurringEntry keyword(holiday("Good Friday"));
    QCOMPARE(keyword.formula().toString(), QStringLiteral("#GOODFRIDAY"));
    QCOMPARE(keyword.editableFormula(), QStringLiteral("#GOODFRIDA"));
    QVERIFY(!keyword.isEditable());

    const RecurringEntry shortLine(QStringLiteral("name only"));
    QVERIFY(shortLine.kind().isNull());
    QVERIFY(shortLine.formula().isEmpty());
}

void TestRecurring::buildFormula_data()
{
    using Style = FormulaDialogFields::Style;
    QTest::addColumn<FormulaDialogFields>("fields");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("error");

    auto dayOfMonth = [](int month, int day) {
        FormulaDialogFields f;
        f.dayOfMonthMonth = month;
        f.dayOfMonthDay = day;
        return f;
    };
    auto special = [](int o, int d, int m) {
        FormulaDialogFields f;
        f.style = Style::Special;
        f.specialOccurrence = o;
        f.specialDayOfWeek = d;
        f.specialMonth = m;
        return f;
    };
    auto weekdays = [](WeekdayChoice days) {
        FormulaDialogFields f;
        f.style = Style::DayOfWeek;
        f.weekdays = days;
        return f;
    };
    QTest::newRow("@ christmas") << dayOfMonth(12, 25) << "@1225"
                                 << "";
    QTest::newRow("@ 31 feb accepted") << dayOfMonth(2, 31) << "@0231"
                                       << "";
    QTest::newRow("@ each month") << dayOfMonth(0, 1) << "@0001"
                                  << "";
    QTest::newRow("@ day 0") << dayOfMonth(1, 0) << "" << FormulaMessages::InvalidDay;
    QTest::newRow("@ day 32") << dayOfMonth(1, 32) << "" << FormulaMessages::InvalidDay;
    QTest::newRow("@ no month") << dayOfMonth(-1, 5) << "" << FormulaMessages::InvalidMonth;
    QTest::newRow("$ thanksgiving") << special(3, 4, 11) << "$3 4 11"
                                    << "";
    QTest::newRow("$ last any day") << special(5, 7, 0) << "$5 7 0 "
                                    << "";
    QTest::newRow("$ no occurrence") << special(-1, 4, 11) << "" << FormulaMessages::InvalidSpecial;
    QTest::newRow("$ no weekday") << special(1, -1, 11) << "" << FormulaMessages::InvalidSpecial;
    QTest::newRow("$ no month") << special(1, 1, -1) << "" << FormulaMessages::InvalidSpecial;
    QTest::newRow("% opening state") << weekdays(FormulaDialogFields().weekdays) << "%23456"
                                     << "";
    QTest::newRow("% sunday and saturday")
        << weekdays({true, false, false, false, false, false, true}) << "%17"
        << "";
    QTest::newRow("% none") << weekdays({}) << "" << FormulaMessages::NoWeekday;
}

void TestRecurring::buildFormula()
{
    QFETCH(FormulaDialogFields, fields);
    QFETCH(QString, formula);
    const FormulaBuildResult result = fields.buildFormula();
    QCOMPARE(result.ok, !formula.isEmpty());
    QCOMPARE(result.formula, formula);
    QFETCH(QString, error);
    QCOMPARE(result.error, error);
    // Every built formula reads back as the same choice.
    if (result.ok)
        QCOMPARE(FormulaDialogFields::fromFormula(formula).buildFormula().formula, formula);
}

void TestRecurring::dialogFieldsFromFormula_data()
{
    using Style = FormulaDialogFields::Style;
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("rebuilt");

    QTest::newRow("new entry '@'") << "@" << int(Style::DayOfMonth) << "@0001";
    QTest::newRow("@ padded") << "@1225     " << int(Style::DayOfMonth) << "@1225";
    QTest::newRow("$ padded") << "$5 0 10   " << int(Style::Special) << "$5 0 10";
    QTest::newRow("$ unreadable keeps opening state")
        << "$x 0 10" << int(Style::DayOfMonth) << "@0001";
    QTest::newRow("% weekend") << "%17       " << int(Style::DayOfWeek) << "%17";
    QTest::newRow("empty: no weekday checked") << "" << int(Style::DayOfWeek) << "";
}

void TestRecurring::dialogFieldsFromFormula()
{
    QFETCH(QString, formula);
    const FormulaDialogFields fields = FormulaDialogFields::fromFormula(formula);
    QFETCH(int, style);
    QCOMPARE(int(fields.style), style);
    QFETCH(QString, rebuilt);
    QCOMPARE(fields.buildFormula().formula, rebuilt);
}

void TestRecurring::holidayList()
{
    const QStringList &lines = Dayloom::builtInHolidays();
    QCOMPARE(lines.size(), 26);
    QCOMPARE(RecurringDatesList::sorted(lines), lines);
    for (const QString &line : lines) {
        const RecurringEntry e(line);
        QVERIFY2(e.parsedFormula().isValid(), qPrintable(line));
        const int expected =
            e.kind() == u'#' ? 120 + int(TrimBlanks(e.formula().toString()).size()) : 130;
        QCOMPARE(line.size(), expected);
    }
    QCOMPARE(holiday("Easter").size(), 127);
    QCOMPARE(holiday("Palm Sunday").size(), 131);
    QCOMPARE(RecurringEntry(holiday("April Fools' Day")).formula().toString(),
             QStringLiteral("@0401     "));
    QCOMPARE(RecurringEntry(holiday("Daylight Savings time begins")).formula().toString(),
             QStringLiteral("$1 0 3    "));
}

// Used to put US daylight saving time on the first Sunday of April and the
// last Sunday of October (the rule before 2007).
void TestRecurring::daylightSavingTimeDays_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("begins");
    QTest::addColumn<QDate>("ends");
    // The days the US observed, from the published clock changes.
    QTest::newRow("2007") << 2007 << QDate(2007, 3, 11) << QDate(2007, 11, 4);
    QTest::newRow("2024") << 2024 << QDate(2024, 3, 10) << QDate(2024, 11, 3);
    QTest::newRow("2026") << 2026 << QDate(2026, 3, 8) << QDate(2026, 11, 1);
}

void TestRecurring::daylightSavingTimeDays()
{
    QFETCH(int, year);
    QFETCH(QDate, begins);
    QFETCH(QDate, ends);
    const RecurringEntry start(holiday("Daylight Savings time begins"));
    const RecurringEntry end(holiday("Daylight Savings Time ends"));
    QCOMPARE(DatesInMonth(start.formula().toString(), year, 3), QList<int>{begins.day()});
    QCOMPARE(DatesInMonth(end.formula().toString(), year, 11), QList<int>{ends.day()});
}

void TestRecurring::holidaysAddedOnce()
{
    RecurringDatesList list({entry("zoo visit", "@0505"), holiday("Christmas Day").toUpper()});
    QCOMPARE(list.addMissing(Dayloom::builtInHolidays()), 25);
    QCOMPARE(list.addMissing(Dayloom::builtInHolidays()), 0);
    QCOMPARE(list.count(), 27);
    QCOMPARE(RecurringDatesList::sorted(list.lines()), list.lines());
    const int index = list.replace(list.indexOf(entry("zoo visit", "@0505")), entry("Aa", "%1"));
    QCOMPARE(index, 0);
    list.removeAt(99);
    QCOMPARE(list.count(), 27);
}

void TestRecurring::entriesDifferingInCaseAreKept()
{
    // Three entries differing only in letter case used to become one on load, New and write.
    const QStringList three = {entry("Mom", "@0510"), entry("MOM", "@0510"), entry("mom", "@0510")};
    RecurringDatesList list(three);
    QCOMPARE(list.lines(), three);
    QCOMPARE(list.add(entry("mOm", "@0510")), 3);
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.addMissing({entry("MoM", "@0510")}), 0);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(RecurringDatesFile::writeLines(buffer, list.lines()));
    QStringList read;
    QString error;
    QVERIFY(readBytes(bytes, read, error));
    QCOMPARE(read, list.lines());
}

void TestRecurring::preFilter_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("dropped");

    const QString everyMonth = entry("Rent", "@0001");
    const QString badMonth = entry("Bad", "@x101");
    const QString weekly = entry("Gym", "%2");
    QTest::newRow("december 1999")
        << 1999 << 12 << QStringList{holiday("Christmas Day"), everyMonth, badMonth, weekly}
        << QStringList{holiday("Easter"), holiday("Good Friday"), holiday("Palm Sunday"),
                       holiday("Thanksgiving Day"), holiday("New Year's Day")};
    QTest::newRow("march 2024") << 2024 << 3
                                << QStringList{holiday("Easter"), holiday("Good Friday"),
                                               holiday("Palm Sunday"), holiday("St. Patrick's Day"),
                                               everyMonth}
                                << QStringList{holiday("Christmas Day")};
    QTest::newRow("april 2025") << 2025 << 4
                                << QStringList{holiday("Easter"), holiday("Good Friday"),
                                               holiday("Palm Sunday"), entry("Odd", "#OTHER")}
                                << QStringList{holiday("Daylight Savings Time ends")};
    QTest::newRow("april 2011 easter but not palm sunday")
        << 2011 << 4 << QStringList{holiday("Easter"), holiday("Good Friday")}
        << QStringList{entry("x", "$0 0 3 ")};
    QTest::newRow("march 2011 only palm sunday")
        << 2011 << 3 << QStringList{} << QStringList{holiday("Easter"), holiday("Good Friday")};
}

void TestRecurring::preFilter()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, dropped);
    const QStringList all = RecurringDatesList::sorted(offered + dropped + builtInHolidays());
    const QStringList result = offeredEntries(all, month, year);
    for (const QString &line : offered)
        QVERIFY2(result.contains(line), qPrintable(TrimBlanks(line)));
    for (const QString &line : dropped)
        QVERIFY2(!result.contains(line), qPrintable(TrimBlanks(line)));
    QCOMPARE(RecurringDatesList::sorted(result), result);
}

void TestRecurring::fillTexts()
{
    const QStringList chosen = {entry("  Payday", "$5 7 0 "), entry("Gym", "%2"),
                                holiday("Good Friday"), entry("Never", "@0231")};
    const QList<QStringList> texts = Dayloom::fillTexts(chosen, 4, 2011);
    QCOMPARE(texts.size(), 30);
    QCOMPARE(texts[3], QStringList{"Gym"}); // Monday 4 April 2011
    QCOMPARE(texts[21], QStringList{"Good Friday"});
    QCOMPARE(texts[29], QStringList{"Payday"});
    QCOMPARE(Dayloom::fillTexts(chosen, 2, 2011)[27], (QStringList{"Payday", "Gym"}));
    QCOMPARE(Dayloom::fillTexts(QStringList{entry("A", "%2"), entry("B", "@0025")}, 4, 2011)[24],
             (QStringList{"A", "B"}));
    QVERIFY(Dayloom::fillTexts(chosen, 0, 2011).isEmpty());
}

void TestRecurring::listing()
{
    const QStringList entries = {holiday("Easter"), entry("Pay", "$0 7 0 "), entry("Rent", "@0001"),
                                 entry("Bad", "@xx01")};
    const QStringList expected = {"1\tPay (1st Day Each Month)", "1\tRent (1st of Each Month)",
                                  "31\tEaster"};
    QCOMPARE(listDatesInMonth(entries, 3, 2024), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath("dates.dax");
    QString error;
    QVERIFY(RecurringDatesFile::save(path, entries, &error));
    QStringList lines;
    QVERIFY(listDatesFromFiles("2024-03", {path}, lines, &error));
    QCOMPARE(lines, expected);
    QVERIFY(!listDatesFromFiles("2024-13", {path}, lines, &error));
    QVERIFY(!listDatesFromFiles("March", {path}, lines, &error));
    QVERIFY(!listDatesFromFiles("2024-03", {dir.filePath("missing.dax")}, lines, &error));
    QVERIFY(!error.isEmpty());
}

void TestRecurring::convertEarlierLine()
{
    const QString converted = RecurringDatesFile::convertEarlierLine("1225Christmas");
    QCOMPARE(converted, PadField("Christmas", 120) + "@1225" + QString(6, u' '));
    QCOMPARE(converted.size(), 131);
    QCOMPARE(DescribeEntry(converted), QStringLiteral("Christmas (25th of December)"));
    QCOMPARE(RecurringDatesFile::convertEarlierLine("12").size(), 131);
}

void TestRecurring::convertEarlierFile()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(RecurringDatesFile::convertEarlierFile(dir.path(), &error)); // nothing to convert

    QFile earlier(dir.filePath("DLRECUR.DAT"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("1225Christmas\r\n0704Picnic\r\n");
    earlier.close();
    // An existing list used to be replaced by the converted one.
    const QString kept = entry("Kept", "%1");
    QVERIFY(RecurringDatesFile::save(dir.filePath("DLRECUR.DAX"), {kept}, &error));

    QVERIFY2(RecurringDatesFile::convertEarlierFile(dir.path(), &error), qPrintable(error));
    QVERIFY(!QFile::exists(dir.filePath("DLRECUR.DAT")));
    QStringList lines;
    QVERIFY(RecurringDatesFile::load(dir.filePath("DLRECUR.DAX"), lines, &error));
    QCOMPARE(lines, (QStringList{RecurringDatesFile::convertEarlierLine("1225Christmas"), kept,
                                 RecurringDatesFile::convertEarlierLine("0704Picnic")}));

    // An unreadable earlier file is neither converted nor deleted.
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write(QByteArray("0101New\0Year", 12));
    earlier.close();
    QVERIFY(!RecurringDatesFile::convertEarlierFile(dir.path(), &error));
    QVERIFY(QFile::exists(dir.filePath("DLRECUR.DAT")));
}

void TestRecurring::roundTrip()
{
    const QStringList lines = {entry("zeta", "@0101"), holiday("Easter"),
                               entry(QString::fromUtf8("Fête des Mères"), "$5 0 5 "),
                               entry("alpha", "%1")};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(RecurringDatesFile::writeLines(buffer, lines, &error));
    QCOMPARE(bytes.count("\r\n"), 4);
    QCOMPARE(bytes.count('\n'), 4);
    QVERIFY(bytes.startsWith("alpha "));
    QVERIFY(bytes.endsWith("@0101     \r\n"));

    QStringList read;
    QVERIFY(readBytes(bytes, read, error));
    QCOMPARE(read, RecurringDatesList::sorted(lines));
    QCOMPARE(read.size(), 4);
    QVERIFY(read.contains(holiday("Easter")));

    QTemporaryDir dir;
    const QString path = dir.filePath(RecurringDatesFile::fileName());
    QStringList loaded;
    QVERIFY(RecurringDatesFile::load(path, loaded, &error)); // missing file: empty list
    QVERIFY(loaded.isEmpty());
    QVERIFY(RecurringDatesFile::save(path, lines, &error));
    QVERIFY(RecurringDatesFile::load(path, loaded, &error));
    QCOMPARE(loaded, read);
    QVERIFY(!RecurringDatesFile::save(dir.filePath("no/such/dir/x.dax"), lines, &error));
    QVERIFY(!error.isEmpty());
}

void TestRecurring::readLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF, no final end") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("blank lines skipped") << QByteArray("\r\n  \r\na\r\n\r\n") << QStringList{"a"};
    QTest::newRow("latin-1") << QByteArray("F\xEAte\r\n") << QStringList{QString::fromUtf8("Fête")};
    // Bytes 0x80-0x9F of older files used to be read as invisible control characters.
    QTest::newRow("windows-1252") << QByteArray("Mom\x92s \x96 \x80"
                                                "5\r\n")
                                  << QStringList{QString::fromUtf8("Mom’s – €5")};
    QTest::newRow("utf-8") << QByteArray("F\xC3\xAAte") << QStringList{QString::fromUtf8("Fête")};
    QTest::newRow("leading blanks kept") << QByteArray("  x") << QStringList{"  x"};
}

void TestRecurring::readLineEnds()
{
    QFETCH(QByteArray, bytes);
    QStringList lines;
    QString error;
    QFETCH(QStringList, expected);
    QVERIFY(readBytes(bytes, lines, error));
    QCOMPARE(lines, expected);
}

void TestRecurring::hostileInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("firstLength");

    const int maxLength = int(RecurringDatesFile::MaxLineLength);
    QTest::newRow("huge line is cut") << QByteArray(5'000'000, 'x') << true << 1 << maxLength;
    // A cut through a UTF-8 sequence used to turn the whole line into Latin-1.
    QTest::newRow("huge utf-8 line cut on a character")
        << QByteArray("a") + QByteArray("\xC3\xAA").repeated(3000) << true << 1 << maxLength;
    QTest::newRow("NUL byte") << QByteArray("ok\r\nbin\0ary", 11) << false << 1 << 2;
    QTest::newRow("too many lines") << QByteArray("x\n").repeated(RecurringDatesFile::MaxLines + 1)
                                    << false << RecurringDatesFile::MaxLines << 1;
    QTest::newRow("empty file") << QByteArray() << true << 0 << 0;
}

void TestRecurring::hostileInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    QStringList lines;
    QString error;
    QFETCH(bool, ok);
    QFETCH(int, firstLength);
    QCOMPARE(readBytes(bytes, lines, error), ok);
    QCOMPARE(error.isEmpty(), ok);
    QCOMPARE(lines.size(), lineCount);
    if (lineCount > 0) {
        QCOMPARE(int(lines.first().size()), firstLength);
        QVERIFY(!lines.first().contains(QChar(0xC3))); // no Latin-1 fallback
    }
}

void TestRecurring::randomBytesNeverCrash()
{
    QRandomGenerator random(4711);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(int(random.bounded(2000)), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random.bounded(1, 256));
        QStringList lines;
        QString error;
        QVERIFY(readBytes(bytes, lines, error));
        for (const QString &line : std::as_const(lines)) {
            DescribeEntry(line);
            for (int month = 1; month <= 12; ++month)
                DatesInMonth(RecurringEntry(line).formula(), 2024, month);
        }
        offeredEntries(lines, 3, 2024);
        Dayloom::fillTexts(lines, 2, 2024);
        FormulaDialogFields::fromFormula(lines.value(0)).buildFormula();
    }
}

void TestRecurring::recurrenceRuleText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written"); // empty: refused

    QTest::newRow("last-friday") << "RRULE:freq=monthly;byday=-1fr"
                                 << "FREQ=MONTHLY;BYDAY=-1FR";
    QTest::newRow("every-parts")
        << "FREQ=YEARLY;INTERVAL=2;COUNT=5;BYMONTH=11;BYDAY=1TU;BYMONTHDAY=2,3,4,5,6,7,8;WKST=SU"
        << "FREQ=YEARLY;INTERVAL=2;COUNT=5;BYMONTH=11;BYMONTHDAY=2,3,4,5,6,7,8;BYDAY=1TU;WKST=SU";
    QTest::newRow("until-with-time") << "FREQ=WEEKLY;UNTIL=20271231T235959Z"
                                     << "FREQ=WEEKLY;UNTIL=20271231";
    QTest::newRow("hours-ignored") << "FREQ=DAILY;BYHOUR=9"
                                   << "FREQ=DAILY";
    QTest::newRow("no-frequency") << "BYDAY=MO"
                                  << "";
    QTest::newRow("hourly") << "FREQ=HOURLY"
                            << "";
    QTest::newRow("zero-monthday") << "FREQ=MONTHLY;BYMONTHDAY=0"
                                   << "";
    QTest::newRow("month-13") << "FREQ=YEARLY;BYMONTH=13"
                              << "";
    QTest::newRow("bad-weekday") << "FREQ=WEEKLY;BYDAY=XX"
                                 << "";
    QTest::newRow("unknown-part") << "FREQ=WEEKLY;FOO=1"
                                  << "";
    QTest::newRow("huge-count") << "FREQ=DAILY;COUNT=99999999999"
                                << "";
}

void TestRecurring::recurrenceRuleText()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QString error;
    const auto rule = RecurrenceRule::parse(text, &error);
    QCOMPARE(rule.has_value(), !written.isEmpty());
    if (rule) {
        QCOMPARE(rule->toString(), written);
        QCOMPARE(RecurrenceRule::parse(written), rule);
    } else {
        QVERIFY(!error.isEmpty());
    }
}

// Several hundred rules over 2020-2040 against python-dateutil's rrule.
void TestRecurring::recurrenceMatchesDateutil()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    QProcess oracle;
    oracle.start(python, {QStringLiteral(DAYLOOM_TEST_DATA "/rrule_dates.py")});
    QVERIFY(oracle.waitForStarted());

    QRandomGenerator random(2026);
    struct Case
    {
        QString rule;
        QDate first;
    };
    QList<Case> cases;
    const QDate from(2020, 1, 1), to(2040, 12, 31);
    for (int i = 0; i < 320; ++i) {
        const Case c{randomRule(random), QDate(2015 + random.bounded(16), 1 + random.bounded(12),
                                               1 + random.bounded(31))};
        if (!c.first.isValid())
            continue;
        cases.append(c);
        oracle.write(QStringLiteral("%1 %2 20200101 20401231\n")
                         .arg(c.first.toString(u"yyyyMMdd"), c.rule)
                         .toLatin1());
    }
    oracle.closeWriteChannel();
    QVERIFY(oracle.waitForFinished(300000));
    if (oracle.exitCode() != 0 && oracle.readAllStandardError().contains("ModuleNotFoundError"))
        QSKIP("python3-dateutil is not installed");
    QCOMPARE(oracle.exitCode(), 0);
    const QStringList expected = QString::fromLatin1(oracle.readAllStandardOutput()).split(u'\n');
    QVERIFY(expected.size() > cases.size());
    int nonEmpty = 0;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const auto rule = RecurrenceRule::parse(cases[i].rule);
        QVERIFY2(rule, qPrintable(cases[i].rule));
        QStringList ours;
        for (const QDate &d : rule->datesBetween(cases[i].first, from, to))
            ours.append(d.toString(u"yyyyMMdd"));
        nonEmpty += ours.isEmpty() ? 0 : 1;
        QVERIFY2(ours.join(u' ') == expected[i],
                 qPrintable(QStringLiteral("%1 from %2:\n ours   %3\n oracle %4")
                                .arg(cases[i].rule, cases[i].first.toString(Qt::ISODate),
                                     ours.join(u' ').left(300), expected[i].left(300))));
    }
    // The comparison means something only when most rules fall somewhere.
    QVERIFY(nonEmpty > cases.size() / 2);
}

// Both reckonings of Easter for 1583-4099 against python-dateutil's easter().
void TestRecurring::easterReckoningsMatchDateutil()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    QProcess oracle;
    oracle.start(python, {QStringLiteral("-c"),
                          QStringLiteral(
                              "from dateutil.easter import easter\n"
                              "for y in range(1583, 4100):\n"
                              "    print(easter(y, 3).isoformat(), easter(y, 2).isoformat())\n")});
    QVERIFY(oracle.waitForFinished(60000));
    if (oracle.exitCode() != 0)
        QSKIP("python3-dateutil is not installed");
    const QStringList lines =
        QString::fromLatin1(oracle.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4099 - 1583 + 1);
    for (int year = 1583; year <= 4099; ++year) {
        const QString ours = westernEasterSunday(year).toString(Qt::ISODate) + u' ' +
                             orthodoxEasterSunday(year).toString(Qt::ISODate);
        QCOMPARE(ours, lines[year - 1583]);
    }
}

void TestRecurring::dateRules_data()
{
    QTest::addColumn<DateRule>("rule");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QList<qint64>>("blocked");
    QTest::addColumn<QString>("days"); // "day<-start" pairs, ISO dates

    const auto yearly = [](QDate first, DateRule::Shift shift) {
        DateRule r;
        r.first = first;
        r.recurrence = RecurrenceRule::parse(u"FREQ=YEARLY");
        r.shift = shift;
        return r;
    };
    const auto easter = [](DateRule::Reckoning reckoning, int offset) {
        DateRule r;
        r.kind = DateRule::Kind::Easter;
        r.reckoning = reckoning;
        r.easterOffset = offset;
        return r;
    };
    using S = DateRule::Shift;
    QTest::newRow("christmas-saturday-to-monday")
        << yearly(QDate(2000, 12, 25), S::NextWorkday) << QDate(2021, 12, 1) << QDate(2021, 12, 31)
        << QList<qint64>{} << "2021-12-27";
    QTest::newRow("boxing-day-past-christmas-observed")
        << yearly(QDate(2000, 12, 26), S::NextWorkday) << QDate(2021, 12, 1) << QDate(2021, 12, 31)
        << QList<qint64>{QDate(2021, 12, 27).toJulianDay()} << "2021-12-28";
    QTest::newRow("nearest-saturday-to-friday")
        << yearly(QDate(1776, 7, 4), S::NearestWorkday) << QDate(2026, 7, 1) << QDate(2026, 7, 31)
        << QList<qint64>{} << "2026-07-03";
    QTest::newRow("nearest-sunday-to-monday")
        << yearly(QDate(1776, 7, 4), S::NearestWorkday) << QDate(2027, 7, 1) << QDate(2027, 7, 31)
        << QList<qint64>{} << "2027-07-05";
    // A date moved into the range from the month before.
    QTest::newRow("shift-crosses-month")
        << yearly(QDate(2000, 5, 31), S::NextWorkday) << QDate(2026, 6, 1) << QDate(2026, 6, 30)
        << QList<qint64>{} << "2026-06-01";
    QTest::newRow("easter-monday") << easter(DateRule::Reckoning::Western, 1) << QDate(2026, 4, 1)
                                   << QDate(2026, 4, 30) << QList<qint64>{} << "2026-04-06";
    QTest::newRow("orthodox-easter")
        << easter(DateRule::Reckoning::Orthodox, 0) << QDate(2026, 4, 1) << QDate(2026, 4, 30)
        << QList<qint64>{} << "2026-04-12";
    QTest::newRow("pentecost-and-ascension-in-may")
        << easter(DateRule::Reckoning::Western, 49) << QDate(2026, 5, 1) << QDate(2026, 5, 31)
        << QList<qint64>{} << "2026-05-24";
    // Septuagesima of 2027 lies in January, 63 days before Easter.
    QTest::newRow("easter-offset-reaches-january")
        << easter(DateRule::Reckoning::Western, -63) << QDate(2027, 1, 1) << QDate(2027, 1, 31)
        << QList<qint64>{} << "2027-01-24";

    DateRule term;
    term.first = QDate(2026, 6, 29);
    term.spanDays = 5;
    QTest::newRow("span-from-month-before")
        << term << QDate(2026, 7, 1) << QDate(2026, 7, 31) << QList<qint64>{}
        << "2026-07-01<-2026-06-29 2026-07-02<-2026-06-29 2026-07-03<-2026-06-29";
    DateRule weekly;
    weekly.first = QDate(2026, 1, 6);
    weekly.recurrence = RecurrenceRule::parse(u"FREQ=WEEKLY;INTERVAL=2");
    weekly.exceptions = {QDate(2026, 2, 3)};
    weekly.extraDates = {QDate(2026, 2, 4)};
    QTest::newRow("exception-and-extra-date") << weekly << QDate(2026, 2, 1) << QDate(2026, 2, 28)
                                              << QList<qint64>{} << "2026-02-04 2026-02-17";
}

void TestRecurring::dateRules()
{
    QFETCH(DateRule, rule);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QList<qint64>, blocked);
    QFETCH(QString, days);
    QStringList shown;
    for (const auto &d : rule.daysBetween(from, to, QSet<qint64>(blocked.begin(), blocked.end())))
        shown.append(
            d.day.toString(Qt::ISODate) +
            (d.start != d.day ? QStringLiteral("<-") + d.start.toString(Qt::ISODate) : QString()));
    QCOMPARE(shown.join(u' '), days);
}

QTEST_GUILESS_MAIN(TestRecurring)
#include "tst_recurring.moc"
