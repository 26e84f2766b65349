#include "rastersamples.h"

#include "core/graphics/imagedecoder.h"
#include "core/graphics/picture.h"
#include "core/graphics/picturebudget.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QtTest>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

// A colour through a channel of the given bits and back, as readers spread
// 5- and 6-bit values over 0..255.
QRgb Quantize(QRgb c, int redBits, int greenBits, int blueBits)
{
    const auto q = [](int v, int bits) {
        return qRound(double(v >> (8 - bits)) * 255 / ((1 << bits) - 1));
    };
    return qRgba(q(qRed(c), redBits), q(qGreen(c), greenBits), q(qBlue(c), blueBits), qAlpha(c));
}

QImage Quantized(const QImage &image, int redBits, int greenBits, int blueBits)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, Quantize(out.pixel(x, y), redBits, greenBits, blueBits));
    return out;
}

QImage WithTable(QImage image, const QList<QRgb> &table)
{
    image.setColorTable(table);
    return image;
}

QList<QRgb> Greys()
{
    QList<QRgb> greys;
    for (int i = 0; i < 256; ++i)
        greys.append(qRgb(i, i, i));
    return greys;
}

bool Decode(const QByteArray &bytes, RasterFormat format, QImage &image, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodeRasterImage(buffer, format, image, error);
}

// The outcome every input must have: a 32-bit picture, or a reason.
void VerifyClean(bool ok, const QImage &image, const QString &error, const QString &what)
{
    if (ok)
        QVERIFY2(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32,
                 qPrintable(what));
    else
        QVERIFY2(!error.isEmpty() && !error.contains(QLatin1Char('\n')), qPrintable(what));
}

// A PNG header of the given size (the pixels need not follow).
QByteArray PngHeader(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR");
    chunk += QByteArray::fromHex("00000000000000000806000000");
    qToBigEndian(width, chunk.data() + 4);
    qToBigEndian(height, chunk.data() + 8);
    quint32 crc = 0xffffffff;
    for (char c : chunk) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    QByteArray out = QByteArray::fromHex("89504e470d0a1a0a0000000d") + chunk;
    out.append(4, 0);
    qToBigEndian(~crc, out.data() + out.size() - 4);
    return out;
}

} // namespace

class TestImageDecoders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodes_data();
    void decodes();
    void bitmapRunLength_data();
    void bitmapRunLength();
    void sniffsContent_data();
    void sniffsContent();
    void truncatedAndCorruptedFailCleanly_data();
    void truncatedAndCorruptedFailCleanly();
    void oversizeRefused_data();
    void oversizeRefused();
    void runLengthMustFillItsSize_data();
    void runLengthMustFillItsSize();
    void budgetBoundsPicturesTogether();
    void gifScreenIsClaimedBeforeDecoding();
    void pictureOverBudgetTellsWhy();
    void corpusReplays();
};

void TestImageDecoders::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<QImage>("expected");

    const QImage mono = IndexedSample(13, 5, 2);
    const QImage four = IndexedSample(10, 3, 4);
    const QImage sixteen = IndexedSample(11, 5, 16);
    const QImage many = IndexedSample(9, 6, 200);
    const QImage colour = TrueSample(10, 4, false);
    const QImage alpha = TrueSample(7, 5, true);
    const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
    QList<QRgb> greys;
    for (int i = 0; i < 200; ++i)
        greys.append(qRgb(255 - i, 255 - i, 255 - i));
    const QImage greyTable = WithTable(many, greys);
    const QImage blackWhite = WithTable(mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const int pcx = int(RasterFormat::Pcx), tga = int(RasterFormat::Targa);
    const int bmp = int(RasterFormat::Bmp), dib = int(RasterFormat::Dib);

    // Two-colour pictures used to be black and white whatever their header's colours.
    QTest::newRow("pcx 1 bit colours of its header") << MakePcx(mono, 1, 1, true) << pcx << mono;
    QTest::newRow("pcx 1 bit without colours")
        << MakePcx(WithTable(mono, {0, 0}), 1, 1, true) << pcx << blackWhite;
    QTest::newRow("pcx 4 planes of 1 bit") << MakePcx(sixteen, 1, 4, true) << pcx << sixteen;
    QTest::newRow("pcx 2 bits") << MakePcx(four, 2, 1, true) << pcx << four;
    QTest::newRow("pcx 4 bits") << MakePcx(sixteen, 4, 1, true) << pcx << sixteen;
    QTest::newRow("pcx 8 bits") << MakePcx(many, 8, 1, true) << pcx << many;
    QTest::newRow("pcx 8 bits without palette")
        << MakePcx(many, 8, 1, true).chopped(769) << pcx << WithTable(many, Greys());
    QTest::newRow("pcx 24 bits") << MakePcx(colour, 8, 3, true) << pcx << colour;
    QTest::newRow("pcx 24 bits plain") << MakePcx(colour, 8, 3, false) << pcx << colour;

    QTest::newRow("tga 1 mapped") << MakeTarga(many, 1, 8, 0) << tga << many;
    QTest::newRow("tga 9 mapped first entry 20 map 32 bits")
        << MakeTarga(many, 9, 8, 0x20, 32, 20) << tga << many;
    QTest::newRow("tga 9 mapped map 16 bits")
        << MakeTarga(sixteen, 9, 8, 0, 16, 3) << tga << Quantized(sixteen, 5, 5, 5);
    // Colour maps of 8-bit (grey) entries used to be refused.
    QTest::newRow("tga 1 mapped map 8 bits grey")
        << MakeTarga(greyTable, 1, 8, 0, 8) << tga << greyTable;
    QTest::newRow("tga 9 mapped map 8 bits grey first entry 5")
        << MakeTarga(greyTable, 9, 8, 0x20, 8, 5) << tga << greyTable;
    QTest::newRow("tga 2 15 bits")
        << MakeTarga(colour, 2, 15, 0) << tga << Quantized(colour, 5, 5, 5);
    QTest::newRow("tga 10 16 bits")
        << MakeTarga(colour, 10, 16, 0) << tga << Quantized(colour, 5, 5, 5);
    QTest::newRow("tga 2 24 bits bottom-left") << MakeTarga(colour, 2, 24, 0) << tga << colour;
    QTest::newRow("tga 2 24 bits top-left") << MakeTarga(colour, 2, 24, 0x20) << tga << colour;
    QTest::newRow("tga 10 24 bits bottom-right")
        << MakeTarga(colour, 10, 24, 0x10) << tga << colour;
    QTest::newRow("tga 10 24 bits top-right") << MakeTarga(colour, 10, 24, 0x30) << tga << colour;
    QTest::newRow("tga 2 32 bits alpha") << MakeTarga(alpha, 2, 32, 0x20) << tga << alpha;
    QTest::newRow("tga 10 32 bits alpha") << MakeTarga(alpha, 10, 32, 0) << tga << alpha;
    QTest::newRow("tga 3 grey") << MakeTarga(grey, 3, 8, 0) << tga << grey;
    QTest::newRow("tga 11 grey") << MakeTarga(grey, 11, 8, 0x20) << tga << grey;

    int start = 0;
    for (int bits : {1, 4, 8}) {
        const QImage source = bits == 1 ? mono : bits == 4 ? sixteen : many;
        const QByteArray packed = MakeDib(source, bits, 0, 40, false, &start);
        QTest::addRow("bmp %d bits", bits) << MakeBitmapFile(packed, start) << bmp << source;
    }
    QTest::newRow("bmp 16 bits") << MakeBitmapFile(MakeDib(colour, 16, 0, 40, false, &start), start)
                                 << bmp << Quantized(colour, 5, 5, 5);
    QTest::newRow("bmp 24 bits top-down")
        << MakeBitmapFile(MakeDib(colour, 24, 0, 40, true, &start), start) << bmp << colour;
    QTest::newRow("bmp 32 bits") << MakeBitmapFile(MakeDib(colour, 32, 0, 40, false, &start), start)
                                 << bmp << colour;
    QTest::newRow("dib 16 bits 5-6-5 fields")
        << MakeDib(colour, 16, 3) << dib << Quantized(colour, 5, 6, 5);
    QTest::newRow("dib 32 bits alpha fields v4") << MakeDib(alpha, 32, 3, 108) << dib << alpha;
    QTest::newRow("dib 32 bits alpha fields v5 top-down")
        << MakeDib(alpha, 32, 3, 124, true) << dib << alpha;
    // Plain 32-bit pixels carry no alpha, whatever their fourth byte holds.
    QTest::newRow("dib 32 bits plain") << MakeDib(colour, 32, 0) << dib << colour;
    QTest::newRow("dib core header") << MakeDib(sixteen, 4, 0, 12) << dib << sixteen;
    QByteArray pngDib = MakeDib(QImage(alpha.size(), QImage::Format_RGB32), 32, 0);
    pngDib.resize(40);
    pngDib[14] = 0; // no bits of its own: the pixels are a PNG stream
    pngDib[16] = 5;
    QTest::newRow("dib of a png stream") << pngDib + PngBytes(alpha) << dib << alpha;

    QImage masked = sixteen.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y)
        for (int x = 0; x < masked.width(); ++x)
            if (sixteen.pixelIndex(x, y) == 0)
                masked.setPixel(x, y, 0);
    const QImage big = TrueSample(12, 10, true);
    const int ico = int(RasterFormat::Icon);
    QTest::newRow("ico 8 bits with mask") << MakeIcon({MakeIconDib(sixteen, 8)}) << ico << masked;
    QTest::newRow("ico 32 bits alpha") << MakeIcon({MakeIconDib(alpha, 32)}) << ico << alpha;
    QTest::newRow("ico largest is png")
        << MakeIcon({MakeIconDib(sixteen, 8), PngBytes(big), MakeIconDib(alpha, 32)}) << ico << big;
}

void TestImageDecoders::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);
    QFETCH(QImage, expected);
    QImage image;
    QString error;
    QVERIFY2(Decode(bytes, RasterFormat(format), image, &error), qPrintable(error));
    QCOMPARE(image.size(), expected.size());
    QVERIFY(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
    const QImage want = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (image.pixel(x, y) != want.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(image.pixel(x, y), 8, 16)
                                     .arg(want.pixel(x, y), 8, 16)));
}

void TestImageDecoders::bitmapRunLength_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows"); // palette indices, top line first; "." skipped

    QTest::newRow("rle8 run, absolute, end of line, delta")
        << SampleNamed(QStringLiteral("rle8.bmp")) << QStringList{"..55..", "......", "111234"};
    QTest::newRow("rle4 run and padded absolute")
        << SampleNamed(QStringLiteral("rle4.bmp")) << QStringList{"12345.", "12121."};
    QTest::newRow("rle8 without end of bitmap")
        << MakeRleBitmap(3, 2, 1, QByteArray::fromHex("0307 0000 0202 0109"))
        << QStringList{"229", "777"};
    QTest::newRow("rle8 runs past the line are cut")
        << MakeRleBitmap(3, 2, 1, QByteArray::fromHex("ff04 0000 0003 0506070000 0001"))
        << QStringList{"567", "444"};
    QTest::newRow("rle4 delta off the bitmap ends it")
        << MakeRleBitmap(4, 2, 2, QByteArray::fromHex("0233 0002 0009 0455"))
        << QStringList{"....", "33.."};
}

void TestImageDecoders::bitmapRunLength()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    const QList<QRgb> palette = IndexedSample(1, 1, 16).colorTable();
    QImage image;
    QString error;
    QVERIFY2(Decode(bytes, RasterFormat::Rle, image, &error), qPrintable(error));
    QCOMPARE(image.height(), rows.size());
    for (int y = 0; y < rows.size(); ++y) {
        QCOMPARE(image.width(), rows[y].size());
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixel(x, y), rows[y][x] == QLatin1Char('.')
                                            ? qRgba(0, 0, 0, 0)
                                            : palette[rows[y].mid(x, 1).toInt(nullptr, 16)]);
    }
}

void TestImageDecoders::sniffsContent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("accepted");

    const QImage sixteen = IndexedSample(11, 5, 16);
    const int unknown = int(RasterFormat::Unknown);
    for (const SampleFile &file : SampleFiles())
        if (file.decoder != QLatin1String("targa"))
            QTest::addRow("%s", qPrintable(file.name)) << file.bytes << unknown << true;
    QTest::newRow("png named bmp") << PngBytes(sixteen) << int(RasterFormat::Bmp) << true;
    QTest::newRow("packed dib 40") << MakeDib(sixteen, 8) << unknown << true;
    QTest::newRow("packed dib 12") << MakeDib(sixteen, 8, 0, 12) << unknown << true;
    QTest::newRow("targa by suffix")
        << MakeTarga(sixteen, 1, 8, 0) << int(RasterFormat::Targa) << true;
    QTest::newRow("targa without suffix") << MakeTarga(sixteen, 1, 8, 0) << unknown << false;
    QTest::newRow("text") << QByteArray("hello, world") << unknown << false;
}

void TestImageDecoders::sniffsContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);
    QFETCH(bool, accepted);
    QImage image;
    QString error;
    const bool ok = Decode(bytes, RasterFormat(format), image, &error);
    QVERIFY2(ok == accepted, qPrintable(error));
    QCOMPARE(error.isEmpty(), accepted);
}

void TestImageDecoders::truncatedAndCorruptedFailCleanly_data()
{
    QTest::addColumn<QString>("decoder");
    QTest::addColumn<QByteArray>("bytes");
    for (const SampleFile &file : SampleFiles())
        QTest::addRow("%s", qPrintable(file.name)) << file.decoder << file.bytes;
}

void TestImageDecoders::truncatedAndCorruptedFailCleanly()
{
    QFETCH(QString, decoder);
    QFETCH(QByteArray, bytes);
    QImage image;
    QString error;
    QVERIFY2(DecodeAs(decoder, bytes, image, &error), qPrintable(error));
    for (int length = 0; length < bytes.size(); ++length) {
        image = QImage();
        error.clear();
        const bool ok = DecodeAs(decoder, bytes.left(length), image, &error);
        VerifyClean(ok, image, error, QStringLiteral("prefix of %1 bytes").arg(length));
    }
    for (int at = 0; at < bytes.size(); ++at) {
        for (const uchar value : {uchar(0x00), uchar(0xff), uchar(bytes[at] ^ 0x81)}) {
            QByteArray corrupted = bytes;
            corrupted[at] = char(value);
            image = QImage();
            error.clear();
            const bool ok = DecodeAs(decoder, corrupted, image, &error);
            VerifyClean(ok, image, error, QStringLiteral("byte %1 set to %2").arg(at).arg(value));
        }
    }
}

void TestImageDecoders::oversizeRefused_data()
{
    QTest::addColumn<QString>("decoder");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray pcx = MakePcx(IndexedSample(4, 4, 16), 8, 3, true);
    SetLe16(pcx, 8, 20000);
    SetLe16(pcx, 66, 20002);
    QTest::newRow("pcx wider than 16384") << "pcx" << pcx;
    SetLe16(pcx, 8, 16000);
    SetLe16(pcx, 10, 16000);
    QTest::newRow("pcx over 256 MiB") << "pcx" << pcx;
    SetLe16(pcx, 8, 8000);
    SetLe16(pcx, 10, 8000);
    QTest::newRow("pcx larger than its runs can fill") << "pcx" << pcx;

    QByteArray tga = MakeTarga(TrueSample(4, 4, false), 10, 24, 0);
    SetLe16(tga, 12, 16385);
    QTest::newRow("tga wider than 16384") << "targa" << tga;
    SetLe16(tga, 12, 8000);
    SetLe16(tga, 14, 8000);
    QTest::newRow("tga larger than its packets can fill") << "targa" << tga;

    QByteArray dib = MakeDib(TrueSample(4, 4, false), 32);
    dib.replace(4, 8, QByteArray::fromHex("a0860100 00000080")); // 100000 x INT_MIN
    QTest::newRow("dib 100000 wide and INT_MIN high") << "bitmap" << dib;
    dib.replace(4, 8, QByteArray::fromHex("00400000 00400000"));
    QTest::newRow("dib 16384 x 16384 at 4 bytes") << "bitmap" << dib;
    dib.replace(4, 8, QByteArray::fromHex("00200000 00200000"));
    QTest::newRow("dib larger than its pixels") << "bitmap" << dib;

    QTest::newRow("png 20000 x 20 header") << "raster" << PngHeader(20000, 20);
    QTest::newRow("png 16000 x 16000 header") << "raster" << PngHeader(16000, 16000);
    QTest::newRow("ico of a 30000-pixel png") << "raster" << MakeIcon({PngHeader(30000, 1)});
}

void TestImageDecoders::oversizeRefused()
{
    QFETCH(QString, decoder);
    QFETCH(QByteArray, bytes);
    QElapsedTimer timer;
    timer.start();
    QImage image;
    QString error;
    QVERIFY(!DecodeAs(decoder, bytes, image, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(image.isNull());
    QVERIFY(timer.elapsed() < 2000);
}

void TestImageDecoders::runLengthMustFillItsSize_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");

    // Used to be accepted and decoded into 256 MiB before a pixel was read.
    QTest::newRow("rle8 16384 x 4096 from 50 bytes")
        << MakeRleBitmap(16384, 4096, 1, EmptyRuns(50)) << false;
    QTest::newRow("rle8 2000 x 1000 ended after one line")
        << MakeRleBitmap(2000, 1000, 1,
                         QByteArray::fromHex("ff01").repeated(7) +
                             QByteArray::fromHex("d701 0000 0001"))
        << false;
    QTest::newRow("rle8 2000 x 100 filled by full runs")
        << MakeRleBitmap(2000, 100, 1,
                         (QByteArray::fromHex("ff01").repeated(7) + QByteArray::fromHex("d7010000"))
                             .repeated(100))
        << true;
    QTest::newRow("rle8 256 x 256 left empty by a jump")
        << MakeRleBitmap(256, 256, 1, QByteArray::fromHex("0101 0002 ffff 0001")) << true;
}

void TestImageDecoders::runLengthMustFillItsSize()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    QImage image;
    QString error;
    QCOMPARE(Decode(bytes, RasterFormat::Rle, image, &error), accepted);
    if (accepted)
        QCOMPARE(image.pixel(0, image.height() - 1), IndexedSample(1, 1, 16).colorTable()[1]);
    else
        QVERIFY2(error.contains(QLatin1String("run-length")), qPrintable(error));
}

void TestImageDecoders::budgetBoundsPicturesTogether()
{
    QCOMPARE(PictureBudget::Available(), qint64(-1));
    const QByteArray png = PngBytes(TrueSample(500, 500, false)); // a million bytes decoded
    PictureBudget outer(2500000);
    const PictureBudget::Scope scope(outer);
    QImage image;
    QString error;
    QVERIFY2(Decode(png, RasterFormat::Png, image, &error), qPrintable(error));
    {
        // A budget inside draws from the one around it too.
        PictureBudget inner(100000000);
        const PictureBudget::Scope innerScope(inner);
        QVERIFY2(Decode(png, RasterFormat::Png, image, &error), qPrintable(error));
        QVERIFY(!Decode(png, RasterFormat::Png, image, &error));
        QCOMPARE(inner.Spent(), qint64(1000000));
        QCOMPARE(inner.FirstRefusal(), error);
    }
    QCOMPARE(outer.Spent(), qint64(2000000));
    QCOMPARE(outer.Refusals(), 1);
    QCOMPARE(PictureBudget::Available(), qint64(500000));
}

void TestImageDecoders::gifScreenIsClaimedBeforeDecoding()
{
    // The plugin may tell a size smaller than the screen it allocates (for
    // these, the screen's width and the image's height): a 30-byte file
    // claiming 522 x 65357 cost 136 MB before the size was checked.
    PictureBudget budget(1024 * 1024);
    const PictureBudget::Scope scope(budget);
    QImage image;
    QString error;
    QVERIFY(!Decode(GifScreen(100, 5000), RasterFormat::Gif, image, &error));
    QVERIFY2(error.contains(QLatin1String("100 x 5000")), qPrintable(error));
    QCOMPARE(budget.Spent(), qint64(0));
    QVERIFY2(Decode(GifScreen(20, 20), RasterFormat::Gif, image, &error), qPrintable(error));
    QCOMPARE(image.size(), QSize(20, 20));
}

void TestImageDecoders::pictureOverBudgetTellsWhy()
{
    // A picture of a design used to come back at 256 MiB from a 50-byte
    // body; now it is refused, and the reason goes to whoever shows it.
    QString error;
    const auto picture =
        Picture::FromGraphicFile("TBitmap", MakeRleBitmap(16384, 4096, 1, EmptyRuns(50)), &error);
    QVERIFY(!picture);
    QVERIFY2(error.contains(QLatin1String("16384 x 4096")), qPrintable(error));
}

void TestImageDecoders::corpusReplays()
{
    int files = 0;
    QDirIterator it(QStringLiteral(DAYLOOM_TEST_DATA "/corpus"), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile file(info.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QImage image;
        QString error;
        const bool ok = DecodeAs(info.dir().dirName(), file.readAll(), image, &error);
        VerifyClean(ok, image, error, info.filePath());
        ++files;
    }
    QVERIFY(files >= int(SampleFiles().size()));
}

QTEST_GUILESS_MAIN(TestImageDecoders)
#include "tst_imagedecoders.moc"
