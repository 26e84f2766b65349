#include "core/calendar/calendardates.h"

#include "core/calendar/languagenames.h"
#include "core/calendar/localedaynames.h"

#include <QDate>

namespace Dayloom::CalendarDates {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return Days[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

int DayOfWeek(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return 0;
    return date.dayOfWeek() % 7 + 1; // Qt: 1 = Monday ... 7 = Sunday
}

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date; exact for every
// 32-bit year (the era-based days-from-civil computation).
long long DaysFromCivil(long long year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

int FirstColumn(int month, int year, int startOfWeek)
{
    return FirstColumnOn(month, year, WeekdayOfStartOfWeek(startOfWeek));
}

int FirstColumnOn(int month, int year, int firstWeekday)
{
    if (month < 1 || month > 12 || firstWeekday < 1 || firstWeekday > 7)
        return 0;
    const long long days = DaysFromCivil(year, month, 1);
    // 1970-01-01 was a Thursday.
    const int weekday = static_cast<int>(((days + 4) % 7 + 7) % 7) + 1;
    return (weekday - firstWeekday + 7) % 7 + 1;
}

int WeekdayOfStartOfWeek(int startOfWeek)
{
    return startOfWeek == 1 ? 1 : 2;
}

QDate LatestOnOrBefore(const QDate &date, int weekday)
{
    if (!date.isValid() || weekday < 1 || weekday > 7)
        return date;
    const int dateWeekday = date.dayOfWeek() % 7 + 1; // Qt: 1 = Monday ... 7 = Sunday
    return date.addDays(-((dateWeekday - weekday + 7) % 7));
}

int DayInCell(int row, int column, int firstColumn, int daysInMonth)
{
    if (firstColumn == 0)
        return 0;
    const int day = row * 7 + column - firstColumn + 2;
    return (day >= 1 && day <= daysInMonth) ? day : 0;
}

int CellOfDay(int day, int firstColumn, int daysInMonth)
{
    if (firstColumn == 0 || day < 1 || day > daysInMonth)
        return -1;
    const int cell = day - 2 + firstColumn;
    return cell < 42 ? cell : -1;
}

QString CutDayName(const QString &name, TCalHeadersStyle style)
{
    switch (style) {
    case dsFirstChar:
        return name.left(1);
    case dsThreeChars:
        return name.left(3);
    case dsWhole:
        break;
    }
    return name;
}

namespace {

// True when the text may be cut before position `at`: not between the two
// halves of a surrogate pair.
bool IsCharacterBoundary(const QString &text, qsizetype at)
{
    return at <= 0 || at >= text.size() || !text.at(at).isLowSurrogate() ||
           !text.at(at - 1).isHighSurrogate();
}

} // namespace

QString FittingStart(const QString &text, const std::function<bool(const QString &)> &fits)
{
    if (fits(text))
        return text;
    qsizetype fitting = 0;           // a start this long fits (the empty one does)
    qsizetype tooLong = text.size(); // a start this long does not
    while (tooLong - fitting > 1) {
        qsizetype middle = fitting + (tooLong - fitting) / 2;
        if (!IsCharacterBoundary(text, middle)) {
            if (middle - 1 > fitting)
                --middle;
            else if (middle + 1 < tooLong)
                ++middle;
            else
                break;
        }
        if (fits(text.left(middle)))
            fitting = middle;
        else
            tooLong = middle;
    }
    return text.left(fitting);
}

QString HeaderDayName(const std::array<QString, 7> &names, int index, TCalHeadersStyle style)
{
    if (index < 1 || index > 7)
        return QString();
    const QString &name = names[index - 1];
    if (style == dsWhole)
        return name;
    for (const LanguageNames &language : BuiltInLanguages())
        if (language.days == names)
            return CutDayName(name, style);
    const std::optional<QLocale> locale = LocaleOfDayNames(names);
    if (!locale)
        return CutDayName(name, style);
    const int qtDay = index == 1 ? 7 : index - 1; // Qt counts from Monday
    return locale->standaloneDayName(qtDay, style == dsFirstChar ? QLocale::NarrowFormat
                                                                 : QLocale::ShortFormat);
}

int HeaderDayIndex(int column, int startOfWeek)
{
    return HeaderWeekday(column, WeekdayOfStartOfWeek(startOfWeek));
}

int HeaderWeekday(int column, int firstWeekday)
{
    return (firstWeekday - 1 + column) % 7 + 1;
}

MonthYear ShiftMonth(int month, int year, int k)
{
    for (; k < 0; ++k) {
        if (--month < 1) {
            month = 12;
            --year;
        }
    }
    for (; k > 0; --k) {
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    return {month, year};
}

} // namespace Dayloom::CalendarDates
