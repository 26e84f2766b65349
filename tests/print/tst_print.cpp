#include "core/calendar/calendarpage.h"
#include "core/export/pageexport.h"
#include "core/io/appfolders.h"
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/print/metafile.h"
#include "core/print/papercanvas.h"
#include "core/print/printengine.h"
#include "core/richtext/notedocument.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

namespace {

constexpr int PaperDpi = 192; // two device pixels per page pixel

QImage Paper(int dpi, double widthInch, double heightInch)
{
    QImage image(int(widthInch * dpi), int(heightInch * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// Rows between the first and the last one with ink.
int InkHeight(const QImage &image)
{
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

bool HasInk(const QImage &image, const TRect &r)
{
    for (int y = std::max(0, r.Top); y < std::min(image.height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(image.width(), r.Right); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}

const QRgb BorderRgb = qRgb(200, 30, 40);

// A design whose page has a border picture of one colour, read from a
// program folder of its own (the page sniffs the content, so a PNG serves
// under the border extension).
struct BorderedDesign
{
    QTemporaryDir dir;
    PageDocument document;

    BorderedDesign()
    {
        SetProgramFolder(dir.path());
        QDir(dir.path()).mkpath(QStringLiteral("Borders"));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(BorderRgb);
        picture.save(dir.filePath(QStringLiteral("Borders/Holly.wpo")), "PNG");
        document.Page().SetWMFBorderFile(QStringLiteral("Holly"));
    }
    ~BorderedDesign() { SetProgramFolder(QString()); }
};

TWPRtfStorage Note(const QString &text)
{
    NoteDocument note;
    note.InsertText(text);
    TWPRtfStorage store;
    note.StoreTo(store);
    return store;
}

// Records what reaches the device: texts with their font and baseline
// point, and filled rectangles with their colour (device pixels).
class RecordingEngine : public QPaintEngine
{
public:
    struct Text
    {
        QString text;
        QPointF baseline;
        QFont font;
        bool struckOut;
    };
    struct Fill
    {
        QRectF rect;
        QColor color;
    };
    QList<Text> texts;
    QList<Fill> fills;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; m_brush.style() != Qt::NoBrush && i < count; ++i)
            fills.append({m_transform.mapRect(rects[i]), m_brush.color()});
    }
    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            drawRects(std::array{QRectF(rects[i])}.data(), 1);
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        texts.append({item.text(), m_transform.map(p), item.font(),
                      (item.renderFlags() & QTextItem::StrikeOut) != 0});
    }
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawLines(const QLineF *, int) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
    }
    Type type() const override { return User; }

private:
    QBrush m_brush;
    QTransform m_transform;
};

class RecordingDevice : public QPaintDevice
{
public:
    mutable RecordingEngine engine;
    QPaintEngine *paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 12 * 300;
        case PdmHeight:
            return 12 * 300;
        case PdmWidthMM:
        case PdmHeightMM:
            return 305;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 300;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }
};

// Prints a page on the recording device and returns what it printed.
PageDrawing Record(const CalendarPage &page, RecordingDevice &device)
{
    QPainter painter(&device);
    PrintEngine engine(painter);
    return PrintCalendarPage(page, engine, 0, 0);
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void engineUnits_data();
    void engineUnits();
    void enginePlacesTextLines();
    void engineStartsNewPages();
    void metafileTextKeepsItsSize_data();
    void metafileTextKeepsItsSize();
    void paperAgainstScreen_data();
    void paperAgainstScreen();
    void offsetsMoveEverything();
    void borderPictureFollowsOffsets();
    void borderInPrintableRect_data();
    void borderInPrintableRect();
    void tooWideTitleLosesItsEnd_data();
    void tooWideTitleLosesItsEnd();
    void titleBand_data();
    void titleBand();
    void strikeOutNotPassedOn();
    void centredDayNumberAtCellTop();
    void pdfTextExtractable();
};

void TestPrint::engineUnits_data()
{
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<QRect>("oneByHalfAt1Inch");
    QTest::newRow("96 dpi") << 96 << 96 << QRect(96, 96, 96, 48);
    QTest::newRow("300 x 150 dpi") << 300 << 150 << QRect(300, 150, 300, 75);
}

void TestPrint::engineUnits()
{
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(QRect, oneByHalfAt1Inch);
    QImage image(10, 10, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    QPainter painter(&image);
    PrintEngine engine(painter);
    QCOMPARE(engine.XPixelsPerInch(), double(dpiX));
    QCOMPARE(engine.YPixelsPerInch(), double(dpiY));
    QCOMPARE(engine.DeviceRect(1, 1, 2, 1.5).toQRect(), oneByHalfAt1Inch);
    QCOMPARE(engine.XDevToInches(dpiX / 2), 0.5);
    QCOMPARE(engine.YDevToInches(dpiY * 3), 3.0);
    engine.SetFontSize(72);
    // A 72-point line is about an inch high (ascent + descent), whatever the
    // resolution.
    QVERIFY(engine.LineHeight() > 0.9 && engine.LineHeight() < 1.4);
}

void TestPrint::enginePlacesTextLines()
{
    RecordingDevice device;
    QPainter painter(&device);
    PrintEngine engine(painter);
    engine.SetFontSize(20);
    const QFontMetricsF metrics(engine.Font(), &device);
    const double width = metrics.horizontalAdvance(QStringLiteral("Line"));
    engine.SetLineTop(1.0);
    engine.PrintLeft(QStringLiteral("Line"), 1.0);
    engine.PrintCenter(QStringLiteral("Line"), 1.0);
    engine.SetLineBottom(2.0);
    engine.PrintRight(QStringLiteral("Line"), 1.0);
    const auto &texts = device.engine.texts;
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts[0].baseline, QPointF(300, 300 + metrics.ascent()));
    QCOMPARE(texts[1].baseline.x(), 300 - width / 2);
    QCOMPARE(texts[2].baseline, QPointF(300 - width, 600 - metrics.descent()));
}

void TestPrint::engineStartsNewPages()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.pdf"));
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        PrintEngine engine(painter);
        QVERIFY(engine.NewPage());
        QVERIFY(engine.NewPage());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("/Type /Page\n"), 3);

    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    PrintEngine engine(painter);
    QVERIFY(!engine.NewPage()); // an image has one page only
}

void TestPrint::metafileTextKeepsItsSize_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("pointSize");
    QTest::newRow("96 dpi, points") << 96 << true;
    QTest::newRow("192 dpi, points") << 192 << true;
    QTest::newRow("300 dpi, points") << 300 << true;
    QTest::newRow("300 dpi, pixels") << 300 << false;
}

void TestPrint::metafileTextKeepsItsSize()
{
    // Used to fail: a recording played straight onto a device of another
    // resolution printed its text dpi / 96 times too big.
    QFETCH(int, dpi);
    QFETCH(bool, pointSize);
    QFont font(QStringLiteral("Liberation Sans"));
    if (pointSize)
        font.setPointSize(30);
    else
        font.setPixelSize(40);
    const auto draw = [&](QPainter &painter) {
        painter.setFont(font);
        painter.drawText(QPointF(10, 60), QStringLiteral("EEEE"));
    };
    QImage screen = Paper(96, 2, 1);
    {
        QPainter painter(&screen);
        draw(painter);
    }
    Metafile metafile(Metafile::ToHundredthsMm(192), Metafile::ToHundredthsMm(96));
    {
        QPainter painter(metafile.Canvas());
        draw(painter);
    }
    QImage paper = Paper(dpi, 2, 1);
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        engine.StretchDraw(metafile.Picture(), engine.DeviceRect(0, 0, 2, 1));
    }
    const double expected = InkHeight(screen) * dpi / 96.0;
    QVERIFY2(std::abs(InkHeight(paper) - expected) <= expected * 0.1 + 1,
             qPrintable(QStringLiteral("%1 for %2").arg(InkHeight(paper)).arg(expected)));
}

void TestPrint::paperAgainstScreen_data()
{
    // Paper pixels a cell edge may lie from twice its screen position: the
    // weekday row (1.5 lines) and the planner title (1.6 lines) are
    // measured from the font's printed line height.
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("month grid") << int(loFullCalendar) << 14;
    QTest::newRow("month with minis") << int(loFC6Before6After) << 14;
    QTest::newRow("sheet of minis") << int(loMC12Month) << 14;
    QTest::newRow("week planner") << int(loWeek) << 48;
    QTest::newRow("day planner") << int(loDay10) << 48;
}

void TestPrint::paperAgainstScreen()
{
    QFETCH(int, layout);
    QFETCH(int, tolerance);
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetMainCalMonth(2);
    page.SetMainCalYear(2027);
    page.SetCalendarLayout(TCalendarLayout(layout));
    QImage screen(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
    screen.fill(Qt::white);
    PageDrawing before;
    {
        QPainter painter(&screen);
        before = page.Draw(painter, 1.0f);
    }

    QImage paper = Paper(PaperDpi, page.PageWidth() / 96.0, page.PageHeight() / 96.0);
    PageDrawing printed;
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        printed = PrintCalendarPage(page, engine, 0, 0);
    }
    // Cells where the screen predicts them, with the same days; a day
    // number inked in each day cell of a month grid.
    for (size_t i = 0; i < before.cells.size(); ++i) {
        const CellRecord &s = before.cells[i];
        const CellRecord &p = printed.cells[i];
        QCOMPARE(p.day, s.day);
        if (s.rTotal.IsZero())
            continue;
        QVERIFY2(std::abs(p.rTotal.Left - 2 * s.rTotal.Left) <= tolerance &&
                     std::abs(p.rTotal.Right - 2 * s.rTotal.Right) <= tolerance &&
                     std::abs(p.rTotal.Top - 2 * s.rTotal.Top) <= tolerance &&
                     std::abs(p.rTotal.Bottom - 2 * s.rTotal.Bottom) <= tolerance,
                 qPrintable(QStringLiteral("cell %1").arg(i + 1)));
        if (!page.IsPlanner())
            QCOMPARE(HasInk(paper, p.rTotal), s.day != 0);
        else // the row's label and date in the label column
            QVERIFY(HasInk(paper, {2 * page.MainRect().Left + 4, p.rTotal.Top, p.rTotal.Left - 8,
                                   p.rTotal.Bottom}));
    }
    for (int i = 1; i <= page.MiniCount(); ++i) {
        const TRect mini = page.MiniRect(i);
        QVERIFY(HasInk(paper, {2 * mini.Left, 2 * mini.Top, 2 * mini.Right, 2 * mini.Bottom}));
    }
    // Nothing outside the printable area.
    const TRect printable = page.PrintableRect();
    QVERIFY(!HasInk(paper, {0, 0, paper.width(), 2 * printable.Top - 2}));
    QVERIFY(!HasInk(paper, {0, 0, 2 * printable.Left - 2, paper.height()}));
}

void TestPrint::offsetsMoveEverything()
{
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    page.SetCalendarLayout(loFC6Before6After);
    page.SetCellNote(9, Note(QStringLiteral("Dentist")));
    document.PlaceObject(std::make_unique<TGFlatCalendar>(), QRect(20, 20, 160, 120));

    const auto print = [&](double x, double y) {
        QImage paper = Paper(96, page.PageWidth() / 96.0 + 1, page.PageHeight() / 96.0 + 1);
        QPainter painter(&paper);
        PrintEngine engine(painter);
        document.PrintPage(engine, x, y);
        return paper;
    };
    const QImage still = print(0, 0);
    const QImage moved = print(1, 0.5);
    QVERIFY(HasInk(still, {20, 20, 180, 140})); // the placed calendar
    const QImage back = moved.copy(96, 48, still.width(), still.height());
    int differing = 0;
    for (int y = 0; y < still.height() - 48; ++y)
        for (int x = 0; x < still.width() - 96; ++x)
            differing += (qGray(still.pixel(x, y)) < 160) != (qGray(back.pixel(x, y)) < 160);
    QVERIFY2(differing < still.width() * still.height() / 2000,
             qPrintable(QString::number(differing)));
    QVERIFY(!HasInk(moved, {0, 0, moved.width(), 48}));
    QVERIFY(!HasInk(moved, {0, 0, 96, moved.height()}));
}

void TestPrint::borderPictureFollowsOffsets()
{
    BorderedDesign design;
    const CalendarPage &page = design.document.Page();
    const TRect printable = page.PrintableRect();
    const auto print = [&](double x, double y) {
        QImage paper = Paper(96, 12, 12);
        QPainter painter(&paper);
        PrintEngine engine(painter);
        PrintCalendarPage(page, engine, x, y);
        return paper;
    };
    const QImage still = print(0, 0);
    const QImage moved = print(1, 0.5);
    QCOMPARE(still.pixel(printable.Left + 3, printable.Top + 3), BorderRgb);
    QCOMPARE(moved.pixel(printable.Left + 3 + 96, printable.Top + 3 + 48), BorderRgb);
    QCOMPARE(moved.pixel(printable.Right - 4 + 96, printable.Bottom - 4 + 48), BorderRgb);
    QCOMPARE(moved.pixel(printable.Left + 3, printable.Top + 3), qRgb(255, 255, 255));
}

void TestPrint::borderInPrintableRect_data()
{
    QTest::addColumn<QString>("output");
    QTest::newRow("screen") << QStringLiteral("screen");
    QTest::newRow("png export") << QStringLiteral("png");
    QTest::newRow("paper") << QStringLiteral("paper");
    QTest::newRow("pdf export") << QStringLiteral("pdf");
}

// The border picture used to reach neither the screen nor paper.
void TestPrint::borderInPrintableRect()
{
    QFETCH(QString, output);
    BorderedDesign design;
    const CalendarPage &page = design.document.Page();
    QImage image;
    if (output == QLatin1String("screen")) {
        image = RenderDocumentImage(design.document);
    } else if (output == QLatin1String("png")) {
        const QString path = design.dir.filePath(QStringLiteral("page.png"));
        QVERIFY(ExportDocumentPng(design.document, path, nullptr));
        image = QImage(path);
    } else if (output == QLatin1String("paper")) {
        image = Paper(96, page.PageWidth() / 96.0, page.PageHeight() / 96.0);
        QPainter painter(&image);
        PrintEngine engine(painter);
        PrintCalendarPage(page, engine, 0, 0);
    } else {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        const QString path = design.dir.filePath(QStringLiteral("page.pdf"));
        QVERIFY(ExportDocumentPdf(design.document, path, nullptr));
        QProcess process;
        process.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                 QStringLiteral("-singlefile"), path,
                                 design.dir.filePath(QStringLiteral("pdf"))});
        QVERIFY(process.waitForFinished(30000));
        image = QImage(design.dir.filePath(QStringLiteral("pdf.png")));
    }
    QCOMPARE(image.size(), QSize(page.PageWidth(), page.PageHeight()));
    image = image.convertToFormat(QImage::Format_RGB32);
    const TRect r = page.PrintableRect();
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b)) <
               24;
    };
    for (const QPoint inside : {QPoint(r.Left + 3, r.Top + 3), QPoint(r.Right - 4, r.Bottom - 4),
                                QPoint(r.Left + 20, (r.Top + r.Bottom) / 2)})
        QVERIFY2(near(image.pixel(inside), BorderRgb),
                 qPrintable(QStringLiteral("%1,%2").arg(inside.x()).arg(inside.y())));
    for (const QPoint outside : {QPoint(r.Left - 3, r.Top - 3), QPoint(r.Right + 2, r.Bottom + 2)})
        QVERIFY2(near(image.pixel(outside), qRgb(255, 255, 255)),
                 qPrintable(QStringLiteral("%1,%2").arg(outside.x()).arg(outside.y())));
}

void TestPrint::tooWideTitleLosesItsEnd_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("words") << QStringLiteral(
        "The family calendar of the house on the hill, all year");
    // Characters outside the first plane are never cut in half.
    QTest::newRow("pairs") << QString::fromUtf8("\U0001D11E").repeated(300);
    QTest::newRow("thousands of characters") << QStringLiteral("Harvest ").repeated(1000);
}

void TestPrint::tooWideTitleLosesItsEnd()
{
    QFETCH(QString, title);
    CalendarPage page;
    page.SetDefaultStyle();
    FontSpec big = page.TitleFont();
    big.SetSize(60);
    page.SetTitleFont(big);
    page.SetUserTitle(title);
    RecordingDevice device;
    const PageDrawing printed = Record(page, device);
    const auto &texts = device.engine.texts;
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const auto &t) {
        return !t.text.isEmpty() && title.startsWith(t.text);
    });
    QVERIFY(found != texts.end());
    QVERIFY(found->text.size() < title.size());
    QVERIFY(!found->text.back().isHighSurrogate());
    const QFontMetricsF metrics(found->font, &device);
    QVERIFY(metrics.horizontalAdvance(found->text) <=
            printed.titleRect.Right - printed.titleRect.Left + 1);
    const qsizetype next =
        found->text.size() + (title.at(found->text.size()).isHighSurrogate() ? 2 : 1);
    QVERIFY(metrics.horizontalAdvance(title.left(next)) >
            printed.titleRect.Right - printed.titleRect.Left + 1);
}

void TestPrint::titleBand_data()
{
    QTest::addColumn<TColor>("background");
    QTest::addColumn<bool>("filled");
    QTest::newRow("white band left unfilled") << clWhite << false;
    QTest::newRow("yellow band filled") << clYellow << true;
}

void TestPrint::titleBand()
{
    QFETCH(TColor, background);
    QFETCH(bool, filled);
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetTitleBGColor(background);
    RecordingDevice device;
    const PageDrawing printed = Record(page, device);
    const auto &fills = device.engine.fills;
    const bool bandFilled = std::any_of(fills.begin(), fills.end(), [&](const auto &f) {
        return qRound(f.rect.top()) == printed.titleRect.Top && f.color == ToQColor(background);
    });
    QCOMPARE(bandFilled, filled);
}

void TestPrint::strikeOutNotPassedOn()
{
    CalendarPage page;
    page.SetDefaultStyle();
    FontSpec font = page.TitleFont();
    font.SetStrikeOut(true);
    font.SetUnderline(true);
    page.SetTitleFont(font);
    page.SetUserTitle(QStringLiteral("Struck"));
    RecordingDevice device;
    Record(page, device);
    const auto &texts = device.engine.texts;
    const auto title = std::find_if(texts.begin(), texts.end(), [](const auto &t) {
        return t.text == QLatin1String("Struck");
    });
    QVERIFY(title != texts.end());
    QVERIFY(!title->font.strikeOut());
    QVERIFY(!title->struckOut);
    QVERIFY(title->font.underline()); // the other style flags are passed on
}

void TestPrint::centredDayNumberAtCellTop()
{
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetNumberPosition(cnpCenter);
    RecordingDevice device;
    const PageDrawing printed = Record(page, device);
    const int cell = std::find_if(printed.cells.begin(), printed.cells.end(),
                                  [](const CellRecord &c) { return c.day == 15; }) -
                     printed.cells.begin();
    const TRect r = printed.cells[cell].rTotal;
    const auto &texts = device.engine.texts;
    const auto number = std::find_if(texts.begin(), texts.end(),
                                     [](const auto &t) { return t.text == QLatin1String("15"); });
    QVERIFY(number != texts.end());
    const QFontMetricsF metrics(number->font, &device);
    QCOMPARE(qRound(number->baseline.y() - metrics.ascent()), r.Top);
    const double centre = number->baseline.x() + metrics.horizontalAdvance(number->text) / 2;
    QVERIFY(std::abs(centre - (r.Left + (r.Right - r.Left) / 2)) <= 1);
    QVERIFY(printed.cells[cell].rFree.IsEmpty());
}

void TestPrint::pdfTextExtractable()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetMainCalMonth(3);
    page.SetMonthName(3, QStringLiteral("March"));
    page.SetCellNote(10, Note(QStringLiteral("Dentist at nine")));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    {
        QPdfWriter writer(path);
        writer.setPageSize(
            QPageSize(QSizeF(page.PageWidth() / 96.0, page.PageHeight() / 96.0), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        PrintEngine engine(painter);
        PrintCalendarPage(page, engine, 0, 0);
    }
    QProcess process;
    process.start(pdftotext, {path, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("March")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Dentist at nine")), qPrintable(text)); // a note
    QVERIFY(text.contains(QStringLiteral("31")));
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
