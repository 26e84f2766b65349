#include "core/holidays/holidayfilereader.h"

#include "core/recurring/calendarrule.h"

#include <QRegularExpression>
#include <QSet>

#include <optional>

namespace Dayloom {

namespace {

struct Failure
{
    QString reason;
    int line = 0; // 0: the line being read
};

int WeekdayBit(QStringView name)
{
    static const char *const names[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
    for (int i = 0; i < 7; ++i) {
        if (name == QLatin1String(names[i]))
            return 1 << (i + 1);
    }
    return 0;
}

int ParseWeekdays(const QString &text)
{
    int mask = 0;
    for (const QString &name : text.split(u',')) {
        const int bit = WeekdayBit(name.trimmed().toLower());
        if (!bit)
            throw Failure{QStringLiteral("\"%1\" is not a weekday (mon ... sun)").arg(name)};
        mask |= bit;
    }
    return mask;
}

DateRule::Shift ParseShift(const QString &word)
{
    if (word == u"next")
        return DateRule::Shift::NextWorkday;
    if (word == u"previous")
        return DateRule::Shift::PreviousWorkday;
    if (word == u"nearest")
        return DateRule::Shift::NearestWorkday;
    throw Failure{QStringLiteral("\"%1\" is not next, previous or nearest").arg(word)};
}

int ParseYear(QStringView text)
{
    bool ok = false;
    const int year = text.toInt(&ok);
    if (!ok || year < 1583 || year > 9999)
        throw Failure{QStringLiteral("\"%1\" is not a year from 1583 to 9999").arg(text)};
    return year;
}

// "1990-", "-2017", "1990-2017" or "2017".
std::pair<int, int> ParseYears(const QString &text)
{
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0) {
        const int year = ParseYear(text);
        return {year, year};
    }
    const QStringView first = QStringView(text).left(dash), last = QStringView(text).mid(dash + 1);
    if (first.isEmpty() && last.isEmpty())
        throw Failure{QStringLiteral("\"-\" names no years")};
    const int from = first.isEmpty() ? 0 : ParseYear(first);
    const int to = last.isEmpty() ? 0 : ParseYear(last);
    if (from && to && to < from)
        throw Failure{QStringLiteral("the years %1 end before they begin").arg(text)};
    return {from, to};
}

QDate ParseDay(const QString &text)
{
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        throw Failure{QStringLiteral("\"%1\" is not a date (YYYY-MM-DD)").arg(text)};
    return day;
}

int ParseInt(const QString &text, int low, int high, const char *what)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        throw Failure{QStringLiteral("\"%1\" is not %2 from %3 to %4")
                          .arg(text, QLatin1String(what))
                          .arg(low)
                          .arg(high)};
    return value;
}

RecurrenceRule ParseRecurrence(const QString &text)
{
    QString why;
    const std::optional<RecurrenceRule> rule = RecurrenceRule::parse(text, &why);
    if (!rule)
        throw Failure{QStringLiteral("the recurrence \"%1\" is not valid: %2").arg(text, why)};
    return *rule;
}

// Everything after "rule": its kind and its values.
DateRule ParseRule(const QStringList &words)
{
    if (words.isEmpty())
        throw Failure{QStringLiteral("\"rule\" needs a kind: date, rrule, easter, "
                                     "orthodox-easter, once, sun, hebrew, chinese or hijri")};
    const QString &kind = words.first();
    const auto need = [&](int count) {
        if (words.size() != count + 1)
            throw Failure{QStringLiteral("\"rule %1\" takes %2 value(s)").arg(kind).arg(count)};
    };
    DateRule rule;
    if (kind == u"date") {
        need(1);
        static const QRegularExpression monthDay(QStringLiteral("^(\\d\\d)-(\\d\\d)$"));
        const auto match = monthDay.match(words[1]);
        const int month = match.hasMatch() ? match.captured(1).toInt() : 0;
        const int day = match.hasMatch() ? match.captured(2).toInt() : 0;
        if (!QDate(2000, month, day).isValid())
            throw Failure{QStringLiteral("\"%1\" is not a day of the year (MM-DD)").arg(words[1])};
        RecurrenceRule yearly;
        yearly.byMonth = {month};
        yearly.byMonthDay = {day};
        rule.recurrence = yearly;
        rule.first = QDate(1583, 1, 1);
    } else if (kind == u"rrule") {
        need(1);
        rule.recurrence = ParseRecurrence(words[1]);
        rule.first = QDate(1583, 1, 1);
    } else if (kind == u"easter" || kind == u"orthodox-easter") {
        need(1);
        rule.kind = DateRule::Kind::Easter;
        rule.reckoning =
            kind == u"easter" ? DateRule::Reckoning::Western : DateRule::Reckoning::Orthodox;
        rule.easterOffset =
            ParseInt(words[1], -DateRule::MaxEasterOffset, DateRule::MaxEasterOffset, "an offset");
    } else if (kind == u"once") {
        if (words.size() < 2 || words.size() > HolidayFileReader::MaxOnceDates + 1)
            throw Failure{QStringLiteral("\"rule once\" takes 1 to %1 dates")
                              .arg(HolidayFileReader::MaxOnceDates)};
        for (qsizetype i = 1; i < words.size(); ++i)
            rule.extraDates.append(ParseDay(words[i]));
    } else if (kind == u"sun" || kind == u"hebrew" || kind == u"chinese" || kind == u"hijri") {
        QString why;
        if (!ParseCalendarRule(words, rule, &why))
            throw Failure{why};
    } else {
        throw Failure{QStringLiteral("\"%1\" is not a kind of rule").arg(kind)};
    }
    return rule;
}

class Reader
{
public:
    explicit Reader(HolidayCountry &country) : m_country(country) {}

    void statement(const QString &keyword, const QStringList &words, const QString &rest)
    {
        if (keyword == u"country")
            return startCountry(words);
        if (m_country.code.isEmpty())
            throw Failure{QStringLiteral("the file must begin with \"country CODE\"")};
        if (keyword == u"region")
            return startRegion(words);
        if (keyword == u"holiday")
            return startHoliday(words);
        if (keyword == u"name")
            return name(words, rest, false);
        if (keyword == u"observed-name")
            return name(words, rest, true);
        if (keyword == u"languages") {
            if (m_holiday || m_region || words.isEmpty())
                throw Failure{QStringLiteral("\"languages\" lists the country's languages")};
            m_country.languages = words;
            return;
        }
        Holiday &holiday = currentHoliday(keyword);
        if (keyword == u"category")
            holiday.category = category(words);
        else if (keyword == u"rule")
            rule(holiday, words);
        else if (keyword == u"years")
            years(holiday, words);
        else if (keyword == u"regions")
            holiday.regions = regionList(words);
        else if (keyword == u"except")
            holiday.exceptRegions = regionList(words);
        else if (keyword == u"shift")
            shift(holiday, words);
        else if (keyword == u"observed")
            observed(holiday, words);
        else if (keyword == u"span")
            holiday.rule.spanDays =
                ParseInt(one(keyword, words), 1, DateRule::MaxSpanDays, "a span");
    }

    void finish()
    {
        if (m_country.code.isEmpty())
            throw Failure{QStringLiteral("the file names no country")};
        checkHoliday();
        // A holiday may name regions declared after it: check them at the end.
        for (qsizetype i = 0; i < m_country.holidays.size(); ++i) {
            const Holiday &holiday = m_country.holidays[i];
            for (const QString &code : holiday.regions + holiday.exceptRegions) {
                if (!m_country.region(code))
                    throw Failure{QStringLiteral("holiday \"%1\" names the unknown region \"%2\"")
                                      .arg(holiday.id, code),
                                  m_holidayLines[i]};
            }
        }
    }

    int currentLine = 0;

private:
    static const QString &one(const QString &keyword, const QStringList &words)
    {
        if (words.size() != 1)
            throw Failure{QStringLiteral("\"%1\" takes one value").arg(keyword)};
        return words.first();
    }

    void startCountry(const QStringList &words)
    {
        static const QRegularExpression code(QStringLiteral("^[A-Z]{2}$"));
        if (!m_country.code.isEmpty())
            throw Failure{QStringLiteral("a file holds one country")};
        if (words.size() != 1 || !code.match(words.first()).hasMatch())
            throw Failure{QStringLiteral("\"country\" takes an ISO 3166 code such as DE")};
        m_country.code = words.first();
    }

    void startRegion(const QStringList &words)
    {
        static const QRegularExpression code(QStringLiteral("^[A-Z0-9]{1,6}$"));
        checkHoliday();
        if (m_holiday)
            throw Failure{QStringLiteral("regions come before the holidays")};
        if (words.size() != 1 || !code.match(words.first()).hasMatch())
            throw Failure{QStringLiteral("\"region\" takes the code after \"%1-\", such as BY")
                              .arg(m_country.code)};
        if (m_country.region(words.first()))
            throw Failure{QStringLiteral("the region \"%1\" is declared twice").arg(words.first())};
        if (m_country.regions.size() >= HolidayFileReader::MaxRegions)
            throw Failure{QStringLiteral("too many regions")};
        m_country.regions.append({words.first(), {}});
        m_region = true;
    }

    void startHoliday(const QStringList &words)
    {
        static const QRegularExpression id(QStringLiteral("^[a-z0-9][a-z0-9-]{0,63}$"));
        checkHoliday();
        if (words.size() != 1 || !id.match(words.first()).hasMatch())
            throw Failure{QStringLiteral("\"holiday\" takes an id of lower-case letters, digits "
                                         "and dashes")};
        if (m_country.holiday(words.first()))
            throw Failure{
                QStringLiteral("the holiday \"%1\" is declared twice").arg(words.first())};
        if (m_country.holidays.size() >= HolidayFileReader::MaxHolidays)
            throw Failure{QStringLiteral("too many holidays")};
        Holiday holiday;
        holiday.id = words.first();
        m_country.holidays.append(holiday);
        m_holiday = true;
        m_hasRule = false;
        m_holidayLines.append(currentLine);
    }

    // A holiday is whole once the next one (or the end) begins.
    void checkHoliday()
    {
        if (!m_holiday)
            return;
        const Holiday &holiday = m_country.holidays.last();
        if (!m_hasRule)
            throw Failure{QStringLiteral("holiday \"%1\" has no rule").arg(holiday.id),
                          m_holidayLines.last()};
        if (holiday.names.isEmpty())
            throw Failure{QStringLiteral("holiday \"%1\" has no name").arg(holiday.id),
                          m_holidayLines.last()};
    }

    void name(const QStringList &words, const QString &rest, bool observedName)
    {
        static const QRegularExpression language(QStringLiteral("^[a-z]{2,3}$"));
        if (words.size() < 2 || !language.match(words.first()).hasMatch())
            throw Failure{QStringLiteral("a name is a language code and a text: name en Easter")};
        const QString text = rest.mid(rest.indexOf(words.first()) + words.first().size()).trimmed();
        QMap<QString, QString> *names = nullptr;
        if (m_holiday)
            names = observedName ? &m_country.holidays.last().observedNames
                                 : &m_country.holidays.last().names;
        else if (m_region && !observedName)
            names = &m_country.regions.last().names;
        else if (!m_region)
            names = observedName ? &m_country.observedNames : &m_country.names;
        if (!names)
            throw Failure{QStringLiteral("\"observed-name\" belongs to the country or a holiday")};
        if (observedName && !m_holiday && !text.contains(u"{name}"))
            throw Failure{QStringLiteral("the country's \"observed-name\" needs \"{name}\"")};
        names->insert(words.first(), text);
    }

    Holiday &currentHoliday(const QString &keyword)
    {
        static const QSet<QString> known = {QStringLiteral("category"), QStringLiteral("rule"),
                                            QStringLiteral("years"),    QStringLiteral("regions"),
                                            QStringLiteral("except"),   QStringLiteral("shift"),
                                            QStringLiteral("observed"), QStringLiteral("span")};
        if (!known.contains(keyword))
            throw Failure{QStringLiteral("\"%1\" is not a keyword").arg(keyword)};
        if (!m_holiday)
            throw Failure{QStringLiteral("\"%1\" belongs to a holiday").arg(keyword)};
        return m_country.holidays.last();
    }

    static Holiday::Category category(const QStringList &words)
    {
        const QString &word = one(QStringLiteral("category"), words);
        if (word == u"public")
            return Holiday::Category::Public;
        if (word == u"bank")
            return Holiday::Category::Bank;
        if (word == u"observance")
            return Holiday::Category::Observance;
        throw Failure{QStringLiteral("\"%1\" is not public, bank or observance").arg(word)};
    }

    void rule(Holiday &holiday, const QStringList &words)
    {
        if (m_hasRule)
            throw Failure{QStringLiteral("holiday \"%1\" has two rules").arg(holiday.id)};
        if (!words.isEmpty() && words.first() == u"between-holidays") {
            if ((words.size() != 1 && words.size() != 3) ||
                (words.size() == 3 && words[1] != u"off"))
                throw Failure{QStringLiteral("\"rule between-holidays\" reads: "
                                             "rule between-holidays [off sun]")};
            holiday.betweenHolidays = true;
            holiday.betweenOffWeekdays = words.size() == 3 ? ParseWeekdays(words[2]) : 0;
            m_hasRule = true;
            return;
        }
        const DateRule parsed = ParseRule(words);
        // What other statements set on the rule stays.
        holiday.rule.kind = parsed.kind;
        holiday.rule.first = parsed.first;
        holiday.rule.recurrence = parsed.recurrence;
        holiday.rule.extraDates = parsed.extraDates;
        holiday.rule.reckoning = parsed.reckoning;
        holiday.rule.easterOffset = parsed.easterOffset;
        holiday.rule.calendarMonth = parsed.calendarMonth;
        holiday.rule.calendarDay = parsed.calendarDay;
        holiday.rule.calendarOffset = parsed.calendarOffset;
        holiday.rule.solarLongitude = parsed.solarLongitude;
        holiday.rule.utcOffsetMinutes = parsed.utcOffsetMinutes;
        m_hasRule = true;
    }

    static void years(Holiday &holiday, const QStringList &words)
    {
        const auto [from, to] = ParseYears(one(QStringLiteral("years"), words));
        holiday.firstYear = from;
        holiday.lastYear = to;
    }

    static QStringList regionList(const QStringList &words)
    {
        if (words.isEmpty())
            throw Failure{QStringLiteral("name at least one region")};
        return words;
    }

    static void shift(Holiday &holiday, const QStringList &words)
    {
        if (words.size() != 3 || words[1] != u"off")
            throw Failure{
                QStringLiteral("\"shift\" reads: shift next|previous|nearest off sat,sun")};
        holiday.rule.shift = ParseShift(words[0]);
        holiday.rule.shiftOffWeekdays = ParseWeekdays(words[2]);
        if (holiday.rule.shiftOffWeekdays == 0xFE)
            throw Failure{QStringLiteral("a shift off every weekday has nowhere to go")};
    }

    static void observed(Holiday &holiday, const QStringList &words)
    {
        if ((words.size() != 3 && words.size() != 5) || words[1] != u"off" ||
            (words.size() == 5 && words[3] != u"years"))
            throw Failure{QStringLiteral(
                "\"observed\" reads: observed next|previous|nearest off sat,sun [years 1971-]")};
        Holiday::Observed observed;
        observed.shift = ParseShift(words[0]);
        // "holiday" among the days: also when another holiday falls on it.
        QStringList days = words[2].split(u',');
        const bool onHoliday = days.removeAll(QStringLiteral("holiday")) > 0;
        observed.offWeekdays = (days.isEmpty() ? 0 : ParseWeekdays(days.join(u','))) |
                               (onHoliday ? Holiday::Observed::OnAnotherHoliday : 0);
        if ((observed.offWeekdays & 0xFE) == 0xFE)
            throw Failure{QStringLiteral("an observed day off every weekday has nowhere to go")};
        if (words.size() == 5)
            std::tie(observed.firstYear, observed.lastYear) = ParseYears(words[4]);
        holiday.observed = observed;
    }

    HolidayCountry &m_country;
    bool m_region = false;
    bool m_holiday = false;
    bool m_hasRule = false;
    QList<int> m_holidayLines;
};

QString WithoutComment(const QString &line)
{
    const qsizetype hash = line.indexOf(u'#');
    return hash < 0 ? line : line.left(hash);
}

} // namespace

bool HolidayFileReader::read(QIODevice &device, HolidayCountry &out, QString *error)
{
    const QByteArray bytes = device.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) {
        if (error)
            *error = QStringLiteral("the file is larger than %1 bytes").arg(MaxFileBytes);
        return false;
    }
    return read(bytes, out, error);
}

bool HolidayFileReader::read(const QByteArray &bytes, HolidayCountry &out, QString *error)
{
    HolidayCountry country;
    Reader reader(country);
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(u'\n');
    int lineNumber = 0;
    try {
        if (bytes.size() > MaxFileBytes)
            throw Failure{QStringLiteral("the file is larger than %1 bytes").arg(MaxFileBytes)};
        for (const QString &raw : lines) {
            ++lineNumber;
            reader.currentLine = lineNumber;
            if (raw.size() > MaxLineLength)
                throw Failure{
                    QStringLiteral("the line is longer than %1 characters").arg(MaxLineLength)};
            if (raw.contains(QChar::ReplacementCharacter))
                throw Failure{QStringLiteral("the line is not UTF-8 text")};
            const QString line = WithoutComment(raw).trimmed();
            if (line.isEmpty())
                continue;
            QStringList words = line.simplified().split(u' ');
            const QString keyword = words.takeFirst();
            reader.statement(keyword, words, line.simplified().mid(keyword.size()));
        }
        reader.finish();
    } catch (const Failure &failure) {
        if (error)
            *error = QStringLiteral("line %1: %2")
                         .arg(failure.line ? failure.line : lineNumber)
                         .arg(failure.reason);
        return false;
    }
    out = std::move(country);
    return true;
}

} // namespace Dayloom
