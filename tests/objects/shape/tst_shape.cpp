#include "core/export/pageexport.h"
#include "core/formats/componentrecord.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/objects/shape/shapekind.h"
#include "core/objects/shape/tgshape.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>

using namespace Dayloom;

namespace {

QByteArray Record(const PersistentObject &object)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(object, buffer);
    return buffer.data();
}

std::unique_ptr<TGShape> ReadBack(const QByteArray &record)
{
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<PersistentObject> read = ComponentRecord::ReadObject(
        buffer, ObjectKindRegistry::Application().Classes(), {}, nullptr);
    return std::unique_ptr<TGShape>(dynamic_cast<TGShape *>(read.release()));
}

// What a record of any placed object holds when it holds no property of
// its own kind: the base properties under the class name "TGShape".
class BareShape : public TGGraphicControl
{
public:
    QByteArray ClassName() const override { return TGShape::StoredClassName(); }
    const PropertyList &PublishedProperties() const override { return BaseProperties(); }
    void PaintContent(QPainter &, const QRect &, float) const override {}
};

// The shape's own stored paths, as they appear in a record.
const QList<QByteArray> ShapePaths = {"Shape",       "Pen.Color",   "Pen.Width",   "Pen.Style",
                                      "Brush.Color", "Brush.Style", "CornerRadius"};

bool HoldsPath(const QByteArray &record, const QByteArray &path)
{
    return record.contains(char(path.size()) + path);
}

// How far inside (positive) or outside (negative) the band of half-width
// `half` along the segment a-b, squared off `half` beyond its ends, a point
// lies.
double DepthInBand(QPointF p, QPointF a, QPointF b, double half)
{
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF v = p - a;
    const double along = (v.x() * d.x() + v.y() * d.y()) / length;
    const double across = std::abs(v.x() * d.y() - v.y() * d.x()) / length;
    return std::min({half - across, along + half, length + half - along});
}

} // namespace

class TestShape : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void storedShapeRoundTrip_data();
    void storedShapeRoundTrip();
    void lineIsHitOnlyNearItself_data();
    void lineIsHitOnlyNearItself();
    void penScalesWithTheResolution_data();
    void penScalesWithTheResolution();
    void exportedAsVectors();
};

void TestShape::storedShapeRoundTrip_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<uint>("penColor");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<int>("penStyle");
    QTest::addColumn<uint>("brushColor");
    QTest::addColumn<int>("brushStyle");
    QTest::addColumn<int>("cornerRadius");
    QTest::addColumn<QList<QByteArray>>("written");
    QTest::newRow("defaults") << 0 << 0x000000u << 1 << 0 << 0xFFFFFFu << 1 << 10
                              << QList<QByteArray>();
    QTest::newRow("filled red dashed ellipse")
        << int(TGShape::shEllipse) << 0x0000FFu << 5 << int(TGShape::psDash) << 0x00FFFFu
        << int(TGShape::bsSolid) << 10
        << QList<QByteArray>{"Shape",     "Pen.Color",   "Pen.Width",
                             "Pen.Style", "Brush.Color", "Brush.Style"};
    QTest::newRow("round rectangle, only its radius")
        << int(TGShape::shRoundRect) << 0x000000u << 1 << 0 << 0xFFFFFFu << 1 << 24
        << QList<QByteArray>{"Shape", "CornerRadius"};
    QTest::newRow("thick dash-dot line up")
        << int(TGShape::shLineUp) << 0x800000u << 8 << int(TGShape::psDashDot) << 0xFFFFFFu << 1
        << 10 << QList<QByteArray>{"Shape", "Pen.Color", "Pen.Width", "Pen.Style"};
}

void TestShape::storedShapeRoundTrip()
{
    QFETCH(int, shape);
    QFETCH(uint, penColor);
    QFETCH(int, penWidth);
    QFETCH(int, penStyle);
    QFETCH(uint, brushColor);
    QFETCH(int, brushStyle);
    QFETCH(int, cornerRadius);
    QFETCH(QList<QByteArray>, written);

    const QRect bounds(30, 40, TGShape::DefaultWidth, TGShape::DefaultHeight);
    TGShape source;
    QCOMPARE(source.Bounds().size(), bounds.size());
    source.SetBounds(bounds);
    source.SetShape(TGShape::TShapeType(shape));
    source.SetPenColor(TColor(penColor));
    source.SetPenWidth(penWidth);
    source.SetPenStyle(TGShape::TPenStyle(penStyle));
    source.SetBrushColor(TColor(brushColor));
    source.SetBrushStyle(TGShape::TBrushStyle(brushStyle));
    source.SetCornerRadius(cornerRadius);
    const QByteArray record = Record(source);

    // Only what differs from the defaults is stored; a default shape's
    // record holds the base properties alone.
    for (const QByteArray &path : ShapePaths)
        QCOMPARE(HoldsPath(record, path), written.contains(path));
    if (written.isEmpty()) {
        BareShape bare;
        bare.SetBounds(bounds);
        QCOMPARE(record, Record(bare));
    }

    const std::unique_ptr<TGShape> copy = ReadBack(record);
    QVERIFY(copy);
    copy->SetName(source.Name()); // records read are renamed
    QCOMPARE(int(copy->Shape()), shape);
    QCOMPARE(copy->PenColor(), TColor(penColor));
    QCOMPARE(copy->PenWidth(), penWidth);
    QCOMPARE(int(copy->PenStyle()), penStyle);
    QCOMPARE(copy->BrushColor(), TColor(brushColor));
    QCOMPARE(int(copy->BrushStyle()), brushStyle);
    QCOMPARE(copy->CornerRadius(), cornerRadius);
    QCOMPARE(Record(*copy), record);
}

void TestShape::lineIsHitOnlyNearItself_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<float>("zoom");
    QTest::newRow("line down") << int(TGShape::shLineDown) << 1 << 1.0f;
    QTest::newRow("line up, zoomed in") << int(TGShape::shLineUp) << 1 << 2.0f;
    QTest::newRow("line wider than the band") << int(TGShape::shLineDown) << 8 << 1.0f;
}

void TestShape::lineIsHitOnlyNearItself()
{
    QFETCH(int, shape);
    QFETCH(int, penWidth);
    QFETCH(float, zoom);
    PageDocument document;
    auto *line = static_cast<TGShape *>(document.CreateObjectInRect(psShape, QRect(0, 0, 10, 10)));
    QVERIFY(line);
    line->SetShape(TGShape::TShapeType(shape));
    line->SetPenWidth(penWidth);
    line->SetBounds(QRect(100, 100, 120, 80));
    document.SetZoom(zoom);

    // Clicks hit the band 4 screen pixels wide (or the pen's width) along
    // the line, not the rest of its box.
    const double pen = penWidth * double(zoom);
    // The line runs between the corners of its box less half its pen.
    const QRectF box = QRectF(line->ScaledBounds()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    const QPointF a = shape == TGShape::shLineDown ? box.topLeft() : box.bottomLeft();
    const QPointF b = shape == TGShape::shLineDown ? box.bottomRight() : box.topRight();
    const double half = std::max(4.0, pen) / 2;
    int hits = 0;
    for (int y = line->ScaledBounds().top(); y <= line->ScaledBounds().bottom(); ++y) {
        for (int x = line->ScaledBounds().left(); x <= line->ScaledBounds().right(); ++x) {
            const double depth = DepthInBand(QPointF(x + 0.5, y + 0.5), a, b, half);
            if (std::abs(depth) < 0.25)
                continue; // on the band's edge
            const bool hit = document.ObjectAt(QPoint(x, y)) == line;
            QVERIFY2(hit == (depth > 0), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            hits += hit;
        }
    }
    QVERIFY(hits > 0);
    // A band over the empty corner of the box leaves the line alone.
    const QRect corner = shape == TGShape::shLineDown
                             ? QRect(line->ScaledBounds().topRight() - QPoint(20, 0), QSize(20, 10))
                             : QRect(line->ScaledBounds().topLeft(), QSize(20, 10));
    QVERIFY(document.ObjectsTouching(corner).isEmpty());
    QCOMPARE(document.ObjectsTouching(line->ScaledBounds()), QList<TGGraphicControl *>{line});
}

void TestShape::penScalesWithTheResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("screen") << 96;
    QTest::newRow("paper at 300 dpi") << 300;
    QTest::newRow("paper at 600 dpi") << 600;
}

void TestShape::penScalesWithTheResolution()
{
    QFETCH(int, dpi);
    TGShape box;
    box.SetBounds(QRect(96, 48, 96, 96)); // one inch square at (1, 0.5) inches
    box.SetPenWidth(3);
    box.SetPenColor(clBlack);
    box.ScaleTo(0.5f); // the screen's zoom does not matter on paper

    QImage paper(3 * dpi, 2 * dpi, QImage::Format_RGB32);
    paper.setDotsPerMeterX(qRound(dpi / 0.0254));
    paper.setDotsPerMeterY(qRound(dpi / 0.0254));
    paper.fill(Qt::white);
    {
        QPainter painter(&paper);
        PrintEngine engine(painter);
        box.PrintTo(engine, 0.5, 0.25);
    }
    // The left side starts at 1.5 inches and is 3/96 inch thick.
    const int y = qRound(1.25 * dpi);
    int first = -1;
    double ink = 0;
    for (int x = 0; x < dpi * 2; ++x) {
        const double darkness = 1.0 - paper.pixelColor(x, y).lightnessF();
        if (darkness > 0.5 && first < 0)
            first = x;
        ink += darkness;
    }
    QVERIFY(std::abs(first - 1.5 * dpi) <= 1);
    QVERIFY2(std::abs(ink - 3.0 * dpi / 96) <= 1.0, qPrintable(QString::number(ink)));
}

void TestShape::exportedAsVectors()
{
    PageDocument document;
    document.Page().SetDefaultStyle();
    for (int shape = TGShape::shRectangle; shape <= TGShape::shLineUp; ++shape) {
        auto *placed = static_cast<TGShape *>(
            document.CreateObjectInRect(psShape, QRect(100 + 130 * shape, 300, 120, 80)));
        QVERIFY(placed);
        placed->SetShape(TGShape::TShapeType(shape));
        placed->SetPenColor(TColor(0x3399CC)); // #cc9933
        placed->SetPenWidth(5);
    }

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QVERIFY(WriteDocumentSvg(document, svg, nullptr));
    // One stroke per shape in the pen's colour at its width (96 per inch),
    // and no picture.
    QCOMPARE(svg.data().count("stroke=\"#cc9933\""), 5);
    QCOMPARE(svg.data().count("stroke-width=\"5\""), 5);
    QVERIFY(!svg.data().contains("<image"));

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QVERIFY(WriteDocumentPdf(document, 1, PreparePage(), pdf, nullptr));
    QVERIFY(!pdf.data().contains("/Subtype /Image"));
}

QTEST_MAIN(TestShape)
#include "tst_shape.moc"
