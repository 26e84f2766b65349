#include "core/formats/componentrecord.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/objects/supertext/supertextkind.h"
#include "core/objects/supertext/tgsupertext.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QTest>

#include <limits>

using namespace Dayloom;

namespace {

const QColor Paper(0, 200, 0);

QImage Painted(const TGSuperText &text)
{
    const QRect bounds = text.ScaledBounds();
    QImage out(bounds.right() + 10, bounds.bottom() + 10, QImage::Format_RGB32);
    out.fill(Paper);
    QPainter painter(&out);
    text.PaintContent(painter, bounds, text.Zoom());
    return out;
}

// Pixels of `image` within `area` that are close to `color`.
int CountNear(const QImage &image, const QRect &area, const QColor &color, int tolerance = 40)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                    std::abs(c.blue() - color.blue()) <=
                tolerance)
                ++count;
        }
    }
    return count;
}

QByteArray Record(const TGSuperText &text)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(text, buffer);
    return buffer.data();
}

std::unique_ptr<TGSuperText> ReadBack(const QByteArray &record)
{
    ObjectKindRegistry kinds;
    RegisterObjectKinds(kinds);
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    std::unique_ptr<PersistentObject> read =
        ComponentRecord::ReadObject(buffer, kinds.Classes(), {}, &error);
    if (!dynamic_cast<TGSuperText *>(read.get()))
        return nullptr;
    read->Loaded();
    return std::unique_ptr<TGSuperText>(static_cast<TGSuperText *>(read.release()));
}

// Keeps nothing: counts what is drawn and notes the largest picture handed
// over, as an image, a pixmap or a brush's texture.
class CountingEngine : public QPaintEngine
{
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyBrush)
            Note(state.brush().textureImage().size());
    }
    void drawPixmap(const QRectF &, const QPixmap &pixmap, const QRectF &) override
    {
        Note(pixmap.size());
        ++draws;
    }
    void drawTiledPixmap(const QRectF &, const QPixmap &pixmap, const QPointF &) override
    {
        Note(pixmap.size());
        ++draws;
    }
    void drawImage(const QRectF &, const QImage &image, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
        Note(image.size());
        ++draws;
    }
    void drawPath(const QPainterPath &) override { ++draws; }
    void drawRects(const QRectF *, int count) override { draws += count; }
    void drawRects(const QRect *, int count) override { draws += count; }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { ++draws; }
    void drawTextItem(const QPointF &, const QTextItem &) override { ++draws; }

    qint64 draws = 0;
    qint64 largestPicture = 0; // pixels

private:
    void Note(const QSize &size)
    {
        largestPicture = std::max(largestPicture, qint64(size.width()) * size.height());
    }
};

// A page of `inches` at `dpi` that counts its drawing.
class CountingDevice : public QPaintDevice
{
public:
    CountingDevice(QSizeF inches, int dpi) : m_inches(inches), m_dpi(dpi) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }
    CountingEngine &Engine() const { return m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return int(m_inches.width() * m_dpi);
        case PdmHeight:
            return int(m_inches.height() * m_dpi);
        case PdmWidthMM:
            return int(m_inches.width() * 25.4);
        case PdmHeightMM:
            return int(m_inches.height() * 25.4);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return std::numeric_limits<int>::max();
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSizeF m_inches;
    int m_dpi;
    mutable CountingEngine m_engine;
};

QImage Checker()
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixelColor(x, y, (x / 4 + y / 4) % 2 ? QColor(Qt::red) : QColor(Qt::white));
    return image;
}

} // namespace

class TestSuperText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void shadowOffsetMovesText_data();
    void shadowOffsetMovesText();
    void sizeRules_data();
    void sizeRules();
    void surfaceTypeSideEffects();
    void gradientBands_data();
    void gradientBands();
    void fills_data();
    void fills();
    void emptyCaptionCrossedBox();
    void captionCutToFit();
    void zoomHalvesFontAndShadow();
    void roundTripWithTexture();
    void undecodableBitmapKept();
    void printsOutlinesNotFonts();
    void printPlacement();
    void toolCreatesBorderedBox();
    void cloneKeepsEverything();
    void hugeObjectPaintsWithoutHugePicture();
    void fittingTakesFewMeasurements_data();
    void fittingTakesFewMeasurements();
    void longCaptionFits();
    void texturePrintsInOneFill();
};

void TestSuperText::shadowOffsetMovesText_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QPoint>("textOrigin");
    QTest::addColumn<QPoint>("shadowOrigin");
    QTest::newRow("left 6 keeps the shadow inside")
        << int(TGSuperText::sdLeft) << 6 << QPoint(11, 0) << QPoint(5, 0);
    QTest::newRow("down-left 4") << int(TGSuperText::sdDownLeft) << 4 << QPoint(9, 0)
                                 << QPoint(5, 4);
    QTest::newRow("down-right 3") << int(TGSuperText::sdDownRight) << 3 << QPoint(5, 0)
                                  << QPoint(8, 3);
    QTest::newRow("none") << int(TGSuperText::sdNone) << 9 << QPoint(5, 0) << QPoint(5, 0);
}

void TestSuperText::shadowOffsetMovesText()
{
    QFETCH(int, orientation);
    QFETCH(int, depth);
    QFETCH(QPoint, textOrigin);
    QFETCH(QPoint, shadowOrigin);
    TGSuperText text;
    text.SetShadowOrientation(TGSuperText::TShadowOrientation(orientation));
    text.SetShadowDepth(depth);
    const TGSuperText::Metrics m = text.ComputeMetrics(1.0f, text.Width());
    QCOMPARE(m.textOrigin, textOrigin);
    QCOMPARE(m.shadowOrigin, shadowOrigin);
}

void TestSuperText::sizeRules_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("border");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("shrinks");
    QTest::newRow("transparent borderless shrinks") << true << false << 200 << true;
    QTest::newRow("bordered keeps its height") << true << true << 200 << false;
    QTest::newRow("opaque keeps its height") << false << false << 200 << false;
}

void TestSuperText::sizeRules()
{
    QFETCH(bool, transparent);
    QFETCH(bool, border);
    QFETCH(int, height);
    QFETCH(bool, shrinks);
    TGSuperText text;
    text.SetControlTransparent(transparent);
    text.SetBorderStyle(border ? bsSingle : bsNone);
    text.SetShadowDepth(0);
    text.SetBounds(QRect(10, 10, 300, height));
    text.CheckBoundsChanged();
    const int th = text.ComputeMetrics(1.0f, 300).textHeight;
    QCOMPARE(text.Height(), shrinks ? int(th * 1.2) : height);

    // Never lower than the text and its shadow.
    text.SetShadowDepth(7);
    text.SetBounds(QRect(10, 10, 300, 12));
    text.CheckBoundsChanged();
    QCOMPARE(text.Height(), th + 7);
    // A sliver takes the width of the text and a blank.
    text.SetBounds(QRect(10, 10, 4, 100));
    text.CheckBoundsChanged();
    QCOMPARE(text.Width(), text.ComputeMetrics(1.0f, 4).textWidth);
}

void TestSuperText::surfaceTypeSideEffects()
{
    TGSuperText text;
    text.SetOutlineStyle(TGSuperText::psClear);
    text.SetSurfaceType(TGSuperText::stBrushTransparent);
    // Hollow letters without an outline would show nothing.
    QCOMPARE(text.OutlineStyle(), TGSuperText::psSolid);

    text.SetSurfaceType(TGSuperText::stBrushImage);
    text.SetImage(Checker());
    QVERIFY(!text.ImageBitmapData().isEmpty());
    text.SetSurfaceType(TGSuperText::stNormal);
    QVERIFY(text.Image().isNull());
    QVERIFY(text.ImageBitmapData().isEmpty());
    text.SetSurfaceType(TGSuperText::stBrushImage);
    QVERIFY(text.Image().isNull());
}

void TestSuperText::gradientBands_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QColor>("firstColor");
    QTest::addColumn<QPoint>("last");
    QTest::addColumn<QColor>("lastColor");
    const QSize size(300, 100);
    QTest::newRow("up: yellow at the top")
        << int(TGSuperText::gdUp) << QPoint(150, 0) << QColor(Qt::yellow) << QPoint(150, 99)
        << QColor(Qt::blue);
    QTest::newRow("down: blue at the top")
        << int(TGSuperText::gdDown) << QPoint(150, 0) << QColor(Qt::blue) << QPoint(150, 99)
        << QColor(Qt::yellow);
    QTest::newRow("left: yellow at the left")
        << int(TGSuperText::gdLeft) << QPoint(0, 50) << QColor(Qt::yellow) << QPoint(299, 50)
        << QColor(Qt::blue);
    QTest::newRow("right: blue at the left")
        << int(TGSuperText::gdRight) << QPoint(0, 50) << QColor(Qt::blue) << QPoint(299, 50)
        << QColor(Qt::yellow);
    Q_UNUSED(size);
}

void TestSuperText::gradientBands()
{
    QFETCH(int, direction);
    QFETCH(QPoint, first);
    QFETCH(QColor, firstColor);
    QFETCH(QPoint, last);
    QFETCH(QColor, lastColor);
    QImage bands(300, 100, QImage::Format_RGB32);
    bands.fill(Paper);
    {
        QPainter painter(&bands);
        TGSuperText::DrawGradientBands(painter, QPointF(0, 0), bands.size(), clBlue, clYellow,
                                       TGSuperText::TFillDirection(direction), bands.rect());
    }
    QCOMPARE(CountNear(bands, bands.rect(), Paper, 0), 0);
    // With fewer than 256 pixels some bands are empty: the edges are within
    // a band of the end colours.
    QCOMPARE(CountNear(bands, QRect(first, QSize(1, 1)), firstColor, 6), 1);
    QCOMPARE(CountNear(bands, QRect(last, QSize(1, 1)), lastColor, 6), 1);
    // Band 128 of blue to yellow: each channel rounded to the nearest value.
    QCOMPARE(TGSuperText::GradientBandColor(128, clBlue, clYellow), QColor(128, 128, 127));
}

void TestSuperText::fills_data()
{
    QTest::addColumn<int>("surface");
    QTest::addColumn<QColor>("inside");
    QTest::addColumn<bool>("filled");
    QTest::newRow("normal in the font colour")
        << int(TGSuperText::stNormal) << QColor(Qt::red) << true;
    QTest::newRow("texture shows the picture")
        << int(TGSuperText::stBrushImage) << QColor(Qt::red) << true;
    QTest::newRow("gradient starts blue")
        << int(TGSuperText::stGradientFill) << QColor(Qt::blue) << true;
    QTest::newRow("hollow leaves the page")
        << int(TGSuperText::stBrushTransparent) << QColor(Qt::red) << false;
}

void TestSuperText::fills()
{
    QFETCH(int, surface);
    QFETCH(QColor, inside);
    QFETCH(bool, filled);
    TGSuperText text;
    text.SetBounds(QRect(0, 0, 400, 120));
    text.SetCaption(QStringLiteral("IIII"));
    FontSpec font(QStringLiteral("Arial"), 72, true, clRed);
    text.SetFont(font);
    text.SetOutlineWidth(1);
    text.SetOutlineColor(clBlack);
    text.SetSurfaceType(TGSuperText::TSurfaceType(surface));
    if (surface == TGSuperText::stBrushImage)
        text.SetImage(Checker());
    const QImage image = Painted(text);
    // The first stem's left part, inside the letter.
    const TGSuperText::Metrics m = text.ComputeMetrics(1.0f, text.Width());
    const QFontMetrics metrics(text.ZoomedFont(1.0f));
    const QRect stem(m.textOrigin.x() + metrics.leftBearing(QLatin1Char('I')) + 3,
                     m.textOrigin.y() + metrics.ascent() / 2, 4, 8);
    const int near = CountNear(image, stem, inside);
    if (filled)
        QVERIFY2(near > 0, qPrintable(QString::number(near)));
    else
        QCOMPARE(CountNear(image, stem, Paper, 0), stem.width() * stem.height());
    // The outline is drawn in every case.
    QVERIFY(CountNear(image, QRect(0, 0, 400, 120), Qt::black, 60) > 20);
}

void TestSuperText::emptyCaptionCrossedBox()
{
    TGSuperText text;
    text.SetBounds(QRect(0, 0, 100, 80));
    text.SetCaption(QString());
    const QImage image = Painted(text);
    const QRect b = text.ScaledBounds();
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(b.width() / 2, b.height() / 2).lightness() < 128, true);
    QCOMPARE(image.pixelColor(b.width() - 1, b.height() / 2), QColor(Qt::black));
    QCOMPARE(image.pixelColor(b.width() / 4, b.height() / 2), Paper);
}

void TestSuperText::captionCutToFit()
{
    TGSuperText text;
    text.SetControlTransparent(false);
    text.SetBounds(QRect(0, 0, 90, 80));
    text.SetCaption(QStringLiteral("Wonderful"));
    const QFont font = text.ZoomedFont(1.0f);
    const QString fitted = text.FittedCaption(font, 90 - 5);
    QVERIFY(!fitted.isEmpty());
    QVERIFY(QStringLiteral("Wonderful").startsWith(fitted));
    QVERIFY(fitted.size() < 9);
    QVERIFY(QFontMetrics(font).horizontalAdvance(fitted) <= 85);
    QVERIFY(QFontMetrics(font).horizontalAdvance(text.Caption().left(fitted.size() + 1)) > 85);
    // Nothing is drawn past the right edge.
    const QImage image = Painted(text);
    QCOMPARE(CountNear(image, QRect(91, 0, 5, 80), Paper, 0), 5 * 80);
}

void TestSuperText::zoomHalvesFontAndShadow()
{
    TGSuperText text;
    text.SetShadowDepth(5);
    text.ScaleTo(0.5f);
    QCOMPARE(text.ZoomedFont(0.5f).pixelSize(), FontSpec::PointsToPixels(24));
    const TGSuperText::Metrics m = text.ComputeMetrics(0.5f, 71);
    QCOMPARE(m.shadowOffset, QPoint(2, 2));
}

void TestSuperText::roundTripWithTexture()
{
    TGSuperText source;
    source.SetName(QStringLiteral("Special1"));
    source.SetBounds(QRect(30, 40, 300, 90));
    source.SetShadowDepth(4);
    source.SetShadowOrientation(TGSuperText::sdDownLeft);
    source.SetShadowcolor(clSilver);
    source.SetBorderStyle(bsSingle);
    source.SetControlTransparent(false);
    source.SetBGColor(clAqua);
    source.SetCaption(QStringLiteral("2027"));
    source.SetFont(FontSpec(QStringLiteral("Times New Roman"), 36, false, clNavy));
    source.SetFillDirection(TGSuperText::gdUp);
    source.SetGradientFromColor(clRed);
    source.SetGradientToColor(clLime);
    source.SetOutlineColor(clMaroon);
    source.SetOutlineStyle(TGSuperText::psDashDot);
    source.SetOutlineWidth(2);
    source.SetSurfaceType(TGSuperText::stBrushImage);
    source.SetImage(Checker());
    source.SetLastBitmapFileNameandPath(QStringLiteral("/home/me/Textures/Wood.jpg"));

    const QByteArray record = Record(source);
    QVERIFY(record.contains("Image.Data"));
    QVERIFY(record.contains("LastBitmapFileNameandPath"));
    QVERIFY(record.contains("sdDownLeft"));
    const std::unique_ptr<TGSuperText> copy = ReadBack(record);
    QVERIFY(copy);
    QCOMPARE(copy->Bounds(), source.Bounds());
    QCOMPARE(copy->SurfaceType(), TGSuperText::stBrushImage);
    QCOMPARE(copy->Image().convertToFormat(QImage::Format_RGB32),
             Checker().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(copy->Font(), source.Font());
    copy->SetName(source.Name());
    QCOMPARE(Record(*copy), record);
}

void TestSuperText::undecodableBitmapKept()
{
    TGSuperText source;
    source.SetSurfaceType(TGSuperText::stBrushImage);
    source.SetImageBitmapData(QByteArray("BM this is no bitmap at all"));
    QVERIFY(source.Image().isNull());
    // A damaged picture leaves the letters unfilled but is saved again as read.
    const std::unique_ptr<TGSuperText> copy = ReadBack(Record(source));
    QVERIFY(copy);
    QVERIFY(copy->Image().isNull());
    QCOMPARE(copy->ImageBitmapData(), source.ImageBitmapData());
}

void TestSuperText::printsOutlinesNotFonts()
{
    TGSuperText text;
    text.SetBounds(QRect(96, 96, 300, 90));
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        QPainter painter(&writer);
        PrintEngine engine(painter);
        text.PrintTo(engine, 0, 0);
    }
    QVERIFY(pdf.startsWith("%PDF"));
    // The letters are paths: no font goes into the file.
    QVERIFY(!pdf.contains("/FontFile"));
    QVERIFY(pdf.size() > 2000);
}

void TestSuperText::printPlacement()
{
    constexpr int dpi = 300;
    TGSuperText text;
    text.SetBounds(QRect(96, 48, 300, 80));
    text.SetCaption(QStringLiteral("HH"));
    text.SetSurfaceType(TGSuperText::stNormal);
    text.SetFont(FontSpec(QStringLiteral("Arial"), 48, true, clRed));
    text.SetControlTransparent(false);
    text.SetBGColor(clWhite);
    text.ScaleTo(0.5f); // the screen's zoom does not matter on paper
    QImage paper(int(5 * dpi), int(2 * dpi), QImage::Format_RGB32);
    paper.setDotsPerMeterX(qRound(dpi / 0.0254));
    paper.setDotsPerMeterY(qRound(dpi / 0.0254));
    paper.fill(Paper);
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        text.PrintTo(engine, 0.5, 0.25);
    }
    // The box covers (1.5, 0.75) to (4.625, 1.583) inches; red letters inside.
    const QRect box(int(1.5 * dpi), int(0.75 * dpi), int(3.125 * dpi), int(0.833 * dpi));
    QVERIFY(CountNear(paper, box, Qt::red) > 1000);
    // 48-point capitals stand about half an inch tall at the printer's resolution.
    int top = paper.height(), bottom = -1;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        if (CountNear(paper, QRect(box.left(), y, box.width(), 1), Qt::red) > 0) {
            top = std::min(top, y);
            bottom = y;
        }
    }
    QVERIFY2(bottom - top > int(0.4 * dpi), qPrintable(QString::number(bottom - top)));
    QVERIFY2(bottom - top < int(0.6 * dpi), qPrintable(QString::number(bottom - top)));
    QCOMPARE(CountNear(paper, QRect(0, 0, int(1.45 * dpi), 2 * dpi), Paper, 0),
             int(1.45 * dpi) * 2 * dpi);
    QCOMPARE(paper.pixelColor(box.right() - 3, box.bottom() - 3), QColor(Qt::white));
}

void TestSuperText::toolCreatesBorderedBox()
{
    ObjectKindRegistry kinds;
    RegisterObjectKinds(kinds);
    const std::unique_ptr<TGGraphicControl> created = kinds.CreateForTool(psSuperText);
    auto *text = dynamic_cast<TGSuperText *>(created.get());
    QVERIFY(text);
    text->PrepareForTool();
    QCOMPARE(text->BorderStyle(), bsSingle);
    QVERIFY(!text->ControlTransparent());
    // One read from a file keeps a file's defaults.
    const std::unique_ptr<TGGraphicControl> stored = kinds.Create("TGSuperText");
    QCOMPARE(static_cast<TGSuperText *>(stored.get())->BorderStyle(), bsNone);
}

void TestSuperText::cloneKeepsEverything()
{
    PageDocument document;
    auto *text = static_cast<TGSuperText *>(
        document.PlaceObject(std::make_unique<TGSuperText>(), QRect(10, 10, 300, 90)));
    text->SetSurfaceType(TGSuperText::stBrushImage);
    text->SetImage(Checker());
    text->SetCaption(QStringLiteral("Clone me"));
    text->SetOutlineStyle(TGSuperText::psDot);
    auto *clone = dynamic_cast<TGSuperText *>(document.CloneObject(text));
    QVERIFY(clone);
    QCOMPARE(clone->Caption(), text->Caption());
    QCOMPARE(clone->OutlineStyle(), TGSuperText::psDot);
    QCOMPARE(clone->ImageBitmapData(), text->ImageBitmapData());
    QCOMPARE(clone->Top(), text->Top() + PageDocument::CloneOffset);
}

// A gradient used to be a picture of the whole object: 4 GiB for the largest
// object a file can hold.
void TestSuperText::hugeObjectPaintsWithoutHugePicture()
{
    TGSuperText source;
    source.SetControlTransparent(false);
    source.SetBounds(QRect(0, 0, 32767, 32767));
    const std::unique_ptr<TGSuperText> text = ReadBack(Record(source));
    QVERIFY(text);
    QCOMPARE(text->Bounds().size(), QSize(32767, 32767));
    QCOMPARE(text->SurfaceType(), TGSuperText::stGradientFill);
    CountingDevice page(QSizeF(8.5, 11), 96);
    {
        QPainter painter(&page);
        text->PaintContent(painter, text->ScaledBounds(), 1.0f);
    }
    QVERIFY(page.Engine().draws > 0);
    // At most a strip of the gradient, one pixel across its bands.
    QVERIFY2(page.Engine().largestPicture <= 32767,
             qPrintable(QString::number(page.Engine().largestPicture)));
}

void TestSuperText::fittingTakesFewMeasurements_data()
{
    // Texts whose every character is `each` pixels wide.
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("each");
    QTest::addColumn<int>("available");
    QTest::newRow("all fits") << 10 << 7 << 70;
    QTest::newRow("one too many") << 10 << 7 << 69;
    QTest::newRow("nothing fits") << 10 << 7 << 6;
    QTest::newRow("empty") << 0 << 7 << 0;
    // Cutting one character at a time used to measure about 5e8 characters a paint.
    QTest::newRow("longest caption in a narrow box") << 32767 << 9 << 100;
    QTest::newRow("longest caption nearly fits") << 32767 << 1 << 32766;
}

void TestSuperText::fittingTakesFewMeasurements()
{
    QFETCH(int, length);
    QFETCH(int, each);
    QFETCH(int, available);
    int measurements = 0;
    const int fitted = TGSuperText::FittingLength(length, available, [&](int n) {
        ++measurements;
        return n * each;
    });
    QCOMPARE(fitted, std::min(length, available / each));
    QVERIFY2(measurements <= 17, qPrintable(QString::number(measurements)));
}

void TestSuperText::longCaptionFits()
{
    TGSuperText text;
    text.SetCaption(QString(32767, QLatin1Char('W')));
    const QFont font = text.ZoomedFont(1.0f);
    const QString fitted = text.FittedCaption(font, 300);
    const QFontMetrics metrics(font);
    QVERIFY(!fitted.isEmpty());
    QVERIFY(metrics.horizontalAdvance(fitted) <= 300);
    QVERIFY(metrics.horizontalAdvance(fitted + QLatin1Char('W')) > 300);
}

// A texture used to be printed tile by tile: a million draws for a picture of
// one pixel at 600 dpi.
void TestSuperText::texturePrintsInOneFill()
{
    TGSuperText text;
    text.SetBounds(QRect(0, 0, 480, 80));
    text.SetCaption(QStringLiteral("December 2027"));
    text.SetSurfaceType(TGSuperText::stBrushImage);
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    text.SetImage(dot);
    CountingDevice paper(QSizeF(8.5, 11), 600);
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        text.PrintTo(engine, 0.5, 0.5);
    }
    QVERIFY2(paper.Engine().draws < 20, qPrintable(QString::number(paper.Engine().draws)));
    QCOMPARE(paper.Engine().largestPicture, 1);
}

QTEST_MAIN(TestSuperText)
#include "tst_supertext.moc"
