#include "core/calendar/cellnotescommand.h"
#include "core/formats/componentrecord.h"
#include "core/io/appfolders.h"
#include "core/io/datafolder.h"
#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/label/labelkind.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/surface/handlegeometry.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Dayloom;

namespace {

// A document with its own clipboard file and a clock the test moves.
struct Fixture
{
    QTemporaryDir dir;
    PageDocument document;
    qint64 now = 5000;

    Fixture()
    {
        document.SetClipboardFile(dir.filePath(QStringLiteral("Clipbrd.tmp")));
        document.SetClock([this] { return now; });
    }

    TGGraphicControl *Add(const QRect &surfaceRect)
    {
        return document.PlaceObject(std::make_unique<TGFlatCalendar>(), surfaceRect);
    }
};

TWPRtfStorage Note(const char *rtf)
{
    TWPRtfStorage note;
    note.SetRtfText(rtf);
    return note;
}

// A calendar that claims only the left half of its box.
class LeftHalfCalendar : public TGFlatCalendar
{
public:
    bool Covers(const QPoint &point) const override { return LeftHalf().contains(point); }
    bool Touches(const QRect &rect) const override { return LeftHalf().intersects(rect); }

private:
    QRect LeftHalf() const
    {
        QRect half = ScaledBounds();
        half.setWidth(half.width() / 2);
        return half;
    }
};

QList<QRect> BoundsOf(const PageDocument &document)
{
    QList<QRect> bounds;
    for (const TGGraphicControl *object : document.Objects())
        bounds.append(object->Bounds());
    return bounds;
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void zoneTable_data();
    void zoneTable();
    void dragRect_data();
    void dragRect();
    void nudge_data();
    void nudge();
    void handleMargins();

    void placesWithMinimumSizesAndNames_data();
    void placesWithMinimumSizesAndNames();
    void creationGuardAndUnbuiltKinds();
    void documentCreatesOnlyTheKindsItIsGiven();
    void pastesEachCopyOffsetFromTheLast();
    void withdrawnCreationLeavesNoStep();
    void damagedClipboardPastesNothing_data();
    void damagedClipboardPastesNothing();
    void cutAndCopyNeedObjects();
    void clonesBelowSource();
    void zoomNeverMovesStoredBounds();
    void zoomedMovesConvertToPage();
    void savesZoomOneBoundsAtAnyZoom();
    void unreadObjectsLastUntilSavedOver();
    void picturesOverBudgetAreToldOnOpening();
    void restacks();
    void clicksAndBandsFindWhatObjectsCover();
    void aligns_data();
    void aligns();
    void clampsAndRemovesStrays();
    void undoRestoresBoundsAndStacking();
    void nudgesMergeIntoOneStep();
    void stateCommandsUndo();
    void printingSilencesObjectChanges();
    void settingsClearNotesOnlyWhenTheyMust_data();
    void settingsClearNotesOnlyWhenTheyMust();
    void pageEditsAreOneStepEach_data();
    void pageEditsAreOneStepEach();

    void flatCalendarFirstRow_data();
    void flatCalendarFirstRow();
    void flatCalendarShadowAtHalfZoom();
    void flatCalendarPropertiesRoundTrip();
    void dataFolderFallsBack();
    void constructionTouchesNoDisk();
};

void TestSurface::roundsHalfToEven_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("expected");
    QTest::newRow("1.5 rounds up to 2") << 3 << 0.5f << 2;
    QTest::newRow("2.5 rounds down to 2") << 5 << 0.5f << 2;
    QTest::newRow("3.5 rounds up to 4") << 7 << 0.5f << 4;
    QTest::newRow("0.6 zoom") << 5 << 0.6f << 3;
    QTest::newRow("negative half") << -3 << 0.5f << -2;
}

void TestSurface::roundsHalfToEven()
{
    QFETCH(int, value);
    QFETCH(float, zoom);
    QFETCH(int, expected);
    QCOMPARE(TGGraphicControl::Scale(value, zoom), expected);
}

void TestSurface::zoneTable_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("single");
    QTest::addColumn<int>("zone");
    // A 55 x 35 handle: middles at 27.5 and 17.5.
    QTest::newRow("body") << QPoint(20, 12) << true << 0;
    QTest::newRow("top-left") << QPoint(3, 3) << true << 1;
    QTest::newRow("top-right") << QPoint(52, 2) << true << 2;
    QTest::newRow("bottom-left") << QPoint(1, 33) << true << 3;
    QTest::newRow("bottom-right") << QPoint(54, 34) << true << 4;
    QTest::newRow("top middle") << QPoint(27, 1) << true << 5;
    QTest::newRow("left middle") << QPoint(2, 17) << true << 6;
    QTest::newRow("bottom middle") << QPoint(32, 34) << true << 7;
    QTest::newRow("right middle") << QPoint(53, 23) << true << 8;
    QTest::newRow("middle band is under 6") << QPoint(53, 24) << true << 0;
    QTest::newRow("several objects only move") << QPoint(54, 34) << false << 0;
}

void TestSurface::zoneTable()
{
    QFETCH(QPoint, point);
    QFETCH(bool, single);
    QFETCH(int, zone);
    QCOMPARE(HandleGeometry::ZoneAt(point, QSize(55, 35), single), zone);
}

void TestSurface::dragRect_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<int>("grid");
    QTest::addColumn<QRect>("expected");
    // Handle at (98, 98), 55 x 35.
    QTest::newRow("move") << 0 << QPoint(10, -5) << 1 << QRect(108, 93, 55, 35);
    QTest::newRow("move snapped") << 0 << QPoint(10, 7) << 8 << QRect(104, 104, 55, 35);
    QTest::newRow("right edge is one less") << 8 << QPoint(10, 0) << 1 << QRect(98, 98, 64, 35);
    QTest::newRow("left edge grows fully") << 6 << QPoint(-10, 0) << 1 << QRect(88, 98, 65, 35);
    QTest::newRow("bottom-right") << 4 << QPoint(5, 5) << 1 << QRect(98, 98, 59, 39);
    QTest::newRow("top-left") << 1 << QPoint(-3, -4) << 1 << QRect(95, 94, 58, 39);
    QTest::newRow("top-right") << 2 << QPoint(4, 6) << 1 << QRect(98, 104, 58, 29);
    QTest::newRow("bottom-left") << 3 << QPoint(2, -6) << 1 << QRect(100, 98, 53, 28);
    QTest::newRow("top edge") << 5 << QPoint(7, 3) << 1 << QRect(98, 101, 55, 32);
    QTest::newRow("bottom edge snapped") << 7 << QPoint(0, 10) << 4 << QRect(98, 98, 55, 43);
    QTest::newRow("never below 5") << 8 << QPoint(-80, 0) << 1 << QRect(98, 98, 5, 35);
}

void TestSurface::dragRect()
{
    QFETCH(int, zone);
    QFETCH(QPoint, delta);
    QFETCH(int, grid);
    QFETCH(QRect, expected);
    QCOMPARE(HandleGeometry::DragRect(zone, QRect(98, 98, 55, 35), delta, grid, grid), expected);
}

void TestSurface::nudge_data()
{
    QTest::addColumn<QRect>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("resize");
    QTest::addColumn<QRect>("expected");
    const QRect box(QPoint(100, 100), QPoint(149, 114));
    QTest::newRow("right") << box << int(Qt::Key_Right) << false << box.translated(1, 0);
    QTest::newRow("up") << box << int(Qt::Key_Up) << false << box.translated(0, -1);
    QTest::newRow("left stops at 0") << QRect(QPoint(0, 5), QPoint(20, 30)) << int(Qt::Key_Left)
                                     << false << QRect(QPoint(0, 5), QPoint(20, 30));
    QTest::newRow("right stops at the edge")
        << QRect(QPoint(780, 5), QPoint(816, 30)) << int(Qt::Key_Right) << false
        << QRect(QPoint(780, 5), QPoint(816, 30));
    QTest::newRow("shift right grows")
        << box << int(Qt::Key_Right) << true << QRect(QPoint(100, 100), QPoint(150, 114));
    QTest::newRow("shift left of width 10 does nothing")
        << QRect(QPoint(100, 100), QPoint(109, 120)) << int(Qt::Key_Left) << true
        << QRect(QPoint(100, 100), QPoint(109, 120));
    QTest::newRow("shift up shrinks")
        << box << int(Qt::Key_Up) << true << QRect(QPoint(100, 100), QPoint(149, 113));
}

void TestSurface::nudge()
{
    QFETCH(QRect, box);
    QFETCH(int, key);
    QFETCH(bool, resize);
    QFETCH(QRect, expected);
    QCOMPARE(HandleGeometry::Nudge(box, key, resize, QSize(816, 1056)), expected);
}

void TestSurface::handleMargins()
{
    const QRect a(100, 100, 50, 15);
    const QRect b(200, 150, 30, 30);
    QCOMPARE(HandleGeometry::AddToHandle(QRect(), true, a), QRect(98, 98, 55, 20));
    QCOMPARE(HandleGeometry::HandleAround({a, b}), QRect(98, 98, 135, 85));
    // A refit is one pixel larger to the right and bottom.
    QCOMPARE(HandleGeometry::FitAround({a, b}), QRect(98, 98, 136, 86));
    // Nudging starts on the objects' box and gives the handle back unchanged.
    const QRect handle(98, 98, 55, 20);
    QCOMPARE(HandleGeometry::NudgeToHandle(HandleGeometry::NudgeStart(handle)), handle);
}

void TestSurface::placesWithMinimumSizesAndNames_data()
{
    QTest::addColumn<QRect>("band");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("click") << QRect(100, 120, 0, 0) << QRect(100, 120, 50, 15);
    QTest::newRow("narrow drag") << QRect(10, 10, 24, 40) << QRect(10, 10, 50, 40);
    QTest::newRow("flat drag") << QRect(10, 10, 30, 10) << QRect(10, 10, 30, 15);
    QTest::newRow("large drag") << QRect(5, 6, 200, 150) << QRect(5, 6, 200, 150);
}

void TestSurface::placesWithMinimumSizesAndNames()
{
    QFETCH(QRect, band);
    QFETCH(QRect, expected);
    Fixture f;
    TGGraphicControl *first = f.document.CreateObjectInRect(psFlatCalendar, band);
    QVERIFY(first);
    QCOMPARE(first->Bounds(), expected);
    QCOMPARE(first->Name(), QStringLiteral("Special1"));
    TGGraphicControl *second = f.document.CreateObjectInRect(psFlatCalendar, band);
    QCOMPARE(second->Name(), QStringLiteral("Special2"));
    QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("Create"));
}

void TestSurface::creationGuardAndUnbuiltKinds()
{
    Fixture f;
    // The pointer creates nothing (no placeholder objects).
    QVERIFY(!f.document.CreateObjectInRect(psPointing, QRect(0, 0, 40, 40)));
    QCOMPARE(f.document.ObjectCount(), 0);
    QCOMPARE(f.document.UndoStack().count(), 0);
}

// The document used to register every kind itself; it now creates the
// kinds of the registry it shares, and only those.
void TestSurface::documentCreatesOnlyTheKindsItIsGiven()
{
    const QRect band(10, 10, 40, 40);
    const ObjectKindRegistry none;
    PageDocument bare(none);
    QVERIFY(!bare.CreateObjectInRect(psFlatCalendar, band));
    QCOMPARE(bare.ObjectCount(), 0);

    ObjectKindRegistry calendars;
    RegisterFlatCalendarKind(calendars);
    PageDocument document(calendars);
    QVERIFY(dynamic_cast<TGFlatCalendar *>(document.CreateObjectInRect(psFlatCalendar, band)));
    QVERIFY(!document.CreateObjectInRect(psLabel, band));
    QCOMPARE(&document.Kinds(), &calendars);
    QCOMPARE(&PageDocument().Kinds(), &ObjectKindRegistry::Application());
}

// A second paste within a second used to do nothing, and every paste
// landed on the same place.
void TestSurface::pastesEachCopyOffsetFromTheLast()
{
    Fixture f;
    TGGraphicControl *source = f.Add(QRect(10, 20, 60, 40));
    QVERIFY(!f.document.CanPaste());
    QVERIFY(f.document.CopyObjects({source}));
    QVERIFY(f.document.CanPaste());

    const QList<TGGraphicControl *> first = f.document.Paste();
    QCOMPARE(first.size(), 1);
    QCOMPARE(first[0]->Name(), QStringLiteral("Component0"));
    QCOMPARE(first[0]->Bounds(), QRect(25, 35, 60, 40));
    const QList<TGGraphicControl *> second = f.document.Paste();
    QCOMPARE(second.size(), 1);
    QCOMPARE(second[0]->Name(), QStringLiteral("Component1"));
    QCOMPARE(second[0]->Bounds(), QRect(40, 50, 60, 40));
    QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("Paste"));

    // New contents start again from their own place.
    QVERIFY(f.document.CopyObjects(first));
    QCOMPARE(f.document.Paste().value(0)->Bounds(), QRect(40, 50, 60, 40));
    QCOMPARE(f.document.ObjectCount(), 4);
}

// Cancelling the dialog of a new object used to leave its "Create" step.
void TestSurface::withdrawnCreationLeavesNoStep()
{
    Fixture f;
    TGGraphicControl *kept = f.Add(QRect(10, 20, 60, 40));
    f.document.UndoStack().setClean();
    TGGraphicControl *cancelled = f.Add(QRect(80, 20, 60, 40));
    QVERIFY(!f.document.WithdrawCreation(kept));
    QVERIFY(f.document.WithdrawCreation(cancelled));
    QCOMPARE(f.document.Objects(), QList<TGGraphicControl *>{kept});
    QCOMPARE(f.document.UndoStack().count(), 1);
    QVERIFY(f.document.UndoStack().isClean());

    // Only while the creation is the latest step.
    TGGraphicControl *moved = f.Add(QRect(80, 20, 60, 40));
    f.document.AlignLeft({kept, moved});
    QVERIFY(!f.document.WithdrawCreation(moved));
    QCOMPARE(f.document.ObjectCount(), 2);
}

void TestSurface::damagedClipboardPastesNothing_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("garbage") << QByteArray("not a clipboard at all");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("unknown class") << QByteArray("\x0eTPF0\x06TThing\x04Name\x00\x00\x00", 19);
}

void TestSurface::damagedClipboardPastesNothing()
{
    // A clipboard file that failed to read used to abort the program.
    QFETCH(QByteArray, contents);
    Fixture f;
    TGGraphicControl *source = f.Add(QRect(10, 20, 60, 40));
    QVERIFY(f.document.CopyObjects({source}));
    QByteArray valid;
    {
        QFile file(f.document.ClipboardFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        valid = file.readAll();
    }
    for (const QByteArray &bytes : {contents, valid.left(valid.size() - 3)}) {
        QFile file(f.document.ClipboardFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QString error;
        QVERIFY(f.document.Paste(&error).isEmpty());
        QVERIFY(!error.isEmpty());
        QCOMPARE(f.document.ObjectCount(), 1);
        QCOMPARE(f.document.UndoStack().count(), 1);
    }
}

void TestSurface::cutAndCopyNeedObjects()
{
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(10, 20, 60, 40));
    QVERIFY(f.document.CopyObjects({a}));
    const QByteArray before = [&] {
        QFile file(f.document.ClipboardFile());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    // Nothing selected: the older clipboard stays.
    QVERIFY(!f.document.CopyObjects({}));
    QVERIFY(!f.document.CutObjects({}));
    QFile file(f.document.ClipboardFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    // A cut that cannot write the clipboard keeps the objects.
    f.document.SetClipboardFile(f.dir.filePath(QStringLiteral("missing/folder/Clipbrd.tmp")));
    QVERIFY(!f.document.CutObjects({a}));
    QCOMPARE(f.document.ObjectCount(), 1);
}

void TestSurface::clonesBelowSource()
{
    Fixture f;
    TGGraphicControl *source = f.Add(QRect(40, 50, 80, 60));
    f.Add(QRect(300, 300, 50, 50));
    QSignalSpy cloned(&f.document, &PageDocument::objectCloned);
    TGGraphicControl *copy = f.document.CloneObject(source);
    QVERIFY(copy);
    QCOMPARE(copy->Bounds(), QRect(40, 75, 80, 60));
    QCOMPARE(copy->Name(), QStringLiteral("Component0"));
    QCOMPARE(f.document.IndexOf(copy), 2);
    QCOMPARE(cloned.count(), 1);
    // At half zoom the copy is still 25 screen pixels lower.
    f.document.SetZoom(0.5f);
    TGGraphicControl *zoomed = f.document.CloneObject(source);
    QCOMPARE(zoomed->ScaledBounds().top() - source->ScaledBounds().top(), 25);
}

void TestSurface::zoomNeverMovesStoredBounds()
{
    // Each zoom step used to round the current bounds: left 3 became 4.
    Fixture f;
    for (int i = 0; i < 8; ++i)
        f.Add(QRect(3 + i * 7, 5 + i * 11, 31 + i, 17 + 3 * i));
    const QList<QRect> before = BoundsOf(f.document);
    for (float zoom : {0.5f, 1.0f, 0.6f, 1.0f, 0.75f, 1.5f, 1.0f})
        f.document.SetZoom(zoom);
    QCOMPARE(BoundsOf(f.document), before);
    f.document.SetZoom(0.5f);
    QCOMPARE(f.document.Object(0)->ScaledBounds(), QRect(2, 2, 16, 8));
    QCOMPARE(f.document.SurfaceSize(), QSize(408, 528));
}

void TestSurface::zoomedMovesConvertToPage()
{
    Fixture f;
    f.document.SetZoom(0.5f);
    TGGraphicControl *object = f.Add(QRect(50, 50, 40, 20));
    QCOMPARE(object->Bounds(), QRect(100, 100, 80, 40));
    // A handle moved 10 screen pixels moves the object 20 page pixels and
    // keeps its size.
    f.document.MoveResizeObjects({object}, QRect(48, 48, 46, 26), QRect(58, 48, 46, 26),
                                 QStringLiteral("Move"));
    QCOMPARE(object->Bounds(), QRect(120, 100, 80, 40));
    // At a large zoom a one-pixel nudge still moves.
    f.document.SetZoom(3.0f);
    f.document.MoveResizeObjects({object}, QRect(0, 0, 10, 10), QRect(1, 0, 10, 10),
                                 QStringLiteral("Nudge"), true);
    QCOMPARE(object->Left(), 121);
}

void TestSurface::savesZoomOneBoundsAtAnyZoom()
{
    Fixture f;
    f.Add(QRect(3, 7, 51, 33));
    f.document.SetZoom(0.6f);
    const QString path = f.dir.filePath(QStringLiteral("design.DLF"));
    QString error;
    QVERIFY2(f.document.Save(path, &error), qPrintable(error));
    PageDocument reopened;
    QVERIFY(reopened.Open(path, &error));
    QCOMPARE(reopened.ObjectCount(), 1);
    QCOMPARE(reopened.Object(0)->Bounds(), QRect(3, 7, 51, 33));
    QCOMPARE(reopened.UndoStack().count(), 0);
}

// Objects that could not be read used to be dropped without a trace, and a
// failed open replaced the objects with those read before the failure.
void TestSurface::unreadObjectsLastUntilSavedOver()
{
    Fixture f;
    f.Add(QRect(0, 0, 60, 40));
    f.Add(QRect(0, 50, 60, 40));
    const QString path = f.dir.filePath(QStringLiteral("design.DLF"));
    QVERIFY(f.document.Save(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[bytes.lastIndexOf("TGFlatCalendar")] = 'X';
    file.seek(0);
    file.write(bytes);
    file.close();

    PageDocument reopened;
    QVERIFY(reopened.Open(path));
    QCOMPARE(reopened.ObjectCount(), 1);
    QCOMPARE(reopened.UnreadObjects(), 1);
    QVERIFY(reopened.SavingDropsUnreadObjects(path));
    const QString other = f.dir.filePath(QStringLiteral("other.DLF"));
    QVERIFY(!reopened.SavingDropsUnreadObjects(other));
    QVERIFY(reopened.Save(other));
    QVERIFY(reopened.SavingDropsUnreadObjects(path)); // the original still holds it
    QVERIFY(reopened.Save(path));
    QCOMPARE(reopened.UnreadObjects(), 0);

    QVERIFY(reopened.Open(other));
    QCOMPARE(reopened.UnreadObjects(), 0);
    QFile bad(f.dir.filePath(QStringLiteral("bad.DLF")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(bytes.left(bytes.size() / 3));
    bad.close();
    bool replaced = true;
    QVERIFY(!reopened.Open(bad.fileName(), nullptr, &replaced));
    QVERIFY(!replaced);
    QCOMPARE(reopened.ObjectCount(), 1);
}

namespace {

quint32 Crc32(QByteArrayView bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG file whose header claims width x height pixels: a real one-pixel
// picture with its size rewritten (and its header's checksum with it).
QByteArray PngClaiming(quint32 width, quint32 height)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(1, 1, QImage::Format_RGB32).save(&buffer, "PNG");
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(Crc32(QByteArrayView(png).sliced(12, 17)), png.data() + 29);
    return png;
}

} // namespace

void TestSurface::picturesOverBudgetAreToldOnOpening()
{
    // A picture in a note too large to decode vanished without a word.
    Fixture f;
    TWPRtfStorage note;
    note.SetRtfText("{\\rtf1 {\\pict\\pngblip\\picw6000\\pich5000 " +
                    PngClaiming(6000, 5000).toHex() + "}}");
    f.document.Page().SetCellNote(10, note);
    const QString path = f.dir.filePath(QStringLiteral("pictures.DLF"));
    QVERIFY(f.document.Save(path));

    PageDocument reopened;
    QVERIFY(reopened.Open(path));
    QVERIFY2(reopened.PicturesLeftOut().contains(QLatin1String("6000 x 5000")),
             qPrintable(reopened.PicturesLeftOut()));
    reopened.Page().SetCellNote(10, TWPRtfStorage());
    QVERIFY(reopened.Save(path));
    QVERIFY(reopened.Open(path));
    QVERIFY(reopened.PicturesLeftOut().isEmpty());
}

void TestSurface::restacks()
{
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(0, 0, 20, 20));
    TGGraphicControl *b = f.Add(QRect(0, 0, 20, 20));
    TGGraphicControl *c = f.Add(QRect(0, 0, 20, 20));
    f.document.BringToFront({a, b});
    QCOMPARE(f.document.Objects(), (QList<TGGraphicControl *>{c, a, b}));
    // Each one goes to the bottom in turn, so the last one ends lowest.
    f.document.SendToBack({a, b});
    QCOMPARE(f.document.Objects(), (QList<TGGraphicControl *>{b, a, c}));
    f.document.UndoStack().undo();
    QCOMPARE(f.document.Objects(), (QList<TGGraphicControl *>{c, a, b}));
    QCOMPARE(f.document.ObjectAt(QPoint(5, 5)), b);
}

// Clicks and bands used to find objects anywhere in their box; a kind may
// now claim less (a line).
void TestSurface::clicksAndBandsFindWhatObjectsCover()
{
    Fixture f;
    TGGraphicControl *below = f.Add(QRect(0, 0, 40, 20));
    TGGraphicControl *half =
        f.document.PlaceObject(std::make_unique<LeftHalfCalendar>(), QRect(0, 0, 40, 20));
    QCOMPARE(f.document.ObjectAt(QPoint(5, 5)), half);
    QCOMPARE(f.document.ObjectAt(QPoint(30, 5)), below);
    QCOMPARE(f.document.ObjectsTouching(QRect(25, 0, 10, 10)), (QList<TGGraphicControl *>{below}));
    QCOMPARE(f.document.ObjectsTouching(QRect(5, 0, 10, 10)),
             (QList<TGGraphicControl *>{half, below}));
}

void TestSurface::aligns_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QRect>("first");
    QTest::addColumn<QRect>("second");
    QTest::newRow("left") << 0 << QRect(10, 10, 50, 20) << QRect(10, 100, 30, 40);
    QTest::newRow("right") << 1 << QRect(40, 10, 50, 20) << QRect(60, 100, 30, 40);
    QTest::newRow("tops") << 2 << QRect(40, 10, 50, 20) << QRect(10, 10, 30, 40);
    QTest::newRow("bottoms") << 3 << QRect(40, 120, 50, 20) << QRect(10, 100, 30, 40);
    QTest::newRow("centre vertically") << 4 << QRect(40, 518, 50, 20) << QRect(10, 508, 30, 40);
    QTest::newRow("centre horizontally") << 5 << QRect(383, 10, 50, 20) << QRect(393, 100, 30, 40);
}

void TestSurface::aligns()
{
    QFETCH(int, action);
    QFETCH(QRect, first);
    QFETCH(QRect, second);
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(40, 10, 50, 20));
    TGGraphicControl *b = f.Add(QRect(10, 100, 30, 40));
    const QList<TGGraphicControl *> both{a, b};
    switch (action) {
    case 0:
        f.document.AlignLeft(both);
        break;
    case 1:
        f.document.AlignRight(both);
        break;
    case 2:
        f.document.AlignTops(both);
        break;
    case 3:
        f.document.AlignBottoms(both);
        break;
    case 4:
        f.document.CenterVertically(both);
        break;
    case 5:
        f.document.CenterHorizontally(both);
        break;
    }
    QCOMPARE(a->Bounds(), first);
    QCOMPARE(b->Bounds(), second);
    f.document.UndoStack().undo();
    QCOMPARE(a->Bounds(), QRect(40, 10, 50, 20));
}

void TestSurface::clampsAndRemovesStrays()
{
    Fixture f;
    TGGraphicControl *low = f.Add(QRect(10, 1050, 30, 30));
    TGGraphicControl *right = f.Add(QRect(800, 10, 30, 30));
    TGGraphicControl *inside = f.Add(QRect(10, 10, 30, 30));
    f.document.ClampObjects();
    QCOMPARE(low->Bounds(), QRect(10, 1046, 30, 30));
    QCOMPARE(right->Bounds(), QRect(796, 10, 30, 30));
    right->SetLeft(810);
    inside->SetWidth(0);
    f.document.RemoveStrayObjects();
    QCOMPARE(f.document.Objects(), (QList<TGGraphicControl *>{low}));
}

void TestSurface::undoRestoresBoundsAndStacking()
{
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(10, 10, 40, 40));
    TGGraphicControl *b = f.Add(QRect(100, 10, 40, 40));
    TGGraphicControl *c = f.Add(QRect(200, 10, 40, 40));
    const QList<QRect> start = BoundsOf(f.document);
    QUndoStack &stack = f.document.UndoStack();

    f.document.MoveResizeObjects({a, c}, QRect(8, 8, 240, 50), QRect(18, 28, 240, 50),
                                 QStringLiteral("Move"));
    f.document.DeleteObjects({b});
    QCOMPARE(stack.undoText(), QStringLiteral("Delete"));
    stack.undo();
    QCOMPARE(f.document.Objects(), (QList<TGGraphicControl *>{a, b, c}));
    stack.undo();
    QCOMPARE(BoundsOf(f.document), start);
    stack.redo();
    stack.redo();
    QCOMPARE(f.document.Objects(), (QList<TGGraphicControl *>{a, c}));
    QCOMPARE(a->Bounds(), QRect(20, 30, 40, 40));
    stack.undo();
    QCOMPARE(f.document.IndexOf(b), 1);
}

void TestSurface::nudgesMergeIntoOneStep()
{
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(10, 10, 40, 40));
    const int before = f.document.UndoStack().count();
    for (int i = 0; i < 5; ++i)
        f.document.MoveResizeObjects({a}, QRect(8 + i, 8, 45, 45), QRect(9 + i, 8, 45, 45),
                                     QStringLiteral("Nudge"), true);
    QCOMPARE(a->Left(), 15);
    QCOMPARE(f.document.UndoStack().count(), before + 1);
    f.document.UndoStack().undo();
    QCOMPARE(a->Left(), 10);
}

void TestSurface::stateCommandsUndo()
{
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(10, 10, 40, 40));
    TGGraphicControl *b = f.Add(QRect(60, 10, 40, 40));
    QSignalSpy changed(&f.document, &PageDocument::LabelChangedEvent);
    f.document.LockAll();
    QVERIFY(a->Locked() && b->Locked());
    QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("Lock"));
    QVERIFY(changed.count() >= 2);
    // Locked objects stay put when the selection moves.
    f.document.MoveResizeObjects({a, b}, QRect(0, 0, 100, 50), QRect(10, 0, 100, 50),
                                 QStringLiteral("Move"));
    QCOMPARE(a->Left(), 10);
    f.document.UndoStack().undo();
    QVERIFY(!a->Locked() && !b->Locked());

    auto *calendar = static_cast<TGFlatCalendar *>(a);
    f.document.EditObject(a, QStringLiteral("Properties"), [](TGGraphicControl &o) {
        static_cast<TGFlatCalendar &>(o).ChangeModel(
            [](FlatCalendarModel &m) { return m.SetShadowDepth(6); });
    });
    QCOMPARE(calendar->Model().ShadowDepth(), 6);
    const int steps = f.document.UndoStack().count();
    f.document.EditObject(a, QStringLiteral("Properties"), [](TGGraphicControl &) {});
    QCOMPARE(f.document.UndoStack().count(), steps);
    f.document.UndoStack().undo();
    QCOMPARE(calendar->Model().ShadowDepth(), 0);
    f.document.UndoStack().redo();
    QCOMPARE(calendar->Model().ShadowDepth(), 6);
}

void TestSurface::printingSilencesObjectChanges()
{
    Fixture f;
    TGGraphicControl *a = f.Add(QRect(10, 10, 40, 40));
    QSignalSpy changed(&f.document, &PageDocument::LabelChangedEvent);
    f.document.SetPrinting(true);
    a->SetLeft(30);
    QCOMPARE(changed.count(), 0);
    f.document.SetPrinting(false);
    f.document.SetChangeEventsSuspended(true);
    a->SetLeft(40);
    QCOMPARE(changed.count(), 0);
    f.document.SetChangeEventsSuspended(false);
    a->SetLeft(50);
    QCOMPARE(changed.count(), 1);
}

void TestSurface::settingsClearNotesOnlyWhenTheyMust_data()
{
    QTest::addColumn<TCalendarLayout>("layout");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("recorded");
    QTest::newRow("month on a grid") << loFullCalendar << "month" << false << true;
    QTest::newRow("year on a planner") << loWeek << "year" << false << true;
    QTest::newRow("grid to mini sheet") << loFullCalendar << "mini sheet" << false << true;
    QTest::newRow("landscape grid, same family") << loFullCalendar << "landscape" << true << true;
    QTest::newRow("title font size") << loFullCalendar << "font size" << true << true;
    QTest::newRow("nothing") << loFullCalendar << "nothing" << true << false;
}

void TestSurface::settingsClearNotesOnlyWhenTheyMust()
{
    QFETCH(TCalendarLayout, layout);
    QFETCH(QString, change);
    QFETCH(bool, kept);
    QFETCH(bool, recorded);
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetCalendarLayout(layout);
    page.SetCellNote(10, Note("{\\rtf1 birthday}"));
    const CalendarSettings opening = page.Settings();
    CalendarSettings next = opening;
    if (change == "month")
        next.mainCalMonth = next.mainCalMonth % 12 + 1;
    else if (change == "year")
        ++next.mainCalYear;
    else if (change == "mini sheet")
        next.calendarLayout = loMC12Month;
    else if (change == "landscape")
        next.calendarLayout = LOFullCalendarLS;
    else if (change == "font size")
        next.titleFont.SetSize(next.titleFont.Size() + 4);

    QCOMPARE(document.ApplySettings(next), recorded);
    QCOMPARE(page.HasCellNotes(), kept);
    QCOMPARE(document.UndoStack().count(), recorded ? 1 : 0);
    if (!recorded)
        return;
    QCOMPARE(document.UndoStack().undoText(), QStringLiteral("Calendar Properties"));
    document.UndoStack().undo();
    QVERIFY(page.Settings() == opening);
    QVERIFY(page.CellNote(10) == Note("{\\rtf1 birthday}"));
}

void TestSurface::pageEditsAreOneStepEach_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("user title") << "title"
                                << "User Defined Title";
    QTest::newRow("same user title") << "same title"
                                     << "";
    QTest::newRow("note") << "note"
                          << "Note";
    QTest::newRow("same note") << "same note"
                               << "";
    QTest::newRow("cell outside the page") << "cell 43"
                                           << "";
    QTest::newRow("clear all") << "clear"
                               << "Clear All Cell Contents";
    QTest::newRow("clear an empty page") << "clear empty"
                                         << "";
    QTest::newRow("fill") << "fill"
                          << "Fill Calendar";
    QTest::newRow("fill that adds nothing") << "fill nothing"
                                            << "";
}

void TestSurface::pageEditsAreOneStepEach()
{
    QFETCH(QString, edit);
    QFETCH(QString, undoText);
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetUserTitle(QStringLiteral("Old"));
    if (edit != "clear empty")
        page.SetCellNote(3, Note("{\\rtf1 old}"));
    const CalendarSettings settings = page.Settings();
    const CellNotesCommand::Notes notes = CellNotesCommand::NotesOf(page);

    bool recorded = false;
    if (edit == "title" || edit == "same title")
        recorded = document.SetUserTitle(edit == "title" ? QStringLiteral("New") : "Old");
    else if (edit == "note" || edit == "same note")
        recorded = document.SetCellNote(3, Note(edit == "note" ? "{\\rtf1 new}" : "{\\rtf1 old}"));
    else if (edit == "cell 43")
        recorded = document.SetCellNote(43, Note("{\\rtf1 new}"));
    else if (edit.startsWith("clear"))
        recorded = document.ClearAllNotes();
    else
        recorded = document.EditNotes(QStringLiteral("Fill Calendar"), [&](CalendarPage &target) {
            if (edit == "fill")
                target.SetCellNote(20, Note("{\\rtf1 holiday}"));
        });

    QCOMPARE(recorded, !undoText.isEmpty());
    QCOMPARE(document.UndoStack().count(), recorded ? 1 : 0);
    QVERIFY(!recorded || !(CellNotesCommand::NotesOf(page) == notes) ||
            !(page.Settings() == settings));
    if (!recorded)
        return;
    QCOMPARE(document.UndoStack().undoText(), undoText);
    document.UndoStack().undo();
    QVERIFY(CellNotesCommand::NotesOf(page) == notes);
    QVERIFY(page.Settings() == settings);
}

void TestSurface::flatCalendarFirstRow_data()
{
    QTest::addColumn<int>("startOfWeek");
    QTest::addColumn<QList<int>>("firstRow");
    // June 1, 2026 is a Monday.
    QTest::newRow("Sunday weeks") << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("Monday weeks") << 2 << QList<int>{1, 2, 3, 4, 5, 6, 7};
}

void TestSurface::flatCalendarFirstRow()
{
    QFETCH(int, startOfWeek);
    QFETCH(QList<int>, firstRow);
    TGFlatCalendar calendar;
    calendar.ChangeModel([](FlatCalendarModel &m) { return m.SetMonth(6) | m.SetYear(2026); });
    calendar.ChangeModel([=](FlatCalendarModel &m) { return m.SetStartOfWeek(startOfWeek); });
    QList<int> row;
    for (int column = 0; column < 7; ++column)
        row.append(calendar.Model().DayInCell(0, column));
    QCOMPARE(row, firstRow);
}

void TestSurface::flatCalendarShadowAtHalfZoom()
{
    Fixture f;
    auto *calendar = static_cast<TGFlatCalendar *>(f.Add(QRect(0, 0, 100, 80)));
    calendar->ChangeModel(
        [](FlatCalendarModel &m) { return m.SetShadowDepth(4) && m.SetShadowColor(clRed); });
    f.document.SetZoom(0.5f);
    QImage image(60, 50, QImage::Format_RGB32);
    image.fill(Qt::green);
    QPainter painter(&image);
    f.document.PaintObjects(painter);
    painter.end();
    // Depth 4 at zoom 0.5: the shadow starts 2 pixels in.
    QCOMPARE(image.pixelColor(49, 2), QColor(Qt::red));
    QCOMPARE(image.pixelColor(49, 1), QColor(Qt::green));
    QCOMPARE(image.pixelColor(2, 39), QColor(Qt::red));
    QCOMPARE(image.pixelColor(1, 39), QColor(Qt::green));
    QCOMPARE(image.pixelColor(50, 39), QColor(Qt::green));
    // The kept screen picture follows a property change and a move.
    calendar->ChangeModel([](FlatCalendarModel &m) { return m.SetShadowColor(clBlue); });
    calendar->SetLeft(20);
    image.fill(Qt::green);
    {
        QPainter repaint(&image);
        f.document.PaintObjects(repaint);
    }
    QCOMPARE(image.pixelColor(59, 2), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(9, 2), QColor(Qt::green));
    calendar->SetLeft(0);
    // Suspended painting draws nothing.
    image.fill(Qt::green);
    f.document.SetPaintSuspended(true);
    QPainter again(&image);
    f.document.PaintObjects(again);
    again.end();
    QCOMPARE(image.pixelColor(49, 2), QColor(Qt::green));
}

void TestSurface::flatCalendarPropertiesRoundTrip()
{
    Fixture f;
    auto *calendar = static_cast<TGFlatCalendar *>(f.Add(QRect(7, 9, 120, 90)));
    calendar->SetLocked(true);
    calendar->ChangeModel([](FlatCalendarModel &m) {
        return m.SetLanguage(fclFrench) && m.SetShowYear(true) && m.SetMonth(2) &&
               m.SetCellBorderStyle(fcbTopBottom);
    });
    QVERIFY(f.document.CopyObjects({calendar}));
    const QList<TGGraphicControl *> pasted = f.document.Paste();
    QCOMPARE(pasted.size(), 1);
    auto *copy = dynamic_cast<TGFlatCalendar *>(pasted[0]);
    QVERIFY(copy);
    QVERIFY(copy->Locked());
    QCOMPARE(copy->Model(), calendar->Model());
    QCOMPARE(copy->Bounds(), QRect(22, 24, 120, 90));
    QCOMPARE(calendar->PublishedProperties().properties().front().name, QByteArray("Tag"));
    QCOMPARE(calendar->PublishedProperties().properties().back().name,
             QByteArray("CalTransparent"));
}

void TestSurface::dataFolderFallsBack()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    QCOMPARE(DataFolder(), QDir::cleanPath(dir.path()));
    SetProgramFolder(dir.filePath(QStringLiteral("does-not-exist")));
    const QString fallback = DataFolder();
    QVERIFY(!fallback.isEmpty());
    QVERIFY(fallback != dir.filePath(QStringLiteral("does-not-exist")));
    SetProgramFolder(QString());
}

// Constructing a document used to create the user's data folder for its
// clipboard, even for a headless export.
void TestSurface::constructionTouchesNoDisk()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(user).removeRecursively();
    QTemporaryDir dir;
    SetProgramFolder(dir.filePath(QStringLiteral("does-not-exist")));
    {
        PageDocument document;
        QVERIFY(document.ClipboardFile().isEmpty());
        QVERIFY(!document.CanPaste());
    }
    QVERIFY(!QFileInfo::exists(user));
    SetProgramFolder(QString());
    QStandardPaths::setTestModeEnabled(false);
}

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
