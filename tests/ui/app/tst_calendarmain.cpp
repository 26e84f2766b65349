#include "core/app/recoverystore.h"
#include "core/app/tmrufilelist.h"
#include "core/formats/calendarfile.h"
#include "core/formats/objectclassregistry.h"
#include "core/io/appfolders.h"
#include "core/io/inifile.h"
#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/image/tgimage.h"
#include "core/objects/label/tgplabel.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/objects/shape/tgshape.h"
#include "core/objects/tggraphiccontrol.h"
#include "core/richtext/notedocument.h"
#include "core/surface/pagedocument.h"
#include "ui/app/tcalendarmain.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/calendarpanelaccessible.h"
#include "ui/surface/tcalendarpanel32.h"
#include "ui/surface/tghandle.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLayout>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

using namespace Dayloom;

namespace {

// Answers the next modal dialogs: records the texts of message boxes and
// presses the given button (Yes, No or OK; NoButton presses Escape); any
// other dialog is recorded by its caption and cancelled.
class MessageBoxAnswerer : public QObject
{
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer) : m_answer(answer)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box) {
                if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                    texts << QStringLiteral("dialog: ") + dialog->windowTitle();
                    dialog->reject();
                }
                return;
            }
            texts << box->windowTitle() + QStringLiteral(": ") + box->text();
            if (m_answer == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else if (QAbstractButton *button = box->button(m_answer))
                button->click();
            else
                box->reject();
        });
        m_timer.start();
    }

    QStringList texts;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

QString NoteText(const CalendarPage &page, int cell)
{
    NoteDocument document;
    document.Load(page.CellNote(cell));
    return document.Document().toPlainText();
}

QPoint CellCentre(TCalendarPanel32 *panel, int cell)
{
    return panel->Drawn().CellRecordOf(cell).rTotal.toQRect().center();
}

int AcceptDialog(TCalendarProperties &dialog)
{
    dialog.show(); // the first activation fills the preview
    dialog.accept();
    return QDialog::Accepted;
}

// A dialog run that edits the preview page, then answers.
TCalendarMain::PropertiesDialogRunner EditAndAnswer(std::function<void(CalendarPage &)> edit,
                                                    int answer = QDialog::Accepted)
{
    return [edit, answer](TCalendarProperties &dialog) {
        dialog.show();
        edit(dialog.ExampleCalendar());
        static_cast<QDialog &>(dialog).done(answer);
        return answer;
    };
}

QToolButton *Button(TCalendarMain &window, const char *name)
{
    return window.findChild<QToolButton *>(QString::fromLatin1(name));
}

// The first interface below root (depth first) whose name contains the text.
QAccessibleInterface *FindAccessible(QAccessibleInterface *root, const QString &text, int depth = 0)
{
    if (!root || depth > 16)
        return nullptr;
    if (root->text(QAccessible::Name).contains(text))
        return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface *found = FindAccessible(root->child(i), text, depth + 1))
            return found;
    }
    return nullptr;
}

} // namespace

class TestCalendarMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void init();
    void cleanup();
    void startsWithoutCalendar();
    void typeIntoCellsAndTab();
    void saveAndReopenKeepsNotes();
    void captions();
    void zoomStepsStopAtLimits();
    void undoBackToSavedStateClearsModified();
    void undoCommitsTheOpenNoteFirst();
    void missingRecentFileIsReported();
    void failedSaveKeepsModified();
    void sixthFileDropsOldest();
    void storedZoom45Gives40();
    void clearAllIsUndoable();
    void cancelChangesRevertsToTheFile();
    void drawingAnObjectOpensNoNote();
    void handOverWaitsForModalDialog();
    void escapeOnSaveQuestionKeepsTheDesign();
    void recentEntryStaysWhenOpenStops();
    void handleShortcutsWorkAfterTheMenuBar();
    void noteEditorCoversTheNoteArea();
    void fillGoesBackToTheOpenNote();
    void clickInANoteSetsTheCaret();
    void newCalendarUsesStoredPageValues();
    void hintsToolCursorAndAboutBox();
    void imageToolOpensTheBrowser();
    void toolButtonsComeFromTheKinds();
    void propertiesOkIsOneUndoStep();
    void propertiesClearNotesOnlyWhenTheyMust_data();
    void propertiesClearNotesOnlyWhenTheyMust();
    void newGoesThroughTheDialog();
    void propertiesDialogDrivenFromTheButton();
    void anotherMonthAsksBeforeClearingNotes();
    void autosaveTakesTheOpenNoteAndLeavesThePage();
    void restoreAfterACrash_data();
    void restoreAfterACrash();
    void menuShortcutsAreStandardAndUnique();
    void readerFollowsTabFromCellToCell();
    void damagedObjectsAreToldAndSavedOnlyWhenAgreed();
    void failedOpenKeepsTheDesign();
    void cancelAfterPlacingLeavesNoTrace_data();
    void cancelAfterPlacingLeavesNoTrace();
    void pasteSelectsTheCopyAndRepeats();
    void helpFromAModalDialogComesInFront();
    void saveKeyOnAnUnnamedDesignAsksForAName();
    void objectsStayWholeOverAnOpenNote();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TCalendarMain> m_window;

    TCalendarMain &NewWindow(const QString &file = QString());
    // A new window, active (so that its shortcuts work), with a new design.
    TCalendarMain &ActiveWindowWithNewDesign();
    void ClickCell(int cell);
    // Chooses the tool of the button and clicks the page with it.
    void PlaceWith(const char *toolButton, const QPoint &at);
};

void TestCalendarMain::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
}

void TestCalendarMain::cleanup()
{
    if (m_window) {
        m_window->DoSaveRichtext();
        m_window->SetModified(false);
        m_window->close();
    }
    m_window.reset();
    SetProgramFolder(QString());
}

TCalendarMain &TestCalendarMain::NewWindow(const QString &file)
{
    if (m_window) {
        m_window->DoSaveRichtext();
        m_window->SetModified(false);
        m_window->close();
    }
    m_window = std::make_unique<TCalendarMain>();
    // One printer, whatever this machine has: start-up asks nothing.
    m_window->PrintHooks().installedPrinters = [] { return QStringList{"Test printer"}; };
    m_window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Test printer"); };
    // The properties dialog of File New is shown and confirmed at once.
    m_window->SetPropertiesDialogRunner(AcceptDialog);
    m_window->Start(file);
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("window not exposed");
    return *m_window;
}

TCalendarMain &TestCalendarMain::ActiveWindowWithNewDesign()
{
    TCalendarMain &window = NewWindow();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("window not active");
    window.New();
    return window;
}

void TestCalendarMain::ClickCell(int cell)
{
    TCalendarPanel32 *panel = m_window->CalendarPanel();
    panel->repaint(); // cell records come from the last paint
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, CellCentre(panel, cell));
}

void TestCalendarMain::PlaceWith(const char *toolButton, const QPoint &at)
{
    QTest::mouseClick(Button(*m_window, toolButton), Qt::LeftButton);
    QTest::mouseClick(m_window->CalendarPanel(), Qt::LeftButton, Qt::NoModifier, at);
}

void TestCalendarMain::startsWithoutCalendar()
{
    TCalendarMain &window = NewWindow();
    QVERIFY(!window.CalendarPanel()->isVisible());
    QVERIFY(!window.Modified());
    QVERIFY(!Button(window, "Savebutton")->isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom    [60%]"));
    QVERIFY(!window.findChild<QAction *>("mnuSave")->isEnabled());
    QVERIFY(!window.findChild<QAction *>("mnuProperties")->isEnabled());
    QVERIFY(!Button(window, "PropertiesButton")->isEnabled());
}

void TestCalendarMain::typeIntoCellsAndTab()
{
    TCalendarMain &window = NewWindow();
    window.New();
    QVERIFY(window.CalendarPanel()->isVisible());
    window.SetModified(false);
    window.UndoStack().setClean();
    ClickCell(10);
    QVERIFY(window.EditingNote());
    NoteEditor *editor = window.NoteEditorWidget();
    QVERIFY(editor->isVisible());
    QTest::keyClicks(editor, QStringLiteral("Dentist"));
    QVERIFY(window.Modified());
    QVERIFY(window.findChild<QToolButton *>("Savebutton")->isVisible());
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(window.CurrentCell(), 11);
    QTest::keyClicks(editor, QStringLiteral("Choir"));
    QTest::keyClick(editor, Qt::Key_Backtab);
    QCOMPARE(window.CurrentCell(), 10);
    window.DoSaveRichtext();
    const CalendarPage &page = window.CalendarPanel()->Page();
    QCOMPARE(NoteText(page, 10), QStringLiteral("Dentist"));
    QCOMPARE(NoteText(page, 11), QStringLiteral("Choir"));
    QVERIFY(!NoteText(page, 10).contains('\t'));
    QVERIFY(!editor->isVisible());

    // A click on the title band puts the open note back into its cell.
    ClickCell(20);
    QTest::keyClicks(editor, QStringLiteral("Title click"));
    QTest::mouseClick(window.CalendarPanel(), Qt::LeftButton, Qt::NoModifier,
                      window.CalendarPanel()->Drawn().titleRect.toQRect().center());
    QVERIFY(!window.EditingNote());
    QCOMPARE(NoteText(page, 20), QStringLiteral("Title click"));
}

void TestCalendarMain::saveAndReopenKeepsNotes()
{
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(3);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("Saved note"));
    const QString path = m_folder->filePath(QStringLiteral("May1998.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    QVERIFY(!window.Modified());
    QCOMPARE(window.CurrentFileName(), path);
    window.RecentFiles()->Add(path); // as Save As does

    TCalendarMain &again = NewWindow(); // reopens the most recent file
    QCOMPARE(again.CurrentFileName(), path);
    QVERIFY(again.CalendarPanel()->isVisible());
    QCOMPARE(NoteText(again.CalendarPanel()->Page(), 3), QStringLiteral("Saved note"));
    QVERIFY(!again.Modified());
}

void TestCalendarMain::captions()
{
    TCalendarMain &window = NewWindow();
    window.New();
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom    [60%]"));
    const QString path = m_folder->filePath(QStringLiteral("MAY1998.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    window.CalendarPanel()->SetZoom(1.001f);
    window.SetCaption();
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom  [MAY1998.DLF]    [100%]"));
}

void TestCalendarMain::zoomStepsStopAtLimits()
{
    TCalendarMain &window = NewWindow();
    window.New();
    window.CalendarPanel()->SetZoom(1.001f);
    QStringList seen;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(&window, Qt::Key_PageUp);
        seen << window.windowTitle().section('[', -1).chopped(1);
    }
    QCOMPARE(seen, (QStringList{"90%", "80%", "70%", "60%", "50%", "50%", "50%", "50%"}));
    for (int i = 0; i < 7; ++i)
        window.ZoomIn();
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom    [100%]"));
    // The page widget follows the zoom.
    QCOMPARE(window.CalendarPanel()->width(),
             int(window.CalendarPanel()->Page().PageWidth() * 1.001f));
}

void TestCalendarMain::undoBackToSavedStateClearsModified()
{
    TCalendarMain &window = NewWindow();
    window.New();
    QVERIFY(window.SaveCalendarFile(m_folder->filePath(QStringLiteral("a.DLF"))));
    ClickCell(5);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("x"));
    window.DoSaveRichtext();
    QVERIFY(window.Modified());
    QCOMPARE(window.UndoStack().undoText(), QStringLiteral("Note"));
    window.UndoStack().undo();
    QVERIFY(NoteText(window.CalendarPanel()->Page(), 5).isEmpty());
    QVERIFY(!window.Modified());
    window.UndoStack().redo();
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 5), QStringLiteral("x"));
    QVERIFY(window.Modified());
}

void TestCalendarMain::undoCommitsTheOpenNoteFirst()
{
    TCalendarMain &window = NewWindow();
    window.New();
    QVERIFY(window.SaveCalendarFile(m_folder->filePath(QStringLiteral("b.DLF"))));
    ClickCell(6);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("typed"));
    QVERIFY(window.Modified());
    window.findChild<QAction *>(QStringLiteral("mnuUndo"))->trigger();
    QVERIFY(!window.EditingNote());
    QVERIFY(NoteText(window.CalendarPanel()->Page(), 6).isEmpty());
    QCOMPARE(window.UndoStack().redoText(), QStringLiteral("Note"));
    QVERIFY(!window.Modified());

    // With a changed note open the menu offered the redo that committing the
    // note throws away, and named the step below the note as the one undone.
    ClickCell(7);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("more"));
    Q_EMIT window.findChild<QMenu *>(QStringLiteral("EditMenu"))->aboutToShow();
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("mnuUndo"))->text(),
             QStringLiteral("&Undo Note"));
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("mnuRedo"))->isEnabled());
}

void TestCalendarMain::missingRecentFileIsReported()
{
    const QString path = m_folder->filePath(QStringLiteral("Gone.DLF"));
    {
        TCalendarMain &window = NewWindow();
        window.New();
        QVERIFY(window.SaveCalendarFile(path));
        window.RecentFiles()->Add(path);
    }
    QVERIFY(QFile::remove(path));
    // Starting with a vanished recent file opens nothing, silently.
    TCalendarMain &window = NewWindow();
    QVERIFY(window.CurrentFileName().isEmpty());
    QVERIFY(!window.CalendarPanel()->isVisible());
    // Choosing it from the menu says so.
    QAction *entry = window.findChild<QAction *>(QStringLiteral("MRU1"));
    QVERIFY(entry);
    QVERIFY(entry->text().endsWith(path));
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    entry->trigger();
    QCOMPARE(answerer.texts, QStringList{"Information: File " + path + " no longer exists"});
    QVERIFY(!window.RecentFiles()->Files().contains(path));
}

void TestCalendarMain::failedSaveKeepsModified()
{
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(8);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("keep me"));
    const QString impossible = QStringLiteral("/proc/dayloom-cannot-write.DLF");
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QVERIFY(!window.SaveCalendarFile(impossible));
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts.first().startsWith("Information: Unable to save " + impossible + "\n"));
    QVERIFY(window.Modified());
    QVERIFY(window.CurrentFileName().isEmpty());
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 8), QStringLiteral("keep me"));
}

void TestCalendarMain::sixthFileDropsOldest()
{
    TCalendarMain &window = NewWindow();
    window.New();
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        paths << m_folder->filePath(QStringLiteral("File%1.DLF").arg(i));
        QVERIFY(window.SaveCalendarFile(paths.last()));
    }
    for (const QString &path : paths)
        QVERIFY(window.OpenCalendarFile(path));
    const QStringList files = window.RecentFiles()->Files();
    QCOMPARE(files.size(), 5);
    QCOMPARE(files.first(), paths.last());
    QVERIFY(!files.contains(paths.first()));
    QCOMPARE(window.findChild<QAction *>("MRU1")->text(), "&1 " + paths.last());
    QVERIFY(!window.findChild<QAction *>("MRU6"));
}

void TestCalendarMain::storedZoom45Gives40()
{
    IniFile ini(QDir(m_folder->path()).filePath(QStringLiteral("DL.ini")));
    ini.WriteInteger(QStringLiteral("Zooming"), QStringLiteral("Main"), 45);
    QVERIFY(ini.Save());
    TCalendarMain &window = NewWindow();
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom    [40%]"));
    window.New();
    window.ZoomOut(); // below 50 % only steps upwards
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom    [40%]"));
    window.ZoomIn();
    QCOMPARE(window.windowTitle(), QStringLiteral("Dayloom    [50%]"));
}

void TestCalendarMain::clearAllIsUndoable()
{
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(12);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("soon gone"));
    window.ClearAllCellContents();
    QVERIFY(!window.CalendarPanel()->Page().HasCellNotes());
    QCOMPARE(window.UndoStack().undoText(), QStringLiteral("Clear All Cell Contents"));
    window.UndoStack().undo();
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 12), QStringLiteral("soon gone"));
}

void TestCalendarMain::cancelChangesRevertsToTheFile()
{
    // Used to close the calendar: "File  no longer exists", then a hidden page.
    TCalendarMain &window = NewWindow();
    window.New();
    const QString path = m_folder->filePath(QStringLiteral("Keep.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    ClickCell(5);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("throw away"));
    QToolButton *cancel = Button(window, "CancelButton");
    QVERIFY(cancel->isVisible());
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(answerer.texts, QStringList{"CANCEL: Cancel all changes?"});
    QVERIFY(window.CalendarPanel()->isVisible());
    QCOMPARE(window.CurrentFileName(), path);
    QVERIFY(NoteText(window.CalendarPanel()->Page(), 5).isEmpty());
    QVERIFY(!window.Modified());
}

void TestCalendarMain::drawingAnObjectOpensNoNote()
{
    // Used to open the note editor of the cell under the release as well.
    TCalendarMain &window = NewWindow();
    window.New();
    TCalendarPanel32 *panel = window.CalendarPanel();
    panel->repaint();
    QTest::mouseClick(Button(window, "PSpeedButton1"), Qt::LeftButton);
    const QPoint from = CellCentre(panel, 10) - QPoint(30, 20);
    const QPoint to = CellCentre(panel, 10) + QPoint(30, 20);
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(panel->Document().ObjectCount(), 1);
    QVERIFY(!window.EditingNote());
    QVERIFY(!window.NoteEditorWidget()->isVisible());
    QVERIFY(Button(window, "Pointerbutton")->isChecked());
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_C})
        QTest::keyClick(window.windowHandle(), key);
    QVERIFY(NoteText(panel->Page(), 10).isEmpty());
    // A plain click with the pointer still opens the cell.
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, CellCentre(panel, 20));
    QVERIFY(window.EditingNote());
}

void TestCalendarMain::handOverWaitsForModalDialog()
{
    // Used to swap the document behind an open dialog.
    TCalendarMain &window = NewWindow();
    window.New();
    const QString other = m_folder->filePath(QStringLiteral("Other.DLF"));
    QVERIFY(window.SaveCalendarFile(other));
    const QString first = m_folder->filePath(QStringLiteral("First.DLF"));
    QVERIFY(window.SaveCalendarFile(first));
    QString openWhileDialog;
    QTimer::singleShot(50, &window, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        window.ActivateFromOtherInstance({other});
        QTest::qWait(300);
        openWhileDialog = window.CurrentFileName();
        QCOMPARE(window.HandedOverFile(), other);
        static_cast<QDialog *>(dialog)->reject();
    });
    window.findChild<QAction *>(QStringLiteral("mnuUserTitle"))->trigger();
    QCOMPARE(openWhileDialog, first);
    QTRY_COMPARE(window.CurrentFileName(), other);
    QVERIFY(window.HandedOverFile().isEmpty());
}

void TestCalendarMain::escapeOnSaveQuestionKeepsTheDesign()
{
    // Escape used to count as No and throw the changes away.
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(4);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("precious"));
    MessageBoxAnswerer answerer(QMessageBox::NoButton);
    window.findChild<QAction *>(QStringLiteral("New1"))->trigger();
    QCOMPARE(answerer.texts, QStringList{"Save: Save changes?"});
    QVERIFY(window.Modified());
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 4), QStringLiteral("precious"));
    // Closing the window asks too; Escape keeps it open.
    window.close();
    QCOMPARE(answerer.texts.size(), 2);
    QVERIFY(window.isVisible());
    QVERIFY(window.Modified());
}

void TestCalendarMain::recentEntryStaysWhenOpenStops()
{
    // The entry used to be removed before "Save changes?" -> Save As was cancelled.
    const QString path = m_folder->filePath(QStringLiteral("Recent.DLF"));
    TCalendarMain &window = NewWindow();
    window.New();
    QVERIFY(window.SaveCalendarFile(path));
    window.RecentFiles()->Add(path);
    window.New();
    ClickCell(3);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("unsaved"));
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    window.findChild<QAction *>(QStringLiteral("MRU1"))->trigger();
    QCOMPARE(answerer.texts, (QStringList{"Save: Save changes?", "dialog: Save Calendar File"}));
    QCOMPARE(window.RecentFiles()->Files(), QStringList{path});
    QVERIFY(window.CurrentFileName().isEmpty());
    QVERIFY(window.Modified());
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 3), QStringLiteral("unsaved"));
}

void TestCalendarMain::handleShortcutsWorkAfterTheMenuBar()
{
    // After Escape from the menu bar or Edit > Undo the shortcuts went nowhere.
    TCalendarMain &window = ActiveWindowWithNewDesign();
    TCalendarPanel32 *panel = window.CalendarPanel();
    PageDocument &document = panel->Document();
    QTest::mouseClick(Button(window, "PSpeedButton1"), Qt::LeftButton);
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, 300));
    QCOMPARE(document.ObjectCount(), 1);
    TGGraphicControl *object = document.Object(0);
    const QPoint inside = object->ScaledBounds().center();
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, inside);
    TGHandle *handle = panel->SelectionHandle();
    QCOMPARE(handle->SelectedCount(), 1);
    QTest::keyClick(window.windowHandle(), Qt::Key_Right);
    const QRect nudged = object->Bounds();
    const QRect shown = object->ScaledBounds();

    // A click opens the Edit menu, Escape closes it.
    QMenu *edit = window.findChild<QMenu *>(QStringLiteral("EditMenu"));
    QMenuBar *bar = window.menuBar();
    const QPoint editTitle = bar->actionGeometry(edit->menuAction()).center();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, editTitle);
    QTRY_VERIFY(edit->isVisible());
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_COMPARE(window.focusWidget(), handle);
    QTest::keyClick(window.windowHandle(), Qt::Key_Down);
    QCOMPARE(object->ScaledBounds().top(), shown.top() + 1);

    // Edit > Undo from the menu.
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, editTitle);
    QTRY_VERIFY(edit->isVisible());
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                      edit->actionGeometry(window.findChild<QAction *>("mnuUndo")).center());
    QTRY_VERIFY(!edit->isVisible());
    QCOMPARE(object->Bounds(), nudged.translated(-1, 0));
    QCOMPARE(handle->SelectedCount(), 1);
    QTRY_COMPARE(window.focusWidget(), handle);
    QTest::keyClick(window.windowHandle(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(window.windowHandle(), Qt::Key_Delete);
    QCOMPARE(document.ObjectCount(), 0);
}

void TestCalendarMain::fillGoesBackToTheOpenNote()
{
    // After a fill the note opened again with its cursor at the start and the
    // formatting bar greyed out.
    QFile dates(QDir(m_folder->path()).filePath(QStringLiteral("DLRECUR.DAX")));
    QVERIFY(dates.open(QIODevice::WriteOnly));
    dates.write(QStringLiteral("Dentist").leftJustified(120).toLatin1() + "@1209\r\n");
    dates.close();
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(11);
    NoteEditor *editor = window.NoteEditorWidget();
    QTest::keyClicks(editor, QStringLiteral("hello"));
    QTimer::singleShot(0, &window, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    window.FillWithRecurringDates();
    QVERIFY(window.EditingNote());
    QCOMPARE(window.CurrentCell(), 11);
    QTRY_VERIFY(window.FormatBar()->isEnabled());
    QTest::keyClicks(editor, QStringLiteral(" there"));
    window.DoSaveRichtext();
    const CalendarPage &page = window.CalendarPanel()->Page();
    // The fill added its line under the text; typing went on after "hello".
    QCOMPARE(NoteText(page, 11), QStringLiteral("hello there\nDentist"));
}

void TestCalendarMain::clickInANoteSetsTheCaret()
{
    // Typing after a click always went in front of the note's text.
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(10);
    NoteEditor *editor = window.NoteEditorWidget();
    QTest::keyClicks(editor, QStringLiteral("Dentist"));
    ClickCell(12);
    ClickCell(10); // the cell's centre lies below the one line of text
    QTest::keyClicks(editor, QStringLiteral(" 9:30"));
    window.DoSaveRichtext();
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 10), QStringLiteral("Dentist 9:30"));
}

void TestCalendarMain::noteEditorCoversTheNoteArea()
{
    // Placed a pixel right of and below the note area, the editor hid the grid line below it.
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(9);
    const TCalendarPanel32 *panel = window.CalendarPanel();
    const TRect &free = panel->Drawn().CellRecordOf(9).rFree;
    const QRect area(panel->x() + free.Left, panel->y() + free.Top, free.Width() + 1,
                     free.Height() + 1);
    QCOMPARE(window.NoteEditorWidget()->geometry(), area);
    const QImage shown = window.NoteEditorWidget()->parentWidget()->grab().toImage();
    QVERIFY(qGray(shown.pixel(area.center().x(), area.bottom() + 1)) < 128);
    QCOMPARE(shown.pixelColor(area.center().x(), area.bottom()), QColor(Qt::white));
}

void TestCalendarMain::newCalendarUsesStoredPageValues()
{
    // Every new calendar used to show "Sun Mon ..." in small type.
    TCalendarMain &window = NewWindow();
    window.New();
    const CalendarPage &page = window.CalendarPanel()->Page();
    QCOMPARE(page.HeadersStyle(), dsWhole);
    QCOMPARE(page.TitleFont().Height(), -35);
    QCOMPARE(page.HeadersFont().Height(), -21);
    QCOMPARE(page.CellFont().Height(), -21);
    QCOMPARE(page.MiniTitleFont().Height(), -13);
    QCOMPARE(page.MiniCellFont().Height(), -11);
    QVERIFY(page.TitleFont().Bold());
}

void TestCalendarMain::hintsToolCursorAndAboutBox()
{
    // Hints came after 700 ms, tools showed a cross and the about box cut its caption.
    TCalendarMain &window = NewWindow();
    QCOMPARE(Button(window, "PSpeedButton1")->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay),
             1200);
    window.New();
    QTest::mouseClick(Button(window, "PSpeedButton1"), Qt::LeftButton);
    QCOMPARE(window.CalendarPanel()->cursor().shape(), Qt::DragMoveCursor);
    int width = 0;
    int captionWidth = 0;
    QTimer::singleShot(50, &window, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        width = box->width();
        captionWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
        box->accept();
    });
    window.findChild<QAction *>(QStringLiteral("About1"))->trigger();
    QVERIFY(width >= captionWidth + 150);
}

void TestCalendarMain::imageToolOpensTheBrowser()
{
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("Clipart")));
    TCalendarMain &window = NewWindow();
    window.New();
    QStringList folders;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, &window, [&folders] {
        if (auto *browser = qobject_cast<TGImageBrowser *>(QApplication::activeModalWidget())) {
            folders.append(browser->Folder());
            browser->reject();
        }
    });
    answer.start();
    TCalendarPanel32 *panel = window.CalendarPanel();
    QToolButton *tool = Button(window, "DrawImageButton");
    QVERIFY(tool);
    QVERIFY(tool->toolTip().contains(QStringLiteral("Clip Art Tool")));
    QTest::mouseClick(tool, Qt::LeftButton);
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, 300));
    answer.stop();

    // The browser opened at once, in the shipped clip art; cancelled, it
    // takes the new image back and leaves the selection tool.
    QCOMPARE(folders, QStringList({QDir(m_folder->filePath("Clipart")).canonicalPath()}));
    QCOMPARE(panel->Document().ObjectCount(), 0);
    QVERIFY(Button(window, "Pointerbutton")->isChecked());
    QCOMPARE(window.Prefs().imageFolder, folders.first());
}

// The tool buttons keep their names, glyphs, hints and order now that the
// kinds' registrations give them (tests and the accessibility walk use them).
void TestCalendarMain::toolButtonsComeFromTheKinds()
{
    TCalendarMain &window = NewWindow();
    const QLayout *layout = window.findChild<QWidget *>(QStringLiteral("Panel3"))->layout();
    QStringList names;
    for (int i = 0; i < layout->count(); ++i) {
        if (const auto *button = qobject_cast<QToolButton *>(layout->itemAt(i)->widget()))
            names << button->objectName();
    }
    const QStringList tools = {"Pointerbutton", "DrawLabelButton", "DrawImageButton",
                               "DrawRichText",  "DrawSuperText",   "PSpeedButton1"};
    const qsizetype first = names.indexOf(tools.first());
    QVERIFY(first >= 0);
    QCOMPARE(names.mid(first, tools.size()), tools);
    for (const QString &tool : tools)
        QVERIFY2(!window.findChild<QToolButton *>(tool)->icon().isNull(), qPrintable(tool));
    QCOMPARE(Button(window, "DrawRichText")->toolTip(),
             QStringLiteral("Rich Text tool\nMixed fonts, colors and styles"));
}

void TestCalendarMain::cancelAfterPlacingLeavesNoTrace_data()
{
    QTest::addColumn<QByteArray>("tool");
    QTest::addColumn<bool>("saved");
    for (const char *tool :
         {"DrawLabelButton", "DrawImageButton", "DrawRichText", "DrawSuperText"}) {
        QTest::addRow("%s, saved design", tool) << QByteArray(tool) << true;
        QTest::addRow("%s, changed design", tool) << QByteArray(tool) << false;
    }
}

// Cancel in the dialog a new object opens used to leave the object on the
// page, with its "Create" step and the design marked modified.
void TestCalendarMain::cancelAfterPlacingLeavesNoTrace()
{
    QFETCH(QByteArray, tool);
    QFETCH(bool, saved);
    TCalendarMain &window = NewWindow();
    window.New();
    PageDocument &document = window.CalendarPanel()->Document();
    PlaceWith("PSpeedButton1", QPoint(100, 100));
    if (saved)
        QVERIFY(window.SaveCalendarFile(m_folder->filePath(QStringLiteral("Saved.DLF"))));
    const int steps = window.UndoStack().count();
    QStringList cancelled;
    QTimer answer;
    connect(&answer, &QTimer::timeout, &window, [&cancelled] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        cancelled << dialog->windowTitle();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    });
    answer.start(20);
    PlaceWith(tool.constData(), QPoint(300, 300));
    answer.stop();
    QCOMPARE(cancelled.size(), 1);
    QCOMPARE(document.ObjectCount(), 1);
    QCOMPARE(window.UndoStack().count(), steps);
    QVERIFY(!window.UndoStack().canRedo());
    QCOMPARE(window.UndoStack().isClean(), saved);
    QCOMPARE(window.Modified(), !saved);
    QVERIFY(Button(window, "Pointerbutton")->isChecked());
}

// Paste left the original selected under its copy, so the arrow keys moved
// the hidden original; a second Ctrl+V within a second did nothing, and
// every copy landed on the same place.
void TestCalendarMain::pasteSelectsTheCopyAndRepeats()
{
    TCalendarMain &window = ActiveWindowWithNewDesign();
    TCalendarPanel32 *panel = window.CalendarPanel();
    PageDocument &document = panel->Document();
    PlaceWith("PSpeedButton1", QPoint(200, 300));
    TGGraphicControl *original = document.Object(0);
    const QRect placed = original->Bounds();
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, original->ScaledBounds().center());
    QTest::keyClick(window.windowHandle(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(document.ObjectCount(), 2);
    TGGraphicControl *copy = document.Object(1);
    QCOMPARE(panel->Selection(), QList<TGGraphicControl *>{copy});
    const int offset = document.ToPage(PageDocument::PasteOffset);
    QCOMPARE(copy->Bounds(), placed.translated(offset, offset));
    QTest::keyClick(window.windowHandle(), Qt::Key_Right);
    QCOMPARE(original->Bounds(), placed);
    QVERIFY(copy->Bounds().left() > placed.left() + offset);

    QTest::keyClick(window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(document.ObjectCount(), 3);
    QCOMPARE(document.Object(2)->Bounds(), placed.translated(2 * offset, 2 * offset));
    QCOMPARE(panel->Selection(), QList<TGGraphicControl *>{document.Object(2)});
}

// Help asked for from the properties dialog opened behind it, where the
// dialog kept it from being scrolled or closed.
void TestCalendarMain::helpFromAModalDialogComesInFront()
{
    TCalendarMain &window = NewWindow();
    window.New();
    window.SetPropertiesDialogRunner([](TCalendarProperties &dialog) { return dialog.exec(); });
    bool asked = false;
    bool inFront = false;
    int scrolled = 0;
    bool closed = false;
    // No early return before the dialog is closed: its exec() would never end.
    QTimer::singleShot(50, &window, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        asked = true;
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("HelpButton")),
                          Qt::LeftButton);
        QWidget *help = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QStringLiteral("HelpWindow") && top->isVisible())
                help = top;
        }
        if (help && QTest::qWaitForWindowExposed(help)) {
            inFront = help->windowHandle()->transientParent() == dialog->windowHandle();
            auto *browser = help->findChild<QTextBrowser *>();
            QTest::keyClick(help->windowHandle(), Qt::Key_PageDown);
            scrolled = browser->verticalScrollBar()->value();
            QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
            closed = !help->isVisible();
        }
        dialog->reject();
    });
    window.Properties();
    QVERIFY(asked);
    QVERIFY(inFront);
    QVERIFY(scrolled > 0);
    QVERIFY(closed);
}

// Ctrl+S did nothing until the design had been saved once with Save As.
void TestCalendarMain::saveKeyOnAnUnnamedDesignAsksForAName()
{
    TCalendarMain &window = ActiveWindowWithNewDesign();
    QVERIFY(window.CurrentFileName().isEmpty());
    MessageBoxAnswerer answerer(QMessageBox::NoButton);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(answerer.texts, QStringList{"dialog: Save Calendar File"});
    QVERIFY(window.Modified());
}

// An object lying over a day cell lost the part the open note editor
// covered until the page was painted whole again.
void TestCalendarMain::objectsStayWholeOverAnOpenNote()
{
    TCalendarMain &window = NewWindow();
    window.New();
    TCalendarPanel32 *panel = window.CalendarPanel();
    panel->repaint();
    const QRect note = panel->Drawn().CellRecordOf(10).rFree.toQRect();
    // From the middle of the note area out over its lower right corner.
    const QPoint from = note.center() + QPoint(4, 4);
    QTest::mouseClick(Button(window, "DrawShapeButton"), Qt::LeftButton);
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, note.bottomRight() + QPoint(30, 30));
    auto *shape = dynamic_cast<TGShape *>(panel->Document().Object(0));
    QVERIFY(shape);
    shape->SetBrushStyle(TGShape::bsSolid);
    shape->SetBrushColor(clRed);
    const QPoint inside = panel->mapTo(&window, from + QPoint(4, 4));
    const QPoint beside = panel->mapTo(&window, QPoint(note.left() + 3, note.bottom() - 3));

    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, note.topLeft() + QPoint(5, 5));
    QVERIFY(window.EditingNote());
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("Lunch"));
    QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor(inside), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(beside), QColor(Qt::white));
    window.DoSaveRichtext();
    shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor(inside), QColor(Qt::red));
}

QTEST_MAIN(TestCalendarMain)
#include "tst_calendarmain.moc"

void TestCalendarMain::propertiesOkIsOneUndoStep()
{
    TCalendarMain &window = NewWindow();
    window.New();
    CalendarPage &page = window.CalendarPanel()->Page();
    const TCalendarLayout opening = page.CalendarLayout();
    ClickCell(12);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("birthday"));
    window.DoSaveRichtext();
    const int steps = window.UndoStack().count();
    window.SetPropertiesDialogRunner(EditAndAnswer([](CalendarPage &preview) {
        preview.SetCalendarLayout(loMC12Month);
        preview.CalculateLayout(true); // as a click in the layout list does
    }));
    Button(window, "PropertiesButton")->click();
    QVERIFY(window.PropertiesAccepted());
    QCOMPARE(page.CalendarLayout(), loMC12Month);
    QVERIFY(!page.HasCellNotes());
    QVERIFY(window.Modified());
    QCOMPARE(window.UndoStack().count(), steps + 1);
    QCOMPARE(window.UndoStack().undoText(), QStringLiteral("Calendar Properties"));
    window.findChild<QAction *>("mnuUndo")->trigger();
    QCOMPARE(page.CalendarLayout(), opening);
    QCOMPARE(NoteText(page, 12), QStringLiteral("birthday"));
    window.findChild<QAction *>("mnuRedo")->trigger();
    QCOMPARE(page.CalendarLayout(), loMC12Month);
    QVERIFY(!page.HasCellNotes());

    // Cancel, or OK without a change, adds no step.
    window.SetPropertiesDialogRunner(EditAndAnswer(
        [](CalendarPage &preview) { preview.SetMainCalYear(2031); }, QDialog::Rejected));
    window.Properties();
    QVERIFY(!window.PropertiesAccepted());
    window.SetPropertiesDialogRunner(EditAndAnswer([](CalendarPage &) {}));
    window.Properties();
    QCOMPARE(window.UndoStack().count(), steps + 1);
    QVERIFY(page.MainCalYear() != 2031);
}

void TestCalendarMain::propertiesClearNotesOnlyWhenTheyMust_data()
{
    QTest::addColumn<TCalendarLayout>("layout");
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("kept");
    enum
    {
        Month,
        Year,
        Font,
        FontSize,
        Orientation
    };
    QTest::newRow("month on a grid") << loFullCalendar << int(Month) << false;
    QTest::newRow("year on a planner") << loWeek << int(Year) << false;
    QTest::newRow("title font") << loFullCalendar << int(Font) << true;
    QTest::newRow("title font size") << loFullCalendar << int(FontSize) << true;
    QTest::newRow("orientation, same family") << loFullCalendar << int(Orientation) << true;
}

void TestCalendarMain::propertiesClearNotesOnlyWhenTheyMust()
{
    QFETCH(TCalendarLayout, layout);
    QFETCH(int, change);
    QFETCH(bool, kept);
    TCalendarMain &window = NewWindow();
    window.SetPropertiesDialogRunner(EditAndAnswer([layout](CalendarPage &preview) {
        preview.SetCalendarLayout(layout);
        preview.CalculateLayout(true);
    }));
    window.New();
    window.UndoStack().setClean();
    ClickCell(10);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("note"));
    window.DoSaveRichtext();
    window.SetPropertiesDialogRunner(EditAndAnswer([change](CalendarPage &preview) {
        switch (change) {
        case 0:
            preview.SetMainCalMonth(preview.MainCalMonth() % 12 + 1);
            break;
        case 1:
            preview.SetMainCalYear(preview.MainCalYear() + 1);
            break;
        case 2: {
            FontSpec font = preview.TitleFont();
            font.SetName(QStringLiteral("Arial"));
            preview.SetTitleFont(font);
            break;
        }
        case 3: {
            FontSpec font = preview.TitleFont();
            font.SetSize(font.Size() + 4);
            preview.SetTitleFont(font);
            break;
        }
        default:
            preview.SetCalendarLayout(LOFullCalendarLS);
        }
    }));
    window.Properties();
    const CalendarPage &page = window.CalendarPanel()->Page();
    QCOMPARE(page.HasCellNotes(), kept);
    // A font size alone used to leave the design unmodified, so closing lost it.
    QVERIFY(window.Modified());
}

void TestCalendarMain::newGoesThroughTheDialog()
{
    TCalendarMain &window = NewWindow();
    window.SetPropertiesDialogRunner(EditAndAnswer(
        [](CalendarPage &preview) { preview.SetMainCalYear(2031); }, QDialog::Rejected));
    window.New();
    QVERIFY(!window.CalendarPanel()->isVisible());
    QVERIFY(!window.Modified());

    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("kept.DLF"));
    window.SetPropertiesDialogRunner(AcceptDialog);
    window.New();
    ClickCell(9);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("kept"));
    window.DoSaveRichtext();
    QVERIFY(window.CalendarPanel()->Document().CreateObjectInRect(psFlatCalendar,
                                                                  QRect(300, 300, 120, 80)));
    QVERIFY(window.SaveCalendarFile(path));
    window.SetPropertiesDialogRunner(EditAndAnswer(
        [](CalendarPage &preview) {
            QCOMPARE(preview.CalendarLayout(), loFCMinisInTitleLS); // the default style
            preview.SetMainCalYear(2031);
        },
        QDialog::Rejected));
    window.New();
    QCOMPARE(window.CurrentFileName(), path);
    QVERIFY(window.CalendarPanel()->Page().HasCellNotes());
    QVERIFY(window.CalendarPanel()->Page().MainCalYear() != 2031);

    window.SetPropertiesDialogRunner(
        EditAndAnswer([](CalendarPage &preview) { preview.SetMainCalYear(2031); }));
    window.New();
    const CalendarPage &page = window.CalendarPanel()->Page();
    QCOMPARE(page.MainCalYear(), 2031);
    QVERIFY(window.CurrentFileName().isEmpty());
    QVERIFY(window.Modified());
    QVERIFY(!page.HasCellNotes());
    QVERIFY(!window.CalendarPanel()->Document().HasPlacedObjects());
    QCOMPARE(window.UndoStack().count(), 0);
}

void TestCalendarMain::propertiesDialogDrivenFromTheButton()
{
    TCalendarMain &window = NewWindow();
    window.New();
    window.SetPropertiesDialogRunner({}); // the real modal run
    bool seen = false;
    QTimer::singleShot(50, &window, [&] {
        auto *dialog = qobject_cast<TCalendarProperties *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        seen = true;
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("LayoutList"));
        const QRect row = list->visualItemRect(list->item(5)); // "12 Month Calendar"
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
        dialog->findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    });
    Button(window, "PropertiesButton")->click();
    QVERIFY(seen);
    QCOMPARE(window.CalendarPanel()->Page().LayoutKind(), 1);
    QCOMPARE(window.UndoStack().undoText(), QStringLiteral("Calendar Properties"));
}

void TestCalendarMain::anotherMonthAsksBeforeClearingNotes()
{
    // The next month in Properties cleared every note without a word.
    TCalendarMain &window = NewWindow();
    window.SetPropertiesDialogRunner(EditAndAnswer([](CalendarPage &preview) {
        preview.SetCalendarLayout(loFullCalendar);
        preview.CalculateLayout(true);
    }));
    window.New();
    for (int cell : {10, 17}) {
        ClickCell(cell);
        QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("note"));
    }
    window.DoSaveRichtext();
    CalendarPage &page = window.CalendarPanel()->Page();
    const int month = page.MainCalMonth();
    QStringList questions;
    bool answer = false;
    window.SetPropertiesDialogRunner([&](TCalendarProperties &dialog) {
        PropertiesDialogServices services = PropertiesDialogServices::standard();
        services.askOkCancel = [&](QWidget *, const QString &text, const QString &) {
            questions << text;
            return answer;
        };
        dialog.SetServices(services);
        dialog.show();
        dialog.findChild<QPushButton *>(QStringLiteral("NextMonthButton"))->click();
        dialog.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
        if (dialog.isVisible())
            dialog.reject(); // back in the dialog after Cancel: the user leaves
        return dialog.result();
    });
    window.Properties();
    QCOMPARE(questions, QStringList(QStringLiteral(
                            "Changing the month clears the notes of 2 days. Continue?")));
    QCOMPARE(page.MainCalMonth(), month);
    QCOMPARE(page.NotedCellCount(), 2);

    answer = true;
    window.Properties();
    QVERIFY(page.MainCalMonth() != month);
    QVERIFY(!page.HasCellNotes());
    window.findChild<QAction *>("mnuUndo")->trigger();
    QCOMPARE(page.MainCalMonth(), month);
    QCOMPARE(NoteText(page, 17), QStringLiteral("note"));
}

void TestCalendarMain::autosaveTakesTheOpenNoteAndLeavesThePage()
{
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(12);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("draft"));
    window.Autosave();
    QVERIFY(window.EditingNote());
    QVERIFY(window.CalendarPanel()->Page().CellNote(12).IsEmpty());
    const QDir recovery(RecoveryStore::DefaultFolder());
    const QStringList copies = recovery.entryList({QStringLiteral("*.dlf")});
    QCOMPARE(copies.size(), 1);
    QFile file(recovery.filePath(copies.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    CalendarPage copy;
    PersistentObjectList objects;
    QVERIFY(ReadCalendarFile(copy, file, ObjectClassRegistry(), {}, objects));
    QCOMPARE(NoteText(copy, 12), QStringLiteral("draft"));

    // Nothing left unsaved: the copy goes.
    window.DoSaveRichtext();
    QVERIFY(window.SaveCalendarFile(QDir(m_folder->path()).filePath(QStringLiteral("a.DLF"))));
    QVERIFY(recovery.entryList({QStringLiteral("*.dlf")}).isEmpty());
}

void TestCalendarMain::restoreAfterACrash_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("unread");
    QTest::newRow("restored") << int(QMessageBox::Yes) << false << 0;
    QTest::newRow("discarded") << int(QMessageBox::No) << false << 0;
    QTest::newRow("copy cannot be read") << int(QMessageBox::Yes) << true << 0;
    // A restored design whose file held unreadable objects was saved over it without a question.
    QTest::newRow("original had unread objects") << int(QMessageBox::Yes) << false << 2;
}

void TestCalendarMain::restoreAfterACrash()
{
    QFETCH(int, answer);
    QFETCH(bool, damaged);
    QFETCH(int, unread);
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("Dec2027.DLF"));
    {
        CalendarPage saved;
        QVERIFY(SaveCalendarFile(saved, {}, path));
        RecoveryStore crashed(RecoveryStore::DefaultFolder());
        RecoveryStore::CellNotes notes;
        notes[2].SetRtfText("{\\rtf1 unsaved}");
        QVERIFY(crashed.Write(saved, notes, {}, path, QDateTime::currentDateTimeUtc(), nullptr,
                              unread));
    } // the program died without closing
    const QDir recovery(RecoveryStore::DefaultFolder());
    if (damaged) {
        const QString copy = recovery.entryList({QStringLiteral("*.dlf")}).value(0);
        QVERIFY(QFile(recovery.filePath(copy)).resize(30));
    }
    MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    TCalendarMain &window = NewWindow();
    QCOMPARE(answerer.texts.size(), 1);
    const CalendarPage &page = window.CalendarPanel()->Page();
    if (damaged) {
        QVERIFY(answerer.texts.first().startsWith(
            QStringLiteral("Information: The unsaved changes of Dec2027.DLF cannot be restored")));
        QVERIFY(!window.Modified());
    } else {
        QVERIFY(answerer.texts.first().startsWith(
            QStringLiteral("Dayloom: Dayloom closed unexpectedly. Restore the unsaved changes of "
                           "Dec2027.DLF from ")));
        QCOMPARE(window.Modified(), answer == QMessageBox::Yes);
        QCOMPARE(page.HasCellNotes(), answer == QMessageBox::Yes);
    }
    if (window.Modified()) {
        QCOMPARE(window.CurrentFileName(), path);
        QCOMPARE(NoteText(page, 3), QStringLiteral("unsaved"));
        // The restored design has a copy of its own until it is saved.
        QCOMPARE(recovery.entryList({QStringLiteral("*.dlf")}).size(), 1);
        window.Save();
        QCOMPARE(answerer.texts.size(), unread > 0 ? 2 : 1);
        if (unread > 0)
            QVERIFY(answerer.texts.last().startsWith(QStringLiteral("Save: Replace ")));
        CalendarPage reread;
        PersistentObjectList objects;
        QVERIFY(OpenCalendarFile(reread, path, ObjectClassRegistry(), {}, objects));
        QCOMPARE(NoteText(reread, 3), QStringLiteral("unsaved"));
    }
    QVERIFY(recovery.entryList({QStringLiteral("*.dlf")}).isEmpty());
}

void TestCalendarMain::menuShortcutsAreStandardAndUnique()
{
    // Only Save, Undo and Redo had keys; New, Open, Print, Quit and Help had none.
    TCalendarMain &window = NewWindow();
    QHash<QString, QString> owners;
    for (QAction *title : window.menuBar()->actions()) {
        if (!title->menu())
            continue;
        for (QAction *action : title->menu()->actions()) {
            for (const QKeySequence &key : action->shortcuts()) {
                const QString text = key.toString();
                QVERIFY2(!owners.contains(text), qPrintable(text + " twice: " + owners[text] +
                                                            ", " + action->objectName()));
                owners.insert(text, action->objectName());
            }
        }
    }
    const std::pair<QKeySequence::StandardKey, QString> standard[] = {
        {QKeySequence::New, "New1"},        {QKeySequence::Open, "Open1"},
        {QKeySequence::Save, "mnuSave"},    {QKeySequence::Print, "mnuPrintCalendar"},
        {QKeySequence::Undo, "mnuUndo"},    {QKeySequence::Redo, "mnuRedo"},
        {QKeySequence::Quit, "Exit1"},      {QKeySequence::HelpContents, "Contents1"},
        {QKeySequence::ZoomIn, "mnuZoomIn"}};
    for (const auto &[key, name] : standard) {
        const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
        if (!bindings.isEmpty())
            QCOMPARE(owners.value(bindings.first().toString()), name);
    }
    // The zoom steps and the cell keys keep their meaning.
    for (const int key : {int(Qt::Key_PageDown), int(Qt::Key_PageUp), int(Qt::Key_Tab),
                          int(Qt::Key_Left), int(Qt::Key_Right)})
        QVERIFY(!owners.contains(QKeySequence(key).toString()));
}

void TestCalendarMain::readerFollowsTabFromCellToCell()
{
    // The page had no name a screen reader could announce; Tab went unheard.
    TCalendarMain &window = NewWindow();
    window.New();
    ClickCell(10);
    NoteEditor *editor = window.NoteEditorWidget();
    QTest::keyClicks(editor, QStringLiteral("Dentist 9:30"));
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(window.CurrentCell(), 11);
    const CalendarPage &page = window.CalendarPanel()->Page();
    const auto dateOf = [&page](int cell) {
        return QLocale().toString(
            QDate(page.MainCalYear(), page.MainCalMonth(), page.MonthDayOfCell(cell)),
            QStringLiteral("dddd d MMMM yyyy"));
    };
    QCOMPARE(editor->accessibleName(), QStringLiteral("Note for ") + dateOf(11));
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(&window);
    QAccessibleInterface *pageInterface =
        FindAccessible(root, QStringLiteral("Calendar page, ") + dateOf(11));
    QVERIFY(pageInterface);
    QCOMPARE(pageInterface->object(), window.CalendarPanel());
    QTest::keyClick(editor, Qt::Key_Backtab);
    QCOMPARE(pageInterface->text(QAccessible::Value),
             dateOf(10) + QStringLiteral(", note: Dentist 9:30"));
}

// An unreadable object used to drop every later one without a word, and
// the first Save made the loss permanent.
void TestCalendarMain::damagedObjectsAreToldAndSavedOnlyWhenAgreed()
{
    const QString path = m_folder->filePath(QStringLiteral("Damaged.DLF"));
    {
        PageDocument design;
        design.Page().SetDefaultStyle();
        for (int i = 0; i < 3; ++i)
            design.PlaceObject(std::make_unique<TGPLabel>(), QRect(20, 20 + 40 * i, 80, 20));
        QVERIFY(design.Save(path));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype second = bytes.indexOf("TGPLabel", bytes.indexOf("TGPLabel") + 1);
    bytes[second] = 'X'; // a class this program does not know
    file.seek(0);
    file.write(bytes);
    file.close();

    auto no = std::make_unique<MessageBoxAnswerer>(QMessageBox::No);
    TCalendarMain &window = NewWindow(path);
    QCOMPARE(no->texts, QStringList{"Information: 1 object of this design could not be read; "
                                    "saving will leave it out."});
    QCOMPARE(window.CurrentFileName(), path);
    QVERIFY(window.Modified());
    QCOMPARE(window.CalendarPanel()->Document().ObjectCount(), 2);

    // No leads to Save As, whose dialog the user cancels: the file stays.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(no->texts.size(), 3);
    QVERIFY(no->texts[1].startsWith(QStringLiteral("Save: Replace Damaged.DLF?")));
    QCOMPARE(no->texts[2], QStringLiteral("dialog: Save Calendar File"));
    no.reset();
    QVERIFY(window.Modified());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    file.close();

    // Yes replaces it; after that the file holds what the design holds.
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(yes.texts.size(), 1);
        QVERIFY(!window.Modified());
    }
    MessageBoxAnswerer later(QMessageBox::Yes);
    QVERIFY(window.OpenCalendarFile(path));
    QVERIFY(later.texts.isEmpty());
    QVERIFY(!window.Modified());
    QCOMPARE(window.CalendarPanel()->Document().ObjectCount(), 2);
}

// A file that could not be opened used to leave the window without a
// design: the page hidden, the name gone, the changes lost.
void TestCalendarMain::failedOpenKeepsTheDesign()
{
    TCalendarMain &window = NewWindow();
    window.New();
    const QString path = m_folder->filePath(QStringLiteral("Kept.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    ClickCell(9);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("unsaved work"));
    const CalendarSettings before = window.CalendarPanel()->Page().Settings();
    const QString bad = m_folder->filePath(QStringLiteral("Bad.DLF"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a calendar");
    file.close();

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QVERIFY(!window.OpenCalendarFile(bad));
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts.first().startsWith("Information: Unable to open " + bad));
    QCOMPARE(window.CurrentFileName(), path);
    QVERIFY(window.CalendarPanel()->isVisible());
    QVERIFY(window.Modified());
    QCOMPARE(NoteText(window.CalendarPanel()->Page(), 9), QStringLiteral("unsaved work"));
    QVERIFY(window.CalendarPanel()->Page().Settings() == before);
    QCOMPARE(window.UndoStack().undoText(), QStringLiteral("Note"));
}
