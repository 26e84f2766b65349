#include "core/export/pageexport.h"
#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/surfacepopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"
#include "ui/surface/tghandle.h"

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Dayloom;

namespace {

// Delivers mouse events as the window system would: to the child under the
// point, and after a press to the widget that took it until the release.
class Mouse
{
public:
    explicit Mouse(QWidget *root) : m_root(root) {}

    void Press(const QPoint &p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        m_buttons |= b;
        m_grabber = Target(p);
        Send(QEvent::MouseButtonPress, p, b, mods);
    }
    void Move(const QPoint &p, Qt::KeyboardModifiers mods = {})
    {
        Send(QEvent::MouseMove, p, Qt::NoButton, mods);
    }
    void Release(const QPoint &p, Qt::KeyboardModifiers mods = {},
                 Qt::MouseButton b = Qt::LeftButton)
    {
        m_buttons &= ~b;
        Send(QEvent::MouseButtonRelease, p, b, mods);
        m_grabber = nullptr;
    }
    void DoubleClick(const QPoint &p) { Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, {}); }

private:
    QWidget *Target(const QPoint &p) const
    {
        if (m_grabber)
            return m_grabber;
        QWidget *child = m_root->childAt(p);
        return child ? child : m_root;
    }
    void Send(QEvent::Type type, const QPoint &p, Qt::MouseButton b, Qt::KeyboardModifiers mods)
    {
        QWidget *target = Target(p);
        const QPoint local = target->mapFrom(m_root, p);
        QMouseEvent event(type, local, m_root->mapToGlobal(p), b, m_buttons, mods);
        QApplication::sendEvent(target, &event);
    }

    QWidget *m_root;
    QWidget *m_grabber = nullptr;
    Qt::MouseButtons m_buttons;
};

// A shown page with a clock the test moves and its own clipboard file.
struct Page
{
    QTemporaryDir dir;
    TCalendarPanel32 panel;
    Mouse mouse{&panel};
    qint64 now = 10000;

    Page()
    {
        panel.Document().SetClipboardFile(dir.filePath(QStringLiteral("Clipbrd.tmp")));
        panel.SetClock([this] { return now; });
        panel.show();
    }
    PageDocument &Doc() { return panel.Document(); }
    TGHandle *Handle() { return panel.SelectionHandle(); }

    // A floating calendar dragged out with the tool.
    TGGraphicControl *Create(const QRect &band)
    {
        panel.SetPanelState(psFlatCalendar);
        mouse.Press(band.topLeft());
        mouse.Move(band.topLeft() + QPoint(band.width(), band.height()));
        mouse.Release(band.topLeft() + QPoint(band.width(), band.height()));
        return Doc().Object(Doc().ObjectCount() - 1);
    }
    // A press and release far enough apart in time to count as a drag.
    void Drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers mods = {})
    {
        mouse.Move(from, mods);
        mouse.Press(from, mods);
        now += 20;
        mouse.Move(from + QPoint(1, 0), mods);
        mouse.Move(to, mods);
        now += 200;
        mouse.Release(to, mods);
    }
    void Click(const QPoint &p, Qt::KeyboardModifiers mods = {})
    {
        mouse.Press(p, mods);
        mouse.Release(p, mods);
        now += 300;
    }
    void Settle() { QCoreApplication::processEvents(); }
};

QList<QRect> BoundsOf(const PageDocument &document)
{
    QList<QRect> bounds;
    for (const TGGraphicControl *object : document.Objects())
        bounds.append(object->Bounds());
    return bounds;
}

} // namespace

class TestSurfacePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void createsFromGesture_data();
    void createsFromGesture();
    void clickSelectsAndShiftBandToggles();
    void unselectableStartsBand();
    void edgeDrags_data();
    void edgeDrags();
    void quickClickNeverMoves();
    void dragsUnselectedObjectAfterDelay();
    void lockedObjectStaysInDraggedGroup();
    void handleStaysOnLockedSelection();
    void pressBesideSelectAllDrawsABand();
    void twoSelectedShowNoSizingZones();
    void nudgesAndUndoesAsOneStep();
    void shortcutsCopyPasteDelete();
    void cloneFromObjectMenu();
    void undoRedoOfDragPasteDelete();
    void zoomKeepsStoredBounds();
    void menusFollowState();
    void rightPressOnGroupOpensSurfaceMenu();
    void clickOnCellUnlessCovered();
    void clickNextAndPreviousCell();
    void paintKeepsItsRecordsAlone();
    void snapsToGrid();
    void nudgesAtZoomFollowTheOutline_data();
    void nudgesAtZoomFollowTheOutline();
    void clipboardFailuresAreReported();
};

void TestSurfacePanel::createsFromGesture_data()
{
    QTest::addColumn<QRect>("band");
    QTest::addColumn<QSize>("size");
    QTest::newRow("click") << QRect(100, 100, 0, 0) << QSize(50, 15);
    QTest::newRow("24 wide") << QRect(100, 100, 24, 40) << QSize(50, 40);
    QTest::newRow("30 by 10") << QRect(100, 100, 30, 10) << QSize(30, 15);
    QTest::newRow("large") << QRect(100, 100, 160, 120) << QSize(160, 120);
}

void TestSurfacePanel::createsFromGesture()
{
    QFETCH(QRect, band);
    QFETCH(QSize, size);
    Page page;
    QSignalSpy dropped(&page.panel, &TGBasePanel::DroppedObjectEvent);
    QSignalSpy changed(&page.panel, &TGBasePanel::LabelChangedEvent);
    TGGraphicControl *object = page.Create(band);
    QVERIFY(object);
    QCOMPARE(object->Bounds(), QRect(band.topLeft(), size));
    QCOMPARE(object->Name(), QStringLiteral("Special1"));
    QVERIFY(dynamic_cast<TGFlatCalendar *>(object));
    QCOMPARE(page.panel.PanelState(), psPointing);
    QVERIFY(page.panel.Pointing());
    QCOMPARE(dropped.count(), 1);
    QVERIFY(changed.count() >= 1);
    // The pointer creates nothing.
    page.panel.SetPanelState(psPointing);
    page.Click(QPoint(400, 400));
    QCOMPARE(page.Doc().ObjectCount(), 1);
}

void TestSurfacePanel::clickSelectsAndShiftBandToggles()
{
    Page page;
    TGGraphicControl *a = page.Create(QRect(100, 100, 60, 40));
    TGGraphicControl *b = page.Create(QRect(300, 100, 60, 40));
    page.Click(QPoint(120, 120));
    QCOMPARE(page.Handle()->Selection(), (QList<TGGraphicControl *>{a}));
    QVERIFY(page.Handle()->isVisible());
    QCOMPARE(page.Handle()->geometry(), QRect(98, 98, 65, 45));
    // Shift+band over both: the selected one leaves, the other joins.
    page.Drag(QPoint(80, 80), QPoint(400, 200), Qt::ShiftModifier);
    QCOMPARE(page.Handle()->Selection(), (QList<TGGraphicControl *>{b}));
    // A plain click on empty page clears the selection.
    page.Click(QPoint(600, 600));
    QCOMPARE(page.Handle()->SelectedCount(), 0);
    QVERIFY(!page.Handle()->isVisible());
    // Shift+click on empty page keeps it.
    page.Click(QPoint(320, 120));
    page.Click(QPoint(600, 600), Qt::ShiftModifier);
    QCOMPARE(page.Handle()->Selection(), (QList<TGGraphicControl *>{b}));
}

void TestSurfacePanel::unselectableStartsBand()
{
    Page page;
    TGGraphicControl *floor = page.Create(QRect(100, 100, 300, 300));
    TGGraphicControl *other = page.Create(QRect(200, 450, 60, 40));
    page.Doc().SetUnselectable({floor}, true);
    page.Drag(QPoint(150, 150), QPoint(280, 480));
    QCOMPARE(page.Handle()->Selection(), (QList<TGGraphicControl *>{other}));
    QCOMPARE(floor->Bounds(), QRect(100, 100, 300, 300));
    page.panel.SelectAll();
    QCOMPARE(page.Handle()->Selection(), (QList<TGGraphicControl *>{other}));
}

void TestSurfacePanel::edgeDrags_data()
{
    QTest::addColumn<QPoint>("grip");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    // The object is (100, 100, 60, 40); its handle (98, 98, 65, 45).
    QTest::newRow("right edge 10 right is 9 wider")
        << QPoint(162, 120) << QPoint(10, 0) << QRect(100, 100, 69, 40);
    QTest::newRow("left edge 10 left is 10 wider")
        << QPoint(98, 120) << QPoint(-10, 0) << QRect(90, 100, 70, 40);
    QTest::newRow("bottom edge 10 down is 9 higher")
        << QPoint(130, 142) << QPoint(0, 10) << QRect(100, 100, 60, 49);
    QTest::newRow("body moves") << QPoint(130, 120) << QPoint(25, 30) << QRect(125, 130, 60, 40);
}

void TestSurfacePanel::edgeDrags()
{
    QFETCH(QPoint, grip);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    Page page;
    TGGraphicControl *object = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    page.Drag(grip, grip + delta);
    QCOMPARE(object->Bounds(), expected);
    page.Settle();
    QCOMPARE(page.Handle()->geometry(), QRect(expected.left() - 2, expected.top() - 2,
                                              expected.width() + 6, expected.height() + 6));
}

void TestSurfacePanel::quickClickNeverMoves()
{
    Page page;
    TGGraphicControl *object = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    page.mouse.Press(QPoint(130, 120));
    page.now += 20;
    page.mouse.Move(QPoint(150, 140));
    page.now += 100;
    page.mouse.Release(QPoint(150, 140));
    QCOMPARE(object->Bounds(), QRect(100, 100, 60, 40));
}

void TestSurfacePanel::dragsUnselectedObjectAfterDelay()
{
    // A press on an unselected object selects it and the same press drags
    // from the first move more than 10 ms later.
    Page page;
    TGGraphicControl *object = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(600, 600));
    page.mouse.Press(QPoint(120, 120));
    QCOMPARE(page.Handle()->SelectedCount(), 1);
    page.now += 11;
    page.mouse.Move(QPoint(121, 120));
    page.mouse.Move(QPoint(141, 150));
    page.now += 200;
    page.mouse.Release(QPoint(141, 150));
    QCOMPARE(object->Bounds(), QRect(120, 130, 60, 40));
    QCOMPARE(page.Doc().UndoStack().undoText(), QStringLiteral("Move"));
}

void TestSurfacePanel::lockedObjectStaysInDraggedGroup()
{
    Page page;
    TGGraphicControl *a = page.Create(QRect(100, 100, 60, 40));
    TGGraphicControl *locked = page.Create(QRect(200, 100, 60, 40));
    page.Doc().SetLocked({locked}, true);
    page.Drag(QPoint(90, 90), QPoint(300, 200));
    QCOMPARE(page.Handle()->SelectedCount(), 2);
    page.Drag(QPoint(130, 120), QPoint(130, 170));
    QCOMPARE(a->Bounds(), QRect(100, 150, 60, 40));
    QCOMPARE(locked->Bounds(), QRect(200, 100, 60, 40));
    page.Settle();
    QCOMPARE(page.Handle()->geometry(), QRect(98, 98, 166, 96));
}

void TestSurfacePanel::handleStaysOnLockedSelection()
{
    // A drag or nudge of only locked objects left the handle where the mouse
    // went, so a press on empty page there dragged the selection.
    Page page;
    TGGraphicControl *locked = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    page.Doc().SetLocked({locked}, true);
    const QRect around(98, 98, 66, 46);
    page.Drag(QPoint(130, 120), QPoint(330, 320));
    QCOMPARE(locked->Bounds(), QRect(100, 100, 60, 40));
    QCOMPARE(page.Handle()->geometry(), around);
    QTest::keyClick(page.Handle(), Qt::Key_Right);
    QCOMPARE(page.Handle()->geometry(), around);
    page.Click(QPoint(330, 320));
    QCOMPARE(page.Handle()->SelectedCount(), 0);
}

void TestSurfacePanel::pressBesideSelectAllDrawsABand()
{
    // After Select All a press on empty page, with no move before it, dragged
    // every selected object along with the band.
    Page page;
    page.Create(QRect(100, 100, 60, 40));
    page.Create(QRect(200, 100, 60, 40));
    page.panel.SelectAll();
    const QList<QRect> before = BoundsOf(page.Doc());
    page.now += 500;
    page.mouse.Press(QPoint(400, 300));
    page.now += 20;
    page.mouse.Move(QPoint(401, 300));
    page.mouse.Move(QPoint(450, 350));
    page.now += 200;
    page.mouse.Release(QPoint(450, 350));
    QCOMPARE(BoundsOf(page.Doc()), before);
    QCOMPARE(page.Handle()->SelectedCount(), 0);
}

void TestSurfacePanel::twoSelectedShowNoSizingZones()
{
    Page page;
    page.Create(QRect(100, 100, 60, 40));
    page.Create(QRect(200, 100, 60, 40));
    page.panel.SelectAll();
    const QRect handle = page.Handle()->geometry();
    page.mouse.Move(handle.bottomRight() - QPoint(1, 1));
    QCOMPARE(page.Handle()->Zone(), 0);
    QCOMPARE(page.Handle()->cursor().shape(), Qt::OpenHandCursor);
    page.Click(QPoint(600, 600));
    page.Click(QPoint(130, 120));
    page.mouse.Move(QPoint(page.Handle()->geometry().right() - 1, 120));
    QCOMPARE(page.Handle()->Zone(), 8);
    QCOMPARE(page.Handle()->cursor().shape(), Qt::SizeHorCursor);
}

void TestSurfacePanel::nudgesAndUndoesAsOneStep()
{
    Page page;
    TGGraphicControl *object = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    const int steps = page.Doc().UndoStack().count();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(page.Handle(), Qt::Key_Right);
    QTest::keyClick(page.Handle(), Qt::Key_Down);
    QCOMPARE(object->Bounds(), QRect(103, 101, 60, 40));
    QTest::keyClick(page.Handle(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(object->Bounds(), QRect(103, 101, 61, 40));
    QCOMPARE(page.Doc().UndoStack().count(), steps + 1);
    page.Doc().UndoStack().undo();
    QCOMPARE(object->Bounds(), QRect(100, 100, 60, 40));
}

void TestSurfacePanel::shortcutsCopyPasteDelete()
{
    Page page;
    page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    QTest::keyClick(page.Handle(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(page.Handle(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(page.Handle(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(page.Doc().ObjectCount(), 3);
    QCOMPARE(page.Doc().Object(1)->Name(), QStringLiteral("Component0"));
    QCOMPARE(page.Doc().Object(1)->Bounds(), QRect(115, 115, 60, 40));
    QCOMPARE(page.Doc().Object(2)->Name(), QStringLiteral("Component1"));
    QCOMPARE(page.Doc().Object(2)->Bounds(), QRect(130, 130, 60, 40));
    // The last copy is the selection, which Delete takes.
    QTest::keyClick(page.Handle(), Qt::Key_Delete);
    QCOMPARE(page.Doc().ObjectCount(), 2);
    QCOMPARE(page.Handle()->SelectedCount(), 0);
    page.panel.SelectAll();
    QTest::keyClick(page.Handle(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(page.Doc().ObjectCount(), 0);
}

void TestSurfacePanel::cloneFromObjectMenu()
{
    Page page;
    TGGraphicControl *source = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    ObjectPopupMenu *menu = page.panel.ObjectMenu(source);
    QVERIFY(!menu->Item(QStringLiteral("Properties")));
    menu->Item(QStringLiteral("Clone"))->trigger();
    QCOMPARE(page.Doc().ObjectCount(), 2);
    TGGraphicControl *copy = page.Doc().Object(1);
    QCOMPARE(copy->Bounds(), QRect(100, 125, 60, 40));
    QCOMPARE(page.Handle()->Selection(), (QList<TGGraphicControl *>{copy}));
    // A kind's own item appears once it is wired.
    int opened = 0;
    page.panel.AddObjectMenuItem("TGFlatCalendar", QStringLiteral("Properties"),
                                 [&opened](TGGraphicControl &) { ++opened; });
    page.panel.ObjectMenu(copy)->Item(QStringLiteral("Properties"))->trigger();
    QCOMPARE(opened, 1);
    // Locked toggles and shows its check.
    page.panel.ObjectMenu(copy)->Item(QStringLiteral("Locked"))->trigger();
    QVERIFY(copy->Locked());
    QVERIFY(page.panel.ObjectMenu(copy)->Item(QStringLiteral("Locked"))->isChecked());
    page.panel.ObjectMenu(copy)->Item(QStringLiteral("Unselectable"))->trigger();
    QCOMPARE(page.Handle()->SelectedCount(), 0);
}

void TestSurfacePanel::undoRedoOfDragPasteDelete()
{
    Page page;
    TGGraphicControl *a = page.Create(QRect(100, 100, 60, 40));
    TGGraphicControl *b = page.Create(QRect(300, 100, 60, 40));
    const QList<QRect> start = BoundsOf(page.Doc());
    QUndoStack &stack = page.Doc().UndoStack();

    page.Click(QPoint(130, 120));
    page.Drag(QPoint(130, 120), QPoint(170, 190));
    QCOMPARE(stack.undoText(), QStringLiteral("Move"));
    page.panel.ClipboardAction(TGBasePanel::ckCopy);
    page.panel.ClipboardAction(TGBasePanel::ckPaste);
    TGGraphicControl *pasted = page.Doc().Object(2);
    page.panel.SelectAll();
    page.panel.ClipboardAction(TGBasePanel::ckDelete);
    QCOMPARE(page.Doc().ObjectCount(), 0);
    QCOMPARE(page.Handle()->SelectedCount(), 0);

    stack.undo(); // delete
    QCOMPARE(page.Doc().Objects(), (QList<TGGraphicControl *>{a, b, pasted}));
    stack.undo(); // paste
    QCOMPARE(page.Doc().Objects(), (QList<TGGraphicControl *>{a, b}));
    stack.undo(); // drag
    QCOMPARE(BoundsOf(page.Doc()), start);
    stack.redo();
    stack.redo();
    QCOMPARE(a->Bounds(), QRect(140, 170, 60, 40));
    QCOMPARE(pasted->Bounds(), QRect(155, 185, 60, 40));
    stack.redo();
    QCOMPARE(page.Doc().ObjectCount(), 0);
}

void TestSurfacePanel::zoomKeepsStoredBounds()
{
    // Zooming out and back used to move objects (left 3 became 4).
    Page page;
    page.Doc().PlaceObject(std::make_unique<TGFlatCalendar>(), QRect(3, 5, 51, 33));
    page.Create(QRect(101, 203, 77, 45));
    const QList<QRect> before = BoundsOf(page.Doc());
    for (float zoom : {0.5f, 1.0f, 0.6f, 1.0f})
        page.panel.SetZoom(zoom);
    QCOMPARE(BoundsOf(page.Doc()), before);
    page.panel.SetZoom(0.5f);
    QCOMPARE(page.panel.size(), QSize(408, 528));
    // Selection and drag work in screen pixels at any zoom.
    page.Click(QPoint(70, 110));
    QCOMPARE(page.Handle()->SelectedCount(), 1);
    page.Drag(QPoint(70, 110), QPoint(80, 110));
    QCOMPARE(page.Doc().Object(1)->Bounds(), QRect(121, 203, 77, 45));
}

void TestSurfacePanel::menusFollowState()
{
    Page page;
    SurfacePopupMenu *menu = page.panel.SurfaceMenu();
    menu->UpdateItems();
    QVERIFY(!menu->Item(QStringLiteral("Lock All"))->isEnabled());
    QVERIFY(!menu->Item(QStringLiteral("Paste"))->isEnabled());
    QVERIFY(!menu->Item(QStringLiteral("Align Left"))->isEnabled());
    QVERIFY(menu->Item(QStringLiteral("Select All"))->isEnabled());
    TGGraphicControl *a = page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    page.panel.ClipboardAction(TGBasePanel::ckCopy);
    menu->UpdateItems();
    QVERIFY(menu->Item(QStringLiteral("Lock All"))->isEnabled());
    QVERIFY(menu->Item(QStringLiteral("Paste"))->isEnabled());
    QVERIFY(menu->Item(QStringLiteral("Font..."))->isEnabled());
    menu->Item(QStringLiteral("Lock All"))->trigger();
    QVERIFY(a->Locked());
    menu->Item(QStringLiteral("Send To Back"))->trigger();
    QCOMPARE(page.Handle()->SelectedCount(), 0);
    QStringList captions;
    for (QAction *action : menu->actions())
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions.join(QLatin1Char('|')),
             QStringLiteral("Bring To Front|Send To Back|-|Cut|Copy|Paste|-|Delete|-|Align Left|"
                            "Align Right|Align Tops|Align Bottoms|-|Center Vertically|"
                            "Center Horizontally|-|Lock All|Unlock All|-|Mark All Selectable|"
                            "Mark All Unselectable|Select All|-|Font..."));
}

void TestSurfacePanel::rightPressOnGroupOpensSurfaceMenu()
{
    Page page;
    page.Create(QRect(100, 100, 60, 40));
    page.Create(QRect(200, 100, 60, 40));
    page.panel.SelectAll();
    page.mouse.Press(QPoint(130, 120), {}, Qt::RightButton);
    page.mouse.Release(QPoint(130, 120), {}, Qt::RightButton);
    QVERIFY(page.panel.SurfaceMenu()->isVisible());
    page.panel.SurfaceMenu()->close();
}

void TestSurfacePanel::clickOnCellUnlessCovered()
{
    Page page;
    page.panel.grab(); // a paint fills the cell records
    const CellRecord cell = page.panel.Drawn().CellRecordOf(10);
    const QPoint inside = cell.rTotal.toQRect().center();
    QSignalSpy cells(&page.panel, &TCalendarPanel32::ClickedInCellEvent);
    page.Click(inside);
    QCOMPARE(cells.count(), 1);
    QCOMPARE(cells.at(0).at(0).value<CellEvent>().iCell, 10);
    page.Doc().PlaceObject(std::make_unique<TGFlatCalendar>(),
                           QRect(inside - QPoint(5, 5), QSize(20, 20)));
    page.Doc().SetUnselectable(page.Doc().Objects(), true);
    page.Click(inside);
    QCOMPARE(cells.count(), 1);
}

void TestSurfacePanel::clickNextAndPreviousCell()
{
    Page page;
    QSignalSpy spy(&page.panel, &TCalendarPanel32::ClickedInCellEvent);
    page.panel.grab();
    page.panel.ClickNextCell(41);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).value<CellEvent>().iCell, 42);
    page.panel.ClickNextCell(42);
    page.panel.ClickPreviousCell(1);
    QCOMPARE(spy.count(), 1);
    page.panel.ClickPreviousCell(2);
    QCOMPARE(spy.last().at(0).value<CellEvent>().iCell, 1);

    page.panel.Page().SetNumberPosition(cnpCenter); // every note area all zero
    page.panel.grab();
    spy.clear();
    page.panel.ClickNextCell(41);
    page.panel.ClickPreviousCell(5);
    QCOMPARE(spy.count(), 0);

    page.panel.Page().SetCalendarLayout(loDay10); // 11 rows: cell 12 has no note area
    page.panel.grab();
    page.panel.ClickNextCell(10);
    page.panel.ClickNextCell(11);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).value<CellEvent>().iCell, 11);
}

// Printing or exporting at 100 % after the screen showed 60 % used to leave
// the export's records behind, so the next click landed in the wrong cell;
// and a paint started from inside a paint must not recurse.
void TestSurfacePanel::paintKeepsItsRecordsAlone()
{
    Page page;
    page.panel.SetZoom(0.6f);
    int notesDrawn = 0;
    page.panel.Page().SetNoteDrawer(
        [&](QPainter &, const TWPRtfStorage &, const TRect &, float, TColor) {
            ++notesDrawn;
            if (notesDrawn == 1)
                page.panel.grab(); // a picture's event loop painting again
        });
    page.panel.grab();
    QCOMPARE(notesDrawn, 42);
    const CellRecord screenCell = page.panel.Drawn().CellRecordOf(20);
    const TRect screenTitle = page.panel.Drawn().titleRect;
    QVERIFY(!screenCell.rTotal.IsZero());

    page.Doc().SetZoom(1.0f);
    RenderDocumentImage(page.Doc());
    page.Doc().SetZoom(0.6f);
    QCOMPARE(page.panel.Drawn().CellRecordOf(20).rTotal, screenCell.rTotal);
    QCOMPARE(page.panel.Drawn().CellRecordOf(20).rFree, screenCell.rFree);
    QCOMPARE(page.panel.Drawn().titleRect, screenTitle);
    // Printing lays notes out at the screen's first note area, at zoom 1.
    const TRect firstNote = page.panel.Drawn().CellRecordOf(1).rFree;
    QCOMPARE(page.panel.PrintReferenceNoteSize(),
             QSize(int((firstNote.Width() + 5) / 0.6f), int((firstNote.Height() + 5) / 0.6f)));
}

void TestSurfacePanel::snapsToGrid()
{
    Page page;
    TGGraphicControl *object = page.Create(QRect(100, 100, 60, 40));
    page.panel.SetGridSize(TGBasePanel::gs8x8);
    page.Click(QPoint(130, 120));
    page.Drag(QPoint(130, 120), QPoint(135, 133));
    // Snapping is off: setting the grid size alone does not snap.
    QCOMPARE(object->Bounds(), QRect(105, 113, 60, 40));
    page.panel.SetSnapToGrid(true);
    page.Settle();
    page.Drag(QPoint(130, 135), QPoint(139, 135));
    // The handle snaps to multiples of 8; the object lies 2 pixels inside it.
    QCOMPARE(object->Bounds(), QRect(114, 106, 60, 40));
    QCOMPARE((object->Left() - 2) % 8, 0);
    QCOMPARE((object->Top() - 2) % 8, 0);
}

void TestSurfacePanel::nudgesAtZoomFollowTheOutline_data()
{
    QTest::addColumn<float>("zoom");
    QTest::newRow("60 %") << 0.601f;
    QTest::newRow("50 %") << 0.501f;
    QTest::newRow("90 %") << 0.901f;
    QTest::newRow("100 %") << 1.001f;
}

void TestSurfacePanel::nudgesAtZoomFollowTheOutline()
{
    // 20 presses at 60 % used to move the object 24 screen pixels.
    QFETCH(float, zoom);
    Page page;
    page.panel.SetZoom(zoom);
    TGGraphicControl *object = page.Create(QRect(100, 100, 60, 40));
    const QRect stored = object->Bounds();
    const QRect start = object->ScaledBounds();
    page.Click(start.center());
    const int steps = page.Doc().UndoStack().count();
    for (int i = 1; i <= 20; ++i) {
        QTest::keyPress(page.Handle(), Qt::Key_Right);
        const QRect outline = page.Handle()->Outline();
        QTest::keyRelease(page.Handle(), Qt::Key_Right);
        QCOMPARE(object->ScaledBounds(), start.translated(i, 0));
        QCOMPARE(outline.topLeft(), start.topLeft() + QPoint(i, 0));
    }
    for (int i = 1; i <= 7; ++i)
        QTest::keyClick(page.Handle(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(object->ScaledBounds(),
             QRect(start.topLeft() + QPoint(20, 0), start.size() + QSize(0, 7)));
    QCOMPARE(page.Doc().UndoStack().count(), steps + 1);
    page.Doc().UndoStack().undo();
    QCOMPARE(object->Bounds(), stored);
}

void TestSurfacePanel::clipboardFailuresAreReported()
{
    // A damaged clipboard file and a cut whose copy failed used to be silent.
    Page page;
    page.Create(QRect(100, 100, 60, 40));
    page.Click(QPoint(130, 120));
    QStringList reports;
    QTimer answerer;
    answerer.setInterval(20);
    QObject::connect(&answerer, &QTimer::timeout, [&reports] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            reports << box->windowTitle() + QStringLiteral(": ") + box->text();
            box->accept();
        }
    });
    answerer.start();
    QFile damaged(page.Doc().ClipboardFile());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("TPF0 not a component stream at all");
    damaged.close();
    QTest::keyClick(page.Handle(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(page.Doc().ObjectCount(), 1);
    QCOMPARE(reports.size(), 1);
    QVERIFY(
        reports.first().startsWith(QStringLiteral("Error: The clipboard file could not be read")));

    page.Doc().SetClipboardFile(QStringLiteral("/proc/dayloom-no-such-folder/Clipbrd.tmp"));
    QTest::keyClick(page.Handle(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(page.Doc().ObjectCount(), 1);
    QCOMPARE(reports.size(), 2);
    QVERIFY(reports.last().startsWith(QStringLiteral("Cut: The objects could not be copied")));

    // The object's own Copy and Cut failed without a word.
    TGGraphicControl *object = page.Doc().Object(0);
    page.panel.ObjectMenu(object)->Item(QStringLiteral("Copy"))->trigger();
    QCOMPARE(reports.size(), 3);
    QVERIFY(reports.last().startsWith(QStringLiteral("Copy: The objects could not be copied")));
    page.panel.ObjectMenu(object)->Item(QStringLiteral("Cut"))->trigger();
    QCOMPARE(page.Doc().ObjectCount(), 1);
    QCOMPARE(reports.size(), 4);
}

QTEST_MAIN(TestSurfacePanel)
#include "tst_surfacepanel.moc"
