#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// A country's or region's holiday set linked into the user's list: kept as a
// code, the categories wanted and the holidays the user hid, and turned into
// days only when used, from the holiday data the program ships (so a newer
// program's corrected data is followed). The holiday data lives above this
// folder; the programs hand it in through SetHolidayLinkSource at start-up.
//
// Stored in "DLRECUR.ics" as a property of the VCALENDAR, one per link, which
// other calendar programs ignore:
//   X-DAYLOOM-HOLIDAYS:DE-BY;CATEGORIES=public,bank;HIDE=epiphany,assumption

namespace Dayloom {

struct HolidayLink
{
    // Bits of the categories mask (as Holiday::Category).
    static constexpr int Public = 1;
    static constexpr int Bank = 2;
    static constexpr int Observance = 4;
    static constexpr int AllCategories = 7;
    static constexpr int DaysOff = Public | Bank;

    QString code;             // ISO 3166: "DE" or "DE-BY", upper case
    int categories = DaysOff; // never 0
    QStringList hidden;       // ids of holidays the user hid

    // "DE-BY;CATEGORIES=public,bank;HIDE=epiphany"; nothing for a value
    // without a code or with an unknown category.
    static std::optional<HolidayLink> parse(const QString &value);
    QString toValue() const;
    // "public,bank" and back; nullopt for an unknown or empty list.
    static QString categoriesText(int categories);
    static std::optional<int> parseCategories(const QString &text);

    friend bool operator==(const HolidayLink &, const HolidayLink &) = default;
};

// The links among an iCalendar file's calendar-level properties (events'
// properties are not looked at). Unreadable values are skipped.
QList<HolidayLink> ReadHolidayLinks(const QByteArray &icalendar);
// An iCalendar file as ICalendarFile::write made it, with a property per
// link added to its calendar before the first event.
QByteArray WithHolidayLinks(const QByteArray &icalendar, const QList<HolidayLink> &links);

// What turns links into days: the holiday data, registered by the programs.
class HolidayLinkSource
{
public:
    virtual ~HolidayLinkSource() = default;

    struct Day
    {
        QDate day;
        QString name; // in the language asked for when the set has it
    };
    // Whether the data knows the link's code.
    virtual bool knows(const QString &code) const = 0;
    // The link's days in from..to, in day order, named in language (ISO
    // 639-1, e.g. "de"), else in the country's language. Nothing for a code
    // the data does not know.
    virtual QList<Day> daysOf(const HolidayLink &link, QDate from, QDate to,
                              const QString &language) const = 0;
};

// The source every RecurringDates uses; null (the default) expands links to
// nothing. Not owned; it must outlive its use. Set once at start-up.
void SetHolidayLinkSource(const HolidayLinkSource *source);
const HolidayLinkSource *CurrentHolidayLinkSource();

// For each link in order, its days in from..to with their names.
QList<QList<std::pair<QDate, QString>>>
LinkedHolidayTexts(const QList<HolidayLink> &links, QDate from, QDate to, const QString &language);
// The codes of links the current source does not know (all of them when
// there is no source), each once, in order.
QStringList UnknownHolidayLinks(const QList<HolidayLink> &links);

} // namespace Dayloom
