#include "core/richtext/notedocument.h"
#include "core/richtext/noterenderer.h"
#include "core/richtext/twprtfstorage.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QTest>
#include <QTextDocument>

#include <memory>

using namespace Dayloom;

namespace {

const QSizeF PageSize(140, 90);
const QString LongText =
    QStringLiteral("The quick brown fox jumps over the lazy dog while the cat sleeps on the warm "
                   "windowsill next to the garden door");

TWPRtfStorage MakeNote(const QString &text, int points = 10)
{
    NoteDocument editor;
    editor.InsertText(text, FontSpec(QStringLiteral("Arial"), points));
    editor.NewParagraph();
    editor.InsertText(QStringLiteral("Second paragraph"), FontSpec(QStringLiteral("Arial"), 12));
    TWPRtfStorage note;
    editor.StoreTo(note);
    return note;
}

QImage Canvas(const QSize &size, qreal devicePixelRatio = 1.0)
{
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(QColor(190, 230, 190));
    return image;
}

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 128;
}

// The device-pixel box of all dark pixels; empty when there are none.
QRect InkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

enum class Target
{
    Screen,
    HighDensityScreen,
    Picture,
    Pdf
};

} // namespace

Q_DECLARE_METATYPE(Target)

class TestNoteRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineBreaksFollowThePageSize_data();
    void lineBreaksFollowThePageSize();
    void paintsBackgroundAndText_data();
    void paintsBackgroundAndText();
    void zoomScalesTheText_data();
    void zoomScalesTheText();
    void highDensityScreenKeepsItsResolution();
    void hugeNoteDrawsOnlyWhatShows();
    void printModeStaysInsideTheTarget();
    void cacheKeepsOnlyRecentNotes();
    void documentPaintsLikeItsNote();
};

void TestNoteRenderer::lineBreaksFollowThePageSize_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<double>("zoom");
    QTest::newRow("screen at 60 %") << Target::Screen << 0.6;
    QTest::newRow("screen at 50 %") << Target::Screen << 0.5;
    QTest::newRow("screen at 100 %") << Target::Screen << 1.0;
    QTest::newRow("high-density screen at 70 %") << Target::HighDensityScreen << 0.7;
    QTest::newRow("print onto a picture") << Target::Picture << 1.0;
    QTest::newRow("print onto a 1200 dpi PDF") << Target::Pdf << 1.0;
}

void TestNoteRenderer::lineBreaksFollowThePageSize()
{
    QFETCH(Target, target);
    QFETCH(double, zoom);
    const TWPRtfStorage note = MakeNote(LongText);

    NoteRenderer reference;
    reference.SetPageSize(PageSize);
    QImage referenceCanvas = Canvas(PageSize.toSize());
    QPainter referencePainter(&referenceCanvas);
    reference.Paint(referencePainter, QRectF(QPointF(), PageSize), note);
    const QList<NoteRenderer::LineRange> expected = reference.Lines(note);
    QVERIFY2(expected.size() >= 4, "the sample wraps onto several lines");

    // The sample is one whose breaks change when laid out at the zoomed width.
    if (zoom < 1) {
        QTextDocument naive;
        QVERIFY(note.LoadInto(naive));
        NoteRenderer::PrepareLayout(naive, PageSize.width() * zoom);
        QVERIFY(NoteRenderer::Lines(naive) != expected);
    }

    NoteRenderer renderer;
    renderer.SetPageSize(PageSize);
    renderer.SetZoom(zoom);
    const QRectF rect(QPointF(5, 5), PageSize * zoom);
    switch (target) {
    case Target::Screen:
    case Target::HighDensityScreen: {
        QImage canvas = Canvas(QSize(200, 120), target == Target::Screen ? 1.0 : 2.0);
        QPainter painter(&canvas);
        renderer.Paint(painter, rect, note);
        break;
    }
    case Target::Picture: {
        renderer.SetMode(NoteRenderer::Mode::Print);
        QPicture picture;
        QPainter painter(&picture);
        renderer.Paint(painter, QRectF(0, 0, 3000, 2000), note);
        break;
    }
    case Target::Pdf: {
        renderer.SetMode(NoteRenderer::Mode::Print);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(1200);
        QPainter painter(&pdf);
        renderer.Paint(painter, QRectF(600, 600, 2800, 1800), note);
        painter.end();
        QVERIFY(buffer.size() > 0);
        break;
    }
    }
    QCOMPARE(renderer.Lines(note), expected);
}

void TestNoteRenderer::paintsBackgroundAndText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("inkExpected");
    QTest::newRow("empty note paints only the background")
        << QString() << QColor(Qt::white) << false;
    QTest::newRow("note in a coloured cell") << LongText << QColor(255, 255, 200) << true;
    QTest::newRow("transparent background keeps what was there")
        << LongText << QColor(Qt::transparent) << true;
}

void TestNoteRenderer::paintsBackgroundAndText()
{
    QFETCH(QString, text);
    QFETCH(QColor, background);
    QFETCH(bool, inkExpected);
    const TWPRtfStorage note = text.isEmpty() ? TWPRtfStorage() : MakeNote(text);
    QImage canvas = Canvas(QSize(200, 140));
    const QColor underneath = canvas.pixelColor(0, 0);
    const QRect rect(20, 30, 140, 90);
    NoteRenderer renderer;
    renderer.SetPageSize(PageSize);
    renderer.SetBackground(background);
    {
        QPainter painter(&canvas);
        renderer.Paint(painter, rect, note);
    }
    const QColor expectedFill = background.alpha() == 0 ? underneath : background;
    QCOMPARE(canvas.pixelColor(rect.topLeft()), expectedFill);
    QCOMPARE(canvas.pixelColor(rect.bottomRight()), expectedFill);
    QCOMPARE(canvas.pixelColor(rect.left() - 1, rect.top()), underneath);
    QCOMPARE(canvas.pixelColor(rect.right() + 1, rect.bottom()), underneath);
    const QRect ink = InkBox(canvas);
    QCOMPARE(!ink.isEmpty(), inkExpected);
    QVERIFY(rect.contains(ink) || ink.isEmpty());
}

void TestNoteRenderer::zoomScalesTheText_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("60 %") << 0.6;
    QTest::newRow("50 %") << 0.5;
}

void TestNoteRenderer::zoomScalesTheText()
{
    QFETCH(double, zoom);
    const TWPRtfStorage note = MakeNote(QStringLiteral("MMMM MMMM"), 14);
    NoteRenderer renderer;
    renderer.SetPageSize(PageSize);
    QImage full = Canvas(PageSize.toSize());
    QImage zoomed = Canvas(PageSize.toSize());
    {
        QPainter painter(&full);
        renderer.Paint(painter, QRectF(QPointF(), PageSize), note);
    }
    renderer.SetZoom(zoom);
    {
        QPainter painter(&zoomed);
        renderer.Paint(painter, QRectF(QPointF(), PageSize * zoom), note);
    }
    const double ratio = double(InkBox(zoomed).right()) / InkBox(full).right();
    QVERIFY2(qAbs(ratio - zoom) < 0.08, qPrintable(QString::number(ratio)));
}

void TestNoteRenderer::highDensityScreenKeepsItsResolution()
{
    // Painting into a 2x image used to be allowed to stretch a 1x scratch
    // image, which doubles every device row; sharp text has distinct rows.
    const TWPRtfStorage note = MakeNote(LongText);
    QImage canvas = Canvas(QSize(160, 100), 2.0);
    NoteRenderer renderer;
    renderer.SetPageSize(PageSize);
    {
        QPainter painter(&canvas);
        renderer.Paint(painter, QRectF(QPointF(10, 5), PageSize), note);
    }
    int distinctPairs = 0;
    for (int y = 10; y + 1 < 2 * 95; y += 2) {
        if (memcmp(canvas.constScanLine(y), canvas.constScanLine(y + 1),
                   size_t(canvas.bytesPerLine())) != 0)
            ++distinctPairs;
    }
    QVERIFY(distinctPairs > 10);
}

void TestNoteRenderer::hugeNoteDrawsOnlyWhatShows()
{
    // A rich text label 30000 pixels square made a 256 MB scratch picture at every paint.
    const TWPRtfStorage note = MakeNote(LongText);
    const QRectF target(QPointF(10, 5), QSizeF(30000, 30000));
    NoteRenderer renderer;
    renderer.SetPageSize(target.size());
    QImage screen = Canvas(QSize(200, 140));
    {
        QPainter painter(&screen);
        renderer.Paint(painter, target, note);
    }
    QVERIFY(renderer.ScratchSize().width() <= 200 && renderer.ScratchSize().height() <= 140);
    // The part shown sits where paper, drawn without a scratch picture, puts it.
    renderer.SetMode(NoteRenderer::Mode::Print);
    QImage paper = Canvas(QSize(200, 140));
    {
        QPainter painter(&paper);
        renderer.Paint(painter, target, note);
    }
    const QRect shown = InkBox(screen), printed = InkBox(paper);
    QVERIFY(!shown.isEmpty());
    QVERIFY2((shown.topLeft() - printed.topLeft()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("screen %1,%2 paper %3,%4")
                            .arg(shown.left())
                            .arg(shown.top())
                            .arg(printed.left())
                            .arg(printed.top())));
}

void TestNoteRenderer::printModeStaysInsideTheTarget()
{
    const TWPRtfStorage note = MakeNote(LongText);
    NoteRenderer renderer;
    renderer.SetPageSize(PageSize);
    renderer.SetMode(NoteRenderer::Mode::Print);
    renderer.SetBackground(Qt::transparent);
    QImage canvas = Canvas(QSize(400, 300));
    const QRect rect(50, 40, 280, 180); // twice the page size
    {
        QPainter painter(&canvas);
        renderer.Paint(painter, rect, note);
    }
    const QRect ink = InkBox(canvas);
    QVERIFY(!ink.isEmpty());
    QVERIFY(rect.contains(ink));
    // Text laid out for 140 pixels and printed twice as large reaches past
    // the first half of the target.
    QVERIFY(ink.right() > rect.left() + rect.width() / 2);
}

void TestNoteRenderer::cacheKeepsOnlyRecentNotes()
{
    NoteRenderer renderer(4);
    renderer.SetPageSize(PageSize);
    QImage canvas = Canvas(QSize(160, 100));
    QPainter painter(&canvas);
    const QRectF rect(0, 0, 140, 90);
    for (int i = 0; i < 3; ++i)
        renderer.Paint(painter, rect, MakeNote(QString::number(i)));
    QCOMPARE(renderer.CachedCount(), 3);
    renderer.Paint(painter, rect, MakeNote(QString::number(0)));
    renderer.Paint(painter, rect, TWPRtfStorage());
    QCOMPARE(renderer.CachedCount(), 3);
    for (int i = 3; i < 7; ++i)
        renderer.Paint(painter, rect, MakeNote(QString::number(i)));
    QCOMPARE(renderer.CachedCount(), 4);
    renderer.ClearCache();
    QCOMPARE(renderer.CachedCount(), 0);
}

void TestNoteRenderer::documentPaintsLikeItsNote()
{
    TWPRtfStorage note;
    note.SetRtfText(QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Icon {\\pict\\wbitmap0"
                               "\\picw2\\pich2\\wbmbitspixel24\\wbmwidthbytes6\\picwgoal300"
                               "\\pichgoal300 0000ff00ff00ff0000000000} after}"));
    QTextDocument doc;
    QVERIFY(note.LoadInto(doc));
    NoteRenderer renderer;
    renderer.SetPageSize(PageSize);
    renderer.SetZoom(0.8);
    QImage fromNote = Canvas(QSize(160, 100));
    QImage fromDocument = Canvas(QSize(160, 100));
    {
        QPainter painter(&fromNote);
        renderer.Paint(painter, QRectF(QPointF(4, 4), PageSize * 0.8), note);
    }
    {
        QPainter painter(&fromDocument);
        renderer.Paint(painter, QRectF(QPointF(4, 4), PageSize * 0.8), doc);
    }
    QVERIFY(!InkBox(fromNote).isEmpty());
    QCOMPARE(fromDocument, fromNote);
}

QTEST_MAIN(TestNoteRenderer)
#include "tst_noterenderer.moc"
