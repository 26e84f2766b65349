#include "core/calendar/calendarpage.h"
#include "core/recurring/datesinmonth.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/notedocument.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace Dayloom;

namespace {

QString entry(const QString &name, const QString &formula)
{
    return RecurringEntry::makeLine(name, formula);
}

FontSpec editorFont()
{
    FontSpec font(QStringLiteral("Courier New"), 11, false, TColor(0x00800000));
    font.SetItalic(true);
    return font;
}

void setMonth(CalendarPage &page, int month, int year, int startOfWeek = 1)
{
    page.SetMainCalYear(year);
    page.SetMainCalMonth(month);
    page.SetStartOfWeek(startOfWeek);
}

TWPRtfStorage noteWith(const QString &text, const FontSpec &font)
{
    NoteDocument note;
    note.InsertText(text, font);
    TWPRtfStorage storage;
    note.StoreTo(storage);
    return storage;
}

struct Paragraph
{
    QString text;
    FontSpec font;
};

QList<Paragraph> paragraphsOf(const TWPRtfStorage &storage)
{
    NoteDocument note;
    if (!note.Load(storage))
        return {};
    QList<Paragraph> paragraphs;
    const QTextDocument &doc = note.Document();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextCursor at(block);
        at.movePosition(QTextCursor::EndOfBlock);
        paragraphs.append(
            {block.text(), NoteDocument::FontFromFormat(at.charFormat(), doc.defaultFont())});
    }
    return paragraphs;
}

bool sameLookAndSize(const FontSpec &a, const FontSpec &b)
{
    return a.SameLook(b) && a.Size() == b.Size();
}

} // namespace

class TestRecurringPageFill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillIntoEmptyCell();
    void fillIntoCellWithText();
    void fillReusesTrailingEmptyParagraph();
    void nothingMatchesChangesNothing();
    void batchFillEqualsOneTextAtATime();
    void unreadableNoteIsLeftAlone();

    void monthGridCell_data();
    void monthGridCell();
    void cellsAgreeWithPaintedRecords_data();
    void cellsAgreeWithPaintedRecords();
    void plannerAndSheetCells_data();
    void plannerAndSheetCells();

    void fillFromFile();
};

void TestRecurringPageFill::fillIntoEmptyCell()
{
    CalendarPage page;
    setMonth(page, 12, 1999); // 1 December 1999 is a Wednesday: cell 4
    QSignalSpy repaints(&page, &CalendarPage::changed);
    QVERIFY(FillPageWithEntries(page, {entry("Christmas Day", "@1225")}, editorFont()));
    QCOMPARE(repaints.count(), 1);

    const QList<Paragraph> paragraphs = paragraphsOf(page.CellNote(28));
    QCOMPARE(paragraphs.size(), 1);
    QCOMPARE(paragraphs[0].text, QStringLiteral("Christmas Day"));
    QVERIFY(sameLookAndSize(paragraphs[0].font, editorFont()));

    // Two entries on one day: a paragraph each, both in the editor font.
    QVERIFY(FillPageWithEntries(page, {entry("Party", "@1225")}, editorFont()));
    const QList<Paragraph> twice = paragraphsOf(page.CellNote(28));
    QCOMPARE(twice.size(), 2);
    QCOMPARE(twice[1].text, QStringLiteral("Party"));
    QVERIFY(sameLookAndSize(twice[1].font, editorFont()));
}

void TestRecurringPageFill::fillIntoCellWithText()
{
    CalendarPage page;
    setMonth(page, 12, 1999);
    const FontSpec userFont(QStringLiteral("Times New Roman"), 14, true, clRed);
    page.SetCellNote(28, noteWith(QStringLiteral("Visit Anna"), userFont));

    QVERIFY(PuttextOnDay(page, 25, QStringLiteral("Christmas Day"), editorFont()));
    const QList<Paragraph> paragraphs = paragraphsOf(page.CellNote(28));
    QCOMPARE(paragraphs.size(), 2);
    QCOMPARE(paragraphs[0].text, QStringLiteral("Visit Anna"));
    QVERIFY(sameLookAndSize(paragraphs[0].font, userFont));
    QCOMPARE(paragraphs[1].text, QStringLiteral("Christmas Day"));
    // The text continues in the attributes at the end of the note.
    QVERIFY(sameLookAndSize(paragraphs[1].font, userFont));
}

void TestRecurringPageFill::fillReusesTrailingEmptyParagraph()
{
    CalendarPage page;
    setMonth(page, 12, 1999);
    NoteDocument note;
    note.InsertText(QStringLiteral("Visit Anna"), editorFont());
    note.NewParagraph();
    TWPRtfStorage storage;
    note.StoreTo(storage);
    page.SetCellNote(28, storage);

    QVERIFY(PuttextOnDay(page, 25, QStringLiteral("Christmas Day"), FontSpec()));
    const QList<Paragraph> paragraphs = paragraphsOf(page.CellNote(28));
    QCOMPARE(paragraphs.size(), 2);
    QCOMPARE(paragraphs[1].text, QStringLiteral("Christmas Day"));
}

void TestRecurringPageFill::nothingMatchesChangesNothing()
{
    CalendarPage page;
    setMonth(page, 2, 2011);
    page.SetCellNote(3, noteWith(QStringLiteral("Keep me"), editorFont()));
    const TWPRtfStorage before = page.CellNote(3);
    QSignalSpy repaints(&page, &CalendarPage::changed);

    // February has no 31st, Christmas is elsewhere, the third never reads.
    const QStringList entries = {entry("Never", "@0231"), entry("Christmas Day", "@1225"),
                                 entry("Broken", "@x1")};
    QVERIFY(!FillPageWithEntries(page, entries, editorFont()));
    QVERIFY(!FillPageWithEntries(page, {}, editorFont()));
    QCOMPARE(repaints.count(), 0);
    QCOMPARE(page.CellNote(3), before);
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
        if (cell != 3)
            QVERIFY(page.CellNote(cell).IsEmpty());
    }
}

void TestRecurringPageFill::batchFillEqualsOneTextAtATime()
{
    const QStringList entries = {entry("Gym", "%2"), entry("Payday", "$5 7 0"),
                                 entry("Gym again", "%24"), entry("Rent", "@0001")};
    CalendarPage batch;
    CalendarPage single;
    for (CalendarPage *page : {&batch, &single}) {
        setMonth(*page, 3, 2024, 2);
        page->SetCellNote(5, noteWith(QStringLiteral("Dentist"), FontSpec()));
    }
    QVERIFY(FillPageWithEntries(batch, entries, editorFont()));
    for (const QString &line : entries) {
        const RecurringEntry e(line);
        for (const int day : DatesInMonth(e.formula(), 2024, 3))
            QVERIFY(PuttextOnDay(single, day, e.fillText(), editorFont()));
    }
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        QCOMPARE(batch.CellNote(cell), single.CellNote(cell));
}

void TestRecurringPageFill::unreadableNoteIsLeftAlone()
{
    // An unreadable note used to be replaced by the filled text alone.
    CalendarPage page;
    setMonth(page, 12, 1999);
    TWPRtfStorage garbage;
    garbage.SetRtfText(QByteArrayLiteral("plain text, not RTF"));
    page.SetCellNote(28, garbage);
    QVERIFY(!NoteDocument().Load(garbage));
    QVERIFY(!PuttextOnDay(page, 25, QStringLiteral("Christmas Day"), editorFont()));
    QVERIFY(!FillPageWithEntries(page, {entry("Christmas Day", "@1225")}, editorFont()));
    QCOMPARE(page.CellNote(28), garbage);
}

void TestRecurringPageFill::monthGridCell_data()
{
    QTest::addColumn<int>("startOfWeek");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("cell");
    // January 2000 starts on a Saturday.
    QTest::newRow("sunday-first, 1st in last column") << 1 << 1 << 7;
    QTest::newRow("sunday-first, 2nd opens row 2") << 1 << 2 << 8;
    QTest::newRow("sunday-first, 31st in row 6") << 1 << 31 << 37;
    QTest::newRow("monday-first, 1st in column 6") << 2 << 1 << 6;
    QTest::newRow("monday-first, 3rd opens row 2") << 2 << 3 << 8;
    QTest::newRow("monday-first, 31st opens row 6") << 2 << 31 << 36;
    QTest::newRow("day 0") << 1 << 0 << -1;
    QTest::newRow("day 32") << 1 << 32 << -1;
}

void TestRecurringPageFill::monthGridCell()
{
    QFETCH(int, startOfWeek);
    QFETCH(int, day);
    QFETCH(int, cell);
    CalendarPage page;
    setMonth(page, 1, 2000, startOfWeek);
    QCOMPARE(FirstCellOfDay(page, day), cell);
    if (cell > 0) {
        QVERIFY(PuttextOnDay(page, day, QStringLiteral("x"), FontSpec()));
        QVERIFY(!page.CellNote(cell).IsEmpty());
    } else {
        QVERIFY(!PuttextOnDay(page, day, QStringLiteral("x"), FontSpec()));
    }
}

void TestRecurringPageFill::cellsAgreeWithPaintedRecords_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("startOfWeek");
    QTest::newRow("full month, sunday-first") << int(loFullCalendar) << 1;
    QTest::newRow("full month, monday-first") << int(loFullCalendar) << 2;
    QTest::newRow("minis in title, landscape") << int(loFCMinisInTitleLS) << 1;
    QTest::newRow("week planner") << int(loWeek) << 1;
    QTest::newRow("two-week planner") << int(lo2Week) << 2;
}

void TestRecurringPageFill::cellsAgreeWithPaintedRecords()
{
    QFETCH(int, layout);
    QFETCH(int, startOfWeek);
    CalendarPage page;
    page.SetCalendarLayout(TCalendarLayout(layout));
    setMonth(page, 1, 2000, startOfWeek);
    page.SetMainCalDay(10);
    QImage image(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
    QPainter painter(&image);
    const PageDrawing drawn = page.Draw(painter, 1.0f);
    for (int day = 1; day <= 31; ++day)
        QCOMPARE(FirstCellOfDay(page, day), drawn.CellOfDay(day));
}

void TestRecurringPageFill::plannerAndSheetCells_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("cell");
    // Two-week planner from 25 December 1997: rows 25-31 December, 1-7 January.
    QTest::newRow("first row") << int(lo2Week) << 25 << 1;
    QTest::newRow("last december row") << int(lo2Week) << 31 << 7;
    // December 1st used to land on the row of January 1st.
    QTest::newRow("day before the planner") << int(lo2Week) << 1 << -1;
    QTest::newRow("week planner, before its week") << int(loWeek) << 24 << -1;
    QTest::newRow("week planner, last row") << int(loWeek) << 31 << 7;
    QTest::newRow("day planner") << int(loDay10) << 25 << -1;
    QTest::newRow("mini sheet") << int(loMC12Month) << 25 << -1;
}

void TestRecurringPageFill::plannerAndSheetCells()
{
    QFETCH(int, layout);
    QFETCH(int, day);
    QFETCH(int, cell);
    CalendarPage page;
    page.SetCalendarLayout(TCalendarLayout(layout));
    setMonth(page, 12, 1997);
    page.SetMainCalDay(25);
    QCOMPARE(FirstCellOfDay(page, day), cell);
}

void TestRecurringPageFill::fillFromFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((entry("Christmas Day", "@1225") + "\r\n" + entry("Easter", "#EASTER") + "\r\n")
                       .toUtf8());
    }
    CalendarPage page;
    setMonth(page, 12, 1999);
    bool filled = false;
    QString error;
    QVERIFY(FillPageFromFiles(page, {path}, editorFont(), filled, &error));
    QVERIFY(filled);
    QCOMPARE(paragraphsOf(page.CellNote(28)).size(), 1);

    setMonth(page, 2, 1999);
    QVERIFY(FillPageFromFiles(page, {path}, editorFont(), filled, &error));
    QVERIFY(!filled);

    QVERIFY(!FillPageFromFiles(page, {dir.filePath(QStringLiteral("missing.DAX"))}, editorFont(),
                              filled, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TestRecurringPageFill)
#include "tst_recurringpagefill.moc"
