#pragma once

#include "core/recurring/daterule.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// One holiday of a country's holiday set: its names, its category, the rule
// of its days, the years the law keeps it, where it applies, and the extra
// day off it brings when it falls on a weekend.

namespace Dayloom {

class Holiday
{
public:
    enum class Category
    {
        Public = 1,
        Bank = 2,
        Observance = 4
    };
    // Masks of categories: bits of Category.
    static constexpr int AllCategories = 7;
    static constexpr int DaysOff = int(Category::Public) | int(Category::Bank);

    // The day off a holiday brings when it falls on one of offWeekdays
    // (DateRule's weekday bits): the next, previous or nearest day that is
    // none of those and no other public or bank holiday.
    struct Observed
    {
        // A bit beside the weekdays': the holiday also brings a day when it
        // falls on the day of another public or bank holiday.
        static constexpr int OnAnotherHoliday = 1;
        DateRule::Shift shift = DateRule::Shift::NextWorkday;
        int offWeekdays = DateRule::Weekend;
        int firstYear = 0; // 0: no limit
        int lastYear = 0;
        friend bool operator==(const Observed &, const Observed &) = default;
    };

    // Unique within its country's file; kept by the user's hidden holidays.
    QString id;
    // Language code (ISO 639-1) to name.
    QMap<QString, QString> names;
    QMap<QString, QString> observedNames;
    Category category = Category::Public;
    DateRule rule;
    int firstYear = 0; // 0: no limit
    int lastYear = 0;
    // Region codes without the country ("BY" for DE-BY). Empty: everywhere.
    QStringList regions;
    QStringList exceptRegions;
    std::optional<Observed> observed;
    // Instead of its rule's days: every day that is none of these weekdays
    // nor a public or bank holiday (nor an observed day), between two days
    // of public holidays (Japan's citizens' holiday).
    bool betweenHolidays = false;
    int betweenOffWeekdays = 0;

    bool appliesIn(const QString &region) const;
    bool keptIn(int year) const;
    bool observedIn(int year) const;

    friend bool operator==(const Holiday &, const Holiday &) = default;
};

// Picks a name for language: that language's, else the first of fallbacks
// that is there, else English, else any; empty for no names at all.
QString NameIn(const QMap<QString, QString> &names, const QString &language,
               const QStringList &fallbacks);

} // namespace Dayloom
