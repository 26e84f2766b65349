#include "core/app/tmrufilelist.h"
#include "core/graphics/iconlibrarywriter.h"
#include "core/io/appfolders.h"
#include "core/io/inifile.h"
#include "core/richtext/notedocument.h"
#include "core/surface/pagedocument.h"
#include "ui/app/tcalendarmain.h"
#include "ui/icons/tfloatingpalette.h"
#include "ui/icons/ticonlistbox.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

using namespace Dayloom;

namespace {

// An icon library holding `count` 32 x 32 icons, each of its own colour.
void WriteIconFile(const QString &path, int count)
{
    IconLibraryWriter writer;
    for (int i = 0; i < count; ++i) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv((i * 40) % 360, 200, 220));
        writer.AddIcon({image});
    }
    QString error;
    QVERIFY2(writer.Save(path, &error), qPrintable(error));
}

// Opens the menus leading to `action` with the mouse and clicks it.
void ClickMenuItem(QMainWindow &window, QAction *action)
{
    QList<QAction *> chain{action};
    for (QAction *step = action;;) {
        QMenu *menu = nullptr;
        for (QObject *object : step->associatedObjects()) {
            if ((menu = qobject_cast<QMenu *>(object)))
                break;
        }
        if (!menu)
            break;
        step = menu->menuAction();
        chain.prepend(step);
    }
    QMenuBar *bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                      bar->actionGeometry(chain.first()).center());
    for (int i = 1; i < chain.size(); ++i) {
        QMenu *menu = chain[i - 1]->menu();
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(chain[i]).center());
    }
}

enum DragEnd
{
    Hover,
    Drop
};

// Drags `data` over `target` to `point` as the window system reports it
// (enter, move, then a drop or a leave); whether the last move or the drop
// was taken.
bool DragTo(QWidget *target, const QPoint &point, const QMimeData *data, DragEnd end)
{
    QDragEnterEvent enter(point, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(point, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (end == Hover) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return move.isAccepted();
    }
    QDropEvent drop(point, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QStringList CheckedItems(const TFloatingPalette &palette)
{
    QStringList checked;
    for (QAction *action : palette.findChildren<QAction *>()) {
        if (action->isChecked())
            checked << action->objectName();
    }
    return checked;
}

int PicturesInNote(const CalendarPage &page, int cell)
{
    NoteDocument note;
    note.Load(page.CellNote(cell));
    int pictures = 0;
    for (QTextBlock block = note.Document().begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                ++pictures;
        }
    }
    return pictures;
}

} // namespace

class TestIconTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void choosingALibraryChecksOnlyItsItem_data();
    void choosingALibraryChecksOnlyItsItem();
    void otherFileChecksOther();
    void otherFileWithoutIconsAsksAgainThenFallsBack();
    void noBonusSetsSaysWhereToPutThem();
    void sameFileNameDoesNotReload();
    void iconsAreReadWhenFirstDrawn();
    void dropOutsideEveryCellIsRefused();
    void droppedIconGoesIntoTheCellsNote();
    void toolHidesWithoutDayCells();
    void toolStepsAsideForModalDialogs();
    void libraryAndVisibilityComeBackAtStart();
    void showHideIsAGlyphToggle();
    void windowFitsTitleAndWholeIcons_data();
    void windowFitsTitleAndWholeIcons();

private:
    TCalendarMain &NewWindow();
    QMimeData *DragFromList(TIconListBox *list, int index);
    QString Folder(const QString &name) const { return QDir(m_folder->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TCalendarMain> m_window;
    QStringList m_messages;
    QStringList m_answers; // what the next "Other..." dialogs choose
    int m_dialogs = 0;
};

void TestIconTool::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
    for (const TFloatingPalette::Library &library : TFloatingPalette::Libraries())
        WriteIconFile(Folder(library.file), 12);
    m_messages.clear();
    m_answers.clear();
    m_dialogs = 0;
}

void TestIconTool::cleanup()
{
    if (m_window) {
        m_window->DoSaveRichtext();
        m_window->SetModified(false);
        m_window->close();
    }
    m_window.reset();
    SetProgramFolder(QString());
}

TCalendarMain &TestIconTool::NewWindow()
{
    if (m_window) {
        m_window->SetModified(false);
        m_window->close();
    }
    m_window = std::make_unique<TCalendarMain>();
    m_window->PrintHooks().installedPrinters = [] { return QStringList{"Test printer"}; };
    m_window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Test printer"); };
    // File New's properties dialog is confirmed at once.
    m_window->SetPropertiesDialogRunner([](TCalendarProperties &dialog) {
        dialog.show();
        dialog.accept();
        return int(QDialog::Accepted);
    });
    m_window->Start();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("window not exposed");
    return *m_window;
}

QMimeData *TestIconTool::DragFromList(TIconListBox *list, int index)
{
    list->setCurrentRow(index);
    return list->model()->mimeData({list->currentIndex()});
}

void TestIconTool::choosingALibraryChecksOnlyItsItem_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("file");
    QTest::newRow("Holidays") << "mnuHolidaysICL"
                              << "holiday.icl";
    QTest::newRow("Miscellaneous #2") << "mnuMisc2ICL"
                                      << "misc2.icl";
    QTest::newRow("bonus set") << "mnuBonus_Seasons"
                               << "BonusIcons/Seasons.icl";
}

void TestIconTool::choosingALibraryChecksOnlyItsItem()
{
    QFETCH(QString, item);
    QFETCH(QString, file);
    QDir(m_folder->path()).mkdir(QStringLiteral("BonusIcons"));
    WriteIconFile(Folder(QStringLiteral("BonusIcons/Seasons.icl")), 4);
    WriteIconFile(Folder(QStringLiteral("BonusIcons/Sports.ICL")), 4);
    TFloatingPalette palette(nullptr);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QCOMPARE(palette.BonusIconSets(), (QStringList{"Seasons", "Sports"}));
    palette.LoadLibrary(Folder(QStringLiteral("events.icl")));
    QCOMPARE(CheckedItems(palette), QStringList{"mnuEventsICL"});

    ClickMenuItem(palette, palette.findChild<QAction *>(item));
    QCOMPARE(CheckedItems(palette), QStringList{item});
    QCOMPARE(palette.IconListBox()->FileName(), Folder(file));
    QVERIFY(palette.IconListBox()->isEnabled());
}

void TestIconTool::otherFileChecksOther()
{
    QImage mine(32, 32, QImage::Format_ARGB32);
    mine.fill(Qt::darkCyan);
    QVERIFY(mine.save(Folder(QStringLiteral("Mine.ico")), "ICO"));
    TFloatingPalette palette(nullptr);
    palette.SetServices({[this](QWidget *, const QString &, const QString &folder, const QString &,
                                const QString &selected) {
                             ++m_dialogs;
                             // The dialog starts among the shipped libraries on
                             // "ICL and ICO Files".
                             if (folder != m_folder->path() ||
                                 !selected.startsWith(QLatin1String("ICL and ICO Files")))
                                 return QString();
                             return Folder(QStringLiteral("Mine.ico"));
                         },
                         [this](QWidget *, const QString &text) { m_messages << text; }});
    palette.show();
    ClickMenuItem(palette, palette.findChild<QAction *>("mnuOtherIconFile"));
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(palette.IconListBox()->FileName(), Folder(QStringLiteral("Mine.ico")));
    QCOMPARE(palette.IconListBox()->NumberOfIcons(), 1);
    QCOMPARE(CheckedItems(palette), QStringList{"mnuOtherIconFile"});
    QVERIFY(m_messages.isEmpty());
}

void TestIconTool::otherFileWithoutIconsAsksAgainThenFallsBack()
{
    QFile empty(Folder(QStringLiteral("Empty.icl")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    // Only a differently cased "Misc1.icl" is there to fall back on.
    QVERIFY(
        QFile::rename(Folder(QStringLiteral("misc1.icl")), Folder(QStringLiteral("MISC1.ICL"))));
    TFloatingPalette palette(nullptr);
    palette.SetServices({[this, &empty](QWidget *, const QString &, const QString &,
                                        const QString &, const QString &) {
                             ++m_dialogs;
                             return m_dialogs == 1 ? empty.fileName() : QString();
                         },
                         [this](QWidget *, const QString &text) { m_messages << text; }});
    palette.show();
    ClickMenuItem(palette, palette.findChild<QAction *>("mnuOtherIconFile"));
    QCOMPARE(m_dialogs, 2);
    QCOMPARE(m_messages, QStringList{"No icons found in " + empty.fileName()});
    QCOMPARE(palette.IconListBox()->FileName(), Folder(QStringLiteral("MISC1.ICL")));
    QCOMPARE(palette.IconListBox()->NumberOfIcons(), 12);
    QCOMPARE(CheckedItems(palette), QStringList{"mnuMisc1ICL"});
}

void TestIconTool::noBonusSetsSaysWhereToPutThem()
{
    TFloatingPalette palette(nullptr);
    palette.SetServices({nullptr, [this](QWidget *, const QString &text) { m_messages << text; }});
    palette.show();
    QAction *bonus = palette.findChild<QAction *>("mnuBonusIconSets");
    QVERIFY(!bonus->menu());
    ClickMenuItem(palette, bonus);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].startsWith(QLatin1String("No bonus icon sets were found.")));
    QVERIFY(m_messages[0].contains(QDir::toNativeSeparators(Folder(QStringLiteral("BonusIcons")))));
    QVERIFY(m_messages[0].contains(QLatin1String(".icl")));
}

void TestIconTool::sameFileNameDoesNotReload()
{
    TIconListBox list;
    QSignalSpy changes(&list, &TIconListBox::OnFileChange);
    list.SetFileName(Folder(QStringLiteral("holiday.icl")));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(list.NumberOfIcons(), 12);
    QCOMPARE(list.item(11)->text(), QStringLiteral("11"));
    // A screen reader heard only the bare index.
    QCOMPARE(list.item(11)->data(Qt::AccessibleTextRole).toString(),
             QStringLiteral("Icon 12 of 12"));
    list.SetFileName(Folder(QStringLiteral("holiday.icl")));
    QCOMPARE(changes.count(), 1);
    // A missing file leaves the list empty and disabled.
    list.SetFileName(Folder(QStringLiteral("gone.icl")));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(list.NumberOfIcons(), -1);
    QCOMPARE(list.count(), 0);
    QVERIFY(!list.isEnabled());
}

void TestIconTool::iconsAreReadWhenFirstDrawn()
{
    WriteIconFile(Folder(QStringLiteral("big.icl")), 60);
    TFloatingPalette palette(nullptr);
    palette.LoadLibrary(Folder(QStringLiteral("big.icl")));
    TIconListBox *list = palette.IconListBox();
    QCOMPARE(list->ExtractedCount(), 0);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    list->repaint();
    // The cells in view (three rows of three columns and a part of the
    // fourth), not the 60 of the file.
    QVERIFY(list->ExtractedCount() >= 9);
    QVERIFY(list->ExtractedCount() <= 12);
    const QImage shown = list->viewport()->grab(list->visualItemRect(list->item(4))).toImage();
    const QPoint centre(shown.width() / 2, shown.height() / 2);
    QCOMPARE(shown.pixelColor(centre * shown.devicePixelRatio()).rgb(),
             list->Icon(4).pixelColor(16, 16).rgb());

    // Without caching every icon is read when the file loads.
    TIconListBox eager;
    eager.SetEnableCaching(false);
    eager.SetFileName(Folder(QStringLiteral("events.icl")));
    QCOMPARE(eager.ExtractedCount(), 12);
}

void TestIconTool::dropOutsideEveryCellIsRefused()
{
    TCalendarMain &window = NewWindow();
    window.New();
    window.SetModified(false);
    TCalendarPanel32 *page = window.CalendarPanel();
    page->repaint();
    std::unique_ptr<QMimeData> data(DragFromList(window.IconTool()->IconListBox(), 2));
    QVERIFY(TIconListBox::IsIconDrag(data.get()));
    const QPoint title = page->Drawn().titleRect.toQRect().center();
    // Used to be taken anywhere on the page.
    QVERIFY(!DragTo(page, title, data.get(), Hover));
    QVERIFY(!DragTo(page, title, data.get(), Drop));
    QVERIFY(!window.EditingNote());
    QVERIFY(!window.Modified());
    const QPoint cell = page->Drawn().CellRecordOf(12).rTotal.toQRect().center();
    QVERIFY(DragTo(page, cell, data.get(), Hover));
}

void TestIconTool::droppedIconGoesIntoTheCellsNote()
{
    TCalendarMain &window = NewWindow();
    window.New();
    window.SetModified(false);
    TCalendarPanel32 *page = window.CalendarPanel();
    page->repaint();
    std::unique_ptr<QMimeData> data(DragFromList(window.IconTool()->IconListBox(), 5));
    QVERIFY(
        DragTo(page, page->Drawn().CellRecordOf(10).rTotal.toQRect().center(), data.get(), Drop));
    QVERIFY(window.Modified());
    QVERIFY(window.EditingNote());
    QCOMPARE(window.CurrentCell(), 10);
    // A second icon dropped into the open editor goes in at its cursor.
    std::unique_ptr<QMimeData> second(DragFromList(window.IconTool()->IconListBox(), 6));
    NoteEditor *editor = window.NoteEditorWidget();
    QVERIFY(DragTo(editor->viewport(), editor->viewport()->rect().center(), second.get(), Drop));
    window.DoSaveRichtext();
    QCOMPARE(PicturesInNote(page->Page(), 10), 2);

    const QString path = Folder(QStringLiteral("Icons.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    window.RecentFiles()->Add(path);
    TCalendarMain &again = NewWindow();
    QCOMPARE(again.CurrentFileName(), path);
    QCOMPARE(PicturesInNote(again.CalendarPanel()->Page(), 10), 2);
}

void TestIconTool::toolHidesWithoutDayCells()
{
    TCalendarMain &window = NewWindow();
    window.New();
    auto *button = window.findChild<QToolButton *>("ShowHideIconTool");
    QVERIFY(button->isEnabled());
    if (window.IconTool()->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(window.IconTool()->isVisible());
    QVERIFY(window.IconToolVisible());
    QCOMPARE(button->text(), QStringLiteral("Hide Icon Tool"));

    // A sheet of mini calendars has no day cells.
    window.CalendarPanel()->Page().SetCalendarLayout(loMC12MonthLS);
    const QString path = Folder(QStringLiteral("Minis.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    QVERIFY(window.OpenCalendarFile(path));
    QVERIFY(!window.IconTool()->isVisible());
    QVERIFY(!window.IconToolVisible());
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
}

void TestIconTool::toolStepsAsideForModalDialogs()
{
    TCalendarMain &window = NewWindow();
    window.New();
    if (!window.IconTool()->isVisible())
        window.ShowHideIconTool();
    QList<bool> shownDuringDialog;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shownDuringDialog << window.IconTool()->isVisible();
            dialog->reject();
        }
    });
    answer.start();
    window.EditRecurringDatesList();
    QVERIFY(!shownDuringDialog.isEmpty());
    QVERIFY(!shownDuringDialog.contains(true));
    QVERIFY(window.IconTool()->isVisible());
}

void TestIconTool::libraryAndVisibilityComeBackAtStart()
{
    TCalendarMain &window = NewWindow();
    window.New();
    window.ShowHideIconTool();
    QVERIFY(window.IconTool()->isVisible());
    ClickMenuItem(*window.IconTool(), window.IconTool()->findChild<QAction *>("mnuHolidaysICL"));
    const QString path = Folder(QStringLiteral("Holidays.DLF"));
    QVERIFY(window.SaveCalendarFile(path));
    window.RecentFiles()->Add(path);
    window.close();

    IniFile settings(window.SettingsFileName());
    QVERIFY(settings.Load());
    QCOMPARE(settings.ReadString("Icons", "File", QString()),
             Folder(QStringLiteral("holiday.icl")));
    QVERIFY(settings.ReadBool("Icons", "Visible", false));
    QVERIFY(settings.HasKey("TFloatingPalette_Placement", "Left"));

    TCalendarMain &again = NewWindow();
    QVERIFY(again.IconTool()->isVisible());
    QCOMPARE(CheckedItems(*again.IconTool()), QStringList{"mnuHolidaysICL"});
    QCOMPARE(again.IconTool()->IconListBox()->FileName(), Folder(QStringLiteral("holiday.icl")));
}

// The button used to show its caption, which changed width between "Show
// Icon Tool" and "Hide Icon Tool" and shifted every button after it.
void TestIconTool::showHideIsAGlyphToggle()
{
    TCalendarMain &window = NewWindow();
    window.New();
    auto *button = window.findChild<QToolButton *>("ShowHideIconTool");
    QWidget *panel = button->parentWidget();
    const auto buttonPlaces = [panel] {
        panel->layout()->activate();
        QList<QRect> places;
        for (const QToolButton *each : panel->findChildren<QToolButton *>())
            places << each->geometry();
        return places;
    };
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(!button->icon().pixmap(button->iconSize()).isNull());
    QVERIFY(button->isCheckable());

    const QList<QRect> before = buttonPlaces();
    for (const bool shown : {true, false, true}) {
        if (window.IconTool()->isVisible() != shown)
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(window.IconTool()->isVisible(), shown);
        QCOMPARE(button->isChecked(), shown);
        QCOMPARE(button->toolTip(),
                 shown ? QStringLiteral("Hide Icon Tool") : QStringLiteral("Show Icon Tool"));
        QCOMPARE(buttonPlaces(), before);
    }
}

void TestIconTool::windowFitsTitleAndWholeIcons_data()
{
    QTest::addColumn<int>("titlePixels");
    QTest::newRow("desktop font") << 0;
    QTest::newRow("large font") << 30;
}

// The window was 140 pixels wide: the title read "Ic… s" and the fourth
// column of icons was cut in half.
void TestIconTool::windowFitsTitleAndWholeIcons()
{
    QFETCH(int, titlePixels);
    const QFont desktop = QApplication::font();
    QFont font = desktop;
    if (titlePixels > 0)
        font.setPixelSize(titlePixels);
    QApplication::setFont(font);
    TFloatingPalette palette(nullptr);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    TIconListBox *list = palette.IconListBox();
    QVERIFY(list->count() >= 12);

    QFont bold = font;
    bold.setBold(true);
    const int square = palette.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &palette);
    const int titleBar = QFontMetrics(bold).horizontalAdvance(palette.windowTitle()) + 4 * square;
    QApplication::setFont(desktop);
    QVERIFY2(palette.width() >= titleBar,
             qPrintable(QStringLiteral("%1 < %2").arg(palette.width()).arg(titleBar)));

    const QRect view = list->viewport()->rect();
    QCOMPARE(view.width() % list->ColumnWidth(), 0);
    const int columns = view.width() / list->ColumnWidth();
    QVERIFY(columns >= 4);
    // The icons run down the columns, three to a column: the first four
    // columns' icons are whole in view.
    for (int index = 0; index < 12; ++index)
        QVERIFY2(view.contains(list->visualItemRect(list->item(index))),
                 qPrintable(QString::number(index)));
}

QTEST_MAIN(TestIconTool)
#include "tst_icontool.moc"
