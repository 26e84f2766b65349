// Every control a keyboard or screen reader user can reach must say what it
// is: the accessibility tree of each window and dialog is walked and every
// focusable control must carry a name. The main window is then worked by
// keyboard alone, on a real X server under a window manager (openbox, when
// installed): every menu command, every tool, the day cells and the menus of
// placed objects.
#include "core/io/appfolders.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/richtext/notedocument.h"
#include "core/surface/pagedocument.h"
#include "ui/app/tcalendarmain.h"
#include "ui/app/tdefaultfontdialog.h"
#include "ui/app/tsettimedialog.h"
#include "ui/app/tusertitleform.h"
#include "ui/flatcalendar/tflatcalendareditor.h"
#include "ui/icons/tfloatingpalette.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/recurring/teditrecurringdateformula.h"
#include "ui/recurring/teditrecurringdates.h"
#include "ui/richlabel/trichtextlabeleditor.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/supertext/tsupertextbrushimagebrowser.h"
#include "ui/supertext/tsupertextgetsymbol.h"
#include "ui/supertext/tsupertextproperties.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/surfacepopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"
#include "ui/surface/tghandle.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <xcb/xcb.h>

#include <functional>
#include <memory>

using namespace Dayloom;

namespace {

bool IsControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

// A screen reader on Linux takes a field's name from its label (the label's
// buddy relation) and speaks a combo box's value as its name, so a value
// alone does not count: a field needs an accessible name or a label, a
// button its caption or a name.
bool HasName(QAccessibleInterface *node)
{
    const auto *widget = qobject_cast<const QWidget *>(node->object());
    if (widget && !widget->accessibleName().trimmed().isEmpty())
        return true;
    if (!node->relations(QAccessible::Label).isEmpty())
        return true;
    switch (node->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return !node->text(QAccessible::Name).trimmed().isEmpty();
    default:
        return false;
    }
}

// "role (object name)" of every visible, focusable control without a name.
void CollectNameless(QAccessibleInterface *node, QStringList &nameless, int depth = 0)
{
    if (!node || depth > 40 || node->state().invisible)
        return;
    if (IsControl(node->role()) && node->state().focusable && !HasName(node)) {
        const QObject *object = node->object();
        const QObject *parent = object ? object->parent() : nullptr;
        nameless << QStringLiteral("%1 %2 in %3")
                        .arg(object ? object->metaObject()->className() : "?",
                             object ? object->objectName() : QString(),
                             parent ? parent->objectName() : QString());
    }
    for (int i = 0; i < node->childCount(); ++i)
        CollectNameless(node->child(i), nameless, depth + 1);
}

// Shows every page of the window's tab widgets in turn so hidden pages are
// walked too.
QStringList NamelessControls(QWidget &window)
{
    QStringList nameless;
    const auto walk = [&] {
        CollectNameless(QAccessible::queryAccessibleInterface(&window), nameless);
    };
    walk();
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            walk();
        }
    }
    nameless.removeDuplicates();
    return nameless;
}

// Focus and activation need a window manager: openbox runs for the test's
// life when it is installed (an X server without one activates nothing).
class WindowManager
{
public:
    WindowManager()
    {
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        m_process.start(openbox, {QStringLiteral("--sm-disable")});
        if (!m_process.waitForStarted())
            return;
        const QDeadlineTimer deadline(10000);
        while (!Running() && !deadline.hasExpired())
            QTest::qWait(50);
    }
    ~WindowManager()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }

private:
    // A running manager has taken the redirection of the root window's
    // children: from then on it manages every window that is shown.
    static bool Running()
    {
        xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
        bool running = false;
        if (!xcb_connection_has_error(connection)) {
            const xcb_window_t root =
                xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
            xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
                connection, xcb_get_window_attributes(connection, root), nullptr);
            running =
                attributes && (attributes->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT);
            free(attributes);
        }
        xcb_disconnect(connection);
        return running;
    }

    QProcess m_process;
};

// Closes every modal dialog that opens (with Escape, as a user would) and
// remembers what it saw.
class DialogCloser : public QObject
{
public:
    DialogCloser()
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, &DialogCloser::CloseModal);
        m_timer.start();
    }
    // "class: title" of each modal dialog seen since the last Take.
    QStringList Take() { return std::exchange(m_seen, {}); }
    // Whether one of those was a dialog asking for more than a yes or no.
    static bool AsksForMore(const QString &seen)
    {
        return !seen.startsWith(QLatin1String("QMessageBox"));
    }

private:
    void CloseModal()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_closing)
            return;
        m_closing = modal;
        const QString seen = QStringLiteral("%1: %2").arg(
            qobject_cast<QMessageBox *>(modal) ? "QMessageBox" : modal->metaObject()->className(),
            modal->windowTitle());
        m_seen << seen;
        QTest::keyClick(modal, Qt::Key_Escape);
        if (modal->isVisible() && qobject_cast<QDialog *>(modal))
            static_cast<QDialog *>(modal)->reject(); // a dialog deaf to Escape
        m_closing = nullptr;
    }

    QTimer m_timer;
    QStringList m_seen;
    QWidget *m_closing = nullptr;
};

// What a command can visibly change in the window.
struct WindowState
{
    int undoIndex = 0;
    int undoCount = 0;
    int objects = 0;
    int selected = 0;
    bool modified = false;
    bool editing = false;
    QString title;
    QString file;
    int tool = 0;
    bool iconTool = false;
    bool hints = false;
    bool clipboard = false;
    QStringList windows;

    bool operator==(const WindowState &) const = default;
};

WindowState StateOf(TCalendarMain &window)
{
    WindowState state;
    TCalendarPanel32 *page = window.CalendarPanel();
    state.undoIndex = window.UndoStack().index();
    state.undoCount = window.UndoStack().count();
    state.objects = page->Document().ObjectCount();
    state.selected = page->SelectionHandle()->SelectedCount();
    state.modified = window.Modified();
    state.editing = window.EditingNote();
    state.title = window.windowTitle();
    state.file = window.CurrentFileName();
    state.tool = page->PanelState();
    state.iconTool = window.IconToolVisible();
    state.hints = window.findChild<QAction *>(QStringLiteral("mnuShowHint"))->isChecked();
    state.clipboard = QFile::exists(QDir(ProgramFolder()).filePath(QStringLiteral("Clipbrd.tmp")));
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && !qobject_cast<QMenu *>(top))
            state.windows << top->metaObject()->className();
    }
    state.windows.sort();
    return state;
}

// The window's own keyboard focus is on the page: the page itself, the
// selection's handle or the open note.
bool FocusOnPage(TCalendarMain &window)
{
    QWidget *focus = QApplication::focusWidget();
    TCalendarPanel32 *page = window.CalendarPanel();
    return focus && (focus == page || focus == page->SelectionHandle() ||
                     focus == window.NoteEditorWidget());
}

QChar Mnemonic(const QString &caption)
{
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    return amp >= 0 && amp + 1 < caption.size() ? caption.at(amp + 1).toUpper() : QChar();
}

// "menu: caption, caption" for each mnemonic two items of one menu share
// (submenus walked too).
void CollectMnemonicClashes(const QMenu &menu, QStringList &clashes)
{
    QHash<QChar, QStringList> owners;
    for (QAction *action : menu.actions()) {
        if (action->isSeparator())
            continue;
        if (const QChar letter = Mnemonic(action->text()); !letter.isNull())
            owners[letter] << action->text();
        if (action->menu())
            CollectMnemonicClashes(*action->menu(), clashes);
    }
    for (auto owner = owners.cbegin(); owner != owners.cend(); ++owner) {
        if (owner->size() > 1)
            clashes << menu.title() + QLatin1String(": ") + owner->join(QLatin1String(", "));
    }
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window shows the tool buttons of the program's kinds, as after
    // start-up.
    void initTestCase();
    void cleanupTestCase() { m_windowManager.reset(); }
    void init();
    void cleanup();
    void everyControlHasAName_data();
    void everyControlHasAName();
    void everyMenuCommandWorksFromTheKeyboard();
    void everyToolIsReachedByTabAndShortcut();
    void formattingBarIsReachedFromTheNote();
    void dayCellsByKeyboard_data();
    void dayCellsByKeyboard();
    void objectMenuByKeyboard_data();
    void objectMenuByKeyboard();
    void focusReturnsToThePageAfterADialog();
    void focusOnThePageLeavesItUntinted();
    void noMenuRepeatsAMnemonic();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WindowManager> m_windowManager;
    std::unique_ptr<TCalendarMain> m_window;

    TCalendarMain &StartWindow();
    TCalendarMain &WindowWithDesign();
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void PrepareFor(const QString &command);
    TGGraphicControl *PlaceObject();
    void SelectAllObjects();
    // Runs `act` and waits until the window visibly changed or a modal
    // dialog was shown (and closed); what the dialogs were, in `dialogs`.
    bool Observe(const std::function<void()> &act, DialogCloser &closer, QStringList &dialogs);
};

using WindowMaker = std::function<std::unique_ptr<QWidget>()>;
Q_DECLARE_METATYPE(WindowMaker)

void TestAccessibility::initTestCase()
{
    RegisterObjectKinds(ObjectKindRegistry::Application());
    m_windowManager = std::make_unique<WindowManager>();
}

void TestAccessibility::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
}

void TestAccessibility::cleanup()
{
    if (m_window) {
        m_window->DoSaveRichtext();
        m_window->SetModified(false);
        m_window->close();
        m_window.reset();
    }
    SetProgramFolder(QString());
    m_folder.reset();
}

// The main window and every dialog, each made fresh.
static QList<std::pair<const char *, WindowMaker>> Windows()
{
    QList<std::pair<const char *, WindowMaker>> windows;
    windows.append(
        {"main window", WindowMaker([] {
             auto window = std::make_unique<TCalendarMain>();
             window->PrintHooks().installedPrinters = [] { return QStringList{"Test printer"}; };
             window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Test printer"); };
             window->Start();
             return std::unique_ptr<QWidget>(std::move(window));
         })});
    windows.append({"calendar properties",
                    WindowMaker([] { return std::make_unique<TCalendarProperties>(nullptr); })});
    windows.append({"floating calendar properties",
                    WindowMaker([] { return std::make_unique<TFlatCalendarEditor>(); })});
    windows.append(
        {"rich text editor", WindowMaker([] { return std::make_unique<TRichTextLabelEditor>(); })});
    windows.append(
        {"clip art browser", WindowMaker([] { return std::make_unique<TGImageBrowser>(); })});
    windows.append(
        {"icon tool", WindowMaker([] { return std::make_unique<TFloatingPalette>(nullptr); })});
    windows.append({"recurring dates", WindowMaker([] {
                        return std::make_unique<TEditRecurringDates>(QStringLiteral("DLRECUR.DAX"));
                    })});
    windows.append({"recurring date formula",
                    WindowMaker([] { return std::make_unique<TEditRecurringDateFormula>(); })});
    windows.append({"time picker", WindowMaker([] { return std::make_unique<TSetTimeDialog>(); })});
    windows.append(
        {"default font", WindowMaker([] { return std::make_unique<TDefaultFontDialog>(); })});
    windows.append({"page title", WindowMaker([] { return std::make_unique<TUserTitleForm>(); })});
    windows.append({"SuperText properties",
                    WindowMaker([] { return std::make_unique<TSuperTextProperties>(); })});
    windows.append({"texture browser",
                    WindowMaker([] { return std::make_unique<TSuperTextBrushImageBrowser>(); })});
    windows.append(
        {"symbol selector", WindowMaker([] { return std::make_unique<TSuperTextGetSymbol>(); })});
    return windows;
}

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<WindowMaker>("make");
    for (const auto &[name, make] : Windows())
        QTest::newRow(name) << make;
}

void TestAccessibility::everyControlHasAName()
{
    QFETCH(WindowMaker, make);
    const std::unique_ptr<QWidget> window = make();
    window->show();
    // A loaded machine may take its time to map a window.
    QVERIFY(QTest::qWaitForWindowExposed(window.get(), 20000));
    const QStringList nameless = NamelessControls(*window);
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1String("\n"))));
    window->close();
}

TCalendarMain &TestAccessibility::StartWindow()
{
    m_window = std::make_unique<TCalendarMain>();
    m_window->PrintHooks().installedPrinters = [] { return QStringList{"Test printer"}; };
    m_window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Test printer"); };
    m_window->Start();
    // The window manager may pass over one request to activate a new window.
    for (int attempt = 0; attempt < 5 && !m_window->isActiveWindow(); ++attempt) {
        m_window->raise();
        m_window->activateWindow();
        QTest::qWaitForWindowActive(m_window.get(), 4000);
    }
    if (!m_window->isActiveWindow())
        qWarning("window not active");
    return *m_window;
}

void TestAccessibility::Press(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(m_window->windowHandle(), Qt::Key(key), modifiers);
}

// A saved design shown, made by keyboard: File New (its dialog confirmed
// with Enter), a note typed into a day cell, a shape placed with its tool.
TCalendarMain &TestAccessibility::WindowWithDesign()
{
    // A recurring date for File's fill command.
    QFile dates(QDir(m_folder->path()).filePath(QStringLiteral("DLRECUR.DAX")));
    if (dates.open(QIODevice::WriteOnly))
        dates.write(QStringLiteral("Dentist").leftJustified(120).toLatin1() + "@1209\r\n");
    dates.close();
    TCalendarMain &window = StartWindow();
    QTimer confirm;
    QObject::connect(&confirm, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            QTest::keyClick(modal, Qt::Key_Return);
    });
    confirm.start(50);
    Press(Qt::Key_N, Qt::ControlModifier);
    confirm.stop();
    TCalendarPanel32 *page = window.CalendarPanel();
    [&] { QTRY_VERIFY(page->isVisible()); }();
    page->repaint();
    page->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Right);
    Press(Qt::Key_Return);
    QTest::keyClicks(window.NoteEditorWidget(), QStringLiteral("Party"));
    Press(Qt::Key_Escape);
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("keys.dlf"));
    window.SaveCalendarFile(path);
    return window;
}

TGGraphicControl *TestAccessibility::PlaceObject()
{
    PageDocument &document = m_window->CalendarPanel()->Document();
    const TLPanelState tool = document.Kinds().ToolKinds().constFirst()->tool;
    return document.CreateObjectInRect(tool, QRect(150, 150, 120, 60));
}

void TestAccessibility::SelectAllObjects()
{
    TCalendarPanel32 *page = m_window->CalendarPanel();
    if (page->Document().ObjectCount() == 0)
        PlaceObject();
    TGHandle *handle = page->SelectionHandle();
    handle->ClearSelection();
    for (TGGraphicControl *object : page->Document().Objects())
        handle->AddObject(object);
    handle->setFocus(Qt::OtherFocusReason);
}

// What a command needs so that carrying it out shows: something to cut,
// copy or delete, something not yet selected, a changed design to close.
void TestAccessibility::PrepareFor(const QString &command)
{
    TCalendarPanel32 *page = m_window->CalendarPanel();
    page->SelectionHandle()->ClearSelection();
    page->setFocus(Qt::OtherFocusReason);
    if (command == QLatin1String("mnuCopy"))
        QFile::remove(QDir(ProgramFolder()).filePath(QStringLiteral("Clipbrd.tmp")));
    if (command == QLatin1String("mnuCut") || command == QLatin1String("mnuCopy") ||
        command == QLatin1String("mnuDelete"))
        SelectAllObjects();
    if (command == QLatin1String("mnuSelectAll") && page->Document().ObjectCount() == 0)
        PlaceObject();
    if (command == QLatin1String("Exit1") || command == QLatin1String("mnuSave"))
        m_window->SetModified(true);
    // The tools' items choose another tool than the current one.
    const TLPanelState other = page->Document().Kinds().ToolKinds().constFirst()->tool;
    page->SetPanelState(command == QLatin1String("mnuSelectTool") ? other : psPointing);
}

bool TestAccessibility::Observe(const std::function<void()> &act, DialogCloser &closer,
                                QStringList &dialogs)
{
    const WindowState before = StateOf(*m_window);
    closer.Take();
    act();
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QTest::qWait(20);
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
            continue;
        dialogs << closer.Take();
        if (!dialogs.isEmpty() || !(StateOf(*m_window) == before))
            return true;
    }
    return false;
}

// Each menu is opened with Alt and its mnemonic, each item reached with the
// arrow keys and run with Enter; every item must visibly do something, a
// dialog it opens closes with Escape and gives the keyboard back to the
// page, and an item ends with "..." exactly when it opens a dialog that asks
// for more than a yes or no.
void TestAccessibility::everyMenuCommandWorksFromTheKeyboard()
{
    TCalendarMain &window = WindowWithDesign();
    DialogCloser closer;
    QStringList failures;
    int run = 0;
    for (QAction *title : window.menuBar()->actions()) {
        QMenu *menu = title->menu();
        if (!menu)
            continue;
        const QChar letter = Mnemonic(title->text());
        QVERIFY2(!letter.isNull(), qPrintable(title->text()));
        for (int i = 0; i < menu->actions().size(); ++i) {
            QAction *item = menu->actions().at(i);
            if (item->isSeparator() || item->menu())
                continue;
            const QString name = item->objectName();
            PrepareFor(name);
            if (!item->isEnabled()) {
                failures << name + QLatin1String(" is disabled");
                continue;
            }
            // A window a command opened and that closed again gives the
            // activation back through the window manager.
            window.activateWindow();
            QTest::qWaitForWindowActive(&window);
            Press(letter.unicode(), Qt::AltModifier);
            if (!QTest::qWaitFor([&] { return QApplication::activePopupWidget() == menu; })) {
                failures << title->text() + QLatin1String(" does not open with Alt");
                break;
            }
            for (int step = 0; step <= menu->actions().size() && menu->activeAction() != item;
                 ++step)
                Press(Qt::Key_Down);
            if (menu->activeAction() != item) {
                failures << name + QLatin1String(" is not reached with the arrow keys");
                Press(Qt::Key_Escape);
                Press(Qt::Key_Escape);
                continue;
            }
            const QString caption = item->text();
            QStringList dialogs;
            if (!Observe([&] { Press(Qt::Key_Return); }, closer, dialogs)) {
                failures << name + QLatin1String(" did nothing");
                continue;
            }
            ++run;
            const bool asksForMore =
                std::any_of(dialogs.cbegin(), dialogs.cend(), &DialogCloser::AsksForMore);
            if (asksForMore != caption.endsWith(QLatin1String("...")))
                failures << caption + QLatin1String(" opened ") +
                                (dialogs.isEmpty() ? QStringLiteral("no dialog")
                                                   : dialogs.join(QLatin1String(", ")));
            if (!dialogs.isEmpty() && !QTest::qWaitFor([&] { return FocusOnPage(window); }, 2000))
                failures << QStringLiteral("after %1 the focus is on %2")
                                .arg(name, QApplication::focusWidget()
                                               ? QApplication::focusWidget()->objectName()
                                               : QStringLiteral("nothing"));
            // Windows a command opened beside the main one (help, icons) close again.
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top != &window && top->isVisible() && !qobject_cast<QMenu *>(top) &&
                    top != window.IconTool())
                    top->close();
            }
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    QVERIFY(run > 30);
}

// Tab goes round from the page through every button of the tool panel; each
// button does its part when pressed with Space, and each tool is chosen by
// its Tools menu shortcut too.
void TestAccessibility::everyToolIsReachedByTabAndShortcut()
{
    TCalendarMain &window = WindowWithDesign();
    TCalendarPanel32 *page = window.CalendarPanel();
    QWidget *panel = window.findChild<QWidget *>(QStringLiteral("Panel3"));
    QList<QToolButton *> buttons;
    for (QToolButton *button : panel->findChildren<QToolButton *>()) {
        if (button->isVisible() && button->isEnabled())
            buttons << button;
    }
    QVERIFY(buttons.size() >= 8);

    page->setFocus(Qt::TabFocusReason);
    QList<QWidget *> reached;
    for (int step = 0; step < 80; ++step) {
        Press(Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        if (focus == page)
            break;
        reached << focus;
    }
    QCOMPARE(QApplication::focusWidget(), page);
    QList<QWidget *> back;
    for (int step = 0; step < reached.size(); ++step) {
        Press(Qt::Key_Backtab);
        back.prepend(QApplication::focusWidget());
    }
    QCOMPARE(back, reached);

    DialogCloser closer;
    QStringList failures;
    for (QToolButton *button : std::as_const(buttons)) {
        if (!reached.contains(button)) {
            failures << button->objectName() + QLatin1String(" is not reached by Tab");
            continue;
        }
        page->setFocus(Qt::TabFocusReason);
        // The pointer's button chooses the pointer again.
        page->SetPanelState(button->objectName() == QLatin1String("Pointerbutton")
                                ? page->Document().Kinds().ToolKinds().constFirst()->tool
                                : psPointing);
        window.SetModified(true); // Save is shown
        for (int step = 0; step < 80 && QApplication::focusWidget() != button; ++step)
            Press(Qt::Key_Tab);
        QStringList dialogs;
        if (button->isVisible() && !Observe([&] { Press(Qt::Key_Space); }, closer, dialogs))
            failures << button->objectName() + QLatin1String(" did nothing");
        if (window.IconToolVisible())
            window.ShowHideIconTool();
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));

    // The pointer, each placing tool and the icon tool by its shortcut.
    const QMenu *toolsMenu = window.findChild<QMenu *>(QStringLiteral("ToolsMenu"));
    QVERIFY(toolsMenu);
    const QList<QAction *> tools = toolsMenu->actions();
    const auto items = std::count_if(tools.cbegin(), tools.cend(),
                                     [](const QAction *item) { return !item->isSeparator(); });
    QCOMPARE(items, page->Document().Kinds().ToolKinds().size() + 2);
    for (QAction *item : tools) {
        if (item->isSeparator())
            continue;
        page->setFocus(Qt::OtherFocusReason);
        page->SetPanelState(psPointing);
        if (window.IconToolVisible())
            window.ShowHideIconTool();
        const WindowState before = StateOf(window);
        QVERIFY2(!item->shortcut().isEmpty(), qPrintable(item->text()));
        if (item->objectName() == QLatin1String("mnuSelectTool"))
            page->SetPanelState(page->Document().Kinds().ToolKinds().constFirst()->tool);
        QTest::keySequence(window.windowHandle(), item->shortcut());
        QVERIFY2(item->objectName() == QLatin1String("mnuSelectTool")
                     ? page->PanelState() == psPointing
                     : !(StateOf(window) == before),
                 qPrintable(item->text()));
    }
    // Enter on the page places the chosen tool's object, selected.
    page->setFocus(Qt::OtherFocusReason);
    const int objects = page->Document().ObjectCount();
    page->SetPanelState(page->Document().Kinds().ToolKinds().constLast()->tool);
    QStringList dialogs;
    QVERIFY(Observe([&] { Press(Qt::Key_Return); }, closer, dialogs));
    QCOMPARE(page->Document().ObjectCount(), objects + 1);
    QCOMPARE(page->SelectionHandle()->SelectedCount(), 1);
}

// While a note is open, Ctrl+Tab leaves it for the formatting bar, which
// keeps acting on the note; Tab goes on through the bar's controls.
void TestAccessibility::formattingBarIsReachedFromTheNote()
{
    TCalendarMain &window = WindowWithDesign();
    TCalendarPanel32 *page = window.CalendarPanel();
    page->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_F2);
    QVERIFY(window.EditingNote());
    Press(Qt::Key_Tab, Qt::ControlModifier);
    FormattingBar *bar = window.FormatBar();
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus && bar->isAncestorOf(focus), focus ? focus->metaObject()->className() : "");
    QVERIFY(bar->isEnabled());
    QSet<QWidget *> reached{focus};
    for (int step = 0; step < 20 && bar->isAncestorOf(QApplication::focusWidget()); ++step) {
        reached << QApplication::focusWidget();
        Press(Qt::Key_Tab);
    }
    // Font name, size, colour, bold, italic, underline, three alignments.
    QVERIFY2(reached.size() >= 9, qPrintable(QString::number(reached.size())));
    QVERIFY(window.EditingNote());
}

void TestAccessibility::dayCellsByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("F2") << int(Qt::Key_F2);
}

// Enter and F2 did nothing on a chosen cell, nor did the arrow keys.
void TestAccessibility::dayCellsByKeyboard()
{
    QFETCH(int, key);
    TCalendarMain &window = WindowWithDesign();
    TCalendarPanel32 *page = window.CalendarPanel();
    const int typed = window.CurrentCell();
    QVERIFY(typed > 0);
    page->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Down);
    QCOMPARE(page->CurrentCell(), typed + 7);
    Press(Qt::Key_Up);
    Press(Qt::Key_Right);
    Press(Qt::Key_Left);
    QCOMPARE(page->CurrentCell(), typed);
    QVERIFY(!window.EditingNote());

    Press(key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QVERIFY(window.EditingNote());
    QCOMPARE(window.CurrentCell(), typed);
    NoteEditor *editor = window.NoteEditorWidget();
    QCOMPARE(QApplication::focusWidget(), editor);
    QVERIFY(editor->textCursor().atEnd());
    QTest::keyClicks(editor, QStringLiteral("!"));
    Press(Qt::Key_Escape);
    QVERIFY(!window.EditingNote());
    QCOMPARE(QApplication::focusWidget(), page);
    NoteDocument note;
    note.Load(page->Page().CellNote(typed));
    QCOMPARE(note.Document().toPlainText(), QStringLiteral("Party!"));
}

void TestAccessibility::objectMenuByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
}

// Neither key opened the menu of the selected object.
void TestAccessibility::objectMenuByKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TCalendarMain &window = WindowWithDesign();
    TGGraphicControl *object = PlaceObject();
    SelectAllObjects();
    Press(key, Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(qobject_cast<ObjectPopupMenu *>(QApplication::activePopupWidget()));
    auto *menu = static_cast<ObjectPopupMenu *>(QApplication::activePopupWidget());
    QCOMPARE(menu->Object(), object);
    Press(Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    // With nothing selected, the page's own menu.
    window.CalendarPanel()->SelectionHandle()->ClearSelection();
    window.CalendarPanel()->setFocus(Qt::OtherFocusReason);
    Press(key, Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(qobject_cast<SurfacePopupMenu *>(QApplication::activePopupWidget()));
    Press(Qt::Key_Escape);
}

// After File New from an empty window, and after the Properties dialog
// opened from its button, the focus stayed on a button of the tool panel.
void TestAccessibility::focusReturnsToThePageAfterADialog()
{
    TCalendarMain &window = WindowWithDesign();
    QTRY_VERIFY(FocusOnPage(window));
    QToolButton *properties = window.findChild<QToolButton *>(QStringLiteral("PropertiesButton"));
    properties->setFocus(Qt::TabFocusReason);
    DialogCloser closer;
    QStringList dialogs;
    QVERIFY(Observe([&] { Press(Qt::Key_Space); }, closer, dialogs));
    QCOMPARE(dialogs.size(), 1);
    QTRY_VERIFY2(FocusOnPage(window), QApplication::focusWidget()
                                          ? qPrintable(QApplication::focusWidget()->objectName())
                                          : "no focus");
}

// Keyboard focus on the page filled it with the style's tinted focus
// rectangle; a thin frame leaves the page's own colours alone.
void TestAccessibility::focusOnThePageLeavesItUntinted()
{
    TCalendarMain &window = WindowWithDesign();
    TCalendarPanel32 *page = window.CalendarPanel();
    page->SelectionHandle()->ClearSelection();
    // As after a Tab: the style then shows where the keyboard focus is.
    window.setAttribute(Qt::WA_KeyboardFocusChange);
    page->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(page->hasFocus());
    const QImage focused = page->grab().toImage();
    window.findChild<QToolButton *>(QStringLiteral("ZoomPlusButton"))->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!page->hasFocus());
    const QImage unfocused = page->grab().toImage();
    QCOMPARE(focused.size(), unfocused.size());
    // The frame lies round the current cell: everything else is as before.
    const CellRecord cell = page->Drawn().CellRecordOf(page->CurrentCell());
    const QRect frame = cell.rTotal.toQRect().adjusted(-2, -2, 2, 2);
    const qreal ratio = focused.devicePixelRatio();
    int changed = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            if (!frame.contains(QPoint(int(x / ratio), int(y / ratio))) &&
                focused.pixel(x, y) != unfocused.pixel(x, y))
                ++changed;
        }
    }
    QCOMPARE(changed, 0);
    QVERIFY(focused != unfocused);
}

// File had two items on "A" (Save As, Clear All Cell Contents).
void TestAccessibility::noMenuRepeatsAMnemonic()
{
    TCalendarMain &window = WindowWithDesign();
    QStringList clashes;
    QStringList titles;
    for (QAction *title : window.menuBar()->actions()) {
        titles << title->text();
        if (title->menu())
            CollectMnemonicClashes(*title->menu(), clashes);
    }
    QMenu bar;
    for (const QString &title : std::as_const(titles))
        bar.addAction(title);
    CollectMnemonicClashes(bar, clashes);
    // The menus of the icon tool and of every dialog.
    for (const QMenu *menu : window.IconTool()->findChildren<QMenu *>())
        CollectMnemonicClashes(*menu, clashes);
    for (const auto &[name, make] : Windows()) {
        if (name == std::string_view("main window"))
            continue;
        const std::unique_ptr<QWidget> dialog = make();
        for (const QMenu *menu : dialog->findChildren<QMenu *>())
            CollectMnemonicClashes(*menu, clashes);
    }
    // The page's menu and the menu of an object of every kind.
    TCalendarPanel32 *page = window.CalendarPanel();
    CollectMnemonicClashes(*page->SurfaceMenu(), clashes);
    for (const ObjectKind *kind : page->Document().Kinds().ToolKinds()) {
        TGGraphicControl *object =
            page->Document().CreateObjectInRect(kind->tool, QRect(40, 40, 120, 60));
        QVERIFY(object);
        CollectMnemonicClashes(*page->ObjectMenu(object), clashes);
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
