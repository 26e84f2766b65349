#include "core/calendar/calendarpage.h"
#include "core/calendar/frameoptions.h"
#include "core/calendar/languagenames.h"
#include "core/calendar/moonphases.h"
#include "core/calendar/pagecanvas.h"
#include "core/formats/calendarextrasrecord.h"
#include "core/formats/calendarfile.h"
#include "core/formats/calendarsettingsblock.h"
#include "core/formats/componentrecord.h"
#include "core/formats/stylesheet.h"
#include "core/objects/flatcalendar/flatcalendarmodel.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <ctime>
#include <map>

using namespace Dayloom;

namespace {

// A canvas that keeps what the page drew: texts with their role and ink,
// fills and moon symbols, in page pixels (device = page).
class RecordingCanvas final : public PageCanvas
{
public:
    struct Written
    {
        TRect rect;
        QString text;
        TextRole role;
        TColor color;
    };
    struct Filled
    {
        TRect rect;
        TColor color;
    };
    struct Moon
    {
        TRect box;
        MoonPhase phase;
    };

    RecordingCanvas() : m_image(8, 8, QImage::Format_RGB32), m_painter(&m_image) {}

    QPainter &Painter() override { return m_painter; }
    TRect DeviceRect(const TRect &r) const override { return r; }
    TRect MiniCalendarRect(const TRect &r) const override { return r; }
    int MinimumTitleHeight() const override { return 144; }
    GridMetrics MeasureGrid(const FontSpec &, const FontSpec &) override { return {0, 30, 24}; }
    int PlannerTitleHeight(const FontSpec &) override { return 30; }
    bool FillsWhiteTitleBand() const override { return true; }
    void Fill(const TRect &rect, TColor color) override { fills.append({rect, color}); }
    void Border(const TRect &, TCalBorderStyle) override {}
    void Outline(const TRect &) override {}
    void Line(int, int, int, int) override {}
    void CellLines(const MonthGridGeometry &, TCalBorderStyle) override {}
    void SelectFont(const FontSpec &font) override { m_color = font.Color(); }
    void Text(const TRect &rect, const QString &text, TextRole role) override
    {
        texts.append({rect, text, role, m_color});
    }
    void MoonSymbol(const TRect &box, MoonPhase phase) override { moons.append({box, phase}); }
    QSize DrawNotes(const std::array<CellRecord, 42> &, const std::array<TWPRtfStorage, 42> &, bool,
                    const std::array<TColor, 42> &) override
    {
        return {};
    }

    QList<Written> OfRole(TextRole role) const
    {
        QList<Written> found;
        for (const Written &t : texts)
            if (t.role == role)
                found.append(t);
        return found;
    }

    QList<Written> texts;
    QList<Filled> fills;
    QList<Moon> moons;

private:
    QImage m_image;
    QPainter m_painter;
    TColor m_color = clBlack;
};

void UseEnglish(CalendarPage &page)
{
    const LanguageNames *english = FindLanguage(QStringLiteral("english"));
    for (int i = 1; i <= 12; ++i)
        page.SetMonthName(i, english->months[i - 1]);
    for (int i = 1; i <= 7; ++i)
        page.SetDayName(i, english->days[i - 1]);
}

QString EnglishDayName(const QDate &date)
{
    return FindLanguage(QStringLiteral("english"))->days[date.dayOfWeek() % 7];
}

// The day numbers of the main month grid by their cell's date.
struct DrawnDay
{
    QDate date;
    int column = 0; // 0-6, from the header above it
    RecordingCanvas::Written text;
};

QList<DrawnDay> DrawnDays(const RecordingCanvas &canvas, const CalendarPage &page,
                          TextRole role = TextRole::DayNumberCorner)
{
    QList<RecordingCanvas::Written> headers = canvas.OfRole(TextRole::WeekdayName);
    std::sort(headers.begin(), headers.end(),
              [](const auto &a, const auto &b) { return a.rect.Left < b.rect.Left; });
    QList<DrawnDay> days;
    for (const RecordingCanvas::Written &t : canvas.OfRole(role)) {
        DrawnDay day;
        day.date = QDate(page.MainCalYear(), page.MainCalMonth(), t.text.toInt());
        day.text = t;
        int best = INT_MAX;
        for (int c = 0; c < headers.size(); ++c) {
            const int distance = std::abs(headers[c].rect.Left - t.rect.Left);
            if (distance < best) {
                best = distance;
                day.column = c;
            }
        }
        days.append(day);
    }
    return days;
}

// Week number of a date by the US rule as stated: week 1 is the Sunday-to-
// Saturday week holding 1 January, and every Sunday after it starts the
// next week. Counted day by day.
int UsWeekByCounting(const QDate &date)
{
    QDate weekEnd = date;
    while (weekEnd.dayOfWeek() != 6) // Saturday
        weekEnd = weekEnd.addDays(1);
    if (weekEnd.year() != date.year())
        return 1;
    int week = 1;
    for (QDate day(date.year(), 1, 2); day <= date; day = day.addDays(1))
        if (day.dayOfWeek() == 7) // a Sunday
            ++week;
    return week;
}

// Moon phase moments remind gives, as local date-times, from `first` on
// for the number of lunations.
QList<std::pair<QDateTime, MoonPhase>> RemindMoonPhases(const QString &remind, const QDate &first,
                                                        int lunations, QString *error)
{
    QString script;
    for (int phase = 0; phase < 4; ++phase) {
        script += QStringLiteral("SET t moondatetime(%1, '%2')\nREM MSG [t] %1\n")
                      .arg(phase)
                      .arg(first.toString(Qt::ISODate));
        for (int i = 1; i < lunations; ++i)
            script +=
                QStringLiteral("SET t moondatetime(%1, coerce(\"DATE\", t) + 2)\nREM MSG [t] %1\n")
                    .arg(phase);
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("moon.rem")));
    file.open(QIODevice::WriteOnly);
    file.write(script.toUtf8());
    file.close();
    QProcess process;
    process.start(remind, {QStringLiteral("-q"), file.fileName(), first.toString(Qt::ISODate)});
    if (!process.waitForFinished(120000)) {
        *error = QStringLiteral("remind did not finish");
        return {};
    }
    QList<std::pair<QDateTime, MoonPhase>> events;
    static const QRegularExpression line(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})@(\\d{1,2}:\\d{2}) ([0-3])$"));
    for (const QString &text : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        const auto match = line.match(text.trimmed());
        if (!match.hasMatch())
            continue;
        // remind writes wall-clock times, also ones that the spring's
        // change of clocks skips; the C library takes those as it does.
        const QStringList ymd = match.captured(1).split(u'-');
        const QStringList hm = match.captured(2).split(u':');
        std::tm wall{};
        wall.tm_year = ymd[0].toInt() - 1900;
        wall.tm_mon = ymd[1].toInt() - 1;
        wall.tm_mday = ymd[2].toInt();
        wall.tm_hour = hm[0].toInt();
        wall.tm_min = hm[1].toInt();
        wall.tm_isdst = -1;
        const QDateTime when = QDateTime::fromSecsSinceEpoch(std::mktime(&wall));
        if (!when.isValid()) {
            *error = QStringLiteral("remind wrote %1").arg(text);
            return {};
        }
        events.append({when, MoonPhase(match.captured(3).toInt())});
    }
    return events;
}

// Minutes from the moment to the nearest local midnight.
int MinutesFromMidnight(const QDateTime &local)
{
    const int minutes = local.time().hour() * 60 + local.time().minute();
    return std::min(minutes, 24 * 60 - minutes);
}

QByteArray DesignBytes(const CalendarPage &page, const QList<const PersistentObject *> &objects)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCalendarFile(page, objects, buffer);
    return buffer.data();
}

CalendarExtras EveryExtra()
{
    CalendarExtras extras;
    extras.firstWeekday = 7;
    extras.weekPlannersFromFirstWeekday = true;
    extras.weekNumbers = WeekNumbering::Iso;
    extras.markWeekends = true;
    extras.weekendDays = WeekdayBit(6) | WeekdayBit(7);
    extras.weekendCellColor = 0x00CCEEFF;
    extras.weekendNumberColor = clNavy;
    extras.redDays = true;
    extras.redDayCellColor = 0x00DDDDFF;
    extras.redDayNumberColor = clMaroon;
    extras.moonPhases = true;
    extras.dayCounters = true;
    return extras;
}

// A calendar file read by the reading rules of the format as they were
// before the extras: the calendar part, then the objects of the classes the
// reader knows, stopping silently at the first record it cannot read.
struct OldReading
{
    bool ok = false;
    std::unique_ptr<CalendarPage> page = std::make_unique<CalendarPage>();
    PersistentObjectList objects;
};

OldReading ReadByOldRules(const QByteArray &bytes, const ObjectClassRegistry &registry)
{
    OldReading out;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ValueReader reader(buffer);
    CalendarPage &page = *out.page;
    if (!reader.readListBegin() || !reader.readInteger() || !reader.readInteger() ||
        !CalendarSettingsBlock::Read(reader, page))
        return out;
    const std::optional<QString> border = reader.readString();
    std::array<std::optional<qint32>, 6> date;
    for (auto &value : date)
        value = reader.readInteger();
    if (!border || !date[5])
        return out;
    page.SetMainCalDay(*date[0]);
    page.SetMainCalMonth(*date[1]);
    page.SetMainCalYear(*date[2]);
    page.SetStartOfWeek(*date[3]);
    page.SetPlannerStartTime(QTime(*date[4], *date[5]));
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
        TWPRtfStorage note;
        if (!ComponentRecord::ReadNote(reader, note))
            return out;
        page.SetCellNote(cell, note);
    }
    const std::optional<QString> title = reader.readString();
    if (!title || !reader.readListEnd() || !reader.readListBegin())
        return out;
    page.SetUserTitle(*title);
    ComponentNamer namer;
    while (reader.peekByte() && *reader.peekByte() != 0) {
        std::unique_ptr<PersistentObject> object = ComponentRecord::Read(reader, registry, namer);
        if (!object)
            break; // the rules: an error in the objects part ends it silently
        out.objects.push_back(std::move(object));
    }
    out.ok = true;
    return out;
}

QByteArray RecordBytes(const PersistentObject &object)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(object, buffer);
    return buffer.data();
}

} // namespace

class TestCalendarFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void isoWeekNumbersBesideRows_data();
    void isoWeekNumbersBesideRows();
    void usWeekNumbersBesideRows_data();
    void usWeekNumbersBesideRows();
    void weekNumberColumnFromTheLayout_data();
    void weekNumberColumnFromTheLayout();
    void firstWeekdayUnderItsHeader_data();
    void firstWeekdayUnderItsHeader();
    void firstWeekdayOfMiniCalendars();
    void firstWeekdayOfFloatingCalendars();
    void firstWeekdayKeepsSundayAndMondayInTheStoredField();
    void weekPlannersStartOnTheFirstWeekday();
    void weekPlannerTitleNamesItsWeek();
    void weekendDaysInTheirColours();
    void redDaysBeforeWeekends();
    void dayCountersCountTheYear();
    void moonSymbolsInTheirDays();
    void moonPhaseDaysAgreeWithRemind();
    void filesWithoutExtrasWrittenAsBefore_data();
    void filesWithoutExtrasWrittenAsBefore();
    void extrasStoredLastAndReadBack();
    void oldReaderKeepsAllButTheExtras();
    void styleSheetCarriesTheLookAfterItsList();
    void commandLineFrameOptions();
};

void TestCalendarFrame::initTestCase()
{
    // Moon phase days depend on the time zone: one with summer time, for
    // this program and for remind alike.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QLocale::setDefault(QLocale::c());
    RegisterObjectKinds(ObjectKindRegistry::Application());
}

void TestCalendarFrame::isoWeekNumbersBesideRows_data()
{
    QTest::addColumn<int>("firstWeekday");
    QTest::newRow("monday rows") << 2;
    QTest::newRow("sunday rows") << 1;
}

// Every row of every month 2000-2040 carries the ISO number of the week
// that holds its Monday (with Sunday rows: six of its seven days).
void TestCalendarFrame::isoWeekNumbersBesideRows()
{
    QFETCH(int, firstWeekday);
    CalendarPage page;
    page.SetFirstWeekday(firstWeekday);
    CalendarExtras extras;
    extras.weekNumbers = WeekNumbering::Iso;
    page.SetExtras(extras);
    int rows = 0;
    for (int year = 2000; year <= 2040; ++year) {
        for (int month = 1; month <= 12; ++month) {
            page.SetMainCalYear(year);
            page.SetMainCalMonth(month);
            RecordingCanvas canvas;
            page.Draw(canvas);
            const QList<DrawnDay> days = DrawnDays(canvas, page);
            for (const RecordingCanvas::Written &week : canvas.OfRole(TextRole::WeekNumber)) {
                const auto inRow = std::find_if(days.begin(), days.end(), [&](const DrawnDay &d) {
                    return d.text.rect.Top == week.rect.Top;
                });
                QVERIFY(inRow != days.end());
                const QDate rowStart = inRow->date.addDays(-inRow->column);
                const QDate monday = rowStart.addDays(firstWeekday == 2 ? 0 : 1);
                QCOMPARE(week.text.toInt(), monday.weekNumber());
                ++rows;
            }
        }
    }
    QVERIFY(rows > 41 * 12 * 4);
}

void TestCalendarFrame::usWeekNumbersBesideRows_data()
{
    QTest::addColumn<int>("firstWeekday");
    QTest::newRow("sunday rows") << 1;
    QTest::newRow("monday rows") << 2;
}

// US numbers against their definition: a Sunday row is one US week; a
// Monday row holds six days of the week its Monday is in.
void TestCalendarFrame::usWeekNumbersBesideRows()
{
    QFETCH(int, firstWeekday);
    CalendarPage page;
    page.SetFirstWeekday(firstWeekday);
    CalendarExtras extras;
    extras.weekNumbers = WeekNumbering::Us;
    page.SetExtras(extras);
    for (int year = 2000; year <= 2040; ++year) {
        for (int month = 1; month <= 12; ++month) {
            page.SetMainCalYear(year);
            page.SetMainCalMonth(month);
            RecordingCanvas canvas;
            page.Draw(canvas);
            const QList<DrawnDay> days = DrawnDays(canvas, page);
            for (const RecordingCanvas::Written &week : canvas.OfRole(TextRole::WeekNumber)) {
                const auto inRow = std::find_if(days.begin(), days.end(), [&](const DrawnDay &d) {
                    return d.text.rect.Top == week.rect.Top;
                });
                QVERIFY(inRow != days.end());
                const QDate rowStart = inRow->date.addDays(-inRow->column);
                QCOMPARE(week.text.toInt(), UsWeekByCounting(rowStart));
            }
        }
    }
}

void TestCalendarFrame::weekNumberColumnFromTheLayout_data()
{
    QTest::addColumn<int>("layout");
    for (int layout = 0; layout <= loMC60MonthLS; ++layout)
        QTest::addRow("layout %d", layout) << layout;
}

// The column takes a fixed share of each grid's width, so a grid keeps its
// proportions whatever its size; the days share the rest evenly.
void TestCalendarFrame::weekNumberColumnFromTheLayout()
{
    QFETCH(int, layout);
    CalendarPage page;
    page.SetCalendarLayout(TCalendarLayout(layout));
    CalendarExtras extras;
    extras.weekNumbers = WeekNumbering::Us;
    page.SetExtras(extras);
    const PageLayout &l = page.Layout();
    if (l.hasMainCalendar) {
        QCOMPARE(l.mainWeekColumn, l.mainRect.Width() / 16);
        RecordingCanvas canvas;
        page.Draw(canvas);
        QList<RecordingCanvas::Written> headers = canvas.OfRole(TextRole::WeekdayName);
        std::sort(headers.begin(), headers.end(),
                  [](const auto &a, const auto &b) { return a.rect.Left < b.rect.Left; });
        QCOMPARE(headers.size(), 7 + 7 * l.miniCount);
        // The main grid's names come first in the drawing.
        const QList<RecordingCanvas::Written> main = canvas.OfRole(TextRole::WeekdayName).mid(0, 7);
        const int daysLeft = l.mainRect.Left + l.mainWeekColumn;
        const int columnWidth = (l.mainRect.Right - 1 - daysLeft) / 7;
        for (int c = 0; c < 7; ++c)
            QCOMPARE(main[c].rect.Left, daysLeft + c * columnWidth + 1);
    }
    if (l.hasMiniCalendars)
        QCOMPARE(l.miniWeekColumn, l.miniRects[0].Width() / 10);
    page.SetExtras(CalendarExtras());
    QCOMPARE(page.Layout().mainWeekColumn, 0);
    QCOMPARE(page.Layout().miniWeekColumn, 0);
}

void TestCalendarFrame::firstWeekdayUnderItsHeader_data()
{
    QTest::addColumn<int>("firstWeekday");
    for (int day = 1; day <= 7; ++day)
        QTest::addRow("%s", qPrintable(FrameText::WeekdayName(day))) << day;
}

// Every day stands under the header naming its weekday, and the first
// header is the first weekday.
void TestCalendarFrame::firstWeekdayUnderItsHeader()
{
    QFETCH(int, firstWeekday);
    CalendarPage page;
    UseEnglish(page);
    page.SetHeadersStyle(dsWhole);
    page.SetFirstWeekday(firstWeekday);
    QCOMPARE(page.FirstWeekday(), firstWeekday);
    for (int month = 1; month <= 12; ++month) {
        page.SetMainCalYear(2026);
        page.SetMainCalMonth(month);
        RecordingCanvas canvas;
        page.Draw(canvas);
        QList<RecordingCanvas::Written> headers = canvas.OfRole(TextRole::WeekdayName);
        QCOMPARE(headers.size(), 7);
        QCOMPARE(headers[0].text, FrameText::WeekdayName(firstWeekday));
        const QList<DrawnDay> days = DrawnDays(canvas, page);
        QCOMPARE(days.size(), QDate(2026, month, 1).daysInMonth());
        for (const DrawnDay &day : days)
            QCOMPARE(headers[day.column].text, EnglishDayName(day.date));
        // The cells the page reports for its days agree with the drawing.
        const QDate first(2026, month, 1);
        const int column = (first.dayOfWeek() % 7 + 1 - firstWeekday + 7) % 7;
        QCOMPARE(page.MonthCellOfDay(1), column + 1);
        QCOMPARE(page.MonthDayOfCell(column + 1), 1);
    }
}

// The mini calendars of a twelve-month sheet put each day under its
// weekday too.
void TestCalendarFrame::firstWeekdayOfMiniCalendars()
{
    CalendarPage page;
    UseEnglish(page);
    page.SetCalendarLayout(loMC12Month);
    page.SetMiniHeadersStyle(dsWhole);
    page.SetMainCalYear(2027);
    page.SetMainCalMonth(1);
    page.SetFirstWeekday(4); // Wednesday
    RecordingCanvas canvas;
    page.Draw(canvas);
    for (int i = 1; i <= page.MiniCount(); ++i) {
        const TRect mini = page.MiniRect(i);
        const MonthYear shown = page.MiniMonth(i);
        QList<RecordingCanvas::Written> headers, numbers;
        for (const RecordingCanvas::Written &t : canvas.texts) {
            if (!mini.Contains(QPoint(t.rect.Left, t.rect.Top)))
                continue;
            if (t.role == TextRole::WeekdayName)
                headers.append(t);
            else if (t.role == TextRole::DayNumberCentred)
                numbers.append(t);
        }
        QCOMPARE(headers.size(), 7);
        QCOMPARE(headers[0].text, QStringLiteral("Wednesday"));
        QCOMPARE(numbers.size(), QDate(shown.year, shown.month, 1).daysInMonth());
        for (const RecordingCanvas::Written &number : numbers) {
            const auto header =
                std::min_element(headers.begin(), headers.end(), [&](const auto &a, const auto &b) {
                    return std::abs(a.rect.Left - number.rect.Left) <
                           std::abs(b.rect.Left - number.rect.Left);
                });
            QCOMPARE(header->text,
                     EnglishDayName(QDate(shown.year, shown.month, number.text.toInt())));
        }
    }
}

void TestCalendarFrame::firstWeekdayOfFloatingCalendars()
{
    FlatCalendarModel model(QDate(2026, 6, 15));
    QVERIFY(model.SetDayNameStyle(fdsWhole));
    for (int first = 1; first <= 7; ++first) {
        QCOMPARE(model.SetStartOfWeek(first), first != model.StartOfWeek());
        QCOMPARE(model.StartOfWeek(), first);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 7; ++c)
                if (const int day = model.DayInCell(r, c); day != 0)
                    QCOMPARE(model.DayNameText(c), EnglishDayName(QDate(2026, 6, day)));
    }
    QVERIFY(!model.SetStartOfWeek(8));
    QVERIFY(!model.SetStartOfWeek(0));
}

// Sunday and Monday stay where every reader finds them; the other days
// leave it at the nearer of the two.
void TestCalendarFrame::firstWeekdayKeepsSundayAndMondayInTheStoredField()
{
    CalendarSettings s;
    const int stored[8] = {0, 1, 2, 2, 2, 2, 1, 1};
    for (int day = 1; day <= 7; ++day) {
        s.SetFirstWeekday(day);
        QCOMPARE(s.FirstWeekday(), day);
        QCOMPARE(s.startOfWeek, stored[day]);
        QCOMPARE(s.extras.firstWeekday, day <= 2 ? 0 : day);
    }
    s.SetFirstWeekday(1);
    QVERIFY(s.extras.IsDefault());
    // A stored 7 still means Monday, as it always did.
    s.startOfWeek = 7;
    QCOMPARE(s.FirstWeekday(), 2);
}

void TestCalendarFrame::weekPlannersStartOnTheFirstWeekday()
{
    CalendarPage page;
    page.SetCalendarLayout(lo2Week);
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(3);
    page.SetMainCalDay(12); // a Thursday
    QCOMPARE(page.PlannerFirstDate(), QDate(2026, 3, 12));
    for (int first = 1; first <= 7; ++first) {
        page.SetFirstWeekday(first);
        CalendarExtras extras = page.Extras();
        extras.weekPlannersFromFirstWeekday = true;
        page.SetExtras(extras);
        const QDate start = page.PlannerFirstDate();
        QCOMPARE(start.dayOfWeek() % 7 + 1, first);
        QVERIFY(start <= QDate(2026, 3, 12) && start > QDate(2026, 3, 5));
    }
}

void TestCalendarFrame::weekPlannerTitleNamesItsWeek()
{
    CalendarPage page;
    UseEnglish(page);
    page.SetCalendarLayout(loWeek);
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(3);
    page.SetMainCalDay(9);
    const QString dates = page.PlannerTitle();
    CalendarExtras extras;
    extras.weekNumbers = WeekNumbering::Iso;
    page.SetExtras(extras);
    QCOMPARE(page.PlannerTitle(),
             dates + QStringLiteral(" \u00B7 Week %1").arg(QDate(2026, 3, 9).weekNumber()));
    page.SetCalendarLayout(lo2Week);
    QVERIFY(page.PlannerTitle().endsWith(QStringLiteral("Weeks 11-12")));
    page.SetUserTitle(QStringLiteral("Mine"));
    QCOMPARE(page.PlannerTitle(), QStringLiteral("Mine"));
}

void TestCalendarFrame::weekendDaysInTheirColours()
{
    CalendarPage page;
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(5);
    CalendarExtras extras;
    extras.markWeekends = true;
    extras.weekendDays = WeekdayBit(6) | WeekdayBit(7); // Friday and Saturday
    page.SetExtras(extras);
    RecordingCanvas canvas;
    page.Draw(canvas);
    int weekendDays = 0;
    for (const DrawnDay &day : DrawnDays(canvas, page)) {
        const bool weekend = day.date.dayOfWeek() == 5 || day.date.dayOfWeek() == 6;
        weekendDays += weekend ? 1 : 0;
        QCOMPARE(day.text.color, weekend ? extras.weekendNumberColor : page.CellFont().Color());
        const bool filled = std::any_of(canvas.fills.begin(), canvas.fills.end(), [&](auto &f) {
            return f.color == extras.weekendCellColor &&
                   f.rect.Contains(QPoint(day.text.rect.Left, day.text.rect.Top));
        });
        QCOMPARE(filled, weekend);
    }
    QCOMPARE(weekendDays, 10); // May 2026: five Fridays, five Saturdays
}

void TestCalendarFrame::redDaysBeforeWeekends()
{
    CalendarPage page;
    page.SetCalendarLayout(loFCMinisInTitle);
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(12);
    const QSet<QDate> holidays{QDate(2026, 12, 25), QDate(2026, 12, 26), QDate(2027, 1, 1)};
    QDate askedFirst, askedLast;
    page.SetRedDayLookup([&](const QDate &first, const QDate &last) {
        askedFirst = first;
        askedLast = last;
        return holidays;
    });
    CalendarExtras extras;
    extras.markWeekends = true;
    extras.redDays = true;
    page.SetExtras(extras);
    RecordingCanvas canvas;
    page.Draw(canvas);
    // The page asks for the dates it shows: November to January.
    QCOMPARE(askedFirst, QDate(2026, 11, 1));
    QCOMPARE(askedLast, QDate(2027, 1, 31));
    for (const DrawnDay &day : DrawnDays(canvas, page)) {
        const bool red = holidays.contains(day.date);
        const bool weekend = day.date.dayOfWeek() >= 6;
        QCOMPARE(day.text.color, red       ? extras.redDayNumberColor
                                 : weekend ? extras.weekendNumberColor
                                           : page.CellFont().Color());
    }
    // New Year's Day in the January mini.
    const TRect january = page.MiniRect(2);
    const bool markedInMini = std::any_of(canvas.texts.begin(), canvas.texts.end(), [&](auto &t) {
        return t.role == TextRole::DayNumberCentred && t.text == QStringLiteral("1") &&
               january.Contains(QPoint(t.rect.Left, t.rect.Top)) &&
               t.color == extras.redDayNumberColor;
    });
    QVERIFY(markedInMini);
    if (qEnvironmentVariableIsSet("DAYLOOM_SHOTS")) {
        QImage image(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        page.Draw(painter, 1.0f);
        image.save(qEnvironmentVariable("DAYLOOM_SHOTS") + QStringLiteral("/red-days.png"));
    }
    // Off: no lookup is drawn.
    page.SetExtras(CalendarExtras());
    QVERIFY(page.RedDays().isEmpty());
}

void TestCalendarFrame::dayCountersCountTheYear()
{
    CalendarPage page;
    page.SetMainCalYear(2028); // a leap year
    page.SetMainCalMonth(2);
    CalendarExtras extras;
    extras.dayCounters = true;
    page.SetExtras(extras);
    RecordingCanvas canvas;
    page.Draw(canvas);
    const QList<RecordingCanvas::Written> counters = canvas.OfRole(TextRole::DayCounter);
    QCOMPARE(counters.size(), 29);
    for (int day = 1; day <= 29; ++day) {
        const QDate date(2028, 2, day);
        const qint64 ofYear = QDate(2028, 1, 1).daysTo(date) + 1;
        const qint64 left = date.daysTo(QDate(2028, 12, 31));
        QCOMPARE(counters[day - 1].text, QStringLiteral("%1 \u00B7 %2").arg(ofYear).arg(left));
    }
    QCOMPARE(counters[13].text, QStringLiteral("45 \u00B7 321"));
}

void TestCalendarFrame::moonSymbolsInTheirDays()
{
    CalendarPage page;
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(3);
    CalendarExtras extras;
    extras.moonPhases = true;
    page.SetExtras(extras);
    RecordingCanvas canvas;
    page.Draw(canvas);
    const QMap<QDate, MoonPhase> phases = MoonPhases::Days(QDate(2026, 3, 1), QDate(2026, 3, 31));
    QCOMPARE(canvas.moons.size(), phases.size());
    const QList<DrawnDay> days = DrawnDays(canvas, page);
    for (const RecordingCanvas::Moon &moon : canvas.moons) {
        // The symbol sits in the top left of its day's cell, left of the number.
        const auto day = std::find_if(days.begin(), days.end(), [&](const DrawnDay &d) {
            return d.text.rect.Top <= moon.box.Top && d.text.rect.Bottom > moon.box.Top &&
                   d.text.rect.Right > moon.box.Right && d.text.rect.Left <= moon.box.Left &&
                   d.text.rect.Left + 30 > moon.box.Left;
        });
        QVERIFY(day != days.end());
        QCOMPARE(moon.phase, phases.value(day->date));
    }
    // Full moon on 3 March 2026 (11:38 UTC), new moon on 19 March.
    QCOMPARE(phases.value(QDate(2026, 3, 3)), MoonPhase::Full);
    QCOMPARE(phases.value(QDate(2026, 3, 19)), MoonPhase::New);
}

// The phase days 2000-2040 against remind's: a few may differ, only where
// a phase falls within an hour of local midnight.
void TestCalendarFrame::moonPhaseDaysAgreeWithRemind()
{
    const QString remind = QStandardPaths::findExecutable(QStringLiteral("remind"));
    if (remind.isEmpty())
        QSKIP("remind is not installed");
    QString error;
    const QList<std::pair<QDateTime, MoonPhase>> theirs =
        RemindMoonPhases(remind, QDate(1999, 12, 20), 510, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(theirs.size() >= 2000);
    const QDateTime from(QDate(2000, 1, 1), QTime(0, 0));
    const QDateTime to(QDate(2041, 1, 1), QTime(0, 0));
    const QList<MoonPhases::Event> ours = MoonPhases::Between(from.toUTC(), to.toUTC());
    QVERIFY(ours.size() > 2000);
    int compared = 0;
    int differences = 0;
    for (const MoonPhases::Event &event : ours) {
        const QDateTime local = event.when.toLocalTime();
        const qint64 at = event.when.toSecsSinceEpoch();
        // remind's moment of the same phase: the nearest one.
        const std::pair<QDateTime, MoonPhase> *match = nullptr;
        qint64 nearest = std::numeric_limits<qint64>::max();
        for (const auto &theirEvent : theirs) {
            const qint64 distance = std::abs(theirEvent.first.toSecsSinceEpoch() - at);
            if (theirEvent.second == event.phase && distance < nearest) {
                nearest = distance;
                match = &theirEvent;
            }
        }
        QVERIFY(match);
        QVERIFY2(
            nearest < 3 * 3600,
            qPrintable(QStringLiteral("phase %1 at %2, remind's nearest at %3")
                           .arg(int(event.phase))
                           .arg(local.toString(Qt::ISODate), match->first.toString(Qt::ISODate))));
        ++compared;
        if (match->first.date() == local.date())
            continue;
        ++differences;
        qInfo("%s: here %s, remind %s", qPrintable(QString::number(int(event.phase))),
              qPrintable(local.toString(Qt::ISODate)),
              qPrintable(match->first.toString(Qt::ISODate)));
        QVERIFY(MinutesFromMidnight(local) <= 60);
        QVERIFY(MinutesFromMidnight(match->first) <= 60);
    }
    qInfo("%d phases compared, %d on another day", compared, differences);
    QVERIFY(differences <= 5);
}

void TestCalendarFrame::filesWithoutExtrasWrittenAsBefore_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("month") << QStringLiteral("real-month.dlf");
    QTest::newRow("week") << QStringLiteral("real-week.dlf");
    QTest::newRow("style") << QStringLiteral("real-style.dls");
}

// Files written by the program before the extras existed are written again
// byte for byte.
void TestCalendarFrame::filesWithoutExtrasWrittenAsBefore()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(DAYLOOM_TEST_DATA "/../../formats/data/corpus/") + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    QTemporaryDir dir;
    const QString again = dir.filePath(name);
    if (name.endsWith(QStringLiteral(".dls"))) {
        CalendarPage page;
        QVERIFY(LoadStyleSheet(page, path));
        QVERIFY(page.Extras().IsDefault());
        QVERIFY(SaveStyleSheet(page, again));
    } else {
        // Read and written by the same functions as the program's open and
        // save, the objects keeping the names they were stored with (none).
        QVERIFY(file.seek(0));
        CalendarPage page;
        PersistentObjectList objects;
        const ObjectClassRegistry &classes = ObjectKindRegistry::Application().Classes();
        QVERIFY(ReadCalendarFile(page, file, classes, {}, objects));
        QVERIFY(page.Extras().IsDefault());
        QList<const PersistentObject *> stored;
        for (const auto &object : objects) {
            object->SetName(QString());
            stored.append(object.get());
        }
        QVERIFY(SaveCalendarFile(page, stored, again));
    }
    QFile written(again);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray after = written.readAll();
    if (after != before) {
        qsizetype at = 0;
        while (at < after.size() && at < before.size() && after[at] == before[at])
            ++at;
        qInfo("sizes %lld and %lld, first difference at %lld: %s / %s", qlonglong(after.size()),
              qlonglong(before.size()), qlonglong(at), after.mid(at - 40, 80).toHex().constData(),
              before.mid(at - 40, 80).toHex().constData());
    }
    QCOMPARE(after, before);
}

void TestCalendarFrame::extrasStoredLastAndReadBack()
{
    PageDocument document;
    QVERIFY(document.Open(QStringLiteral(DAYLOOM_TEST_DATA "/../../formats/data/corpus/"
                                                           "real-month.dlf")));
    QVERIFY(document.ObjectCount() > 0);
    const QByteArray plain = DesignBytes(document.Page(), document.PersistentObjects());
    document.Page().SetExtras(EveryExtra());
    const QByteArray withExtras = DesignBytes(document.Page(), document.PersistentObjects());

    // The record stands just before the end of the objects list, the rest
    // of the file unchanged.
    QBuffer record;
    record.open(QIODevice::WriteOnly);
    ValueWriter writer(record);
    CalendarExtrasRecord::Write(writer, EveryExtra());
    QCOMPARE(withExtras, plain.left(plain.size() - 1) + record.data() + plain.right(1));
    QVERIFY(!plain.contains("TCalendarExtras"));

    QBuffer buffer;
    buffer.setData(withExtras);
    buffer.open(QIODevice::ReadOnly);
    CalendarPage page;
    PersistentObjectList objects;
    int unread = -1;
    QVERIFY(
        ReadCalendarFile(page, buffer, document.Kinds().Classes(), {}, objects, nullptr, &unread));
    QCOMPARE(unread, 0);
    QCOMPARE(page.Extras(), EveryExtra());
    QCOMPARE(int(objects.size()), document.ObjectCount());
    QCOMPARE(page.FirstWeekday(), 7);
}

// A file with extras read by the rules as written before them keeps every
// setting, note and object; only the extras are lost.
void TestCalendarFrame::oldReaderKeepsAllButTheExtras()
{
    PageDocument document;
    QVERIFY(document.Open(QStringLiteral(DAYLOOM_TEST_DATA "/../../formats/data/corpus/"
                                                           "real-month.dlf")));
    CalendarPage &design = document.Page();
    design.SetUserTitle(QStringLiteral("Frame"));
    design.SetExtras(EveryExtra());
    const QByteArray bytes = DesignBytes(design, document.PersistentObjects());

    const OldReading old = ReadByOldRules(bytes, document.Kinds().Classes());
    QVERIFY(old.ok);
    CalendarSettings expected = design.Settings();
    expected.extras = CalendarExtras();
    // Saturday weeks fall back to the nearer of the two days the rules know.
    QCOMPARE(old.page->StartOfWeek(), 1);
    CalendarSettings got = old.page->Settings();
    got.calendarOrientation = expected.calendarOrientation;
    QVERIFY(got == expected);
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        QVERIFY(old.page->CellNote(cell) == design.CellNote(cell));
    QCOMPARE(int(old.objects.size()), document.ObjectCount());
    for (int i = 0; i < document.ObjectCount(); ++i) {
        QCOMPARE(old.objects[i]->ClassName(), document.Object(i)->ClassName());
        old.objects[i]->SetName(document.Object(i)->Name());
        QCOMPARE(RecordBytes(*old.objects[i]), RecordBytes(*document.Object(i)));
    }
}

void TestCalendarFrame::styleSheetCarriesTheLookAfterItsList()
{
    CalendarPage design;
    design.SetExtras(EveryExtra());
    QBuffer sheet;
    sheet.open(QIODevice::WriteOnly);
    QVERIFY(WriteStyleSheet(design, sheet));
    QBuffer plainSheet;
    plainSheet.open(QIODevice::WriteOnly);
    CalendarPage plain;
    plain.SetSettings(design.Settings());
    plain.SetExtras(CalendarExtras());
    QVERIFY(WriteStyleSheet(plain, plainSheet));
    // The list as before, the record after it.
    QVERIFY(sheet.data().startsWith(plainSheet.data()));
    QVERIFY(sheet.data().size() > plainSheet.data().size());

    // Read: the look comes, the first weekday stays the page's own.
    CalendarPage page;
    page.SetFirstWeekday(4);
    QBuffer in;
    in.setData(sheet.data());
    in.open(QIODevice::ReadOnly);
    QVERIFY(ReadStyleSheet(page, in));
    CalendarExtras expected = EveryExtra();
    expected.firstWeekday = 4;
    expected.weekPlannersFromFirstWeekday = false;
    QCOMPARE(page.Extras(), expected);
    QCOMPARE(page.FirstWeekday(), 4);

    // A sheet without a record takes the extras' look away.
    QBuffer again;
    again.setData(plainSheet.data());
    again.open(QIODevice::ReadOnly);
    QVERIFY(ReadStyleSheet(page, again));
    QCOMPARE(page.Extras().Look(), CalendarExtras());
    QCOMPARE(page.FirstWeekday(), 4);

    // A damaged record after the list loses only itself.
    QBuffer damaged;
    damaged.setData(plainSheet.data() + QByteArray("TPF0\x0fTCalendarExtras\x00\x05Moon", 30));
    damaged.open(QIODevice::ReadOnly);
    QVERIFY(ReadStyleSheet(page, damaged));
    QCOMPARE(page.Extras().Look(), CalendarExtras());
}

void TestCalendarFrame::commandLineFrameOptions()
{
    FrameOptions options;
    QVERIFY(FrameOptions::TakesValue(QStringLiteral("--week-start")));
    QVERIFY(FrameOptions::IsFlag(QStringLiteral("--moon")));
    QVERIFY(
        options.TakeValue(QStringLiteral("--week-start"), QStringLiteral("saturday")).isEmpty());
    QVERIFY(options.TakeValue(QStringLiteral("--week-numbers"), QStringLiteral("iso")).isEmpty());
    QVERIFY(options.TakeValue(QStringLiteral("--weekend"), QStringLiteral("fri,sat")).isEmpty());
    QVERIFY(!options.TakeValue(QStringLiteral("--weekend"), QStringLiteral("fri,xyz")).isEmpty());
    QVERIFY(!options.TakeValue(QStringLiteral("--week-numbers"), QStringLiteral("x")).isEmpty());
    QVERIFY(!options.TakeValue(QStringLiteral("--week-start"), QStringLiteral("mo")).isEmpty());
    options.TakeFlag(QStringLiteral("--red-days"));
    options.TakeFlag(QStringLiteral("--moon"));
    options.TakeFlag(QStringLiteral("--day-of-year"));
    CalendarPage page;
    options.ApplyTo(page);
    CalendarExtras expected;
    expected.firstWeekday = 7;
    expected.weekPlannersFromFirstWeekday = true;
    expected.weekNumbers = WeekNumbering::Iso;
    expected.markWeekends = true;
    expected.weekendDays = WeekdayBit(6) | WeekdayBit(7);
    expected.redDays = true;
    expected.moonPhases = true;
    expected.dayCounters = true;
    QCOMPARE(page.Extras(), expected);
    QCOMPARE(page.FirstWeekday(), 7);
}

QTEST_MAIN(TestCalendarFrame)

#include "tst_calendarframe.moc"
