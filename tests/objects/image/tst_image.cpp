#include "core/formats/componentrecord.h"
#include "core/graphics/emfwriter.h"
#include "core/objects/image/imagekind.h"
#include "core/objects/image/tgimage.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/print/printengine.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QtEndian>

using namespace Dayloom;

Q_DECLARE_METATYPE(Dayloom::Picture)

namespace {

const QColor Untouched(0, 200, 0);

// Four quadrants of different colours, so that any mirroring shows.
QImage Quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = width / 2, h = height / 2;
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, width - w, h, Qt::blue);
    painter.fillRect(0, h, w, height - h, Qt::yellow);
    painter.fillRect(w, h, width - w, height - h, Qt::cyan);
    return image;
}

QImage Painted(const TGImage &image, QSize canvas)
{
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Untouched);
    QPainter painter(&out);
    image.PaintContent(painter, image.ScaledBounds(), image.Zoom());
    return out;
}

std::optional<Picture> IconPicture()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!Quadrants(16, 16).save(&buffer, "ICO"))
        return std::nullopt;
    return Picture::FromBytes(buffer.data(), QStringLiteral("quadrants.ico"), nullptr);
}

// A metafile of the quadrants drawn as vectors; nothing while metafiles
// cannot be written or read.
std::optional<Picture> MetafilePicture()
{
    EmfWriter writer(QSize(40, 40));
    if (!writer.paintEngine())
        return std::nullopt;
    {
        QPainter painter(&writer);
        painter.drawImage(QRect(0, 0, 40, 40), Quadrants(40, 40));
    }
    return Picture::FromBytes(writer.Bytes(), QStringLiteral("quadrants.emf"), nullptr);
}

TGGraphicControl::MenuEntry Entry(const TGImage &image, const QString &caption)
{
    for (const TGGraphicControl::MenuEntry &entry : image.MenuEntries()) {
        if (entry.caption == caption)
            return entry;
    }
    return {};
}

QByteArray Record(const TGImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(image, buffer);
    return buffer.data();
}

std::unique_ptr<TGImage> ReadBack(const QByteArray &record, QString *error)
{
    ObjectKindRegistry kinds;
    RegisterObjectKinds(kinds);
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<PersistentObject> read =
        ComponentRecord::ReadObject(buffer, kinds.Classes(), {}, error);
    if (!dynamic_cast<TGImage *>(read.get()))
        return nullptr;
    return std::unique_ptr<TGImage>(static_cast<TGImage *>(read.release()));
}

// A pixel shows nothing of the drawing: (nearly) transparent, or (nearly)
// white once laid on white paper.
bool IsBlank(QRgb pixel)
{
    if (qAlpha(pixel) < 8)
        return true;
    const int alpha = qAlpha(pixel);
    const auto onWhite = [alpha](int channel) {
        return (channel * alpha + 255 * (255 - alpha)) / 255;
    };
    return onWhite(qRed(pixel)) >= 250 && onWhite(qGreen(pixel)) >= 250 &&
           onWhite(qBlue(pixel)) >= 250;
}

bool IsBlankRow(const QImage &image, int y)
{
    for (int x = 0; x < image.width(); ++x) {
        if (!IsBlank(image.pixel(x, y)))
            return false;
    }
    return true;
}

bool IsBlankColumn(const QImage &image, int x)
{
    for (int y = 0; y < image.height(); ++y) {
        if (!IsBlank(image.pixel(x, y)))
            return false;
    }
    return true;
}

// The blank rows or columns at each side of the image, in per cent of its
// height or width: left, top, right, bottom.
QList<double> BlankMarginsPercent(const QImage &image)
{
    const int w = image.width(), h = image.height();
    int left = 0, top = 0, right = 0, bottom = 0;
    while (left < w && IsBlankColumn(image, left))
        ++left;
    while (right < w - left && IsBlankColumn(image, w - 1 - right))
        ++right;
    while (top < h && IsBlankRow(image, top))
        ++top;
    while (bottom < h - top && IsBlankRow(image, h - 1 - bottom))
        ++bottom;
    return {100.0 * left / w, 100.0 * top / h, 100.0 * right / w, 100.0 * bottom / h};
}

} // namespace

class TestImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flipEnabledByKind();
    void metafileNeverMirrored();
    void autoSize_data();
    void autoSize();
    void stretchAndAutoSizeExclude();
    void flipReversePixels_data();
    void flipReversePixels();
    void emptyAndBorder();
    void roundTrip();
    void sizingFlagsSurviveRecords_data();
    void sizingFlagsSurviveRecords();
    void transparencySurvivesRecords();
    void storedMetafileAndIconForms_data();
    void storedMetafileAndIconForms();
    void undecodablePictureKept();
    void printPlacement_data();
    void printPlacement();
    void kindRegistered();
    void shippedClipArtTrimmed_data();
    void shippedClipArtTrimmed();
    void transparentPartsShowWhatLiesBeneath_data();
    void transparentPartsShowWhatLiesBeneath();
};

// Icons chosen in the browser become bitmaps, so Flip and Reverse apply to
// them; an icon read from a file stays an icon and they do not.
void TestImage::flipEnabledByKind()
{
    const std::optional<Picture> icon = IconPicture();
    QVERIFY(icon);
    QCOMPARE(icon->GetKind(), Picture::Kind::Icon);
    TGImage image;
    image.SetPicture(*icon);
    QVERIFY(!Entry(image, "Flip").enabled);
    QVERIFY(!Entry(image, "Reverse").enabled);
    image.SetPicture(icon->AsBitmap());
    QVERIFY(Entry(image, "Flip").enabled);
    QVERIFY(Entry(image, "Reverse").enabled);
    QVERIFY(Entry(image, "Flip").checkable);
}

void TestImage::metafileNeverMirrored()
{
    const std::optional<Picture> metafile = MetafilePicture();
    if (!metafile)
        QSKIP("metafiles cannot be made or read in this build");
    QVERIFY(metafile->IsMetafile());
    TGImage image;
    image.SetBounds(QRect(0, 0, 40, 40));
    image.SetPicture(*metafile);
    image.SetFlip(true);
    image.SetReverse(true);
    QVERIFY(!Entry(image, "Flip").enabled);
    QVERIFY(!Entry(image, "Reverse").enabled);
    QVERIFY(Entry(image, "Flip").checked);
    const QImage painted = Painted(image, QSize(40, 40));
    QCOMPARE(painted.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(painted.pixelColor(30, 30), QColor(Qt::cyan));
}

void TestImage::autoSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QSize>("screen");

    QTest::newRow("40 x 30 at 1.5") << QSize(40, 30) << 1.5f << QSize(60, 45);
    QTest::newRow("ties round to even") << QSize(43, 45) << 1.5f << QSize(64, 68);
    QTest::newRow("at 0.5") << QSize(41, 30) << 0.5f << QSize(20, 15);
}

void TestImage::autoSize()
{
    QFETCH(QSize, picture);
    QFETCH(float, zoom);
    QFETCH(QSize, screen);

    TGImage image;
    image.SetBounds(QRect(7, 9, 105, 105));
    image.ScaleTo(zoom);
    image.SetPicture(Picture::FromImage(Quadrants(picture.width(), picture.height())));
    QCOMPARE(image.Bounds().size(), QSize(105, 105)); // stretched: the size stays
    image.SetAutoSize(true);
    QCOMPARE(image.Bounds(), QRect(QPoint(7, 9), picture));
    QCOMPARE(image.ScaledBounds().size(), screen);
    QVERIFY(image.Opaque());
}

void TestImage::stretchAndAutoSizeExclude()
{
    TGImage image;
    image.SetPicture(Picture::FromImage(Quadrants(40, 30)));
    QVERIFY(image.Stretch());
    QVERIFY(!image.AutoSize());

    // Turning "Stretch to Fit" off turns AutoSize on; the object snaps to
    // the picture on its next bounds check.
    QVERIFY(image.RunMenuEntry("Stretch to Fit"));
    QVERIFY(!image.Stretch());
    QVERIFY(image.AutoSize());
    QCOMPARE(image.Bounds().size(), QSize(105, 105));
    image.SetLeft(20);
    QCOMPARE(image.Bounds(), QRect(20, 0, 40, 30));
    QVERIFY(Entry(image, "AutoSize").checked);
    QVERIFY(!Entry(image, "Stretch to Fit").checked);

    image.SetStretch(true);
    QVERIFY(!image.AutoSize());
    image.SetWidth(90);
    QCOMPARE(image.Width(), 90);

    // The browser's boxes are taken as they are.
    image.SetSizing(false, false);
    QVERIFY(!image.Stretch());
    QVERIFY(!image.AutoSize());
}

void TestImage::flipReversePixels_data()
{
    QTest::addColumn<bool>("flip");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");

    QTest::newRow("plain") << false << false << QColor(Qt::red) << QColor(Qt::cyan);
    QTest::newRow("flip") << true << false << QColor(Qt::yellow) << QColor(Qt::blue);
    QTest::newRow("reverse") << false << true << QColor(Qt::blue) << QColor(Qt::yellow);
    QTest::newRow("both") << true << true << QColor(Qt::cyan) << QColor(Qt::red);
}

void TestImage::flipReversePixels()
{
    QFETCH(bool, flip);
    QFETCH(bool, reverse);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);

    TGImage image;
    image.SetBounds(QRect(10, 10, 80, 60));
    image.SetPicture(Picture::FromImage(Quadrants(8, 6)));
    image.SetFlip(flip);
    image.SetReverse(reverse);
    const QImage painted = Painted(image, QSize(100, 80));
    QCOMPARE(painted.pixelColor(20, 20), topLeft);
    QCOMPARE(painted.pixelColor(80, 60), bottomRight);
    QCOMPARE(painted.pixelColor(5, 5), Untouched);
}

void TestImage::emptyAndBorder()
{
    TGImage image;
    image.SetBounds(QRect(0, 0, 30, 20));
    QImage painted = Painted(image, QSize(40, 30));
    QCOMPARE(painted.pixelColor(0, 0), QColor(Qt::black)); // the framed white box
    QCOMPARE(painted.pixelColor(29, 19), QColor(Qt::black));
    QCOMPARE(painted.pixelColor(15, 10), QColor(Qt::white));

    image.SetPicture(Picture::FromImage(Quadrants(30, 20)));
    QCOMPARE(Painted(image, QSize(40, 30)).pixelColor(0, 0), QColor(Qt::red));
    QVERIFY(image.RunMenuEntry("Border"));
    QCOMPARE(image.BorderStyle(), bsSingle);
    QVERIFY(Entry(image, "Border").checked);
    painted = Painted(image, QSize(40, 30));
    QCOMPARE(painted.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(painted.pixelColor(29, 10), QColor(Qt::black));
    QCOMPARE(painted.pixelColor(1, 1), QColor(Qt::red));
    QVERIFY(!image.RunMenuEntry("Load Image From Disk")); // the window's dialog
}

void TestImage::roundTrip()
{
    TGImage source;
    source.SetBounds(QRect(12, 34, 80, 60));
    source.SetPicture(Picture::FromImage(Quadrants(8, 6)));
    source.SetBorderStyle(bsSingle);
    source.SetReverse(true);
    source.SetName(QStringLiteral("Special1"));
    const QByteArray record = Record(source);
    QVERIFY(record.contains("Picture.Data"));
    QVERIFY(record.contains("bsSingle"));
    QVERIFY(!record.contains("Stretch")); // defaults are not written

    QString error;
    const std::unique_ptr<TGImage> copy = ReadBack(record, &error);
    QVERIFY2(copy, qPrintable(error));
    QVERIFY(copy->GetPicture().IsBitmap());
    QCOMPARE(copy->GetPicture().Image().convertToFormat(QImage::Format_RGB32), Quadrants(8, 6));
    QCOMPARE(copy->Bounds(), QRect(12, 34, 80, 60));
    QCOMPARE(copy->BorderStyle(), bsSingle);
    QVERIFY(copy->Reverse());
    QVERIFY(!copy->Flip());
    QVERIFY(copy->Stretch());
}

void TestImage::sizingFlagsSurviveRecords_data()
{
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<QByteArray>("entries"); // the flags as the record holds them
    QTest::addColumn<QSize>("size");
    QTest::newRow("stretched") << true << false << QByteArray() << QSize(80, 60);
    QTest::newRow("auto-sized") << false << true
                                << QByteArray("\x07Stretch\x08\x08"
                                              "AutoSize\x09")
                                << QSize(8, 6);
    // Used to come back auto-sized: only "Stretch False" was written.
    QTest::newRow("both off") << false << false
                              << QByteArray("\x07Stretch\x08\x08"
                                            "AutoSize\x08")
                              << QSize(80, 60);
    // Used to come back stretched only: only "AutoSize True" was written.
    QTest::newRow("both on") << true << true
                             << QByteArray("\x07Stretch\x09\x08"
                                           "AutoSize\x09")
                             << QSize(8, 6);
}

void TestImage::sizingFlagsSurviveRecords()
{
    QFETCH(bool, stretch);
    QFETCH(bool, autoSize);
    QFETCH(QByteArray, entries);
    QFETCH(QSize, size);
    TGImage source;
    source.SetBounds(QRect(12, 34, 80, 60));
    source.SetPicture(Picture::FromImage(Quadrants(8, 6)));
    source.SetName(QStringLiteral("Component0"));
    source.SetSizing(stretch, autoSize);
    const QByteArray record = Record(source);
    QCOMPARE(record.contains("Stretch"), !entries.isEmpty());
    QVERIFY(record.contains(entries));

    QString error;
    std::unique_ptr<TGImage> copy = ReadBack(record, &error);
    QVERIFY2(copy, qPrintable(error));
    QCOMPARE(copy->Stretch(), stretch);
    QCOMPARE(copy->AutoSize(), autoSize);
    QCOMPARE(copy->Bounds(), QRect(QPoint(12, 34), size));
    QCOMPARE(Record(*copy), record); // so again after a save, a paste or a Clone

    // A record holding one flag only, as every record before held it, reads
    // as it always did: the other flag is its negation.
    if (entries.isEmpty())
        return;
    QByteArray older = record;
    const QByteArray autoSizeEntry = QByteArray("\x08") + "AutoSize";
    older.remove(older.indexOf(autoSizeEntry), autoSizeEntry.size() + 1);
    copy = ReadBack(older, &error);
    QVERIFY2(copy, qPrintable(error));
    QCOMPARE(copy->Stretch(), stretch);
    QCOMPARE(copy->AutoSize(), !stretch);
}

// Transparent pictures used to be stored as 24-bit bitmaps and came back
// black where they had been transparent.
void TestImage::transparencySurvivesRecords()
{
    QImage picture(7, 5, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(1, 1, qRgba(200, 10, 20, 255));
    picture.setPixel(5, 3, qRgba(30, 40, 250, 128));
    TGImage source;
    source.SetPicture(Picture::FromImage(picture));
    source.SetName(QStringLiteral("Component0"));
    const QByteArray file = source.GetStoredPicture().FileBytes();
    // A bitmap file with a version 5 header: 32 bits, bit fields, an alpha mask.
    const auto le = [&file](int at, int size) {
        return size == 2 ? quint32(qFromLittleEndian<quint16>(file.constData() + at))
                         : qFromLittleEndian<quint32>(file.constData() + at);
    };
    QVERIFY(file.startsWith("BM"));
    QCOMPARE(le(14, 4), 124u);
    QCOMPARE(le(28, 2), 32u);
    QCOMPARE(le(30, 4), 3u);
    QCOMPARE(le(14 + 52, 4), 0xFF000000u);

    QString error;
    const std::unique_ptr<TGImage> copy = ReadBack(Record(source), &error);
    QVERIFY2(copy, qPrintable(error));
    QCOMPARE(copy->GetPicture().Image().convertToFormat(QImage::Format_ARGB32), picture);
    QCOMPARE(Record(*copy), Record(source));

    // Opaque pictures are stored byte for byte as Qt's bitmap writer stores
    // them, as they always were.
    const QImage opaque = Quadrants(8, 6);
    QBuffer qtWritten;
    qtWritten.open(QIODevice::WriteOnly);
    QVERIFY(opaque.save(&qtWritten, "BMP"));
    QCOMPARE(Picture::FromImage(opaque).GraphicFile(), qtWritten.data());
    const QImage opaqueWithAlpha = opaque.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(Picture::FromImage(opaqueWithAlpha).GraphicFile(), qtWritten.data());
}

void TestImage::storedMetafileAndIconForms_data()
{
    QTest::addColumn<bool>("metafile");
    QTest::addColumn<int>("length"); // in front of the file: -1 none, else file size + this
    QTest::newRow("metafile alone") << true << -1;
    // The toolkit's form, which used to read as an empty picture.
    QTest::newRow("metafile after a length counting itself") << true << 4;
    QTest::newRow("metafile after its length") << true << 0;
    QTest::newRow("icon alone") << false << -1;
    QTest::newRow("icon after its length") << false << 0;
}

void TestImage::storedMetafileAndIconForms()
{
    QFETCH(bool, metafile);
    QFETCH(int, length);
    const std::optional<Picture> picture = metafile ? MetafilePicture() : IconPicture();
    if (!picture)
        QSKIP("no metafile or icon to store here");
    const QByteArray file = picture->GraphicFile();
    const QByteArray className = metafile ? "TMetafile" : "TIcon";
    QByteArray data = char(className.size()) + className;
    if (length >= 0) {
        char size[4];
        qToLittleEndian(quint32(file.size() + length), size);
        data.append(size, 4);
    }
    data.append(file);

    const std::optional<StoredPicture> stored = StoredPicture::FromPictureData(data);
    QVERIFY(stored);
    QCOMPARE(stored->FileBytes(), file);
    QString error;
    const std::optional<Picture> shown =
        Picture::FromGraphicFile(stored->GraphicClass(), stored->FileBytes(), &error);
    QVERIFY2(shown && !shown->IsEmpty(), qPrintable(error));
    QCOMPARE(shown->GetKind(), picture->GetKind());

    // Written as the toolkit writes them: a metafile after a length that
    // counts itself, an icon alone.
    QByteArray expected = char(className.size()) + className;
    if (metafile) {
        char size[4];
        qToLittleEndian(quint32(file.size() + 4), size);
        expected.append(size, 4);
    }
    QCOMPARE(stored->ToPictureData(), expected + file);
}

// A design whose clip art could not be decoded used to fail to open as a
// whole; now the object stays empty and saving writes the bytes back.
void TestImage::undecodablePictureKept()
{
    TGImage source;
    source.SetStoredPicture(StoredPicture("TBitmap", QByteArray("not a bitmap at all")));
    source.SetName(QStringLiteral("Component0")); // the name a read record gets
    QVERIFY(source.HasUndecodedPicture());
    const QByteArray damaged = Record(source);

    QString error;
    std::unique_ptr<TGImage> copy = ReadBack(damaged, &error);
    QVERIFY2(copy, qPrintable(error));
    QVERIFY(copy->GetPicture().IsEmpty());
    QVERIFY(copy->HasUndecodedPicture());
    QCOMPARE(Record(*copy), damaged);

    // Data whose lengths do not fit are kept as well.
    QByteArray broken = damaged;
    broken[broken.indexOf("TBitmap") - 1] = char(0x7f); // the class name's length
    copy = ReadBack(broken, &error);
    QVERIFY2(copy, qPrintable(error));
    QVERIFY(copy->GetPicture().IsEmpty());
    QCOMPARE(Record(*copy), broken);
}

void TestImage::printPlacement_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("screen") << 96;
    QTest::newRow("paper at 300 dpi") << 300;
}

void TestImage::printPlacement()
{
    QFETCH(int, dpi);

    TGImage image;
    image.SetBounds(QRect(96, 48, 96, 48)); // 1 x 0.5 inches at (1, 0.5)
    image.SetPicture(Picture::FromImage(Quadrants(4, 2)));
    image.SetFlip(true);
    image.ScaleTo(0.5f); // the screen's zoom does not matter on paper

    QImage paper(int(3 * dpi), int(2 * dpi), QImage::Format_RGB32);
    paper.setDotsPerMeterX(qRound(dpi / 0.0254));
    paper.setDotsPerMeterY(qRound(dpi / 0.0254));
    paper.fill(Untouched);
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        image.PrintTo(engine, 0.5, 0.25);
    }
    // The object covers (1.5, 0.75) to (2.5, 1.25) inches, upside down.
    const auto at = [&](double x, double y) {
        return paper.pixelColor(int(x * dpi), int(y * dpi));
    };
    QCOMPARE(at(1.6, 0.85), QColor(Qt::yellow));
    QCOMPARE(at(2.4, 1.15), QColor(Qt::blue));
    QCOMPARE(at(1.45, 1.0), Untouched);
    QCOMPARE(at(2.55, 1.0), Untouched);
    QCOMPARE(at(2.0, 0.7), Untouched);
    QCOMPARE(at(2.0, 1.3), Untouched);
}

void TestImage::kindRegistered()
{
    ObjectKindRegistry kinds;
    RegisterObjectKinds(kinds);
    const ObjectKind *kind = kinds.FindTool(psImage);
    QVERIFY(kind);
    QCOMPARE(kind->className, QByteArray("TGImage"));
    const std::unique_ptr<TGGraphicControl> created = kinds.CreateForTool(psImage);
    QVERIFY(dynamic_cast<TGImage *>(created.get()));
    QCOMPARE(created->Bounds().size(), QSize(105, 105));
}

void TestImage::shippedClipArtTrimmed_data()
{
    QTest::addColumn<QString>("path");
    const QString folder = QStringLiteral(DAYLOOM_ASSETS "/Clipart");
    QDirIterator files(folder, {QStringLiteral("*.svg")}, QDir::Files,
                       QDirIterator::Subdirectories);
    QStringList paths;
    while (files.hasNext())
        paths << files.next();
    paths.sort();
    QVERIFY2(paths.size() >= 60, qPrintable(folder));
    for (const QString &path : std::as_const(paths))
        QTest::newRow(qPrintable(QDir(folder).relativeFilePath(path))) << path;
}

// 39 pictures used to keep blank paper round the drawing, 13 of them whole
// pages with the drawing in a corner that AutoSize made larger than the page.
void TestImage::shippedClipArtTrimmed()
{
    QFETCH(QString, path);
    QString error;
    const std::optional<Picture> picture = Picture::FromFile(path, &error);
    QVERIFY2(picture, qPrintable(error));
    const QSizeF own = picture->Size();
    QVERIFY(!own.isEmpty());
    const QSize size = (own * (600.0 / std::max(own.width(), own.height()))).toSize();
    QImage rendered(size, QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    {
        QPainter painter(&rendered);
        picture->Draw(painter, QRectF(QPointF(0, 0), size));
    }
    const QList<double> margins =
        BlankMarginsPercent(rendered.convertToFormat(QImage::Format_ARGB32));
    const double widest = *std::max_element(margins.begin(), margins.end());
    QVERIFY2(widest <= 5.0,
             qPrintable(QStringLiteral("blank margins left %1 %, top %2 %, right %3 %, bottom %4 %")
                            .arg(margins[0], 0, 'f', 1)
                            .arg(margins[1], 0, 'f', 1)
                            .arg(margins[2], 0, 'f', 1)
                            .arg(margins[3], 0, 'f', 1)));
}

void TestImage::transparentPartsShowWhatLiesBeneath_data()
{
    QTest::addColumn<Picture>("picture");
    QImage alpha(40, 40, QImage::Format_ARGB32);
    alpha.fill(Qt::transparent);
    QPainter(&alpha).fillRect(0, 0, 10, 10, Qt::red);
    QTest::newRow("bitmap with transparent pixels") << Picture::FromImage(alpha);
    EmfWriter writer(QSize(40, 40));
    if (writer.paintEngine()) {
        {
            QPainter painter(&writer);
            painter.fillRect(0, 0, 10, 10, Qt::red);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::blue);
            painter.drawEllipse(QRect(30, 30, 10, 10));
        }
        const std::optional<Picture> metafile =
            Picture::FromBytes(writer.Bytes(), QStringLiteral("corner.emf"), nullptr);
        if (metafile)
            QTest::newRow("metafile drawing in its corners") << *metafile;
    }
}

// Clip art was an opaque white box on screen (hiding what lay under it)
// while paper, PDF and PNG showed through it.
void TestImage::transparentPartsShowWhatLiesBeneath()
{
    QFETCH(Picture, picture);
    TGImage image;
    image.SetBounds(QRect(5, 5, 40, 40));
    image.SetStretch(true);
    image.SetPicture(picture);
    QImage screen(50, 50, QImage::Format_RGB32);
    screen.fill(Untouched);
    {
        QPainter painter(&screen);
        image.Paint(painter); // the screen's way, through the object's cached picture
    }
    QImage paper(50, 50, QImage::Format_RGB32);
    paper.setDotsPerMeterX(3780);
    paper.setDotsPerMeterY(3780);
    paper.fill(Untouched);
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        image.PrintTo(engine, 0, 0);
    }
    QCOMPARE(screen.pixelColor(25, 25), Untouched);
    QCOMPARE(screen.pixelColor(25, 25), paper.pixelColor(25, 25));
    QCOMPARE(screen.pixelColor(8, 8), QColor(Qt::red));
    QCOMPARE(screen.pixelColor(8, 8), paper.pixelColor(8, 8));
}

QTEST_MAIN(TestImage)
#include "tst_image.moc"
