#include "core/graphics/metafileplayer.h"

#include "metafilebuilder.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

const QColor Red(255, 0, 0);
const QColor Green(0, 160, 0);
const QColor Blue(0, 0, 255);
const QColor White(255, 255, 255);

QByteArray Floats(std::initializer_list<float> values)
{
    QByteArray bytes;
    for (float v : values)
        PutFloat(bytes, v);
    return bytes;
}

QImage Quadrants()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, Red.rgb());
    image.setPixel(1, 0, Green.rgb());
    image.setPixel(0, 1, Blue.rgb());
    image.setPixel(1, 1, White.rgb());
    return image;
}

// A placeable file of 1000 units an inch: a red square top left, a blue
// square bottom right, a bitmap top right and text bottom left.
QByteArray PlaceableWmf()
{
    WmfBuilder wmf;
    wmf.Window(QRect(0, 0, 1000, 1000))
        .Record(0x0103, {8})
        .Brush(Red)
        .Rectangle(QRect(0, 0, 500, 500));
    wmf.Brush(Blue).Polygon({{600, 600}, {1000, 600}, {1000, 1000}, {600, 1000}});
    wmf.StretchDib(QRect(600, 0, 400, 400), Quadrants());
    wmf.Record(0x0102, {1}).Font(-150).TextOut(QPoint(20, 650), "HHH");
    return wmf.Bytes(QRect(0, 0, 1000, 1000), 1000);
}

// A bare file whose window is (100, 100) to (300, 300).
QByteArray BareWmf()
{
    WmfBuilder wmf;
    wmf.Window(QRect(100, 100, 200, 200)).Brush(Green).Rectangle(QRect(100, 100, 100, 100));
    return wmf.Bytes();
}

// Enhanced files on a frame of 100 mm, 1000 device pixels each way.
const QRect Frame(0, 0, 10000, 10000);

QByteArray Anisotropic()
{
    EmfBuilder emf;
    emf.Record(17, {8}).Record(9, {10, 10}).Record(11, {1000, 1000});
    emf.Brush(Red).Rectangle(QRect(5, 0, 5, 5));
    return emf.Bytes(Frame);
}

QByteArray Isotropic()
{
    EmfBuilder emf;
    emf.Record(17, {7}).Record(9, {10, 20}).Record(11, {1000, 1000});
    emf.Brush(Red).Rectangle(QRect(0, 0, 10, 20));
    return emf.Bytes(Frame);
}

QByteArray LoMetric()
{
    // Tenths of a millimetre, y up from the bottom left corner.
    EmfBuilder emf;
    emf.Record(17, {2}).Record(12, {0, 1000});
    emf.Brush(Red).Record(43, {0, 500, 500, 0});
    return emf.Bytes(Frame);
}

QByteArray PathTriangle()
{
    EmfBuilder emf;
    emf.Brush(Blue).Record(59, {}).Record(27, {0, 0}).Record(54, {1000, 0}).Record(54, {0, 1000});
    emf.Record(61, {}).Record(60, {}).Record(62, {0, 0, 0, 0});
    return emf.Bytes(Frame);
}

QByteArray NestedSquares(int fillMode)
{
    EmfBuilder emf;
    emf.Record(19, {fillMode}).Brush(Green);
    QByteArray points;
    for (QPoint p : {QPoint(0, 0), QPoint(1000, 0), QPoint(1000, 1000), QPoint(0, 1000),
                     QPoint(250, 250), QPoint(750, 250), QPoint(750, 750), QPoint(250, 750)}) {
        Put16(points, p.x());
        Put16(points, p.y());
    }
    emf.Record(91, {0, 0, 0, 0, 2, 8, 4, 4}, points);
    return emf.Bytes(Frame);
}

QByteArray SaveRestore()
{
    EmfBuilder emf;
    emf.Brush(Blue).Record(33, {}).Brush(Red).Record(33, {}).Brush(Green).Record(34, {-2});
    emf.Rectangle(QRect(0, 0, 1000, 1000));
    return emf.Bytes(Frame);
}

QByteArray WorldAndClip()
{
    EmfBuilder emf;
    emf.Record(35, {}, Floats({0.5f, 0, 0, 0.5f, 0, 0}));
    emf.Record(30, {0, 0, 2000, 1000}).Record(29, {0, 0, 200, 200});
    emf.Brush(Red).Rectangle(QRect(0, 0, 1000, 2000));
    return emf.Bytes(Frame);
}

QByteArray EmfBitmap()
{
    EmfBuilder emf;
    emf.StretchDiBits(QRect(0, 0, 1000, 1000), Quadrants());
    return emf.Bytes(Frame);
}

QByteArray Hatched(bool opaque)
{
    EmfBuilder emf;
    emf.Record(18, {opaque ? 2 : 1}).Record(25, {Rgb(Red)});
    emf.Record(38, {1, 5, 0, 0, 0}).Select(1); // null pen
    emf.Brush(Qt::black, 2, 4).Rectangle(QRect(0, 0, 1000, 1000));
    return emf.Bytes(Frame);
}

QByteArray EmfText(quint32 align, const QString &text = QStringLiteral("HHH"))
{
    EmfBuilder emf;
    emf.Record(18, {1}).Record(22, {align}).Font(-200).Text(QPoint(500, 500), text);
    return emf.Bytes(Frame);
}

// Everything above, for the robustness checks and the fuzz seeds.
QList<QPair<QString, QByteArray>> Samples()
{
    return {{"placeable.wmf", PlaceableWmf()},  {"bare.wmf", BareWmf()},
            {"anisotropic.emf", Anisotropic()}, {"lometric.emf", LoMetric()},
            {"path.emf", PathTriangle()},       {"polypolygon.emf", NestedSquares(2)},
            {"saverestore.emf", SaveRestore()}, {"worldclip.emf", WorldAndClip()},
            {"bitmap.emf", EmfBitmap()},        {"hatched.emf", Hatched(true)},
            {"text.emf", EmfText(6 | 24)}};
}

QImage Render(const QByteArray &bytes, QSize size = QSize(200, 200))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    MetafilePlayer player;
    QString error;
    if (!player.Load(bytes, &error))
        return QImage();
    QPainter painter(&image);
    player.Play(painter, QRectF(QPointF(0, 0), size));
    return image;
}

bool Near(QRgb a, const QColor &b)
{
    return std::abs(qRed(a) - b.red()) < 40 && std::abs(qGreen(a) - b.green()) < 40 &&
           std::abs(qBlue(a) - b.blue()) < 40;
}

int DarkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

} // namespace

class TestMetafilePlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void naturalSize_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("placeable box at its units an inch")
            << WmfBuilder().Bytes(QRect(0, 0, 2880, 1440), 1440) << QSizeF(192, 96);
        QTest::newRow("bare window at 1440 an inch") << BareWmf() << QSizeF(200 / 15.0, 200 / 15.0);
        QTest::newRow("enhanced frame")
            << EmfBuilder().Bytes(QRect(0, 0, 5080, 2540)) << QSizeF(192, 96);
    }
    void naturalSize()
    {
        QFETCH(QByteArray, file);
        QFETCH(QSizeF, size);
        MetafilePlayer player;
        QString error;
        QVERIFY2(player.Load(file, &error), qPrintable(error));
        QVERIFY(MetafilePlayer::LooksLikeMetafile(file));
        QCOMPARE(player.NaturalSize(), size);
    }

    void draws_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("color");
        const QByteArray placeable = PlaceableWmf();
        QTest::newRow("placeable rectangle") << placeable << QPoint(50, 50) << Red;
        QTest::newRow("placeable polygon") << placeable << QPoint(170, 170) << Blue;
        QTest::newRow("placeable bitmap top left") << placeable << QPoint(130, 10) << Red;
        QTest::newRow("placeable bitmap bottom left") << placeable << QPoint(130, 70) << Blue;
        QTest::newRow("placeable background") << placeable << QPoint(150, 110) << White;
        QTest::newRow("bare window inside") << BareWmf() << QPoint(50, 50) << Green;
        QTest::newRow("bare window outside") << BareWmf() << QPoint(150, 150) << White;
        QTest::newRow("anisotropic inside") << Anisotropic() << QPoint(150, 50) << Red;
        QTest::newRow("anisotropic outside") << Anisotropic() << QPoint(50, 50) << White;
        QTest::newRow("isotropic inside") << Isotropic() << QPoint(50, 150) << Red;
        QTest::newRow("isotropic outside") << Isotropic() << QPoint(150, 150) << White;
        QTest::newRow("lometric y up inside") << LoMetric() << QPoint(50, 150) << Red;
        QTest::newRow("lometric y up outside") << LoMetric() << QPoint(50, 50) << White;
        QTest::newRow("filled path") << PathTriangle() << QPoint(30, 30) << Blue;
        QTest::newRow("filled path outside") << PathTriangle() << QPoint(170, 170) << White;
        // An inner square of the same direction is a hole only when alternating.
        QTest::newRow("alternate hole") << NestedSquares(1) << QPoint(100, 100) << White;
        QTest::newRow("alternate ring") << NestedSquares(1) << QPoint(20, 20) << Green;
        QTest::newRow("winding no hole") << NestedSquares(2) << QPoint(100, 100) << Green;
        QTest::newRow("restore two levels back") << SaveRestore() << QPoint(100, 100) << Blue;
        QTest::newRow("world transform and clip") << WorldAndClip() << QPoint(60, 60) << Red;
        QTest::newRow("clipped by intersect") << WorldAndClip() << QPoint(60, 150) << White;
        QTest::newRow("world transform halves") << WorldAndClip() << QPoint(150, 60) << White;
        QTest::newRow("clipped by exclude") << WorldAndClip() << QPoint(10, 10) << White;
        QTest::newRow("bitmap red") << EmfBitmap() << QPoint(50, 50) << Red;
        QTest::newRow("bitmap green") << EmfBitmap() << QPoint(150, 50) << Green;
        QTest::newRow("bitmap blue") << EmfBitmap() << QPoint(50, 150) << Blue;
    }
    void draws()
    {
        QFETCH(QByteArray, file);
        QFETCH(QPoint, at);
        QFETCH(QColor, color);
        const QImage image = Render(file);
        QVERIFY(!image.isNull());
        QVERIFY2(Near(image.pixel(at), color),
                 qPrintable(QColor(image.pixel(at)).name() + " instead of " + color.name()));
    }

    void hatchedBrush_data()
    {
        QTest::addColumn<bool>("opaque");
        QTest::newRow("transparent gaps") << false;
        QTest::newRow("opaque gaps in the background colour") << true;
    }
    void hatchedBrush()
    {
        QFETCH(bool, opaque);
        const QImage image = Render(Hatched(opaque));
        QVERIFY(!image.isNull());
        const QRect inner(20, 20, 160, 160);
        int gaps = 0;
        int lines = 0;
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            for (int x = inner.left(); x <= inner.right(); ++x) {
                gaps += Near(image.pixel(x, y), opaque ? Red : White);
                lines += Near(image.pixel(x, y), Qt::black);
            }
        }
        const int all = inner.width() * inner.height();
        QVERIFY2(lines > all / 20 && lines < all * 6 / 10, qPrintable(QString::number(lines)));
        QCOMPARE(gaps + lines, all);
    }

    void textAlignment_data()
    {
        // Quadrants around the reference point: 1 top left, 2 top right,
        // 4 bottom left, 8 bottom right.
        QTest::addColumn<quint32>("align");
        QTest::addColumn<int>("inked");
        QTest::newRow("left top") << 0u << 8;
        QTest::newRow("right bottom") << quint32(2 | 8) << 1;
        QTest::newRow("center baseline") << quint32(6 | 24) << (1 | 2);
    }
    void textAlignment()
    {
        QFETCH(quint32, align);
        QFETCH(int, inked);
        const QImage image = Render(EmfText(align));
        QVERIFY(!image.isNull());
        const QRect quadrants[] = {QRect(0, 0, 97, 97), QRect(103, 0, 97, 97),
                                   QRect(0, 103, 97, 97), QRect(103, 103, 97, 97)};
        for (int i = 0; i < 4; ++i) {
            const int ink = DarkPixels(image, quadrants[i]);
            if (inked & (1 << i))
                QVERIFY2(ink > 100, qPrintable(QStringLiteral("quadrant %1 empty").arg(i)));
            else
                QVERIFY2(ink == 0, qPrintable(QStringLiteral("ink in quadrant %1").arg(i)));
        }
    }

    void wmfTextLeavesInk()
    {
        // Text at (20, 650) of 1000, 150 units high: (4, 130) to about (60, 160).
        const QImage image = Render(PlaceableWmf());
        QVERIFY(DarkPixels(image, QRect(4, 128, 80, 34)) > 100);
        QCOMPARE(DarkPixels(image, QRect(0, 105, 110, 20)), 0);
    }

    void playKeepsThePainter()
    {
        QImage image(50, 50, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setPen(Qt::cyan);
        painter.translate(3, 4);
        MetafilePlayer player;
        QVERIFY(player.Load(SaveRestore(), nullptr));
        player.Play(painter, QRectF(0, 0, 40, 40));
        QCOMPARE(painter.pen().color(), QColor(Qt::cyan));
        QCOMPARE(painter.transform(), QTransform::fromTranslate(3, 4));
        QVERIFY(!painter.hasClipping());
    }

    void damagedFilesAreHarmless_data()
    {
        QTest::addColumn<QByteArray>("file");
        for (const auto &[name, bytes] : Samples())
            QTest::newRow(qPrintable(name)) << bytes;
    }
    void damagedFilesAreHarmless()
    {
        QFETCH(QByteArray, file);
        // Every prefix, then seeded random byte changes.
        for (qsizetype length = 0; length < file.size(); ++length)
            Render(file.left(length), QSize(32, 32));
        QRandomGenerator random(20261207);
        for (int round = 0; round < 300; ++round) {
            QByteArray changed = file;
            const int flips = 1 + random.bounded(8);
            for (int i = 0; i < flips; ++i)
                changed[random.bounded(int(changed.size()))] = char(random.bounded(256));
            Render(changed, QSize(32, 32));
        }
    }

    void corpusReplays()
    {
        const QString folder = QStringLiteral(DAYLOOM_TEST_DATA "/corpus/metafile");
        if (qEnvironmentVariableIsSet("DAYLOOM_WRITE_METAFILE_CORPUS")) {
            for (const auto &[name, bytes] : Samples()) {
                QFile out(folder + '/' + name);
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(bytes);
            }
        }
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
        QVERIFY(files.size() >= Samples().size());
        for (const QFileInfo &info : files) {
            QFile in(info.filePath());
            QVERIFY(in.open(QIODevice::ReadOnly));
            Render(in.readAll(), QSize(64, 64));
        }
    }

    void pdfKeepsTextAsText()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("text.pdf"));
        {
            QPdfWriter writer(path);
            writer.setResolution(1200);
            QPainter painter(&writer);
            MetafilePlayer player;
            QVERIFY(player.Load(EmfText(0, QStringLiteral("Dayloom")), nullptr));
            player.Play(painter, QRectF(600, 600, 3000, 3000));
        }
        QProcess process;
        process.start(pdftotext, {path, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        QVERIFY2(process.readAllStandardOutput().contains("Dayloom"), "no text in the PDF");
    }
};

QTEST_MAIN(TestMetafilePlayer)
#include "tst_metafileplayer.moc"
