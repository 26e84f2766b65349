#include "core/formats/componentrecord.h"
#include "core/io/appfolders.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/objects/shape/shapekind.h"
#include "core/objects/shape/tgshape.h"
#include "ui/app/tcalendarmain.h"
#include "ui/shape/shapeactions.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QBuffer>
#include <QLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

using namespace Dayloom;

namespace {

QByteArray Record(const TGShape &shape)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(shape, buffer);
    return buffer.data();
}

} // namespace

class TestShapeActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void menuEditIsOneUndoStep_data();
    void menuEditIsOneUndoStep();
    void toolButtonFollowsTheFloatingCalendar();
};

void TestShapeActions::menuEditIsOneUndoStep_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("shape") << "Ellipse"
                           << "Change Shape";
    QTest::newRow("line") << "Line Up"
                          << "Change Shape";
    QTest::newRow("width") << "5 pixels"
                           << "Change Line Width";
    QTest::newRow("style") << "Dash Dot"
                           << "Change Line Style";
    QTest::newRow("line colour") << "Line Colour..."
                                 << "Line Colour";
    QTest::newRow("fill colour") << "Fill Colour..."
                                 << "Fill Colour";
    QTest::newRow("no fill") << "No Fill"
                             << "No Fill";
}

void TestShapeActions::menuEditIsOneUndoStep()
{
    QFETCH(QString, caption);
    QFETCH(QString, undoText);
    TCalendarPanel32 panel;
    QStringList asked;
    RegisterShapeActions(panel, [&asked](QWidget *, TColor, const QString &title) {
        asked << title;
        return std::optional<TColor>(clRed);
    });
    PageDocument &document = panel.Document();
    auto *shape =
        static_cast<TGShape *>(document.CreateObjectInRect(psShape, QRect(40, 40, 120, 80)));
    QVERIFY(shape);
    shape->SetBrushColor(clYellow);
    shape->SetBrushStyle(TGShape::bsSolid);
    const int steps = document.UndoStack().count();
    const QByteArray before = Record(*shape);

    QAction *item = panel.ObjectMenu(shape)->Item(caption);
    QVERIFY(item);
    item->trigger();
    QCOMPARE(document.UndoStack().count(), steps + 1);
    QCOMPARE(document.UndoStack().undoText(), undoText);
    QCOMPARE(asked,
             caption.endsWith(QStringLiteral("...")) ? QStringList{undoText} : QStringList());
    const QByteArray after = Record(*shape);
    QVERIFY(after != before);
    document.UndoStack().undo();
    QCOMPARE(Record(*shape), before);
    document.UndoStack().redo();
    QCOMPARE(Record(*shape), after);
}

void TestShapeActions::toolButtonFollowsTheFloatingCalendar()
{
    const QTemporaryDir folder;
    SetProgramFolder(folder.path());
    {
        TCalendarMain window;
        const QLayout *layout = window.findChild<QWidget *>(QStringLiteral("Panel3"))->layout();
        QStringList names;
        for (int i = 0; i < layout->count(); ++i) {
            if (const auto *button = qobject_cast<QToolButton *>(layout->itemAt(i)->widget()))
                names << button->objectName();
        }
        QCOMPARE(names.indexOf(QStringLiteral("DrawShapeButton")),
                 names.indexOf(QStringLiteral("PSpeedButton1")) + 1);
        const auto *button = window.findChild<QToolButton *>(QStringLiteral("DrawShapeButton"));
        QVERIFY(!button->icon().isNull());
        QCOMPARE(button->accessibleName(), QStringLiteral("Shape tool"));
        window.SetModified(false);
    }
    SetProgramFolder(QString());
}

QTEST_MAIN(TestShapeActions)
#include "tst_shapeactions.moc"
