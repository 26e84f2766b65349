#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/objects/richlabel/richlabelkind.h"
#include "core/objects/richlabel/tgprichbaselabel.h"
#include "core/richtext/noterenderer.h"
#include "core/surface/pagedocument.h"
#include "ui/app/helpwindow.h"
#include "ui/common/tgraphicpanel.h"
#include "ui/richlabel/richlabelactions.h"
#include "ui/richlabel/trichtextlabeleditor.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

using namespace Dayloom;

namespace {

// Stands in for the dialogs: counts editor runs, lets the "user" act on
// the shown editor, then closes it with a button.
struct Fakes
{
    int runs = 0;
    std::function<void(TRichTextLabelEditor &)> user;
    QString closeWith = QStringLiteral("OkButton");
    std::optional<TColor> color;
    QList<int> helpTopics;

    RichLabelServices Services()
    {
        RichLabelServices services;
        services.chooseColor = [this](QWidget *, TColor) { return color; };
        services.showHelp = [this](QWidget *, int topic) { helpTopics.append(topic); };
        services.runEditor = [this](TRichTextLabelEditor &editor) {
            ++runs;
            editor.show();
            editor.activateWindow();
            if (!QTest::qWaitForWindowActive(&editor))
                qWarning("the editor did not become active");
            if (user)
                user(editor);
            QTest::mouseClick(editor.findChild<QPushButton *>(closeWith), Qt::LeftButton);
            return editor.result() == QDialog::Accepted;
        };
        return services;
    }
};

QByteArray Words()
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs20 alpha bravo charlie delta echo "
           "foxtrot golf hotel india juliet kilo lima mike\\par\\qc\\fs28 november oscar papa "
           "quebec romeo sierra\\par}";
}

TGPRichBaseLabel *AddLabel(PageDocument &document, const QRect &bounds)
{
    auto label = std::make_unique<TGPRichBaseLabel>();
    label->SetRTFText(Words());
    auto *placed = static_cast<TGPRichBaseLabel *>(document.PlaceObject(std::move(label), bounds));
    placed->SetBounds(bounds);
    return placed;
}

// The lines the label draws: its page through the master renderer.
QList<NoteRenderer::LineRange> LabelLines(const TGPRichBaseLabel &label)
{
    NoteRenderer renderer;
    renderer.SetPageSize(QSizeF(label.Width(), label.Height()));
    return renderer.Lines(label.Storage());
}

} // namespace

class TestRichLabelEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void zoomSteps_data();
    void zoomSteps();
    void editorBreaksLikeLabel_data();
    void editorBreaksLikeLabel();
    void typedFormattedTextIsOneStep();
    void cancelKeepsText();
    void oversizedTextIsRefused();
    void backgroundColorIsOneStep();
    void toolDragOpensEditorAtOnce();
    void menuAndDoubleClickOpenEditor();
    void helpOpensTopic();
};

void TestRichLabelEditor::zoomSteps_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<bool>("in");
    QTest::addColumn<int>("expected");
    QTest::newRow("in at 100 does nothing") << 1.0f << true << 100;
    QTest::newRow("out at 50 does nothing") << 0.5f << false << 50;
    QTest::newRow("in from 70") << 0.7f << true << 80;
    QTest::newRow("out from 100") << 1.0f << false << 90;
    QTest::newRow("out from 200 moves towards the range") << 2.0f << false << 190;
    QTest::newRow("in at 200 does nothing") << 2.0f << true << 200;
}

void TestRichLabelEditor::zoomSteps()
{
    QFETCH(float, zoom);
    QFETCH(bool, in);
    QFETCH(int, expected);
    PageDocument document;
    TGPRichBaseLabel *label = AddLabel(document, QRect(10, 10, 190, 60));
    document.SetZoom(zoom);
    TRichTextLabelEditor editor;
    editor.LoadFrom(*label);
    editor.show();
    QCoreApplication::processEvents();
    const QSize start = editor.Panel()->size();
    QCOMPARE(start, label->ScaledBounds().size() + QSize(1, 1));
    const int before = editor.ZoomPercent();
    QToolButton *button = in ? editor.ZoomPlusButton() : editor.ZoomMinusButton();
    QCOMPARE(button->parentWidget(), static_cast<QWidget *>(editor.ToolBar()));
    // The buttons are greyed where they would do nothing; the step itself
    // checks again.
    if (button->isEnabled())
        QTest::mouseClick(button, Qt::LeftButton);
    else
        in ? editor.ZoomIn() : editor.ZoomOut();
    QCOMPARE(editor.ZoomPercent(), expected);
    const double scale = double(expected) / before;
    QCOMPARE(editor.Panel()->size(),
             QSize(qRound(start.width() * scale), qRound(start.height() * scale)));
    QCOMPARE(editor.ZoomCaption()->Caption(), QString::number(expected) + QStringLiteral(" %"));
}

void TestRichLabelEditor::editorBreaksLikeLabel_data()
{
    QTest::addColumn<float>("zoom");
    QTest::newRow("50 %") << 0.5f;
    QTest::newRow("100 %") << 1.0f;
    // The page size used to be divided by the zoom twice at other zooms.
    QTest::newRow("200 %") << 2.0f;
    QTest::newRow("150 %") << 1.5f;
}

void TestRichLabelEditor::editorBreaksLikeLabel()
{
    QFETCH(float, zoom);
    PageDocument document;
    TGPRichBaseLabel *label = AddLabel(document, QRect(10, 10, 170, 120));
    document.SetZoom(zoom);
    TRichTextLabelEditor editor;
    editor.LoadFrom(*label);
    editor.show();
    QCoreApplication::processEvents();
    const QList<NoteRenderer::LineRange> expected = LabelLines(*label);
    QVERIFY(expected.size() >= 4);
    QCOMPARE(NoteRenderer::Lines(*editor.Editor()->document()), expected);
    // Zooming the editor only scales what it shows.
    editor.ZoomOut();
    QCOMPARE(NoteRenderer::Lines(*editor.Editor()->document()), expected);
}

void TestRichLabelEditor::typedFormattedTextIsOneStep()
{
    PageDocument document;
    auto *label = new TGPRichBaseLabel;
    document.PlaceObject(std::unique_ptr<TGGraphicControl>(label), QRect(10, 10, 190, 33));
    Fakes fakes;
    fakes.user = [](TRichTextLabelEditor &editor) {
        NoteEditor *text = editor.Editor();
        QVERIFY(text->hasFocus());
        QTest::keyClicks(text, QStringLiteral("Plain "));
        editor.ToolBar()->BoldAction()->trigger();
        QTest::keyClicks(text, QStringLiteral("bold"));
        editor.ToolBar()->AlignCenterAction()->trigger();
    };
    QVERIFY(EditRichText(nullptr, document, *label, fakes.Services()));
    QCOMPARE(document.UndoStack().undoText(), QStringLiteral("Edit Rich Text"));
    QVERIFY(label->RTFText().contains("\\b"));
    QVERIFY(label->RTFText().contains("\\qc"));
    QTextDocument read;
    QVERIFY(label->Storage().LoadInto(read));
    QCOMPARE(read.toPlainText(), QStringLiteral("Plain bold"));
    document.UndoStack().undo();
    QVERIFY(label->RTFText().isEmpty());
}

void TestRichLabelEditor::cancelKeepsText()
{
    PageDocument document;
    TGPRichBaseLabel *label = AddLabel(document, QRect(10, 10, 190, 60));
    const int steps = document.UndoStack().count();
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [](TRichTextLabelEditor &editor) {
        QTest::keyClicks(editor.Editor(), QStringLiteral("gone"));
    };
    QVERIFY(!EditRichText(nullptr, document, *label, fakes.Services()));
    QCOMPARE(label->RTFText(), Words());
    QCOMPARE(document.UndoStack().count(), steps);
}

void TestRichLabelEditor::backgroundColorIsOneStep()
{
    PageDocument document;
    TGPRichBaseLabel *label = AddLabel(document, QRect(10, 10, 190, 60));
    QVERIFY(label->Transparent());
    Fakes fakes;
    fakes.color = clLime;
    QVERIFY(ChooseRichLabelBackground(nullptr, document, *label, fakes.Services()));
    QCOMPARE(document.UndoStack().undoText(), QStringLiteral("Background Color"));
    QCOMPARE(label->BGColor(), clLime);
    QVERIFY(!label->Transparent());
    document.UndoStack().undo();
    QVERIFY(label->Transparent());
    QCOMPARE(label->BGColor(), clWhite);
}

void TestRichLabelEditor::toolDragOpensEditorAtOnce()
{
    TCalendarPanel32 panel;
    panel.show();
    Fakes fakes;
    fakes.user = [](TRichTextLabelEditor &editor) {
        QTest::keyClicks(editor.Editor(), QStringLiteral("Birthdays"));
    };
    RegisterRichLabelActions(panel, fakes.Services());
    panel.SetPanelState(psRichLabel);
    const QPoint from(100, 100), to(300, 140);
    QTest::mousePress(&panel, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), panel.mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(&panel, &move);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, to);
    QCOMPARE(fakes.runs, 1);
    QCOMPARE(panel.Document().ObjectCount(), 1);
    auto *label = dynamic_cast<TGPRichBaseLabel *>(panel.Document().Object(0));
    QVERIFY(label);
    QVERIFY(!label->Transparent());
    QCOMPARE(label->BorderStyle(), bsSingle);
    QTextDocument read;
    label->Storage().LoadInto(read);
    QCOMPARE(read.toPlainText(), QStringLiteral("Birthdays"));
}

void TestRichLabelEditor::menuAndDoubleClickOpenEditor()
{
    TCalendarPanel32 panel;
    panel.show();
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    RegisterRichLabelActions(panel, fakes.Services());
    TGGraphicControl *label = AddLabel(panel.Document(), QRect(100, 100, 190, 60));

    ObjectPopupMenu *menu = panel.ObjectMenu(label);
    QStringList captions;
    for (QAction *item : menu->actions()) {
        if (!item->isSeparator())
            captions.append(item->text());
    }
    const QStringList tail{QStringLiteral("Transparent"), QStringLiteral("Background Color..."),
                           QStringLiteral("Border"), QStringLiteral("Edit...")};
    QCOMPARE(captions.mid(captions.size() - 4), tail);
    menu->actions().last()->trigger();
    QCOMPARE(fakes.runs, 1);

    const QPoint inside(150, 130);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, inside);
    QWidget *target = panel.childAt(inside) ? panel.childAt(inside) : &panel;
    QTest::mouseDClick(target, Qt::LeftButton, {}, target->mapFrom(&panel, inside));
    QCOMPARE(fakes.runs, 2);
}

void TestRichLabelEditor::helpOpensTopic()
{
    PageDocument document;
    TGPRichBaseLabel *label = AddLabel(document, QRect(10, 10, 190, 60));
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [](TRichTextLabelEditor &editor) {
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("HelpButton")),
                          Qt::LeftButton);
    };
    EditRichText(nullptr, document, *label, fakes.Services());
    QCOMPARE(fakes.helpTopics, QList<int>{TRichTextLabelEditor::HelpContext});
    QVERIFY(HelpWindow::HasTopic(TRichTextLabelEditor::HelpContext));
}

// Ok on a text over the label's 16 MB used to store nothing on the label,
// with an "Edit Rich Text" step as if the edit had worked.
void TestRichLabelEditor::oversizedTextIsRefused()
{
    PageDocument document;
    TGPRichBaseLabel *label = AddLabel(document, QRect(10, 10, 190, 60));
    const int steps = document.UndoStack().count();
    // Noise does not compress: as PNG in hex it takes about 2 x 3 x 1700^2 bytes.
    QImage noise(1700, 1700, QImage::Format_RGB32);
    QRandomGenerator random(28);
    for (int y = 0; y < noise.height(); ++y)
        random.fillRange(reinterpret_cast<quint32 *>(noise.scanLine(y)), noise.width());
    QStringList told;
    bool stayedOpen = false;
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [&](TRichTextLabelEditor &editor) {
        editor.Editor()->InsertPicture(noise);
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                told << box->text();
                box->accept();
            }
        });
        answer.start(20);
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("OkButton")),
                          Qt::LeftButton);
        stayedOpen = editor.isVisible();
    };
    QVERIFY(!EditRichText(nullptr, document, *label, fakes.Services()));
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().startsWith("This text is too large for a rich text label"),
             qPrintable(told.first()));
    QVERIFY(stayedOpen);
    QCOMPARE(label->RTFText(), Words());
    QCOMPARE(document.UndoStack().count(), steps);
}

QTEST_MAIN(TestRichLabelEditor)
#include "tst_richlabeleditor.moc"
