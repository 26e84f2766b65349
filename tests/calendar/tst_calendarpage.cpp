#include "core/calendar/calendarpage.h"
#include "core/io/appfolders.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

Q_DECLARE_METATYPE(Dayloom::TRect)
Q_DECLARE_METATYPE(Dayloom::TCalendarLayout)

namespace {

// The standard area of a page: inside the margins (plus any border
// allowance), 2 pixels in from each side.
TRect StandardArea(const CalendarPage &page)
{
    const double border = page.WMFBorderFile().isEmpty() ? 0.0 : CalendarPage::BorderAllowance;
    auto px = [](float inches) { return int(CalendarPage::PPI * double(inches)); };
    auto eff = [border](float m) { return float(double(m) + border); };
    return {px(eff(page.LeftMarginInch())) + 2, px(eff(page.TopMarginInch())) + 2,
            page.PageWidth() - px(eff(page.RightMarginInch())) - 2,
            page.PageHeight() - px(eff(page.BottomMarginInch())) - 2};
}

bool Inside(const TRect &inner, const TRect &outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

bool Overlap(const TRect &a, const TRect &b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A border file: a small picture of one colour (the page sniffs the content,
// so a PNG serves under the border extensions).
QByteArray BorderBytes(QColor color)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(color);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

QRgb BorderColor(const CalendarPage &page)
{
    return page.BorderPicture().Image().pixel(0, 0);
}

} // namespace

class TestCalendarPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { SetProgramFolder(QString()); }

    void constructedPageHasDefaults();
    void dateRules_data();
    void dateRules();
    void cellDays_data();
    void cellDays();
    void headerColumns();
    void shiftMonth();
    void paperSizes_data();
    void paperSizes();
    void layoutZeroMainRect();
    void borderAddsAllowance();
    void missingBorderKeepsOldName();
    void borderFollowsOrientation();
    void unreadableBorderClearsName();
    void minisInTitle();
    void sixBeforeSixAfterAcrossYearEnd();
    void sixtyMonthSheet();
    void distributeRects();
    void plannersArePortrait();
    void miniFontReset_data();
    void miniFontReset();
    void minisInsideStandardArea_data();
    void minisInsideStandardArea();
    void names();
    void linePresets();
    void sameSettingsIgnoresSizeAndNumberPosition();
    void assignSettingsCopiesStyle();
    void setDefaultStyle();
    void settersSignalOnlyOnChange();
    void layoutKind();
};

void TestCalendarPage::constructedPageHasDefaults()
{
    CalendarPage page;
    QCOMPARE(page.MainCalMonth(), 1);
    QCOMPARE(page.MainCalYear(), 1997);
    QCOMPARE(page.CalendarOrientation(), coPortrait);
    QCOMPARE(page.PaperSize(), 0);
    QCOMPARE(page.PageWidth(), 816);
    QCOMPARE(page.PageHeight(), 1056);
    QCOMPARE(page.LeftMarginInch(), 0.25f);
    QCOMPARE(page.BottomMarginInch(), 0.25f);
    QCOMPARE(page.NumberPosition(), cnpUpperRight);
    QCOMPARE(page.TitleFont().Name(), QStringLiteral("Times New Roman"));
    QCOMPARE(page.TitleFont().Size(), 26);
    QVERIFY(page.TitleFont().Bold());
    QCOMPARE(page.MiniHeadersFont().Color(), clWhite);
    QCOMPARE(page.MiniHeadersFont().Size(), 8); // layout 0 does not reset mini fonts
    QCOMPARE(page.PlannerStartTime(), QTime(8, 0));
    QVERIFY(page.HasMainCalendar());
    QVERIFY(!page.HasMiniCalendars());
    QVERIFY(!page.IsPlanner());
    QCOMPARE(page.MonthName(1), QLocale::system().monthName(1, QLocale::LongFormat));
    QCOMPARE(page.DayName(1), QLocale::system().dayName(7, QLocale::LongFormat));
}

void TestCalendarPage::dateRules_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("firstSundayWeek");
    QTest::addColumn<int>("firstMondayWeek");
    QTest::newRow("february 2000 is leap") << 2 << 2000 << 29 << 3 << 2;
    QTest::newRow("february 1900 is not") << 2 << 1900 << 28 << 5 << 4;
    QTest::newRow("february 2024") << 2 << 2024 << 29 << 5 << 4;
    QTest::newRow("january 1997 on wednesday") << 1 << 1997 << 31 << 4 << 3;
    QTest::newRow("june 2026 on monday") << 6 << 2026 << 30 << 2 << 1;
    QTest::newRow("march 2026 on sunday") << 3 << 2026 << 31 << 1 << 7;
}

void TestCalendarPage::dateRules()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QFETCH(int, firstSundayWeek);
    QFETCH(int, firstMondayWeek);
    QCOMPARE(CalendarDates::DaysInMonth(month, year), days);
    QCOMPARE(CalendarDates::FirstColumn(month, year, 1), firstSundayWeek);
    // Any StartOfWeek other than 1 means Monday-first weeks.
    QCOMPARE(CalendarDates::FirstColumn(month, year, 2), firstMondayWeek);
    QCOMPARE(CalendarDates::FirstColumn(month, year, 7), firstMondayWeek);
}

void TestCalendarPage::cellDays_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("startOfWeek");
    QTest::addColumn<QList<int>>("firstRow");
    QTest::addColumn<QList<int>>("lastRow");
    // August 1998 has 31 days and starts on a Saturday.
    QTest::newRow("31 days from saturday")
        << 8 << 1998 << 1 << QList<int>{0, 0, 0, 0, 0, 0, 1} << QList<int>{30, 31, 0, 0, 0, 0, 0};
    QTest::newRow("same month monday first")
        << 8 << 1998 << 2 << QList<int>{0, 0, 0, 0, 0, 1, 2} << QList<int>{31, 0, 0, 0, 0, 0, 0};
    QTest::newRow("february 2015 fills four rows")
        << 2 << 2015 << 1 << QList<int>{1, 2, 3, 4, 5, 6, 7} << QList<int>{0, 0, 0, 0, 0, 0, 0};
}

void TestCalendarPage::cellDays()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, startOfWeek);
    QFETCH(QList<int>, firstRow);
    QFETCH(QList<int>, lastRow);
    const int first = CalendarDates::FirstColumn(month, year, startOfWeek);
    const int days = CalendarDates::DaysInMonth(month, year);
    for (int c = 0; c < 7; ++c) {
        QCOMPARE(CalendarDates::DayInCell(0, c, first, days), firstRow[c]);
        QCOMPARE(CalendarDates::DayInCell(5, c, first, days), lastRow[c]);
    }
}

void TestCalendarPage::headerColumns()
{
    for (int c = 0; c < 7; ++c)
        QCOMPARE(CalendarDates::HeaderDayIndex(c, 1), c + 1);
    const int mondayFirst[7] = {2, 3, 4, 5, 6, 7, 1};
    for (int c = 0; c < 7; ++c)
        QCOMPARE(CalendarDates::HeaderDayIndex(c, 2), mondayFirst[c]);
}

void TestCalendarPage::shiftMonth()
{
    QCOMPARE(CalendarPage::ShiftMonth(1, 1998, -1), (MonthYear{12, 1997}));
    QCOMPARE(CalendarPage::ShiftMonth(12, 1997, 1), (MonthYear{1, 1998}));
    QCOMPARE(CalendarPage::ShiftMonth(3, 2000, -27), (MonthYear{12, 1997}));
    QCOMPARE(CalendarPage::ShiftMonth(11, 1999, 59), (MonthYear{10, 2004}));
    QCOMPARE(CalendarPage::ShiftMonth(5, 2001, 0), (MonthYear{5, 2001}));
}

void TestCalendarPage::paperSizes_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<TCalendarLayout>("layout");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("letter portrait") << 0 << loFullCalendar << 816 << 1056;
    QTest::newRow("letter landscape") << 0 << LOFullCalendarLS << 1056 << 816;
    QTest::newRow("a4 portrait") << 1 << loFullCalendar << 793 << 1122;
    QTest::newRow("a4 landscape") << 1 << LOFullCalendarLS << 1122 << 793;
    QTest::newRow("any other paper value is a4") << 7 << loWeek << 793 << 1122;
}

void TestCalendarPage::paperSizes()
{
    QFETCH(int, paper);
    QFETCH(TCalendarLayout, layout);
    CalendarPage page;
    page.SetPaperSize(paper);
    page.SetCalendarLayout(layout);
    QFETCH(int, width);
    QFETCH(int, height);
    QCOMPARE(page.PageWidth(), width);
    QCOMPARE(page.PageHeight(), height);
}

void TestCalendarPage::layoutZeroMainRect()
{
    CalendarPage page;
    QCOMPARE(page.MainRect(), (TRect{26, 26, 790, 1030}));
    QCOMPARE(page.PrintableRect(), (TRect{24, 24, 792, 1032}));
}

void TestCalendarPage::borderAddsAllowance()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    WriteFile(dir.filePath("Borders/Holly.wpo"), BorderBytes(Qt::green));
    CalendarPage page;
    page.SetWMFBorderFile(QStringLiteral("Holly"));
    QCOMPARE(page.WMFBorderFile(), QStringLiteral("Holly"));
    QCOMPARE(BorderColor(page), QColor(Qt::green).rgb());
    QCOMPARE(page.MainRect(), (TRect{71, 71, 745, 985}));
    QCOMPARE(page.PrintableRect(), (TRect{24, 24, 792, 1032}));
    page.SetWMFBorderFile(QString());
    QCOMPARE(page.MainRect(), (TRect{26, 26, 790, 1030}));
}

void TestCalendarPage::missingBorderKeepsOldName()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    WriteFile(dir.filePath("Borders/Holly.wpo"), BorderBytes(Qt::green));
    CalendarPage page;
    page.SetWMFBorderFile(QStringLiteral("Holly"));
    page.SetWMFBorderFile(QStringLiteral("NoSuchBorder"));
    QCOMPARE(page.WMFBorderFile(), QStringLiteral("Holly"));
    QCOMPARE(BorderColor(page), QColor(Qt::green).rgb());
}

void TestCalendarPage::borderFollowsOrientation()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    WriteFile(dir.filePath("Borders/Stars.wpo"), BorderBytes(Qt::red));
    WriteFile(dir.filePath("Borders/Stars.wls"), BorderBytes(Qt::blue));
    CalendarPage page;
    page.SetWMFBorderFile(QStringLiteral("Stars"));
    QCOMPARE(BorderColor(page), QColor(Qt::red).rgb());
    page.SetCalendarLayout(LOFullCalendarLS);
    QCOMPARE(BorderColor(page), QColor(Qt::blue).rgb());
    QCOMPARE(CalendarPage::BorderFilePath("Stars", coLandscape),
             QDir(dir.path()).filePath("Borders/Stars.wls"));
}

// The border file's bytes used to be kept unread, so a damaged file kept
// its name and drew nothing.
void TestCalendarPage::unreadableBorderClearsName()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    WriteFile(dir.filePath("Borders/Holly.wpo"), BorderBytes(Qt::green));
    WriteFile(dir.filePath("Borders/Broken.wpo"), "not a picture at all");
    CalendarPage page;
    page.SetWMFBorderFile(QStringLiteral("Holly"));
    page.SetWMFBorderFile(QStringLiteral("Broken"));
    QVERIFY(page.WMFBorderFile().isEmpty());
    QCOMPARE(page.MainRect(), (TRect{26, 26, 790, 1030}));
}

void TestCalendarPage::minisInTitle()
{
    CalendarPage page;
    page.SetMainCalMonth(1);
    page.SetMainCalYear(1998);
    page.SetCalendarLayout(loFCMinisInTitleLS);
    QCOMPARE(page.CalendarOrientation(), coLandscape);
    QCOMPARE(page.MiniCount(), 2);
    const TRect main = page.MainRect();
    QCOMPARE(page.MiniRect(1),
             (TRect{main.Left + 12, main.Top + 12, main.Left + 132, main.Top + 132}));
    QCOMPARE(page.MiniRect(2),
             (TRect{main.Right - 132, main.Top + 12, main.Right - 12, main.Top + 132}));
    QCOMPARE(page.MiniRect(1).Width(), 120);
    QCOMPARE(page.MiniMonth(1), (MonthYear{12, 1997}));
    QCOMPARE(page.MiniMonth(2), (MonthYear{2, 1998}));
}

void TestCalendarPage::sixBeforeSixAfterAcrossYearEnd()
{
    CalendarPage page;
    page.SetMainCalMonth(1);
    page.SetMainCalYear(1998);
    page.SetCalendarLayout(loFC6Before6After);
    QCOMPARE(page.MiniCount(), 12);
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(page.MiniMonth(i), (MonthYear{6 + i, 1997}));
    for (int i = 7; i <= 12; ++i)
        QCOMPARE(page.MiniMonth(i), (MonthYear{i - 5, 1998}));
    // Top strip above the main calendar, bottom strip below it.
    QVERIFY(page.MiniRect(1).Bottom <= page.MainRect().Top);
    QVERIFY(page.MiniRect(7).Top >= page.MainRect().Bottom);
    QCOMPARE(page.MainRect().Top, int(96 * double(float(0.25 + 1.3))) + 2);
}

void TestCalendarPage::sixtyMonthSheet()
{
    CalendarPage page;
    page.SetMainCalMonth(11);
    page.SetMainCalYear(1999);
    page.SetCalendarLayout(loMC60MonthLS);
    QCOMPARE(page.MiniCount(), 60);
    QVERIFY(!page.HasMainCalendar());
    QVERIFY(page.HasMiniCalendars());
    QCOMPARE(page.MiniMonth(1), (MonthYear{11, 1999}));
    QCOMPARE(page.MiniMonth(3), (MonthYear{1, 2000}));
    QCOMPARE(page.MiniMonth(60), (MonthYear{10, 2004}));
    // Landscape 60 is 6 rows of 10: mini 11 starts the second row.
    QCOMPARE(page.MiniRect(11).Left, page.MiniRect(1).Left);
    QVERIFY(page.MiniRect(11).Top > page.MiniRect(1).Top);
    QCOMPARE(page.MiniRect(10).Right, StandardArea(page).Right);
    QCOMPARE(page.MiniRect(60).Bottom, StandardArea(page).Bottom);
}

void TestCalendarPage::distributeRects()
{
    PageLayout page;
    const TRect area{10, 20, 311, 220}; // 301 wide, 200 high
    page.DistributeRects(2, 3, 6, 1, area);
    QCOMPARE(page.MiniRect(1), (TRect{10, 20, 108, 119}));
    QCOMPARE(page.MiniRect(2).Left, 10 + 101);
    QCOMPARE(page.MiniRect(3).Left, 311 - 98);
    QCOMPARE(page.MiniRect(3).Right, 311);
    QCOMPARE(page.MiniRect(4).Top, 220 - 99);
    QCOMPARE(page.MiniRect(6).Bottom, 220);
    // Stops at the last index: slots past it keep their old rectangles.
    const TRect before = page.MiniRect(5);
    page.DistributeRects(2, 3, 4, 1, TRect{0, 0, 600, 600});
    QCOMPARE(page.MiniRect(5), before);
}

void TestCalendarPage::plannersArePortrait()
{
    for (TCalendarLayout layout : {loWeek, lo2Week, loDay10, loDay15}) {
        CalendarPage page;
        page.SetCalendarLayout(LOFullCalendarLS);
        page.SetCalendarLayout(layout);
        QCOMPARE(page.CalendarOrientation(), coPortrait);
        QVERIFY(page.IsPlanner());
        QVERIFY(!page.HasMainCalendar());
        QCOMPARE(page.MainRect(), (TRect{26, 26, 790, 1030}));
    }
    CalendarPage page;
    page.SetCalendarLayout(loWeek);
    page.SetCalendarOrientation(coLandscape); // the layout decides
    QCOMPARE(page.CalendarOrientation(), coPortrait);
}

void TestCalendarPage::miniFontReset_data()
{
    QTest::addColumn<TCalendarLayout>("layout");
    QTest::addColumn<int>("title");
    QTest::addColumn<int>("small");
    QTest::newRow("minis in title") << loFCMinisInTitle << 10 << 8;
    QTest::newRow("6 month sheet") << lopMC6MonthLS << 18 << 14;
    QTest::newRow("24 month sheet") << loMC24Month << 12 << 9;
    QTest::newRow("60 month sheet") << loMC60Month << 8 << 6;
    QTest::newRow("planner keeps sizes") << loWeek << 6 << 8;
}

void TestCalendarPage::miniFontReset()
{
    QFETCH(TCalendarLayout, layout);
    QFETCH(int, title);
    QFETCH(int, small);
    CalendarPage page;
    page.SetCalendarLayout(layout);
    page.CalculateLayout(true);
    QCOMPARE(page.MiniTitleFont().Size(), title);
    QCOMPARE(page.MiniHeadersFont().Size(), small);
    if (layout != loWeek)
        QCOMPARE(page.MiniCellFont().Size(), small);
}

void TestCalendarPage::minisInsideStandardArea_data()
{
    QTest::addColumn<TCalendarLayout>("layout");
    QTest::addColumn<int>("paper");
    QTest::addColumn<float>("margin");
    for (int layout = 0; layout < CalendarLayoutCount; ++layout)
        for (int paper : {0, 1})
            for (float margin : {0.0f, 0.25f, 0.5f, 1.13f})
                QTest::addRow("layout %d paper %d margin %.2f", layout, paper, double(margin))
                    << TCalendarLayout(layout) << paper << margin;
}

void TestCalendarPage::minisInsideStandardArea()
{
    QFETCH(TCalendarLayout, layout);
    QFETCH(int, paper);
    QFETCH(float, margin);
    CalendarPage page;
    page.SetPaperSize(paper);
    page.SetLeftMarginInch(margin);
    page.SetTopMarginInch(margin);
    page.SetRightMarginInch(margin * 0.5f);
    page.SetBottomMarginInch(margin);
    page.SetCalendarLayout(layout);
    const TRect standard = StandardArea(page);
    if (page.HasMainCalendar() || page.IsPlanner())
        QVERIFY(Inside(page.MainRect(), standard));
    if (!page.HasMiniCalendars())
        return;
    for (int i = 1; i <= page.MiniCount(); ++i) {
        const TRect mini = page.MiniRect(i);
        QVERIFY2(!mini.IsEmpty(), qPrintable(QString("mini %1 empty").arg(i)));
        QVERIFY2(Inside(mini, standard), qPrintable(QString("mini %1 outside").arg(i)));
        for (int j = 1; j < i; ++j)
            QVERIFY2(!Overlap(mini, page.MiniRect(j)),
                     qPrintable(QString("minis %1 and %2 overlap").arg(j).arg(i)));
        // Month grids with minis beside them: the minis stay off the grid,
        // except the two that sit in the title band.
        if (page.HasMainCalendar() && page.MiniCount() > 2)
            QVERIFY(!Overlap(mini, page.MainRect()));
    }
}

void TestCalendarPage::names()
{
    CalendarPage page;
    page.SetMonthName(1, QStringLiteral("Januar"));
    page.SetMonthName(0, QStringLiteral("ignored"));
    page.SetMonthName(13, QStringLiteral("ignored"));
    page.SetDayName(7, QStringLiteral("Samstag"));
    page.SetDayName(8, QStringLiteral("ignored"));
    QCOMPARE(page.MonthName(1), QStringLiteral("Januar"));
    QCOMPARE(page.DayName(7), QStringLiteral("Samstag"));
    QVERIFY(page.MonthName(0).isEmpty());
    QVERIFY(page.MonthName(13).isEmpty());
    QVERIFY(page.DayName(0).isEmpty());
}

void TestCalendarPage::linePresets()
{
    CalendarPage page;
    page.SetCalendarLineLayout(llCellsOnly);
    QCOMPARE(page.CalendarBorder(), cbNone);
    QCOMPARE(page.HeadersBorder(), cbNone);
    QCOMPARE(page.CellBorder(), cbAll);
    page.SetCellBorder(cbTop); // individually settable afterwards
    QCOMPARE(page.CellBorder(), cbTop);
    page.SetMiniCalendarLineLayout(mllBoxed);
    QCOMPARE(page.MiniCalBorder(), cbAll);
    QCOMPARE(page.MiniCellBorder(), cbNone);
    QCOMPARE(page.MiniHeadersBorder(), cbTopBottom);
    page.SetMiniCalendarLineLayout(mllMinimal);
    QCOMPARE(page.MiniCalBorder(), cbNone);
    QCOMPARE(page.MiniHeadersBorder(), cbTop);
}

void TestCalendarPage::sameSettingsIgnoresSizeAndNumberPosition()
{
    CalendarPage a;
    CalendarPage b;
    QVERIFY(a.SameSettings(b));
    FontSpec bigger = b.TitleFont();
    bigger.SetSize(40);
    b.SetTitleFont(bigger);
    b.SetNumberPosition(cnpCenter);
    b.SetCellBorder(cbNone);
    QVERIFY(a.SameSettings(b));
    FontSpec italic = b.CellFont();
    italic.SetItalic(true);
    b.SetCellFont(italic);
    QVERIFY(!a.SameSettings(b));
    CalendarPage c;
    c.SetDayName(3, c.DayName(3).toUpper());
    QVERIFY(!a.SameSettings(c));
}

void TestCalendarPage::assignSettingsCopiesStyle()
{
    CalendarPage source;
    source.SetPaperSize(1);
    source.SetCalendarLayout(loMC12MonthLS);
    source.SetMainCalMonth(7);
    source.SetStartOfWeek(2);
    source.SetMonthName(7, QStringLiteral("Juli"));
    source.SetTitleBGColor(clYellow);
    source.SetCalendarLineLayout(llHeadersAndCells);
    source.SetUserTitle(QStringLiteral("Summer"));
    source.SetTopMarginInch(0.75f);
    source.SetNumberPosition(cnpCenter);

    CalendarPage target;
    target.AssignSettings(source);
    QVERIFY(target.SameSettings(source));
    QCOMPARE(target.PageWidth(), 1122);
    QCOMPARE(target.MiniCount(), 12);
    QCOMPARE(target.CalendarBorder(), cbNone);
    QCOMPARE(target.NumberPosition(), cnpUpperRight); // not copied
}

void TestCalendarPage::setDefaultStyle()
{
    CalendarPage page;
    page.SetCalendarLayout(loWeek);
    page.SetUserTitle(QStringLiteral("Mine"));
    page.SetStartOfWeek(2);
    page.SetHeadersStyle(dsWhole);
    page.SetDefaultStyle();
    const QDate today = QDate::currentDate();
    QCOMPARE(page.CalendarLayout(), loFCMinisInTitleLS);
    QCOMPARE(page.CalendarOrientation(), coLandscape);
    QCOMPARE(page.MainCalMonth(), today.month());
    QCOMPARE(page.MainCalYear(), today.year());
    QCOMPARE(page.MainCalDay(), today.day());
    QCOMPARE(page.StartOfWeek(), 1);
    QVERIFY(page.UserTitle().isEmpty());
    QCOMPARE(page.TopMarginInch(), 0.5f);
    QCOMPARE(page.MiniCalendarLineLayout(), mllBoxed);
    QCOMPARE(page.MiniHeadersBorder(), cbTopBottom);
    QCOMPARE(page.MiniHeadersFont().Color(), clBlack);
    QCOMPARE(page.MiniTitleFont().Size(), 10);
    QCOMPARE(page.HeadersStyle(), dsWhole); // kept
    QCOMPARE(page.MainRect(), (TRect{50, 50, 1006, 766}));
}

void TestCalendarPage::settersSignalOnlyOnChange()
{
    CalendarPage page;
    QSignalSpy changed(&page, &CalendarPage::changed);
    QSignalSpy geometry(&page, &CalendarPage::geometryChanged);
    page.SetTitleBGColor(clWhite);
    page.SetMainCalMonth(1);
    page.SetLeftMarginInch(0.25f);
    QCOMPARE(changed.count(), 0);
    page.SetMainCalMonth(13); // out of range: ignored
    QCOMPARE(page.MainCalMonth(), 1);
    QCOMPARE(geometry.count(), 0);
    page.SetTitleBGColor(clRed);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(geometry.count(), 0);
    page.SetLeftMarginInch(1.0f);
    QCOMPARE(geometry.count(), 1);
    page.SetTitleFont(page.TitleFont()); // fonts always notify
    QCOMPARE(changed.count(), 3);
}

void TestCalendarPage::layoutKind()
{
    const int kinds[CalendarLayoutCount] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1,
                                            1, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5};
    for (int layout = 0; layout < CalendarLayoutCount; ++layout) {
        QCOMPARE(CalendarPage::LayoutKind(TCalendarLayout(layout)), kinds[layout]);
        CalendarPage page;
        page.SetCalendarLayout(TCalendarLayout(layout));
        QCOMPARE(page.HasDayCells(), kinds[layout] != 1);
    }
}

QTEST_GUILESS_MAIN(TestCalendarPage)
#include "tst_calendarpage.moc"
