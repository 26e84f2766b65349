// Exports of a whole design: SVG against PNG, the PDF's information, and
// designs over several months (numbered files or one PDF).
#include "core/calendar/calendarpage.h"
#include "core/export/monthpages.h"
#include "core/export/pageexport.h"
#include "core/graphics/emfwriter.h"
#include "core/graphics/picture.h"
#include "core/objects/image/tgimage.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cmath>

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

// Colours averaged over blocks of Block x Block pixels: rasterisers
// disagree on the edges of lines and letters, never on whole areas.
constexpr int Block = 8;

struct BlockColours
{
    int columns = 0;
    QList<std::array<double, 3>> blocks; // red, green, blue, row by row
};

BlockColours AverageBlocks(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    BlockColours out;
    out.columns = image.width() / Block;
    const int rows = image.height() / Block;
    out.blocks.fill({0, 0, 0}, qsizetype(out.columns) * rows);
    for (int y = 0; y < rows * Block; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < out.columns * Block; ++x) {
            std::array<double, 3> &block = out.blocks[(y / Block) * out.columns + x / Block];
            block[0] += qRed(line[x]);
            block[1] += qGreen(line[x]);
            block[2] += qBlue(line[x]);
        }
    }
    for (std::array<double, 3> &block : out.blocks)
        for (double &channel : block)
            channel /= Block * Block;
    return out;
}

struct Agreement
{
    double meanDifference = 0; // colour levels, over all blocks
    double worstBlock = 0;     // the largest difference of one block
    double farBlocks = 0;      // the share of blocks more than 48 levels apart
};

// Per block the largest difference of one colour channel: a grey where a
// red and green texture belongs differs as much as black for white.
Agreement Compare(const QImage &a, const QImage &b)
{
    const BlockColours first = AverageBlocks(a);
    const BlockColours second = AverageBlocks(b);
    Agreement agreement;
    for (qsizetype i = 0; i < first.blocks.size(); ++i) {
        double difference = 0;
        for (int channel = 0; channel < 3; ++channel)
            difference = std::max(difference,
                                  std::abs(first.blocks[i][channel] - second.blocks[i][channel]));
        agreement.meanDifference += difference;
        agreement.worstBlock = std::max(agreement.worstBlock, difference);
        agreement.farBlocks += difference > 48 ? 1 : 0;
    }
    const qsizetype count = std::max<qsizetype>(1, first.blocks.size());
    agreement.meanDifference /= count;
    agreement.farBlocks /= count;
    return agreement;
}

// A note far longer than its cell: a black picture 1.5 inches square, then
// lines of text.
TWPRtfStorage LongNote()
{
    QImage square(144, 144, QImage::Format_RGB32);
    square.fill(Qt::black);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    square.save(&png, "PNG");
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs28 "
                     "{\\pict\\pngblip\\picw144\\pich144\\picwgoal2160\\pichgoal2160 " +
                     png.data().toHex() + "}\\par ";
    for (int line = 0; line < 30; ++line)
        rtf += "Long note line " + QByteArray::number(line) + "\\par ";
    rtf += "}";
    TWPRtfStorage note;
    note.SetRtfText(rtf);
    return note;
}

// Clip art whose metafile draws a large red square through a small clip
// rectangle, and a circle through a clip ellipse.
std::unique_ptr<TGImage> ClippedClipArt()
{
    EmfWriter writer(QSize(200, 200));
    if (!writer.paintEngine())
        return nullptr;
    {
        QPainter painter(&writer);
        painter.setClipRect(QRect(20, 20, 60, 60));
        painter.fillRect(QRect(0, 0, 200, 200), Qt::red);
        QPainterPath ellipse;
        ellipse.addEllipse(QRectF(100, 100, 80, 80));
        painter.setClipPath(ellipse);
        painter.fillRect(QRect(0, 0, 200, 200), Qt::blue);
    }
    const std::optional<Picture> picture =
        Picture::FromBytes(writer.Bytes(), QStringLiteral("clipped.emf"), nullptr);
    if (!picture)
        return nullptr;
    auto image = std::make_unique<TGImage>();
    image->SetStretch(true);
    image->SetPicture(*picture);
    return image;
}

// The text of a PDF string in its information dictionary, after `key`
// ("/Title"): a literal string of UTF-16 (with its byte order mark) or of
// single bytes.
QString PdfInfoString(const QByteArray &pdf, const QByteArray &key)
{
    qsizetype at = pdf.indexOf(key + " (");
    if (at < 0)
        at = pdf.indexOf(key + "(");
    if (at < 0)
        return QString();
    at = pdf.indexOf('(', at) + 1;
    QByteArray bytes;
    for (int depth = 0; at < pdf.size(); ++at) {
        char c = pdf[at];
        if (c == '\\' && at + 1 < pdf.size()) {
            c = pdf[++at];
            if (c >= '0' && c <= '7') {
                int value = 0;
                for (int digits = 0; digits < 3 && pdf[at] >= '0' && pdf[at] <= '7'; ++digits)
                    value = value * 8 + (pdf[at++] - '0');
                --at;
                c = char(value);
            } else if (c == 'n') {
                c = '\n';
            } else if (c == 'r') {
                c = '\r';
            }
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && depth-- == 0) {
            break;
        }
        bytes += c;
    }
    if (bytes.startsWith("\xfe\xff")) {
        QString text;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            text += QChar(ushort((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
        return text;
    }
    return QString::fromLatin1(bytes);
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
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void monthPageStarts_data();
    void monthPageStarts();
    void monthFilesKeepTheNotesOnTheDesignsMonth();
    void monthFilesFailureRemovesWhatWasWritten();
    void monthsPdfHasAPagePerMonth();
    void monthsPdfFillFailureSaysWhy();
    void svgAgreesWithPng_data();
    void svgAgreesWithPng();
    void pdfCarriesTitleAndCreator_data();
    void pdfCarriesTitleAndCreator();
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

void TestExport::svgAgreesWithPng_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("addition");
    QTest::newRow("gradient supertext") << "supertext-gradient.dlf"
                                        << "";
    QTest::newRow("texture supertext") << "supertext-texture.dlf"
                                       << "";
    QTest::newRow("note longer than its cell") << "notes-border.dlf"
                                               << "long note";
    QTest::newRow("metafile clip regions") << "notes-border.dlf"
                                           << "clipped clip art";
    QTest::newRow("every kind") << "everything.dlf"
                                << "";
}

// The SVG writer keeps no clipping: SuperText filled through a clip came out
// as a solid block twice the object's size, and notes, cell texts and
// metafiles relying on clips spilled over. librsvg renders the SVG
// independently of Qt; the PNG is the print path at the SVG's 96 per inch.
void TestExport::svgAgreesWithPng()
{
    QFETCH(QString, design);
    QFETCH(QString, addition);
    const QString renderer = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (renderer.isEmpty())
        QSKIP("rsvg-convert (librsvg2-bin) is not installed");
    PageDocument document;
    QString error;
    QVERIFY2(document.Open(QStringLiteral(DAYLOOM_DESIGN_CORPUS "/") + design, &error),
             qPrintable(error));
    if (addition == QLatin1String("long note")) {
        document.Page().SetCellNote(10, LongNote());
    } else if (addition == QLatin1String("clipped clip art")) {
        std::unique_ptr<TGImage> image = ClippedClipArt();
        if (!image)
            QSKIP("metafiles cannot be written in this build");
        QVERIFY(document.PlaceObject(std::move(image), QRect(300, 300, 200, 200)));
    }
    QTemporaryDir dir;
    const QString svg = dir.filePath(QStringLiteral("page.svg"));
    const QString rendered = dir.filePath(QStringLiteral("page.png"));
    QVERIFY2(ExportDocumentSvg(document, svg, &error), qPrintable(error));
    const QImage png = PrintDocumentImage(document, 96);
    QProcess rsvg;
    rsvg.start(renderer, {QStringLiteral("--background-color=white"), QStringLiteral("-w"),
                          QString::number(png.width()), QStringLiteral("-h"),
                          QString::number(png.height()), QStringLiteral("-o"), rendered, svg});
    QVERIFY(rsvg.waitForFinished(60000));
    QCOMPARE(rsvg.exitCode(), 0);
    const QImage fromSvg(rendered);
    QCOMPARE(fromSvg.size(), png.size());
    const Agreement agreement = Compare(fromSvg, png);
    qInfo("%s: mean %.2f, worst block %.1f, far blocks %.3f %%", qPrintable(design),
          agreement.meanDifference, agreement.worstBlock, agreement.farBlocks * 100);
    // Text is placed by each renderer's own shaping, a pixel apart here and
    // there; a spill or a solid block changes whole areas.
    QVERIFY2(agreement.meanDifference < 3.0, qPrintable(QString::number(agreement.meanDifference)));
    QVERIFY2(agreement.farBlocks < 0.001, qPrintable(QString::number(agreement.farBlocks)));
}

void TestExport::pdfCarriesTitleAndCreator_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("named design") << "Family (2027) \\ Plans"
                                  << "Family (2027) \\ Plans";
    QTest::newRow("non-latin name") << QString::fromUtf8("Kalender für Jürgen 日历")
                                    << QString::fromUtf8("Kalender für Jürgen 日历");
    QTest::newRow("never saved") << ""
                                 << "March 2027";
}

// Exported PDFs had no title, so viewers showed the file's name.
void TestExport::pdfCarriesTitleAndCreator()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    PageDocument document;
    SetUp(document, loFullCalendar, QDate(2027, 3, 4));
    document.SetDesignName(name);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY2(WriteDocumentPdf(document, 1, PreparePage(), pdf, &error), qPrintable(error));
    QCOMPARE(PdfInfoString(pdf.data(), "/Title"), title);
    QCOMPARE(PdfInfoString(pdf.data(), "/Creator"), QStringLiteral("Dayloom"));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
