#include "core/graphics/emfwriter.h"
#include "core/graphics/metafileplayer.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTest>
#include <QtEndian>

#include <functional>
#include <map>

using namespace Dayloom;

namespace {

enum Record : quint32
{
    Header = 1,
    PolyBezierTo = 5,
    Eof = 14,
    SetWorldTransform = 35,
    SelectObject = 37,
    CreateBrush = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    BeginPath = 59,
    EndPath = 60,
    FillPath = 62,
    StrokeAndFillPath = 63,
    SelectClipPath = 67,
    StretchDIBits = 81,
    CreateFont = 82,
    TextOutW = 84,
    Polygon16 = 86,
    PolyBezierTo16 = 88,
    CreatePen = 95,
};

quint32 U32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// The file walked record by record, with everything a reader relies on
// checked on the way.
struct Walk
{
    QList<quint32> types;
    QList<QByteArray> records;
    QString failure;

    explicit Walk(const QByteArray &file)
    {
        qsizetype at = 0;
        std::map<quint32, int> live; // handle -> created and not deleted
        int created = 0;
        quint32 handleCount = 0;
        while (at + 8 <= file.size()) {
            const quint32 type = U32(file, at);
            const quint32 size = U32(file, at + 4);
            if (size < 8 || size % 4 || at + size > file.size()) {
                failure = QStringLiteral("bad size %1 at %2").arg(size).arg(at);
                return;
            }
            const QByteArray record = file.mid(at, size);
            types.append(type);
            records.append(record);
            if (type == Header)
                handleCount = U32(record, 56) & 0xffff;
            if (type == CreatePen || type == CreateBrush || type == CreateFont) {
                const quint32 handle = U32(record, 8);
                if (handle == 0 || handle >= handleCount || live.count(handle))
                    failure = QStringLiteral("handle %1 reused or out of range").arg(handle);
                live[handle] = 1;
                ++created;
            }
            if (type == SelectObject && !(U32(record, 8) & 0x80000000) &&
                !live.count(U32(record, 8)))
                failure = QStringLiteral("selected a handle that does not exist");
            if (type == DeleteObject && live.erase(U32(record, 8)) != 1)
                failure = QStringLiteral("deleted a handle that does not exist");
            at += size;
        }
        if (at != file.size())
            failure = QStringLiteral("%1 bytes after the last record").arg(file.size() - at);
        else if (!live.empty())
            failure = QStringLiteral("%1 handles never deleted").arg(live.size());
        else if (types.isEmpty() || types.first() != Header || types.last() != Eof)
            failure = QStringLiteral("not a header first and an end last");
        else if (U32(file, 48) != quint32(file.size()) || U32(file, 52) != quint32(types.size()))
            failure = QStringLiteral("the header's byte or record count is wrong");
        else if (U32(file, 40) != 0x464D4520)
            failure = QStringLiteral("no signature");
        Q_UNUSED(created);
    }

    QByteArray First(quint32 type) const
    {
        const qsizetype i = types.indexOf(type);
        return i < 0 ? QByteArray() : records[i];
    }
};

using Drawing = std::function<void(QPainter &)>;

QByteArray Record(const QSize &size, const Drawing &draw)
{
    EmfWriter writer(size);
    QPainter painter(&writer);
    draw(painter);
    painter.end();
    return writer.Bytes();
}

} // namespace

Q_DECLARE_METATYPE(Drawing)

class TestEmfWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headerDescribesThePage();
    void drawingsBecomeRecords_data();
    void drawingsBecomeRecords();
    void textKeepsItsCharacters();
    void svgConverts_data();
    void svgConverts();
    void playsBackAsDrawn();
};

void TestEmfWriter::headerDescribesThePage()
{
    const QByteArray file =
        Record(QSize(816, 1056), [](QPainter &p) { p.fillRect(QRectF(10, 20, 100, 50), Qt::red); });
    const Walk walk(file);
    QVERIFY2(walk.failure.isEmpty(), qPrintable(walk.failure));
    const QByteArray header = walk.records.first();
    // Bounds in page pixels (inclusive), the frame in 0.01 mm: 8.5 x 11 in.
    QCOMPARE(qint32(U32(header, 8)), 10);
    QCOMPARE(qint32(U32(header, 12)), 20);
    QCOMPARE(qint32(U32(header, 16)), 109);
    QCOMPARE(qint32(U32(header, 20)), 69);
    QCOMPARE(qint32(U32(header, 32)), 21590);
    QCOMPARE(qint32(U32(header, 36)), 27940);
    // The reference device is 96 pixels per inch.
    QCOMPARE(U32(header, 72) * 254, U32(header, 80) * 96 * 10);
    QVERIFY(EmfWriter(QSize(10, 10)).Bytes().isEmpty());
}

void TestEmfWriter::drawingsBecomeRecords_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::addColumn<QList<quint32>>("expected");
    QTest::newRow("curved path stroked and filled") << Drawing([](QPainter &p) {
        QPainterPath path;
        path.moveTo(10, 10);
        path.cubicTo(50, 0, 90, 40, 60, 80);
        path.closeSubpath();
        p.setPen(QPen(Qt::darkGreen, 3));
        p.setBrush(Qt::yellow);
        p.drawPath(path);
    }) << QList<quint32>{CreatePen,      CreateBrush, BeginPath,
                         PolyBezierTo16, EndPath,     StrokeAndFillPath};
    QTest::newRow("far coordinates take 32-bit points") << Drawing([](QPainter &p) {
        QPainterPath path;
        path.moveTo(0, 0);
        path.cubicTo(3000, 0, 3000, 3000, 0, 3000);
        p.fillPath(path, Qt::blue);
    }) << QList<quint32>{BeginPath, PolyBezierTo, FillPath};
    QTest::newRow("polygon and ellipse") << Drawing([](QPainter &p) {
        p.setBrush(Qt::cyan);
        p.drawPolygon(QPolygonF({{0, 0}, {40, 0}, {20, 30}}));
        p.drawEllipse(QRectF(50, 50, 20, 10));
    }) << QList<quint32>{Polygon16, Ellipse};
    QTest::newRow("image") << Drawing([](QPainter &p) {
        QImage image(3, 2, QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        p.drawImage(QRectF(5, 5, 30, 20), image);
    }) << QList<quint32>{StretchDIBits};
    QTest::newRow("rotated text") << Drawing([](QPainter &p) {
        p.rotate(30);
        p.drawText(QPointF(20, 20), QStringLiteral("Turned"));
    }) << QList<quint32>{CreateFont, SetWorldTransform, TextOutW};
    QTest::newRow("clip") << Drawing([](QPainter &p) {
        p.setClipRect(QRectF(0, 0, 50, 50));
        p.fillRect(QRectF(0, 0, 100, 100), Qt::red);
    }) << QList<quint32>{SelectClipPath, Rectangle};
}

// Each kind of drawing is written as the records a reader plays, in a file
// whose sizes, counts and object handles agree.
void TestEmfWriter::drawingsBecomeRecords()
{
    QFETCH(Drawing, draw);
    QFETCH(QList<quint32>, expected);
    const Walk walk(Record(QSize(200, 200), draw));
    QVERIFY2(walk.failure.isEmpty(), qPrintable(walk.failure));
    qsizetype from = 0;
    for (quint32 type : expected) {
        const qsizetype at = walk.types.indexOf(type, from);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("record %1 missing").arg(type)));
        from = at + 1;
    }
}

void TestEmfWriter::textKeepsItsCharacters()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    const QString text = QStringLiteral("Holly 25");
    const Walk walk(Record(QSize(300, 100), [&](QPainter &p) {
        p.setFont(font);
        p.setPen(Qt::darkRed);
        p.drawText(QPointF(10, 50), text);
    }));
    QVERIFY2(walk.failure.isEmpty(), qPrintable(walk.failure));
    const QByteArray record = walk.First(TextOutW);
    QVERIFY(!record.isEmpty());
    const quint32 count = U32(record, 44);
    QCOMPARE(count, quint32(text.size()));
    const QString written = QString::fromUtf16(
        reinterpret_cast<const char16_t *>(record.constData() + U32(record, 48)), count);
    QCOMPARE(written, text);
    // Reference point and advances in 1/16 pixel.
    QCOMPARE(qint32(U32(record, 36)), 160);
    QCOMPARE(qint32(U32(record, 40)), 800);
    qint32 advance = 0;
    for (quint32 i = 0; i < count; ++i)
        advance += qint32(U32(record, U32(record, 72) + 4 * i));
    const double expected = QFontMetricsF(font).horizontalAdvance(text) * 16;
    QVERIFY2(std::abs(advance - expected) <= 16, qPrintable(QString::number(advance)));
    // The font's height is the pixel size, negative: a character height.
    QCOMPARE(qint32(U32(walk.First(CreateFont), 12)), -320);
}

void TestEmfWriter::svgConverts_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<int>("frameRight"); // 0.01 mm; 0 = refused
    QTest::newRow("sized") << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='200' "
                                         "height='100'><rect width='200' height='100' "
                                         "fill='url(#g)'/><defs><linearGradient id='g'><stop "
                                         "offset='0' stop-color='red'/><stop offset='1' "
                                         "stop-color='blue'/></linearGradient></defs></svg>")
                           << 5292;
    QTest::newRow("view box only")
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 96 48'>"
                      "<circle cx='24' cy='24' r='20' fill='green'/></svg>")
        << 2540;
    QTest::newRow("not svg") << QByteArray("<html>nothing</html>") << 0;
    QTest::newRow("absurd size") << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' "
                                               "width='9000000' height='10'/>")
                                 << 0;
}

void TestEmfWriter::svgConverts()
{
    QFETCH(QByteArray, svg);
    QFETCH(int, frameRight);
    QByteArray emf;
    QString error;
    const bool converted = ConvertSvgToEmf(svg, emf, &error);
    QCOMPARE(converted, frameRight != 0);
    if (!converted) {
        QVERIFY(!error.isEmpty());
        QVERIFY(emf.isEmpty());
        return;
    }
    const Walk walk(emf);
    QVERIFY2(walk.failure.isEmpty(), qPrintable(walk.failure));
    QCOMPARE(qint32(U32(emf, 32)), frameRight);
    QVERIFY(walk.types.contains(FillPath) || walk.types.contains(Ellipse));
}

// Written pictures play back as they were drawn once a metafile reader is
// there.
void TestEmfWriter::playsBackAsDrawn()
{
    const QByteArray file = Record(QSize(100, 100), [](QPainter &p) {
        p.fillRect(QRectF(0, 0, 50, 100), QColor(0, 128, 0));
        p.setBrush(Qt::blue);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(60, 10, 30, 30));
    });
    MetafilePlayer player;
    if (!player.Load(file, nullptr))
        QSKIP("metafiles cannot be read in this build");
    QCOMPARE(player.NaturalSize().toSize(), QSize(100, 100));
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    player.Play(painter, QRectF(0, 0, 200, 200));
    painter.end();
    QCOMPARE(image.pixel(50, 100), qRgb(0, 128, 0));
    QCOMPARE(image.pixel(150, 50), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(150, 150), qRgb(255, 255, 255));
}

QTEST_MAIN(TestEmfWriter)
#include "tst_emfwriter.moc"
