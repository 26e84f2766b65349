#include "core/objects/label/labelkind.h"
#include "core/objects/label/tgplabel.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "ui/common/colorlistcombo.h"
#include "ui/label/editlabel.h"
#include "ui/label/tgetlabeltext.h"
#include "ui/label/tgfont3deffects.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace Dayloom;

namespace {

// Services that never block: the dialog is shown, `drive` plays the user's
// part, and the result is how the dialog ended.
struct Services
{
    QList<int> helpTopics;
    std::optional<FontSpec> font;
    std::optional<TColor> color;
    std::function<void(QDialog &)> drive;

    LabelDialogServices Make()
    {
        LabelDialogServices services;
        services.chooseFont = [this](QWidget *, const FontSpec &, const QString &) { return font; };
        services.chooseColor = [this](QWidget *, TColor, const QString &) { return color; };
        services.showHelp = [this](QWidget *, int topic) { helpTopics.append(topic); };
        services.runDialog = [this](QDialog &dialog) -> bool {
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog))
                return false;
            if (drive)
                drive(dialog);
            return dialog.result() == QDialog::Accepted;
        };
        return services;
    }
};

QPushButton *Button(QDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

// Picks an entry of a list as a user does: keys on the focused list.
void Choose(QComboBox *combo, int index)
{
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

struct Page
{
    TCalendarPanel32 panel;
    Services services;

    Page()
    {
        RegisterLabelActions(panel, services.Make());
        panel.show();
    }
    PageDocument &Doc() { return panel.Document(); }
    TGPLabel *Place()
    {
        auto owned = std::make_unique<TGPLabel>();
        TGPLabel *label = owned.get();
        Doc().PlaceObject(std::move(owned), QRect(40, 40, 142, 33));
        return label;
    }
    void Drag(const QPoint &from, const QPoint &to)
    {
        QTest::mousePress(&panel, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, panel.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(&panel, &move);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, to);
    }
};

} // namespace

class TestLabelDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void textDialogTakesTypedText();
    void textDialogCancelKeepsCaption();
    void toolPlacesLabelAndAsksForText();
    void effectsOkCopiesBack();
    void effectsCancelChangesNothing();
    void popupEntriesAreOneUndoStepEach_data();
    void popupEntriesAreOneUndoStepEach();
    void fontAndBackgroundDialogs();
};

void TestLabelDialogs::textDialogTakesTypedText()
{
    Page page;
    TGPLabel *label = page.Place();
    page.services.drive = [](QDialog &dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Text"));
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("LabelText"));
        QVERIFY(edit);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(edit->text(), QStringLiteral("Text"));
        // Typing replaces the caption, which opens selected.
        QTest::keyClicks(edit, QStringLiteral("Happy Birthday!"));
        QTest::mouseClick(Button(dialog, "HelpButton"), Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    QVERIFY(EditLabelText(&page.panel, page.Doc(), *label, page.services.Make()));
    QCOMPARE(label->Caption(), QStringLiteral("Happy Birthday!"));
    QCOMPARE(page.services.helpTopics, QList<int>{TGetLabelText::HelpTopic});
    QCOMPARE(page.Doc().UndoStack().undoText(), QStringLiteral("Edit label text"));
    page.Doc().UndoStack().undo();
    QCOMPARE(label->Caption(), QStringLiteral("Text"));
}

void TestLabelDialogs::textDialogCancelKeepsCaption()
{
    Page page;
    TGPLabel *label = page.Place();
    const int steps = page.Doc().UndoStack().count();
    page.services.drive = [](QDialog &dialog) {
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("LabelText"));
        QTest::keyClicks(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Escape);
    };
    QVERIFY(!EditLabelText(&page.panel, page.Doc(), *label, page.services.Make()));
    QCOMPARE(label->Caption(), QStringLiteral("Text"));
    QCOMPARE(page.Doc().UndoStack().count(), steps);
}

void TestLabelDialogs::toolPlacesLabelAndAsksForText()
{
    Page page;
    page.services.drive = [](QDialog &dialog) {
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("LabelText"));
        QCOMPARE(edit->text(), QStringLiteral("Enter text..."));
        QTest::keyClicks(edit, QStringLiteral("Smith Family"));
        QTest::mouseClick(Button(dialog, "OkButton"), Qt::LeftButton);
    };
    // The registration took a copy of the services; register the driven ones.
    RegisterLabelActions(page.panel, page.services.Make());
    page.panel.SetPanelState(psLabel);
    page.Drag(QPoint(100, 100), QPoint(130, 110));
    QCOMPARE(page.Doc().ObjectCount(), 1);
    auto *label = dynamic_cast<TGPLabel *>(page.Doc().Object(0));
    QVERIFY(label);
    QCOMPARE(label->Caption(), QStringLiteral("Smith Family"));
    QCOMPARE(label->Font().Size(), 20);
    QVERIFY(!label->Transparent());
    QCOMPARE(label->BorderStyle(), bsSingle);
    QCOMPARE(page.panel.PanelState(), psPointing);
    // Grown to fit the typed text.
    const int wide =
        QFontMetrics(label->DrawingFont()).horizontalAdvance(QStringLiteral("Smith Family     "));
    QVERIFY(label->Width() >= wide);
}

void TestLabelDialogs::effectsOkCopiesBack()
{
    Page page;
    TGPLabel *label = page.Place();
    page.services.drive = [](QDialog &dialog) {
        auto &effects = static_cast<TGFont3DEffects &>(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Text 3D Effects"));
        QCOMPARE(effects.ShadowDirection()->currentIndex(), int(sdDownRight));
        QCOMPARE(effects.HighlightDirection()->currentText(), QStringLiteral("Upper Left"));
        QCOMPARE(effects.ShadowDepth()->count(), 11);
        Choose(effects.ShadowDirection(), sdDown);
        Choose(effects.ShadowDepth(), 4);
        Choose(effects.HighlightDirection(), hdright);
        Choose(effects.HighlightDepth(), 2);
        Choose(effects.ShadowColor(), ColorListCombo::StandardColors().indexOf(clRed));
        Choose(effects.FontColor(), ColorListCombo::StandardColors().indexOf(clNavy));
        // The sample follows at once.
        QCOMPARE(effects.Preview().DirectionShadow(), sdDown);
        QCOMPARE(effects.Preview().DepthShadow(), 4);
        QCOMPARE(effects.Preview().Caption(), QStringLiteral("Text"));
        QVERIFY(effects.Preview().Transparent());
        QTest::mouseClick(Button(dialog, "HelpButton"), Qt::LeftButton);
        QTest::mouseClick(Button(dialog, "OkButton"), Qt::LeftButton);
    };
    QVERIFY(EditLabelEffects(&page.panel, page.Doc(), *label, page.services.Make()));
    QCOMPARE(label->DirectionShadow(), sdDown);
    QCOMPARE(label->DepthShadow(), 4);
    QCOMPARE(label->DirectionHighlight(), hdright);
    QCOMPARE(label->DepthHighlight(), 2);
    QCOMPARE(label->colorShadow(), clRed);
    QCOMPARE(label->Font().Color(), clNavy);
    QCOMPARE(label->Caption(), QStringLiteral("Text"));
    QCOMPARE(page.services.helpTopics, QList<int>{TGFont3DEffects::HelpTopic});
    QCOMPARE(page.Doc().UndoStack().undoText(), QStringLiteral("Change 3D effects"));
    page.Doc().UndoStack().undo();
    QCOMPARE(label->DepthShadow(), 0);
    QCOMPARE(label->Font().Color(), clBlack);
}

void TestLabelDialogs::effectsCancelChangesNothing()
{
    Page page;
    TGPLabel *label = page.Place();
    const int steps = page.Doc().UndoStack().count();
    page.services.drive = [](QDialog &dialog) {
        auto &effects = static_cast<TGFont3DEffects &>(dialog);
        Choose(effects.ShadowDepth(), 7);
        QTest::mouseClick(Button(dialog, "CancelButton"), Qt::LeftButton);
    };
    QVERIFY(!EditLabelEffects(&page.panel, page.Doc(), *label, page.services.Make()));
    QCOMPARE(label->DepthShadow(), 0);
    QCOMPARE(page.Doc().UndoStack().count(), steps);
}

void TestLabelDialogs::popupEntriesAreOneUndoStepEach_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("rotation") << "180 Degrees"
                              << "Rotate label";
    QTest::newRow("alignment") << "Center"
                               << "Center label text";
    QTest::newRow("transparent") << "Transparent"
                                 << "Make label opaque";
    QTest::newRow("border") << "Border"
                            << "Add label border";
}

void TestLabelDialogs::popupEntriesAreOneUndoStepEach()
{
    QFETCH(QString, item);
    QFETCH(QString, undoText);
    Page page;
    TGPLabel *label = page.Place();
    ObjectPopupMenu *menu = page.panel.ObjectMenu(label);
    for (const char *caption : {"Font", "3D Effects", "Alignment", "Transparent",
                                "Background Color", "Border", "Text", "Rotation"})
        QVERIFY2(menu->Item(QLatin1String(caption)), caption);
    QVERIFY(menu->Item(QStringLiteral("Rotation"))->menu());
    QCOMPARE(menu->Item(QStringLiteral("Rotation"))->menu()->actions().size(), 4);
    QVERIFY(menu->Item(QStringLiteral("Left"))->isChecked());
    const int steps = page.Doc().UndoStack().count();
    menu->Item(item)->trigger();
    QCOMPARE(page.Doc().UndoStack().count(), steps + 1);
    QCOMPARE(page.Doc().UndoStack().undoText(), undoText);
    // The checks follow when the menu opens again.
    menu = page.panel.ObjectMenu(label);
    Q_EMIT menu->aboutToShow();
    QVERIFY(menu->Item(item)->isChecked() != (item == QLatin1String("Transparent")));
    page.Doc().UndoStack().undo();
    QCOMPARE(label->Angle(), 0);
    QCOMPARE(label->Alignment(), taLeftJustify);
    QVERIFY(label->Transparent());
    QCOMPARE(label->BorderStyle(), bsNone);
}

void TestLabelDialogs::fontAndBackgroundDialogs()
{
    Page page;
    TGPLabel *label = page.Place();
    // The menu's dialog items, through the registered window actions.
    page.services.font = FontSpec(QStringLiteral("DejaVu Sans"), 30);
    page.services.color = clYellow;
    RegisterLabelActions(page.panel, page.services.Make());
    ObjectPopupMenu *menu = page.panel.ObjectMenu(label);
    const int width = label->Width();
    menu->Item(QStringLiteral("Font"))->trigger();
    QCOMPARE(label->Font().Size(), 30);
    QVERIFY(label->Width() > width); // grown to fit
    QCOMPARE(page.Doc().UndoStack().undoText(), QStringLiteral("Change label font"));
    menu->Item(QStringLiteral("Background Color"))->trigger();
    QCOMPARE(label->BackColor(), clYellow);
    QVERIFY(!label->Transparent());
    QCOMPARE(page.Doc().UndoStack().undoText(), QStringLiteral("Change background color"));
    // Cancelled dialogs change nothing.
    page.services.font.reset();
    page.services.color.reset();
    const int steps = page.Doc().UndoStack().count();
    QVERIFY(!ChooseLabelFont(&page.panel, page.Doc(), *label, page.services.Make()));
    QVERIFY(!ChooseLabelBackground(&page.panel, page.Doc(), *label, page.services.Make()));
    QCOMPARE(page.Doc().UndoStack().count(), steps);
}

QTEST_MAIN(TestLabelDialogs)
#include "tst_labeldialogs.moc"
