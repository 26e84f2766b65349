#include "core/recurring/holidaylink.h"

#include <QRegularExpression>

#include <array>

namespace Dayloom {

namespace {

constexpr QLatin1StringView PropertyName("X-DAYLOOM-HOLIDAYS");
// Bounds on what one stored link may carry.
constexpr int MaxHidden = 1000;
constexpr int MaxIdLength = 100;

const std::array<std::pair<int, QLatin1StringView>, 3> CategoryNames = {{
    {HolidayLink::Public, QLatin1StringView("public")},
    {HolidayLink::Bank, QLatin1StringView("bank")},
    {HolidayLink::Observance, QLatin1StringView("observance")},
}};

bool IsCode(const QString &code)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Z]{2}(-[A-Z0-9]{1,3})?$"));
    return pattern.match(code).hasMatch();
}

const HolidayLinkSource *&Source()
{
    static const HolidayLinkSource *source = nullptr;
    return source;
}

// Splits an iCalendar text into its unfolded lines.
QList<QByteArray> UnfoldedLines(const QByteArray &icalendar)
{
    QList<QByteArray> lines;
    for (QByteArray line : icalendar.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t') && !lines.isEmpty())
            lines.last() += line.mid(1);
        else
            lines.append(line);
    }
    return lines;
}

// One content line folded at 75 octets, never inside a UTF-8 sequence.
QByteArray Folded(const QByteArray &line)
{
    QByteArray out;
    qsizetype start = 0;
    qsizetype width = 75;
    while (line.size() - start > width) {
        qsizetype cut = start + width;
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start) + "\r\n ";
        start = cut;
        width = 74; // the leading blank of a continuation counts
    }
    return out + line.mid(start) + "\r\n";
}

} // namespace

std::optional<HolidayLink> HolidayLink::parse(const QString &value)
{
    const QStringList parts = value.trimmed().split(u';');
    HolidayLink link;
    link.code = parts.value(0).trimmed().toUpper();
    if (!IsCode(link.code))
        return std::nullopt;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString key = parts[i].section(u'=', 0, 0).trimmed().toUpper();
        const QString rest = parts[i].section(u'=', 1).trimmed();
        if (key == u"CATEGORIES") {
            const auto categories = parseCategories(rest);
            if (!categories)
                return std::nullopt;
            link.categories = *categories;
        } else if (key == u"HIDE") {
            for (const QString &id : rest.split(u',', Qt::SkipEmptyParts)) {
                const QString trimmed = id.trimmed();
                if (!trimmed.isEmpty() && trimmed.size() <= MaxIdLength &&
                    link.hidden.size() < MaxHidden && !link.hidden.contains(trimmed))
                    link.hidden.append(trimmed);
            }
        }
        // Other keys are a later program's: ignored.
    }
    return link;
}

QString HolidayLink::toValue() const
{
    QString value = code + QStringLiteral(";CATEGORIES=") + categoriesText(categories);
    if (!hidden.isEmpty())
        value += QStringLiteral(";HIDE=") + hidden.join(u',');
    return value;
}

QString HolidayLink::categoriesText(int categories)
{
    QStringList names;
    for (const auto &[bit, name] : CategoryNames) {
        if (categories & bit)
            names.append(name);
    }
    return names.join(u',');
}

std::optional<int> HolidayLink::parseCategories(const QString &text)
{
    int categories = 0;
    for (const QString &word : text.split(u',', Qt::SkipEmptyParts)) {
        const QString name = word.trimmed().toLower();
        if (name == u"all") {
            categories |= AllCategories;
            continue;
        }
        const auto it = std::find_if(CategoryNames.cbegin(), CategoryNames.cend(),
                                     [&](const auto &entry) { return entry.second == name; });
        if (it == CategoryNames.cend())
            return std::nullopt;
        categories |= it->first;
    }
    if (categories == 0)
        return std::nullopt;
    return categories;
}

QList<HolidayLink> ReadHolidayLinks(const QByteArray &icalendar)
{
    QList<HolidayLink> links;
    int depth = 0;
    for (const QByteArray &line : UnfoldedLines(icalendar)) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray head = line.left(colon);
        const qsizetype semicolon = head.indexOf(';');
        const QByteArray name = (semicolon < 0 ? head : head.left(semicolon)).trimmed().toUpper();
        if (name == "BEGIN") {
            ++depth;
        } else if (name == "END") {
            --depth;
        } else if (depth == 1 && name == PropertyName) {
            if (const auto link = HolidayLink::parse(QString::fromUtf8(line.mid(colon + 1))))
                links.append(*link);
        }
    }
    return links;
}

QByteArray WithHolidayLinks(const QByteArray &icalendar, const QList<HolidayLink> &links)
{
    if (links.isEmpty())
        return icalendar;
    QByteArray properties;
    for (const HolidayLink &link : links)
        properties += Folded(PropertyName.toString().toLatin1() + ':' + link.toValue().toUtf8());
    qsizetype at = icalendar.indexOf("\r\nBEGIN:VEVENT\r\n");
    if (at < 0)
        at = icalendar.lastIndexOf("\r\nEND:VCALENDAR");
    if (at < 0)
        return icalendar;
    return icalendar.left(at + 2) + properties + icalendar.mid(at + 2);
}

void SetHolidayLinkSource(const HolidayLinkSource *source)
{
    Source() = source;
}

const HolidayLinkSource *CurrentHolidayLinkSource()
{
    return Source();
}

QList<QList<std::pair<QDate, QString>>>
LinkedHolidayTexts(const QList<HolidayLink> &links, QDate from, QDate to, const QString &language)
{
    QList<QList<std::pair<QDate, QString>>> perLink;
    const HolidayLinkSource *source = Source();
    for (const HolidayLink &link : links) {
        QList<std::pair<QDate, QString>> days;
        if (source) {
            // Kept to the range whatever the source answers.
            for (const auto &day : source->daysOf(link, from, to, language)) {
                if (day.day >= from && day.day <= to)
                    days.append({day.day, day.name});
            }
        }
        perLink.append(std::move(days));
    }
    return perLink;
}

QStringList UnknownHolidayLinks(const QList<HolidayLink> &links)
{
    QStringList unknown;
    const HolidayLinkSource *source = Source();
    for (const HolidayLink &link : links) {
        if ((!source || !source->knows(link.code)) && !unknown.contains(link.code))
            unknown.append(link.code);
    }
    return unknown;
}

} // namespace Dayloom
