#include "core/calendar/localedaynames.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

namespace Dayloom {

namespace {

QString Key(const std::array<QString, 7> &names)
{
    return QStringList(names.begin(), names.end()).join(QLatin1Char('\n'));
}

// Qt counts Monday as 1 and Sunday as 7; the page starts with Sunday.
bool HasLongDayNames(const QLocale &locale, const std::array<QString, 7> &names, bool standalone)
{
    for (int day = 1; day <= 7; ++day) {
        const int qtDay = day == 1 ? 7 : day - 1;
        const QString own = standalone ? locale.standaloneDayName(qtDay, QLocale::LongFormat)
                                       : locale.dayName(qtDay, QLocale::LongFormat);
        if (own != names[day - 1])
            return false;
    }
    return true;
}

// True when the locale's short names are shorter forms, not its long names
// again (some locales sharing long names with another give no short ones).
bool HasOwnShortNames(const QLocale &locale)
{
    for (int qtDay = 1; qtDay <= 7; ++qtDay)
        if (locale.standaloneDayName(qtDay, QLocale::ShortFormat) ==
            locale.standaloneDayName(qtDay, QLocale::LongFormat))
            return false;
    return true;
}

// Of the locales with these long names, the first with short forms of its
// own, a language's default locale before its regional ones.
std::optional<QLocale> SearchLocales(const std::array<QString, 7> &names)
{
    std::optional<QLocale> found;
    int foundScore = -1;
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale &locale : locales) {
        if (locale.language() == QLocale::C)
            continue;
        if (!HasLongDayNames(locale, names, true) && !HasLongDayNames(locale, names, false))
            continue;
        const int score =
            (HasOwnShortNames(locale) ? 2 : 0) + (locale == QLocale(locale.language()) ? 1 : 0);
        if (score > foundScore) {
            found = locale;
            foundScore = score;
        }
    }
    return found;
}

} // namespace

std::optional<QLocale> LocaleOfDayNames(const std::array<QString, 7> &names)
{
    static QMutex mutex;
    static QHash<QString, std::optional<QLocale>> answers;
    const QString key = Key(names);
    const QMutexLocker lock(&mutex);
    const auto known = answers.constFind(key);
    if (known != answers.constEnd())
        return *known;
    // Every distinct set costs one search; a page has one set, so this
    // stays small, but a caller feeding endless sets must not grow it.
    if (answers.size() >= 64)
        answers.clear();
    const std::optional<QLocale> locale = SearchLocales(names);
    answers.insert(key, locale);
    return locale;
}

} // namespace Dayloom
