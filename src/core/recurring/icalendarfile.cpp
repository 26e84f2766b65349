#include "core/recurring/icalendarfile.h"

#include "core/recurring/calendarrule.h"
#include "core/recurring/easter.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <memory>

namespace Dayloom {

namespace {

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// ---- the structure, with line numbers ------------------------------------

// What the structural check keeps of the file: the line each VEVENT starts
// on, in file order, for messages about values.
struct Outline
{
    QList<int> eventLines;
};

// Checks that every unfolded line is NAME[;PARAM...]:VALUE and that BEGIN and
// END pair up, naming the first line that is not. libical reads broken
// structure silently, so this is what tells the user where a file is broken.
bool CheckStructure(const QByteArray &bytes, Outline &outline, QString *error)
{
    struct Open
    {
        QByteArray name;
        int line;
    };
    QList<Open> open;
    bool sawCalendar = false;
    int lineNumber = 0;
    qsizetype position = 0;
    QByteArray logical;
    int logicalLine = 0;
    const auto finishLine = [&]() -> bool {
        if (logical.isEmpty())
            return true;
        const qsizetype colon = [&] {
            bool quoted = false;
            for (qsizetype i = 0; i < logical.size(); ++i) {
                if (logical[i] == '"')
                    quoted = !quoted;
                else if (logical[i] == ':' && !quoted)
                    return i;
            }
            return qsizetype(-1);
        }();
        if (!sawCalendar && logical.trimmed().toUpper() != "BEGIN:VCALENDAR")
            return Fail(error,
                        QStringLiteral("Line %1: an iCalendar file starts with BEGIN:VCALENDAR")
                            .arg(logicalLine));
        qsizetype nameEnd = 0;
        while (
            nameEnd < logical.size() &&
            (std::isalnum(static_cast<unsigned char>(logical[nameEnd])) || logical[nameEnd] == '-'))
            ++nameEnd;
        if (colon < 0 || nameEnd == 0 || (logical[nameEnd] != ':' && logical[nameEnd] != ';'))
            return Fail(error, QStringLiteral("Line %1 is not a property (NAME:VALUE): \"%2\"")
                                   .arg(logicalLine)
                                   .arg(QString::fromUtf8(logical.left(60))));
        const QByteArray name = logical.left(nameEnd).toUpper();
        const QByteArray value = logical.mid(colon + 1).trimmed().toUpper();
        sawCalendar = true;
        if (name == "BEGIN") {
            if (open.size() >= 16)
                return Fail(
                    error,
                    QStringLiteral("Line %1: components are nested too deeply").arg(logicalLine));
            open.append({value, logicalLine});
            if (value == "VEVENT")
                outline.eventLines.append(logicalLine);
        } else if (name == "END") {
            if (open.isEmpty())
                return Fail(error, QStringLiteral("Line %1: END:%2 closes nothing")
                                       .arg(logicalLine)
                                       .arg(QString::fromUtf8(value)));
            if (open.last().name != value)
                return Fail(error,
                            QStringLiteral("Line %1: END:%2 does not close BEGIN:%3 of line %4")
                                .arg(logicalLine)
                                .arg(QString::fromUtf8(value), QString::fromUtf8(open.last().name))
                                .arg(open.last().line));
            open.removeLast();
        }
        logical.clear();
        return true;
    };
    while (position < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', position);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(position, end - position);
        position = end + 1;
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t') && !logical.isEmpty()) {
            logical += line.mid(1);
            continue;
        }
        if (!finishLine())
            return false;
        logical = line;
        logicalLine = lineNumber;
    }
    if (!finishLine())
        return false;
    if (!sawCalendar)
        return Fail(error, QStringLiteral("The file holds no calendar (BEGIN:VCALENDAR)"));
    if (!open.isEmpty())
        return Fail(error, QStringLiteral("Line %1: BEGIN:%2 is never closed")
                               .arg(open.last().line)
                               .arg(QString::fromUtf8(open.last().name)));
    return true;
}

// ---- values ----------------------------------------------------------------

struct ComponentDeleter
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using ComponentPointer = std::unique_ptr<icalcomponent, ComponentDeleter>;

QString Utf8(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QDate DateOf(const icaltimetype &t)
{
    return icaltime_is_null_time(t) ? QDate() : QDate(t.year, t.month, t.day);
}

// A date-time in UTC is shown at the local time it is here; a floating time
// or one with a TZID is shown as written, the wall clock of its own place.
QDateTime LocalDateTime(const icaltimetype &t)
{
    const QDateTime written(DateOf(t), QTime(t.hour, t.minute, t.second));
    if (icaltime_is_utc(t))
        return QDateTime(written.date(), written.time(), Qt::UTC).toLocalTime();
    return written;
}

QDate LocalDate(const icaltimetype &t)
{
    return t.is_date ? DateOf(t) : LocalDateTime(t).date();
}

QString EventName(icalcomponent *event)
{
    const QString summary = Utf8(icalcomponent_get_summary(event)).trimmed();
    return summary.isEmpty() ? QStringLiteral("An event without a title") : summary;
}

// A stable UID for events that lack one, so that a re-import matches them.
QString UidFromContents(icalcomponent *event)
{
    char *text = icalcomponent_as_ical_string_r(event);
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray(text ? text : ""), QCryptographicHash::Sha1).toHex();
    free(text);
    return QString::fromLatin1(hash.left(24)) + QStringLiteral("@imported");
}

int WeekdayMaskOf(QStringView text)
{
    static const char *const codes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    int mask = 0;
    for (const QStringView word : text.split(u' ', Qt::SkipEmptyParts)) {
        for (int i = 0; i < 7; ++i) {
            if (word.compare(QLatin1String(codes[i]), Qt::CaseInsensitive) == 0)
                mask |= 1 << (i + 1);
        }
    }
    return mask;
}

QString WeekdayCodes(int mask)
{
    static const char *const codes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    QStringList words;
    for (int i = 0; i < 7; ++i) {
        if (mask & (1 << (i + 1)))
            words.append(QLatin1String(codes[i]));
    }
    return words.join(u' ');
}

bool ReadEaster(QStringView value, DateRule &rule)
{
    const auto take = [&](QStringView name, DateRule::Reckoning reckoning) {
        if (!value.startsWith(name, Qt::CaseInsensitive))
            return false;
        const QStringView offset = value.mid(name.size());
        bool ok = true;
        const int days = offset.isEmpty() ? 0 : offset.toInt(&ok);
        if (!ok || days < -DateRule::MaxEasterOffset || days > DateRule::MaxEasterOffset)
            return false;
        rule.kind = DateRule::Kind::Easter;
        rule.reckoning = reckoning;
        rule.easterOffset = days;
        return true;
    };
    return take(u"WESTERN", DateRule::Reckoning::Western) ||
           take(u"ORTHODOX", DateRule::Reckoning::Orthodox);
}

bool ReadShift(QStringView value, DateRule &rule)
{
    using S = DateRule::Shift;
    static const std::pair<const char *, S> names[] = {
        {"NEXT", S::NextWorkday}, {"PREVIOUS", S::PreviousWorkday}, {"NEAREST", S::NearestWorkday}};
    for (const auto &[name, shift] : names) {
        if (value.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            rule.shift = shift;
            return true;
        }
    }
    return false;
}

// The Dayloom properties of an event; what they cannot read goes to leftOut.
void ReadOwnProperties(icalcomponent *event, DatedEntry &entry, QStringList &leftOut)
{
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
        const QString name = Utf8(icalproperty_get_x_name(p)).toUpper();
        const QString value = Utf8(icalproperty_get_x(p)).trimmed();
        bool ok = true;
        if (name == u"X-DAYLOOM-EASTER")
            ok = ReadEaster(value, entry.rule);
        else if (name == u"X-DAYLOOM-CALENDAR")
            ok = ParseCalendarRule(value.split(u' ', Qt::SkipEmptyParts), entry.rule, nullptr);
        else if (name == u"X-DAYLOOM-SHIFT")
            ok = ReadShift(value, entry.rule);
        else if (name == u"X-DAYLOOM-SHIFT-OFF")
            entry.rule.shiftOffWeekdays = WeekdayMaskOf(value);
        else if (name == u"X-DAYLOOM-SHIFT-AVOID")
            entry.shiftAvoids.append(value);
        else if (name == u"X-DAYLOOM-SOURCE")
            entry.source = value;
        if (!ok)
            leftOut.append(QStringLiteral("%1: %2 \"%3\" cannot be read and is left out")
                               .arg(entry.description, name, value));
    }
}

// The days an event covers, from DTEND (exclusive for dates) or DURATION.
int SpanDaysOf(icalcomponent *event, const icaltimetype &start, QDate startDate)
{
    QDate last = startDate;
    if (icalproperty *end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const icaltimetype t = icalproperty_get_dtend(end);
        if (t.is_date) {
            last = DateOf(t).addDays(-1);
        } else {
            const QDateTime until = LocalDateTime(t);
            // An event that ends at midnight does not show on the day it ends.
            last = until.time() == QTime(0, 0) && until.date() > startDate
                       ? until.date().addDays(-1)
                       : until.date();
        }
    } else if (icalproperty *duration =
                   icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const int seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
        if (seconds > 0) {
            const QDateTime begin =
                start.is_date ? QDateTime(startDate, QTime(0, 0)) : LocalDateTime(start);
            last = begin.addSecs(seconds - 1).date();
        }
    }
    if (!last.isValid() || last < startDate)
        return 1;
    return int(std::min<qint64>(startDate.daysTo(last) + 1, DateRule::MaxSpanDays));
}

QList<QDate> DatesOf(icalcomponent *event, icalproperty_kind kind)
{
    QList<QDate> dates;
    for (icalproperty *p = icalcomponent_get_first_property(event, kind); p;
         p = icalcomponent_get_next_property(event, kind)) {
        if (kind == ICAL_RDATE_PROPERTY) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            dates.append(
                LocalDate(icaltime_is_null_time(value.time) ? value.period.start : value.time));
        } else {
            dates.append(LocalDate(icalproperty_get_exdate(p)));
        }
    }
    dates.removeIf([](const QDate &d) { return !d.isValid(); });
    return dates;
}

// One VEVENT as an entry; false when it has no usable start.
bool ReadEvent(icalcomponent *event, int line, DatedEntry &entry, QStringList &leftOut)
{
    entry.description = EventName(event);
    const icaltimetype start = icalcomponent_get_dtstart(event);
    entry.rule.first = LocalDate(start);
    if (!entry.rule.first.isValid()) {
        leftOut.append(QStringLiteral("%1 (line %2): it has no start date and is left out")
                           .arg(entry.description)
                           .arg(line));
        return false;
    }
    if (!start.is_date)
        entry.rule.startTime = LocalDateTime(start).time();
    entry.uid = Utf8(icalcomponent_get_uid(event));
    if (entry.uid.isEmpty())
        entry.uid = UidFromContents(event);
    entry.rule.spanDays = SpanDaysOf(event, start, entry.rule.first);
    int rules = 0;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const QString text = Utf8(icalproperty_get_value_as_string(p));
        if (++rules > 1) {
            leftOut.append(QStringLiteral("%1: a second repeat rule (%2) is left out")
                               .arg(entry.description, text));
            continue;
        }
        QString why;
        entry.rule.recurrence = RecurrenceRule::parse(text, &why);
        if (!entry.rule.recurrence)
            leftOut.append(
                QStringLiteral("%1: %2; only its first date is kept").arg(entry.description, why));
    }
    entry.rule.extraDates = DatesOf(event, ICAL_RDATE_PROPERTY);
    entry.rule.exceptions = DatesOf(event, ICAL_EXDATE_PROPERTY);
    ReadOwnProperties(event, entry, leftOut);
    return true;
}

// A libical error inside a component, with the line the component starts on.
QString FirstErrorIn(icalcomponent *component)
{
    for (icalproperty *p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY))
        return Utf8(icalproperty_get_xlicerror(p));
    return {};
}

// An instance of a series that RECURRENCE-ID moved or cancelled.
struct MovedInstance
{
    QString seriesUid;
    QDate movedFrom;
    bool cancelled = false;
    DatedEntry entry;
};

struct Reading
{
    ICalendarFile::Contents contents;
    QHash<QString, qsizetype> byUid;
    // Applied once every series is read: they may come before their series.
    QList<MovedInstance> movedInstances;
};

bool ReadCalendar(icalcomponent *calendar, const Outline &outline, int &eventIndex,
                  Reading &reading, QString *error)
{
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind == ICAL_VTIMEZONE_COMPONENT)
            continue;
        if (kind != ICAL_VEVENT_COMPONENT) {
            reading.contents.leftOut.append(QStringLiteral("A %1 (not an event) is left out")
                                                .arg(Utf8(icalcomponent_kind_to_string(kind))));
            continue;
        }
        const int line = outline.eventLines.value(eventIndex++, 0);
        if (const QString problem = FirstErrorIn(c); !problem.isEmpty())
            return Fail(error, QStringLiteral("Line %1: the event \"%2\" cannot be read: %3")
                                   .arg(line)
                                   .arg(EventName(c), problem));
        if (reading.contents.entries.size() >= ICalendarFile::MaxEntries)
            return Fail(error, QStringLiteral("Line %1: the file holds more than %2 events")
                                   .arg(line)
                                   .arg(ICalendarFile::MaxEntries));
        DatedEntry entry;
        if (!ReadEvent(c, line, entry, reading.contents.leftOut))
            continue;
        const bool cancelled = icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED;
        const icaltimetype recurrenceId = icalcomponent_get_recurrenceid(c);
        if (!icaltime_is_null_time(recurrenceId)) {
            const QDate movedFrom = LocalDate(recurrenceId);
            MovedInstance moved{entry.uid, movedFrom, cancelled, std::move(entry)};
            moved.entry.uid = moved.seriesUid + u'/' + movedFrom.toString(u"yyyyMMdd");
            moved.entry.rule.recurrence.reset();
            moved.entry.rule.exceptions.clear();
            reading.movedInstances.append(std::move(moved));
            continue;
        }
        if (cancelled) {
            reading.contents.leftOut.append(
                QStringLiteral("%1: the event is cancelled and is left out")
                    .arg(entry.description));
            continue;
        }
        reading.byUid.insert(entry.uid, reading.contents.entries.size());
        reading.contents.entries.append(std::move(entry));
    }
    return true;
}

// A moved instance takes its date out of its series and, unless cancelled,
// becomes an entry of its own on its new date.
void ApplyMovedInstances(Reading &reading)
{
    for (MovedInstance &moved : reading.movedInstances) {
        if (const auto it = reading.byUid.constFind(moved.seriesUid); it != reading.byUid.cend())
            reading.contents.entries[*it].rule.exceptions.append(moved.movedFrom);
        if (!moved.cancelled)
            reading.contents.entries.append(std::move(moved.entry));
    }
}

// ---- writing -------------------------------------------------------------

QByteArray EscapeText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u';' || c == u',')
            escaped += u'\\';
        if (c == u'\n') {
            escaped += QStringLiteral("\\n");
            continue;
        }
        if (c == u'\r')
            continue;
        escaped += c;
    }
    return escaped.toUtf8();
}

// Content lines longer than 75 octets go on in lines that start with a blank,
// never inside a UTF-8 sequence.
void AppendFolded(QByteArray &out, const QByteArray &line)
{
    qsizetype start = 0;
    int limit = 75;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start);
        out += "\r\n ";
        start = cut;
        limit = 74;
    }
    out += line.mid(start);
    out += "\r\n";
}

QByteArray DateValue(QDate date)
{
    return date.toString(u"yyyyMMdd").toLatin1();
}

QByteArray DateList(const QList<QDate> &dates)
{
    QByteArrayList values;
    for (const QDate &d : dates)
        values.append(DateValue(d));
    return values.join(',');
}

// What DTSTART says of an Easter rule, which falls from its first date's
// year on: that year's day, so that programs that know nothing of Easter show
// the event on a day it falls on (an offset into another year keeps the first
// date itself). Without a first date, the rule starts in 1900.
QDate EasterStart(const DateRule &rule)
{
    const QDate first = rule.first.isValid() ? rule.first : QDate(1900, 1, 1);
    const QDate easter = rule.reckoning == DateRule::Reckoning::Orthodox
                             ? orthodoxEasterSunday(first.year())
                             : westernEasterSunday(first.year());
    const QDate day = easter.isValid() ? easter.addDays(rule.easterOffset) : QDate();
    return day.isValid() && day.year() == first.year() ? day : first;
}

void AppendEvent(QByteArray &out, const DatedEntry &entry, const QByteArray &stamp)
{
    const DateRule &rule = entry.rule;
    const auto line = [&](const QByteArray &text) { AppendFolded(out, text); };
    line("BEGIN:VEVENT");
    line("UID:" + EscapeText(entry.uid));
    line("DTSTAMP:" + stamp);
    QDate first = rule.kind == DateRule::Kind::Easter ? EasterStart(rule) : rule.first;
    // Other programs show a Sun or calendar rule on its first day alone: let
    // that be a real one.
    if (IsCalendarKind(rule.kind) && !first.isValid()) {
        DateRule unshifted = rule;
        unshifted.shift = DateRule::Shift::None;
        const QList<QDate> days = unshifted.startsBetween(QDate(2000, 1, 1), QDate(2001, 12, 31));
        first = days.isEmpty() ? QDate(2000, 1, 1) : days.first();
    }
    if (rule.startTime.isValid()) {
        line("DTSTART:" + DateValue(first) + 'T' + rule.startTime.toString(u"HHmmss").toLatin1());
        if (rule.spanDays > 1)
            line("DURATION:P" + QByteArray::number(rule.spanDays - 1) + 'D');
    } else {
        line("DTSTART;VALUE=DATE:" + DateValue(first));
        if (rule.spanDays > 1)
            line("DTEND;VALUE=DATE:" + DateValue(first.addDays(rule.spanDays)));
    }
    line("SUMMARY:" + EscapeText(entry.description));
    if (rule.kind == DateRule::Kind::Recurrence && rule.recurrence)
        line("RRULE:" + rule.recurrence->toString().toLatin1());
    if (!rule.extraDates.isEmpty())
        line("RDATE;VALUE=DATE:" + DateList(rule.extraDates));
    if (!rule.exceptions.isEmpty())
        line("EXDATE;VALUE=DATE:" + DateList(rule.exceptions));
    if (rule.kind == DateRule::Kind::Easter) {
        const QByteArray reckoning =
            rule.reckoning == DateRule::Reckoning::Orthodox ? "ORTHODOX" : "WESTERN";
        const QByteArray offset =
            rule.easterOffset == 0
                ? QByteArray()
                : (rule.easterOffset > 0 ? "+" : "") + QByteArray::number(rule.easterOffset);
        line("X-DAYLOOM-EASTER:" + reckoning + offset);
    }
    if (IsCalendarKind(rule.kind))
        line("X-DAYLOOM-CALENDAR:" + CalendarRuleText(rule).toLatin1());
    if (rule.shift != DateRule::Shift::None) {
        static const char *const shifts[] = {"", "NEXT", "PREVIOUS", "NEAREST"};
        line(QByteArray("X-DAYLOOM-SHIFT:") + shifts[int(rule.shift)]);
        line("X-DAYLOOM-SHIFT-OFF:" + WeekdayCodes(rule.shiftOffWeekdays).toLatin1());
        for (const QString &uid : entry.shiftAvoids)
            line("X-DAYLOOM-SHIFT-AVOID:" + EscapeText(uid));
    }
    if (!entry.source.isEmpty())
        line("X-DAYLOOM-SOURCE:" + EscapeText(entry.source));
    line("END:VEVENT");
}

// Reads the rest of the device in pieces: QIODevice::read(n) sets aside n
// bytes at once, whatever the file holds. False when it holds more than limit.
bool ReadAtMost(QIODevice &device, qint64 limit, QByteArray &bytes)
{
    constexpr qint64 Piece = 1 << 20;
    if (!device.isSequential()) {
        const qint64 left = device.size() - device.pos();
        if (left > limit)
            return false;
        bytes.reserve(std::max<qint64>(left, 0));
    }
    for (QByteArray piece = device.read(Piece); !piece.isEmpty(); piece = device.read(Piece)) {
        bytes += piece;
        if (bytes.size() > limit)
            return false;
    }
    return true;
}

} // namespace

bool ICalendarFile::looksLikeICalendar(QByteArrayView head)
{
    QByteArray start = head.first(std::min<qsizetype>(head.size(), 64)).toByteArray();
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    return start.trimmed().toUpper().startsWith("BEGIN:VCALENDAR");
}

bool ICalendarFile::read(QIODevice &device, Contents &contents, QString *error)
{
    QByteArray bytes;
    if (!ReadAtMost(device, MaxFileBytes, bytes))
        return Fail(error, QStringLiteral("The file is larger than %1 MB").arg(MaxFileBytes >> 20));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.contains('\0'))
        return Fail(error, QStringLiteral("The file is not text: it holds a NUL byte"));
    Outline outline;
    if (!CheckStructure(bytes, outline, error))
        return false;

    // The library's default is to abort the program on some errors.
    icalerror_set_errors_are_fatal(0);
    const ComponentPointer root(icalparser_parse_string(bytes.constData()));
    if (!root)
        return Fail(error, QStringLiteral("The file is not an iCalendar calendar"));
    Reading reading;
    int eventIndex = 0;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        if (!ReadCalendar(root.get(), outline, eventIndex, reading, error))
            return false;
    } else {
        for (icalcomponent *c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
            if (!ReadCalendar(c, outline, eventIndex, reading, error))
                return false;
        }
    }
    ApplyMovedInstances(reading);
    contents = std::move(reading.contents);
    return true;
}

bool ICalendarFile::write(QIODevice &device, const QList<DatedEntry> &entries, QString *error)
{
    const QByteArray stamp =
        QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd'T'HHmmss'Z'").toLatin1();
    QByteArray out;
    AppendFolded(out, "BEGIN:VCALENDAR");
    AppendFolded(out, "VERSION:2.0");
    AppendFolded(out, "PRODID:-//Dayloom//Recurring dates//EN");
    for (const DatedEntry &entry : entries)
        AppendEvent(out, entry, stamp);
    AppendFolded(out, "END:VCALENDAR");
    if (device.write(out) != out.size())
        return Fail(error, device.errorString());
    return true;
}

} // namespace Dayloom
