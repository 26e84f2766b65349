#include "core/formats/componentrecord.h"
#include "core/objects/label/labelkind.h"
#include "core/objects/label/tgplabel.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

namespace {

constexpr QRgb Shadow = qRgb(255, 0, 0);
constexpr QRgb Highlight = qRgb(0, 0, 255);

QImage Painted(const TGBaseLabel &label, QSize canvas)
{
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    label.PaintContent(painter, QRect(QPoint(10, 10), label.Bounds().size()), 1.0f);
    return image;
}

// The bounding box of the pixels near a colour (anti-aliased edges left out).
QRect Extent(const QImage &image, QRgb color)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (std::abs(qRed(p) - qRed(color)) < 60 && std::abs(qGreen(p) - qGreen(color)) < 60 &&
                std::abs(qBlue(p) - qBlue(color)) < 60)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QRect DarkExtent(const QImage &image)
{
    return Extent(image, qRgb(0, 0, 0));
}

QByteArray Record(const TGBaseLabel &label)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(label, buffer);
    return buffer.data();
}

std::unique_ptr<TGPLabel> ReadBack(const QByteArray &record)
{
    ObjectKindRegistry kinds;
    RegisterObjectKinds(kinds);
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<PersistentObject> read =
        ComponentRecord::ReadObject(buffer, kinds.Classes(), {});
    if (!dynamic_cast<TGPLabel *>(read.get()))
        return nullptr;
    return std::unique_ptr<TGPLabel>(static_cast<TGPLabel *>(read.release()));
}

int LineHeight(const TGBaseLabel &label)
{
    const QFontMetrics metrics(label.DrawingFont());
    const int text = metrics.ascent() + metrics.descent();
    return text + std::max(0, text - label.DrawingFont().pixelSize()) +
           std::max(0, metrics.leading());
}

} // namespace

class TestLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void defaultsShowOnlyTheMainText();
    void shadowLiesDownRight();
    void highlightUpLeftGivesMargins();
    void angle90TurnsTheLabel();
    void heightSettlesBetweenLineAndItsFifth_data();
    void heightSettlesBetweenLineAndItsFifth();
    void otherAnglesAreIgnored();
    void emptyCaptionKeepsOneSpace();
    void alignmentPlacesUnturnedText_data();
    void alignmentPlacesUnturnedText();
    void copiesFollowTheTurn_data();
    void copiesFollowTheTurn();
    void printMatchesScreen_data();
    void printMatchesScreen();
    void pdfKeepsTheText();
    void recordKeepsEveryProperty();
    void emptyCaptionSurvivesTheFile();
    void designKeepsTurnedLabels();
    void growToFitNeverShrinks();
    void menuEntriesAreUndoSteps();
    void toolCreatesAPlacedLabel();
    void sizeSettlesWithTheChangeNotThePaint();
};

void TestLabel::defaultsShowOnlyTheMainText()
{
    TGBaseLabel label;
    QCOMPARE(label.Bounds().size(), QSize(142, 33));
    label.Layout();
    const TGBaseLabel::LabelLayout &layout = label.CurrentLayout();
    QCOMPARE(layout.margins, QPoint(0, 0));
    QCOMPARE(layout.mainOrigin, QPoint(0, 0));
    QCOMPARE(layout.shadowRect, layout.mainRect);
    QCOMPARE(layout.highlightRect, layout.mainRect);
    // The copies lie under the main text: nothing but black shows.
    label.SetcolorShadow(clRed);
    label.SetcolorHighlight(clBlue);
    const QImage image = Painted(label, QSize(200, 80));
    QVERIFY(!DarkExtent(image).isEmpty());
    QVERIFY(Extent(image, Shadow).isEmpty());
    QVERIFY(Extent(image, Highlight).isEmpty());
}

void TestLabel::shadowLiesDownRight()
{
    TGBaseLabel label;
    label.SetDepthShadow(2);
    label.SetDirectionShadow(sdDownRight);
    label.Layout();
    const TGBaseLabel::LabelLayout &layout = label.CurrentLayout();
    QCOMPARE(layout.margins, QPoint(0, 0));
    QCOMPARE(layout.mainOrigin, QPoint(0, 0));
    QCOMPARE(layout.shadowOrigin, QPoint(2, 2));
    QCOMPARE(layout.shadowRect, layout.mainRect.Moved(2, 2));
}

void TestLabel::highlightUpLeftGivesMargins()
{
    TGBaseLabel label;
    label.SetDepthHighlight(3);
    label.SetDirectionHighlight(hdUpLeft);
    label.Layout();
    const TGBaseLabel::LabelLayout &layout = label.CurrentLayout();
    QCOMPARE(layout.margins, QPoint(3, 3));
    QCOMPARE(layout.mainOrigin, QPoint(3, 3));
    QCOMPARE(layout.highlightOrigin, QPoint(0, 0));
}

void TestLabel::angle90TurnsTheLabel()
{
    // A 20-point caption long enough that the size rules keep a line's
    // height and the whole width: the turn only swaps the sides.
    TGBaseLabel label;
    label.SetFont(FontSpec(QStringLiteral("Arial"), 20));
    label.SetCaption(QStringLiteral("Happy Birthday, Grandma!"));
    label.SetAlignment(taCenter);
    const QSize across = label.Bounds().size();
    QCOMPARE(across.width(), 142);
    QVERIFY(qAbs(across.height() - 33) <= 2);
    label.SetAngle(90);
    QCOMPARE(label.Bounds().size(), across.transposed());
    QCOMPARE(label.Alignment(), taLeftJustify);
    // Turned back it runs across again.
    label.SetAngle(0);
    QCOMPARE(label.Bounds().size(), across);
}

void TestLabel::heightSettlesBetweenLineAndItsFifth_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("tooHigh");
    QTest::newRow("far too high") << 300 << true;
    QTest::newRow("too low") << 3 << false;
}

void TestLabel::heightSettlesBetweenLineAndItsFifth()
{
    QFETCH(int, height);
    QFETCH(bool, tooHigh);
    TGBaseLabel label;
    label.SetDepthShadow(2);
    label.SetHeight(height);
    label.Layout();
    const int l = LineHeight(label) + 2;
    QCOMPARE(label.Height(), tooHigh ? int(1.2 * l) : l);
}

void TestLabel::otherAnglesAreIgnored()
{
    TGBaseLabel label;
    label.SetAngle(45);
    QCOMPARE(label.Angle(), 0);
    QCOMPARE(label.Bounds().size(), QSize(142, 33));
}

void TestLabel::emptyCaptionKeepsOneSpace()
{
    TGBaseLabel label;
    label.SetCaption(QString());
    label.SetWidth(3);
    label.Layout();
    const int space = QFontMetrics(label.DrawingFont()).horizontalAdvance(QLatin1Char(' '));
    QCOMPARE(label.CurrentLayout().textWidth, space);
    QCOMPARE(label.Width(), space);
}

void TestLabel::alignmentPlacesUnturnedText_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left") << int(taLeftJustify);
    QTest::newRow("center") << int(taCenter);
    QTest::newRow("right") << int(taRightJustify);
}

void TestLabel::alignmentPlacesUnturnedText()
{
    QFETCH(int, alignment);
    TGBaseLabel label;
    label.SetWidth(301);
    label.SetAlignment(static_cast<TAlignment>(alignment));
    label.Layout();
    const TGBaseLabel::LabelLayout &layout = label.CurrentLayout();
    const int textW = layout.textWidth;
    const int expected = alignment == taLeftJustify ? 0
                         : alignment == taRightJustify
                             ? 301 - textW
                             : 301 / 2 - textW / 2; // both halves truncated
    QCOMPARE(layout.mainOrigin.x(), expected);
}

void TestLabel::copiesFollowTheTurn_data()
{
    QTest::addColumn<int>("angle");
    // How far each copy's edges lie from the text's, measured on the edges
    // that trail the shift (a copy may run out of the label on the others).
    QTest::addColumn<QPoint>("shadowShift");
    QTest::addColumn<QPoint>("highlightShift");
    // Shadow 4 down-right, highlight 4 up-left, turned with the text.
    QTest::newRow("0") << 0 << QPoint(4, 4) << QPoint(-4, -4);
    QTest::newRow("90") << 90 << QPoint(4, -4) << QPoint(-4, 4);
    QTest::newRow("180") << 180 << QPoint(-4, -4) << QPoint(4, 4);
    QTest::newRow("270") << 270 << QPoint(-4, 4) << QPoint(4, -4);
}

void TestLabel::copiesFollowTheTurn()
{
    QFETCH(int, angle);
    QFETCH(QPoint, shadowShift);
    QFETCH(QPoint, highlightShift);
    const auto painted = [angle](bool shadow, bool highlight) {
        TGBaseLabel label;
        label.SetCaption(QStringLiteral("HIH"));
        FontSpec font(QStringLiteral("DejaVu Sans"), 20);
        label.SetFont(font);
        label.SetAngle(angle);
        label.SetcolorShadow(clRed);
        label.SetcolorHighlight(clBlue);
        label.SetDirectionShadow(sdDownRight);
        label.SetDirectionHighlight(hdUpLeft);
        label.SetDepthShadow(shadow ? 4 : 0);
        label.SetDepthHighlight(highlight ? 4 : 0);
        label.Layout();
        return Painted(label, QSize(260, 260));
    };
    // Each copy alone: its colour's extent is the text's, moved by the turned offset.
    const QImage plain = painted(false, false);
    const QRect text = DarkExtent(plain);
    QVERIFY(!text.isEmpty());
    const QImage shadowed = painted(true, false);
    const QRect shadowText = DarkExtent(shadowed);
    const QRect shadow = Extent(shadowed, Shadow);
    QVERIFY2(!shadow.isEmpty(), "no shadow drawn");
    const auto trailing = [](const QRect &r, const QPoint &d) {
        return QPoint(d.x() > 0 ? r.left() : r.right(), d.y() > 0 ? r.top() : r.bottom());
    };
    const QPoint shadowMoved = trailing(shadow, shadowShift) - trailing(shadowText, shadowShift);
    QVERIFY2(
        (shadowMoved - shadowShift).manhattanLength() <= 2,
        qPrintable(QStringLiteral("shadow moved %1,%2").arg(shadowMoved.x()).arg(shadowMoved.y())));
    const QImage highlighted = painted(false, true);
    const QRect highlightText = DarkExtent(highlighted);
    const QRect highlight = Extent(highlighted, Highlight);
    QVERIFY2(!highlight.isEmpty(), "no highlight drawn");
    const QPoint highlightMoved =
        trailing(highlight, highlightShift) - trailing(highlightText, highlightShift);
    QVERIFY2((highlightMoved - highlightShift).manhattanLength() <= 2,
             qPrintable(QStringLiteral("highlight moved %1,%2")
                            .arg(highlightMoved.x())
                            .arg(highlightMoved.y())));
    // Turned text runs along the long side.
    if (angle == 90 || angle == 270)
        QVERIFY(text.height() > text.width());
    else
        QVERIFY(text.width() > text.height());
}

void TestLabel::printMatchesScreen_data()
{
    QTest::addColumn<int>("angle");
    QTest::newRow("0") << 0;
    QTest::newRow("90") << 90;
    QTest::newRow("180") << 180;
    QTest::newRow("270") << 270;
}

void TestLabel::printMatchesScreen()
{
    QFETCH(int, angle);
    TGPLabel label;
    label.SetFont(FontSpec(QStringLiteral("DejaVu Sans"), 16));
    label.SetCaption(QStringLiteral("Happy"));
    label.SetAngle(angle);
    label.SetDepthShadow(3);
    label.SetcolorShadow(clRed);
    label.SetBorderStyle(bsSingle);
    label.SetLeft(40);
    label.SetTop(30);
    label.Layout();
    QImage screen(300, 300, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        label.Paint(painter);
    }
    // The print path at screen resolution: the recorded drawing stretched
    // into the inch rectangle lands on the same pixels.
    QImage printed(300, 300, QImage::Format_RGB32);
    printed.setDotsPerMeterX(qRound(96 / 0.0254));
    printed.setDotsPerMeterY(qRound(96 / 0.0254));
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        PrintEngine engine(painter);
        label.PrintTo(engine, 0, 0);
    }
    const QRect onScreen = DarkExtent(screen);
    const QRect onPaper = DarkExtent(printed);
    QCOMPARE(onScreen, QRect(label.Bounds()));
    QVERIFY2(std::abs(onPaper.left() - onScreen.left()) <= 1 &&
                 std::abs(onPaper.right() - onScreen.right()) <= 1 &&
                 std::abs(onPaper.top() - onScreen.top()) <= 1 &&
                 std::abs(onPaper.bottom() - onScreen.bottom()) <= 1,
             "frame moved on paper");
    const QRect screenShadow = Extent(screen, Shadow);
    const QRect paperShadow = Extent(printed, Shadow);
    QVERIFY(!screenShadow.isEmpty());
    QVERIFY2((paperShadow.center() - screenShadow.center()).manhattanLength() <= 3,
             "shadow moved on paper");
}

void TestLabel::pdfKeepsTheText()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    TGPLabel label;
    label.SetCaption(QStringLiteral("Happy Birthday"));
    label.SetDepthShadow(2);
    label.SetWidth(200);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.pdf"));
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QSizeF(4, 2), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        PrintEngine engine(painter);
        label.PrintTo(engine, 0, 0);
    }
    QProcess process;
    process.start(pdftotext, {path, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Happy Birthday")), qPrintable(text));
}

void TestLabel::recordKeepsEveryProperty()
{
    TGPLabel label;
    label.SetName(QStringLiteral("Component0"));
    label.SetBounds(QRect(5, 6, 200, 40));
    label.SetAngle(180); // turning resets the alignment: first
    label.SetAlignment(taCenter);
    label.SetDepthHighlight(3);
    label.SetDepthShadow(4);
    label.SetDirectionHighlight(hdright);
    label.SetDirectionShadow(sdDownLeft);
    label.SetcolorHighlight(clYellow);
    label.SetcolorShadow(0x123456);
    label.SetCaption(QStringLiteral("Family"));
    FontSpec font(QStringLiteral("DejaVu Serif"), 14, true, clNavy);
    label.SetFont(font);
    label.SetTransparent(false);
    label.SetBackColor(clSilver);
    label.SetBorderStyle(bsSingle);
    label.Layout(); // the size drawing settles on, which reading settles on too
    const QByteArray record = Record(label);
    for (const char *stored : {"TGPLabel",       "Alignment",       "taCenter",
                               "DepthHighlight", "DepthShadow",     "DirectionHighlight",
                               "hdright",        "DirectionShadow", "sdDownLeft",
                               "colorHighlight", "clYellow",        "colorShadow",
                               "Angle",          "Caption",         "Family",
                               "Font.Name",      "DejaVu Serif",    "Transparent",
                               "BackColor",      "clSilver",        "BorderStyle",
                               "bsSingle"})
        QVERIFY2(record.contains(stored), stored);
    // Stored in declaration order.
    QVERIFY(record.indexOf("Alignment") < record.indexOf("DepthHighlight"));
    QVERIFY(record.indexOf("colorShadow") < record.indexOf("Angle"));
    QVERIFY(record.indexOf("Font.") < record.indexOf("Transparent"));
    // Reading the turn used to reset the stored alignment.
    const std::unique_ptr<TGPLabel> copy = ReadBack(record);
    QVERIFY(copy);
    QCOMPARE(Record(*copy), record);
    QCOMPARE(copy->Angle(), 180);
    QCOMPARE(copy->colorShadow(), TColor(0x123456));
    QCOMPARE(copy->Font(), label.Font());
    // Defaults are not written.
    const QByteArray plain = Record(TGPLabel());
    QVERIFY(!plain.contains("DirectionShadow"));
    QVERIFY(!plain.contains("colorHighlight"));
}

void TestLabel::emptyCaptionSurvivesTheFile()
{
    // An empty caption used to be left out of the record and came back as "Text".
    TGPLabel label;
    label.SetCaption(QString());
    const std::unique_ptr<TGPLabel> copy = ReadBack(Record(label));
    QVERIFY(copy);
    QCOMPARE(copy->Caption(), QString());
}

void TestLabel::designKeepsTurnedLabels()
{
    PageDocument document;
    for (int turn = 0; turn < 4; ++turn) {
        auto label = std::make_unique<TGPLabel>();
        label->SetCaption(QStringLiteral("Turn %1").arg(turn));
        label->SetDepthShadow(2);
        label->SetDepthHighlight(1);
        label->SetAngle(turn * 90);
        // Drawn once, as the screen does before anyone saves.
        document.PlaceObject(std::move(label), QRect(50 + turn * 60, 40, 142, 33));
        static_cast<TGBaseLabel *>(document.Object(turn))->Layout();
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("labels.dlf"));
    QString error;
    QVERIFY2(document.Save(path, &error), qPrintable(error));
    PageDocument reopened;
    QVERIFY2(reopened.Open(path, &error), qPrintable(error));
    QCOMPARE(reopened.ObjectCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const auto *saved = static_cast<const TGBaseLabel *>(document.Object(i));
        auto *read = dynamic_cast<TGBaseLabel *>(reopened.Object(i));
        QVERIFY(read);
        QCOMPARE(read->Angle(), i * 90);
        read->SetName(saved->Name()); // a file names its objects afresh
        QCOMPARE(Record(*read), Record(*saved));
    }
}

void TestLabel::growToFitNeverShrinks()
{
    TGPLabel label;
    label.SetBounds(QRect(0, 0, 50, 15));
    label.TakeEditedText(QStringLiteral("A much longer caption"));
    const int wide = QFontMetrics(label.DrawingFont())
                         .horizontalAdvance(QStringLiteral("A much longer caption     "));
    QCOMPARE(label.Width(), wide);
    label.SetWidth(600);
    label.TakeEditedText(QStringLiteral("A"));
    QCOMPARE(label.Width(), 600);
    // Turned labels keep their size.
    label.SetAngle(90);
    const QSize turned = label.Bounds().size();
    label.TakeEditedText(QStringLiteral("A much much longer caption than before"));
    QCOMPARE(label.Bounds().size(), turned);
}

void TestLabel::menuEntriesAreUndoSteps()
{
    PageDocument document;
    auto owned = std::make_unique<TGPLabel>();
    TGPLabel *label = owned.get();
    document.PlaceObject(std::move(owned), QRect(10, 10, 142, 33));
    const QRect placed = document.Objects().first()->Bounds();
    const auto entry = [label](const QString &caption) {
        for (const TGGraphicControl::MenuEntry &e : label->MenuEntries()) {
            if (e.caption == caption)
                return e;
        }
        return TGGraphicControl::MenuEntry{};
    };
    QCOMPARE(entry(QStringLiteral("90 Degrees")).parent, QStringLiteral("Rotation"));
    QCOMPARE(entry(QStringLiteral("Center")).parent, QStringLiteral("Alignment"));
    QVERIFY(entry(QStringLiteral("No Rotation")).checked);
    QVERIFY(entry(QStringLiteral("Transparent")).checked);
    QVERIFY(!label->RunMenuEntry(QStringLiteral("3D Effects"))); // a dialog: the window's
    const int before = document.UndoStack().count();
    const TGGraphicControl::MenuEntry rotate = entry(QStringLiteral("90 Degrees"));
    document.EditObject(label, rotate.undoText,
                        [](TGGraphicControl &o) { o.RunMenuEntry(QStringLiteral("90 Degrees")); });
    QCOMPARE(document.UndoStack().count(), before + 1);
    QCOMPARE(document.UndoStack().undoText(), QStringLiteral("Rotate label"));
    QCOMPARE(label->Angle(), 90);
    QVERIFY(entry(QStringLiteral("90 Degrees")).checked);
    QVERIFY(label->Height() > label->Width());
    document.UndoStack().undo();
    QCOMPARE(label->Angle(), 0);
    QCOMPARE(label->Bounds(), placed);
}

void TestLabel::toolCreatesAPlacedLabel()
{
    PageDocument document;
    TGGraphicControl *object = document.CreateObjectInRect(psLabel, QRect(20, 20, 10, 5));
    QVERIFY(dynamic_cast<TGPLabel *>(object));
    // The smallest band the tool makes, settled to one line of the text.
    QCOMPARE(object->Bounds().topLeft(), QPoint(20, 20));
    QCOMPARE(object->Width(), 50);
    QVERIFY(object->Height() >= 15);
    auto *label = static_cast<TGPLabel *>(object);
    label->TakeCreationLook(FontSpec(QStringLiteral("DejaVu Sans"), 9));
    QCOMPARE(label->Caption(), QStringLiteral("Enter text..."));
    QCOMPARE(label->Font().Size(), 20);
    QCOMPARE(label->Font().Name(), QStringLiteral("DejaVu Sans"));
    QVERIFY(!label->Transparent());
    QCOMPARE(label->BorderStyle(), bsSingle);
    // Copy and paste bring back a label with the same look.
    QTemporaryDir dir;
    document.SetClipboardFile(dir.filePath(QStringLiteral("Clipbrd.tmp")));
    QVERIFY(document.CopyObjects({label}));
    const QList<TGGraphicControl *> pasted = document.Paste();
    QCOMPARE(pasted.size(), 1);
    auto *copy = dynamic_cast<TGPLabel *>(pasted.first());
    QVERIFY(copy);
    QCOMPARE(copy->Caption(), label->Caption());
    QCOMPARE(copy->BorderStyle(), bsSingle);
    TGGraphicControl *clone = document.CloneObject(label);
    QVERIFY(dynamic_cast<TGPLabel *>(clone));
    QCOMPARE(static_cast<TGPLabel *>(clone)->Font(), label->Font());
}

// Drawing used to lay the label out and change its size, outside any undo
// step; now the change that needs it settles the size.
void TestLabel::sizeSettlesWithTheChangeNotThePaint()
{
    TGBaseLabel label;
    const QSize fresh = label.Bounds().size();
    Painted(label, QSize(200, 80));
    QCOMPARE(label.Bounds().size(), fresh);
    label.SetHeight(300);
    const int l = LineHeight(label);
    QCOMPARE(label.Height(), int(1.2 * l));
    Painted(label, QSize(200, 400));
    QCOMPARE(label.Height(), int(1.2 * l));
}

QTEST_MAIN(TestLabel)
#include "tst_label.moc"
