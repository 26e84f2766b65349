#include "core/recurring/recurringentry.h"

#include "core/recurring/recurringtext.h"

#include <QLocale>
#include <QStringList>

namespace Dayloom {

namespace {

// Weekday 0 = Sunday ... 6 = Saturday; Qt counts 1 = Monday ... 7 = Sunday.
QString shortWeekdayName(const QLocale &locale, int weekday)
{
    return locale.dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat);
}

QString monthText(const QLocale &locale, int month)
{
    if (month == RecurringFormula::EveryMonth)
        return QStringLiteral("Each Month");
    return locale.standaloneMonthName(month, QLocale::LongFormat);
}

QString describeFixedDay(const RecurringFormula &formula, const QLocale &locale)
{
    return OrdinalText(formula.day()) + QLatin1String(" of ") + monthText(locale, formula.month());
}

QString describeNthWeekday(const RecurringFormula &formula, const QLocale &locale)
{
    QString text = formula.occurrence() == RecurringFormula::Last
                       ? QStringLiteral("Last ")
                       : OrdinalText(formula.occurrence() + 1) + QLatin1Char(' ');
    if (formula.weekday() == RecurringFormula::AnyDay)
        text += QLatin1String("Day ");
    else
        text += shortWeekdayName(locale, formula.weekday()) + QLatin1String(" of ");
    return text + monthText(locale, formula.month());
}

QString describeWeekdays(const RecurringFormula &formula, const QLocale &locale)
{
    QStringList names;
    for (int number = 1; number <= 7; ++number) {
        if (formula.hasWeekday(number))
            names.append(shortWeekdayName(locale, number - 1));
    }
    return names.join(QLatin1Char(','));
}

} // namespace

QString RecurringEntry::makeLine(const QString &name, const QString &formula)
{
    return PadField(name, NameWidth) + PadField(formula, FormulaWidth);
}

QString RecurringEntry::name() const
{
    return TrimBlanks(QStringView(m_line).left(NameWidth)).toString();
}

QChar RecurringEntry::kind() const
{
    return m_line.size() > NameWidth ? m_line.at(NameWidth) : QChar();
}

QStringView RecurringEntry::formula() const
{
    return m_line.size() > NameWidth ? QStringView(m_line).sliced(NameWidth) : QStringView();
}

bool RecurringEntry::isEditable() const
{
    const QChar k = kind();
    return k == u'@' || k == u'$' || k == u'%';
}

QString DescribeEntry(const QString &line)
{
    const RecurringEntry entry(line);
    const RecurringFormula formula = entry.parsedFormula();
    const QLocale locale;
    QString detail;
    switch (formula.kind()) {
    case RecurringFormula::Kind::FixedDay:
        if (formula.isValid())
            detail = describeFixedDay(formula, locale);
        break;
    case RecurringFormula::Kind::NthWeekday:
        if (formula.isValid())
            detail = describeNthWeekday(formula, locale);
        break;
    case RecurringFormula::Kind::Weekdays:
        detail = describeWeekdays(formula, locale);
        break;
    case RecurringFormula::Kind::Keyword:
    case RecurringFormula::Kind::None:
        return entry.nameField();
    }
    return entry.name() + QLatin1String(" (") + detail + QLatin1Char(')');
}

} // namespace Dayloom
