// Exports of a whole design over several months: numbered files or one PDF.
#include "core/calendar/calendarpage.h"
#include "core/export/monthpages.h"
#include "core/surface/pagedocument.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

namespace {

constexpr int OwnCell = 10;

// A design on `layout` showing `own`, with a note in one cell.
void SetUp(PageDocument &document, TCalendarLayout layout, const QDate &own)
{
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    page.SetCalendarLayout(layout);
    page.CalculateLayout(true);
    page.SetMainCalDay(1);
    page.SetMainCalYear(own.year());
    page.SetMainCalMonth(own.month());
    page.SetMainCalDay(own.day());
    TWPRtfStorage note;
    note.SetRtfText("{\\rtf1 own}");
    page.SetCellNote(OwnCell, note);
}

MonthSpan Span(const QDate &from, const QDate &to)
{
    return MonthSpan{from.year(), from.month(), to.year(), to.month()};
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void monthPageStarts_data();
    void monthPageStarts();
    void monthFilesKeepTheNotesOnTheDesignsMonth();
    void monthFilesFailureRemovesWhatWasWritten();
    void monthsPdfHasAPagePerMonth();
    void monthsPdfFillFailureSaysWhy();
};

void TestExport::monthPageStarts_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QDate>("own");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("count");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::newRow("month pages of a year")
        << int(loFullCalendar) << QDate(2027, 3, 15) << QDate(2027, 1, 1) << QDate(2027, 12, 1)
        << 12 << QDate(2027, 1, 1) << QDate(2027, 12, 1);
    QTest::newRow("week planner in step with its own week")
        << int(loWeek) << QDate(2027, 1, 6) << QDate(2027, 1, 1) << QDate(2027, 1, 1) << 5
        << QDate(2026, 12, 30) << QDate(2027, 1, 27);
    QTest::newRow("week planner whose own week lies outside")
        << int(loWeek) << QDate(2026, 6, 1) << QDate(2027, 1, 1) << QDate(2027, 1, 1) << 5
        << QDate(2027, 1, 1) << QDate(2027, 1, 29);
    QTest::newRow("two-week planner")
        << int(lo2Week) << QDate(2026, 6, 1) << QDate(2027, 2, 1) << QDate(2027, 2, 1) << 2
        << QDate(2027, 2, 1) << QDate(2027, 2, 15);
    QTest::newRow("day planner") << int(loDay10) << QDate(2026, 6, 1) << QDate(2027, 2, 1)
                                 << QDate(2027, 2, 1) << 28 << QDate(2027, 2, 1)
                                 << QDate(2027, 2, 28);
}

void TestExport::monthPageStarts()
{
    QFETCH(int, layout);
    QFETCH(QDate, own);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, count);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    PageDocument document;
    SetUp(document, TCalendarLayout(layout), own);
    const MonthPages pages(document, Span(from, to), std::nullopt);
    QCOMPARE(pages.Starts().size(), count);
    QCOMPARE(pages.Starts().first(), first);
    QCOMPARE(pages.Starts().last(), last);
}

void TestExport::monthFilesKeepTheNotesOnTheDesignsMonth()
{
    QTemporaryDir dir;
    PageDocument document;
    SetUp(document, loFullCalendar, QDate(2027, 2, 10));
    MonthPages pages(document, Span(QDate(2027, 1, 1), QDate(2027, 3, 1)), std::nullopt);
    QStringList seen;
    const auto write = [&document, &seen](const QString &path, QString *) {
        const CalendarPage &page = document.Page();
        seen.append(QStringLiteral("%1 %2")
                        .arg(page.MainCalMonth())
                        .arg(page.CellNote(OwnCell).IsEmpty() ? "empty" : "own"));
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    QString error;
    QVERIFY2(pages.ExportFiles(dir.filePath("out.png"), write, &error), qPrintable(error));
    QCOMPARE(seen, QStringList({"1 empty", "2 own", "3 empty"}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList({"out-2027-01.png", "out-2027-02.png", "out-2027-03.png"}));
}

void TestExport::monthFilesFailureRemovesWhatWasWritten()
{
    QTemporaryDir dir;
    PageDocument document;
    SetUp(document, loWeek, QDate(2027, 1, 4));
    MonthPages pages(document, Span(QDate(2027, 1, 1), QDate(2027, 1, 1)), std::nullopt);
    int calls = 0;
    const auto write = [&calls](const QString &path, QString *error) {
        if (++calls == 3) {
            *error = QStringLiteral("disk full");
            return false;
        }
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    QString error;
    QVERIFY(!pages.ExportFiles(dir.filePath("week.svg"), write, &error));
    QCOMPARE(error, "cannot write " + dir.filePath("week-2027-01-11.svg") + ": disk full");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestExport::monthsPdfHasAPagePerMonth()
{
    QTemporaryDir dir;
    PageDocument document;
    SetUp(document, loFullCalendar, QDate(2027, 2, 10));
    MonthPages pages(document, Span(QDate(2027, 1, 1), QDate(2027, 4, 1)), std::nullopt);
    const QString path = dir.filePath("months.pdf");
    QString error;
    QVERIFY2(pages.ExportPdf(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(file.readAll());
    QCOMPARE(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 4);
}

void TestExport::monthsPdfFillFailureSaysWhy()
{
    QTemporaryDir dir;
    PageDocument document;
    SetUp(document, loFullCalendar, QDate(2027, 2, 10));
    const QString dates = dir.filePath("none.dax");
    MonthPages pages(document, Span(QDate(2027, 1, 1), QDate(2027, 4, 1)),
                     MonthPages::Fill{{dates}, FontSpec()});
    const QString path = dir.filePath("months.pdf");
    QString error;
    QVERIFY(!pages.ExportPdf(path, &error));
    // The recurring dates' own reason, not a failed write.
    QVERIFY2(error.contains("none.dax") && !error.startsWith("cannot write"), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
