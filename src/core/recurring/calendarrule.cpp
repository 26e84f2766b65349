#include "core/recurring/calendarrule.h"

#include <QRegularExpression>

namespace Dayloom {

namespace {

struct KindName
{
    DateRule::Kind kind;
    const char *name;
    int lastMonth;
    bool zone; // whether the words end with a time zone
};

constexpr KindName Kinds[] = {{DateRule::Kind::SolarLongitude, "sun", 0, true},
                              {DateRule::Kind::Hebrew, "hebrew", 13, false},
                              {DateRule::Kind::Chinese, "chinese", 12, true},
                              {DateRule::Kind::Hijri, "hijri", 12, false}};

const KindName *Find(DateRule::Kind kind)
{
    for (const KindName &k : Kinds) {
        if (k.kind == kind)
            return &k;
    }
    return nullptr;
}

bool Number(const QString &text, int low, int high, int &out)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    out = value;
    return true;
}

// "UTC", "UTC+9", "UTC-3:30", "UTC+05:45": minutes east of Greenwich.
bool Zone(const QString &text, int &minutes)
{
    static const QRegularExpression zone(
        QStringLiteral("^UTC(?:([+-])(\\d{1,2})(?::(\\d\\d))?)?$"));
    const auto m = zone.match(text);
    if (!m.hasMatch())
        return false;
    const int value = m.captured(2).toInt() * 60 + m.captured(3).toInt();
    if (m.captured(3).toInt() >= 60 || value > DateRule::MaxUtcOffsetMinutes)
        return false;
    minutes = m.captured(1) == u"-" ? -value : value;
    return true;
}

QString ZoneText(int minutes)
{
    if (minutes == 0)
        return QStringLiteral("UTC");
    const int a = std::abs(minutes);
    QString text = QStringLiteral("UTC%1%2")
                       .arg(minutes < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                       .arg(a / 60);
    if (a % 60)
        text += QStringLiteral(":%1").arg(a % 60, 2, 10, QLatin1Char('0'));
    return text;
}

bool Fail(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

} // namespace

bool IsCalendarKind(DateRule::Kind kind)
{
    return Find(kind) != nullptr;
}

bool ParseCalendarRule(const QStringList &words, DateRule &rule, QString *why)
{
    const KindName *kind = nullptr;
    for (const KindName &k : Kinds) {
        if (!words.isEmpty() && words.first() == QLatin1String(k.name))
            kind = &k;
    }
    if (!kind)
        return Fail(
            why, QStringLiteral("\"%1\" is not sun, hebrew, chinese or hijri").arg(words.value(0)));
    const bool sun = kind->kind == DateRule::Kind::SolarLongitude;
    const qsizetype count = (sun ? 1 : 2) + (kind->zone ? 1 : 0);
    const QString usage = sun ? QStringLiteral("sun DEGREES UTC+H")
                              : QStringLiteral("%1 MONTH DAY%2")
                                    .arg(QLatin1String(kind->name),
                                         kind->zone ? QStringLiteral(" UTC+H") : QString());
    static const QRegularExpression offset(QStringLiteral("^[+-]\\d{1,2}$"));
    const bool hasOffset = words.size() == count + 2 && offset.match(words.last()).hasMatch();
    if (words.size() != count + 1 && !hasOffset)
        return Fail(why, QStringLiteral("\"%1\" reads: %2 [+N|-N]").arg(words.first(), usage));
    DateRule parsed = rule;
    parsed.calendarOffset = 0;
    if (hasOffset && !Number(words.last(), -DateRule::MaxCalendarOffset,
                             DateRule::MaxCalendarOffset, parsed.calendarOffset))
        return Fail(why, QStringLiteral("\"%1\" is not a number of days from -%2 to +%2")
                             .arg(words.last())
                             .arg(DateRule::MaxCalendarOffset));
    parsed.kind = kind->kind;
    if (sun) {
        if (!Number(words[1], 0, 359, parsed.solarLongitude))
            return Fail(why,
                        QStringLiteral("\"%1\" is not a longitude from 0 to 359").arg(words[1]));
    } else {
        if (!Number(words[1], 1, kind->lastMonth, parsed.calendarMonth))
            return Fail(why, QStringLiteral("\"%1\" is not a month from 1 to %2")
                                 .arg(words[1])
                                 .arg(kind->lastMonth));
        if (!Number(words[2], 1, 30, parsed.calendarDay))
            return Fail(why, QStringLiteral("\"%1\" is not a day from 1 to 30").arg(words[2]));
    }
    const QString &zone = words[count];
    if (kind->zone && !Zone(zone, parsed.utcOffsetMinutes))
        return Fail(why, QStringLiteral("\"%1\" is not a time zone such as UTC+8").arg(zone));
    rule = parsed;
    return true;
}

QString CalendarRuleText(const DateRule &rule)
{
    const KindName *kind = Find(rule.kind);
    if (!kind)
        return {};
    QStringList words{QLatin1String(kind->name)};
    if (rule.kind == DateRule::Kind::SolarLongitude) {
        words.append(QString::number(rule.solarLongitude));
    } else {
        words.append(QString::number(rule.calendarMonth));
        words.append(QString::number(rule.calendarDay));
    }
    if (kind->zone)
        words.append(ZoneText(rule.utcOffsetMinutes));
    if (rule.calendarOffset != 0)
        words.append((rule.calendarOffset > 0 ? QStringLiteral("+") : QString()) +
                     QString::number(rule.calendarOffset));
    return words.join(u' ');
}

} // namespace Dayloom
