#include "ui/app/tcalendarmain.h"

#include "core/app/tmrufilelist.h"
#include "core/app/windowplacement.h"
#include "core/app/zoomsteps.h"
#include "core/calendar/cellnotescommand.h"
#include "core/calendar/pagesettingscommand.h"
#include "core/export/pageexport.h"
#include "core/formats/calendarfile.h"
#include "core/io/appfolders.h"
#include "core/io/datafolder.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/tggraphiccontrol.h"
#include "core/print/printengine.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/surface/pagedocument.h"
#include "ui/app/helpwindow.h"
#include "ui/app/hintdelaystyle.h"
#include "ui/app/tdefaultfontdialog.h"
#include "ui/app/tusertitleform.h"
#include "ui/app/uihelpers.h"
#include "ui/app/windowobjectkinds.h"
#include "ui/glyphs/buttonglyph.h"
#include "ui/icons/tfloatingpalette.h"
#include "ui/icons/ticonlistbox.h"
#include "ui/print/printjob.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/recurring/recurringcommands.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/calendarpanelaccessible.h"
#include "ui/surface/tcalendarpanel32.h"
#include "ui/surface/tghandle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {

constexpr int PageMargin = 5;
// The tool panel's glyphs, in pixels at 96 dpi; its 33-pixel height holds them.
constexpr int ToolGlyphSide = 22;
const QString RecentFilesSection = QStringLiteral("MRU");

// Tool tips hold "\r" where the text breaks into a second line.
QString Hint(const QString &text)
{
    QString hint = text;
    return hint.replace(QStringLiteral(" \r"), QStringLiteral("\n"));
}

// The main window's page as the window stores it; what these leave alone
// keeps the page's own defaults. SetDefaultStyle later resets the date, the
// margins and the layout-related values, but not the fonts nor the styles.
void ApplyStoredPageValues(CalendarPage &page)
{
    const QString face = QStringLiteral("Times New Roman");
    const auto font = [&face](int pixels, bool bold, TColor color = clBlack) {
        FontSpec spec(face, 10, bold, color);
        spec.SetHeight(-pixels);
        return spec;
    };
    page.SetCalendarLayout(loFCMinisInTitleLS);
    page.SetCalendarOrientation(coLandscape);
    page.SetTitleBGColor(clWhite);
    page.SetHeadersBGColor(clWhite);
    page.SetMiniCalBGColor(clWhite);
    page.SetMiniHeadersBGColor(clBlack);
    page.SetTitleFont(font(35, true));
    page.SetHeadersFont(font(21, true));
    page.SetCellFont(font(21, true));
    page.SetMiniTitleFont(font(13, true));
    page.SetMiniHeadersFont(font(11, false, clWhite));
    page.SetMiniCellFont(font(11, false));
    page.SetMainCalMonth(12);
    page.SetMainCalYear(1997);
    page.SetMainCalDay(0);
    page.SetHeadersStyle(dsWhole);
    page.SetMiniCellBorder(cbAll);
}

} // namespace

// --- construction (the window's creation steps) -------------------------------------------

TCalendarMain::TCalendarMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CalendarMain"));
    setWindowTitle(QStringLiteral("Dayloom"));
    resize(1000, 720);

    m_settings = IniFile(SettingsFileName());

    BuildPageArea();
    m_formatBar = new FormattingBar(this);
    m_formatBar->setObjectName(QStringLiteral("WPToolBar1"));
    m_formatBar->RegisterEditor(m_editor);
    addToolBar(Qt::TopToolBarArea, m_formatBar);
    addToolBarBreak();
    BuildToolPanel();
    BuildMenus();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolPanel);
    layout->addWidget(m_scrollBox, 1);
    setCentralWidget(central);

    m_handOverTimer.setInterval(200);
    m_handOverTimer.setSingleShot(true);
    connect(&m_handOverTimer, &QTimer::timeout, this, &TCalendarMain::OpenHandedOverFile);

    m_recentFiles = new TMRUFileList(this);
    m_recentFiles->SetMaximum(5);
    // The clicked entry goes only once its open goes ahead (below): a
    // "Save changes?" that stops the command keeps it.
    m_recentFiles->SetRemoveOnClick(false);
    m_recentFiles->SetAutoSaveKey(RecentFilesSection);
    connect(m_recentFiles, &TMRUFileList::listChanged, this,
            &TCalendarMain::RebuildRecentFilesMenu);
    connect(m_recentFiles, &TMRUFileList::itemClicked, this, [this](const QString &path) {
        DoSaveRichtext();
        if (!CheckSaveNeeded())
            return;
        m_recentFiles->Remove(path); // back at the top when the open succeeds
        OpenCalendarFile(path);
    });

    LoadPreferences();
    BuildIconTool();
    m_page->SetZoom(ZoomFromPercent(m_preferences.mainZoomPercent));
    ApplyStoredPageValues(m_page->Page());
    m_page->Page().SetCalendarLayout(LOFullCalendarLS);
    m_recentFiles->Load(m_settings);
    m_mnuShowHint->setChecked(m_showHints);
    HintDelayStyle::Install();
    qApp->installEventFilter(this);

    const QString dataFolder = DataFolder();
    if (!dataFolder.isEmpty()) {
        m_page->Document().SetClipboardFile(
            QDir(dataFolder).filePath(QStringLiteral("Clipbrd.tmp")));
        ConvertEarlierRecurringDates(this, dataFolder);
    }

    SetModified(false);
    ShowPage(false);
    SetButtons();
    SetCaption();
}

TCalendarMain::~TCalendarMain()
{
    qApp->removeEventFilter(this);
    // The page and its document outlive this window's menus and buttons
    // while the children are destroyed; their last signals must not reach us.
    disconnect(&m_page->Document().UndoStack(), nullptr, this, nullptr);
    disconnect(m_page, nullptr, this, nullptr);
    disconnect(m_editor, nullptr, this, nullptr);
    disconnect(m_iconTool, nullptr, this, nullptr);
}

void TCalendarMain::BuildPageArea()
{
    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox2"));
    m_scrollBox->setBackgroundRole(QPalette::Button);
    m_scrollBox->setWidgetResizable(false);
    m_pageArea = new QWidget;
    m_pageArea->setObjectName(QStringLiteral("PageArea"));
    m_pageArea->setBackgroundRole(QPalette::Button);

    m_page = new TCalendarPanel32(m_pageArea);
    m_page->setObjectName(QStringLiteral("CalendarPanel"));
    m_page->move(PageMargin, PageMargin);
    m_page->installEventFilter(this);

    m_editor = new NoteEditor(m_pageArea);
    m_editor->setObjectName(QStringLiteral("WPRichText1"));
    m_editor->setAccessibleName(QStringLiteral("Note"));
    m_editor->setAccessibleDescription(
        QStringLiteral("Tab moves to the next day cell, Shift+Tab to the previous one"));
    m_editor->hide();
    m_editor->SetDefaultFont(m_preferences.defaultFont);

    m_scrollBox->setWidget(m_pageArea);
    FitPageArea();

    connect(m_page, &TCalendarPanel32::ClickedInCellEvent, this, &TCalendarMain::OnCellClicked);
    connect(m_page, &TGBasePanel::DroppedObjectEvent, this, [this] {
        SetModified(true);
        ChooseTool(psPointing);
    });
    connect(m_page, &TGBasePanel::LabelChangedEvent, this, [this] { SetModified(true); });
    // The tool buttons, dialogs and menu items of every kind of object.
    RegisterWindowObjectKinds(*m_page, m_preferences);
    connect(&m_page->Document().UndoStack(), &QUndoStack::indexChanged, this,
            &TCalendarMain::OnUndoIndexChanged);
    connect(m_editor, &NoteEditor::noteChanged, this, [this] {
        if (m_trackNoteChanges)
            SetModified(true);
    });
    connect(m_editor, &NoteEditor::nextCellRequested, this,
            [this] { m_page->Page().ClickNextCell(m_currentCell); });
    connect(m_editor, &NoteEditor::previousCellRequested, this,
            [this] { m_page->Page().ClickPreviousCell(m_currentCell); });
}

QToolButton *TCalendarMain::AddToolButton(const QString &name, const QString &caption,
                                          const QString &hint, const QString &glyph)
{
    auto *button = new QToolButton(m_toolPanel);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(Hint(hint));
    // The glyph names the button; the hint's first line names it for a
    // reader, the rest describes it.
    button->setAccessibleName(hint.section(QLatin1Char('\r'), 0, 0).trimmed());
    button->setAccessibleDescription(hint.section(QLatin1Char('\r'), 1).trimmed());
    button->setAutoRaise(true);
    button->setIconSize(QSize(ToolGlyphSide, ToolGlyphSide));
    if (!glyph.isEmpty()) {
        button->setIcon(ButtonGlyph(glyph));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    m_toolPanel->layout()->addWidget(button);
    return button;
}

void TCalendarMain::BuildToolPanel()
{
    m_toolPanel = new QWidget(this);
    m_toolPanel->setObjectName(QStringLiteral("Panel3"));
    m_toolPanel->setAccessibleName(QStringLiteral("Tools"));
    m_toolPanel->setFixedHeight(33);
    auto *layout = new QHBoxLayout(m_toolPanel);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(2);

    m_zoomPlusButton = AddToolButton(QStringLiteral("ZoomPlusButton"), QStringLiteral("+"),
                                     QStringLiteral("Zoom In"), QStringLiteral("zoom-in"));
    m_zoomMinusButton = AddToolButton(QStringLiteral("ZoomMinusButton"), QStringLiteral("-"),
                                      QStringLiteral("Zoom Out"), QStringLiteral("zoom-out"));
    connect(m_zoomPlusButton, &QToolButton::clicked, this, &TCalendarMain::ZoomIn);
    connect(m_zoomMinusButton, &QToolButton::clicked, this, &TCalendarMain::ZoomOut);
    m_propertiesButton =
        AddToolButton(QStringLiteral("PropertiesButton"), QStringLiteral("Properties"),
                      QStringLiteral("Set/change Properties for the calendar"),
                      QStringLiteral("document-properties"));
    connect(m_propertiesButton, &QToolButton::clicked, this, &TCalendarMain::Properties);
    m_printButton =
        AddToolButton(QStringLiteral("Printbutton"), QStringLiteral("Print"),
                      QStringLiteral("Print the calendar"), QStringLiteral("document-print"));
    connect(m_printButton, &QToolButton::clicked, this, &TCalendarMain::PrintCalendar);
    layout->addSpacing(12);

    m_pointerButton =
        AddToolButton(QStringLiteral("Pointerbutton"), QStringLiteral("Select"),
                      QStringLiteral("Selection tool"), QStringLiteral("edit-select"));
    m_pointerButton->setCheckable(true);
    m_pointerButton->setAutoExclusive(true);
    m_pointerButton->setChecked(true);
    connect(m_pointerButton, &QToolButton::clicked, this, [this] { ChooseTool(psPointing); });
    // One button for each kind with a tool and a button registered for it,
    // in the order of the tools' values.
    for (const ObjectKind *kind : m_page->Document().Kinds().ToolKinds()) {
        const std::optional<ObjectKindActions::ToolButton> look =
            m_page->KindActions().ToolButtonOf(kind->className);
        if (!look)
            continue;
        const TLPanelState tool = kind->tool;
        QToolButton *button =
            AddToolButton(look->objectName, look->caption, look->hint, look->glyph);
        button->setCheckable(true);
        button->setAutoExclusive(true);
        connect(button, &QToolButton::clicked, this, [this, tool] { ChooseTool(tool); });
        m_kindButtons.append({tool, button});
    }
    layout->addSpacing(12);

    m_saveButton = AddToolButton(QStringLiteral("Savebutton"), QStringLiteral("&Save"),
                                 QStringLiteral("Save changes to the calendar"),
                                 QStringLiteral("document-save"));
    m_saveButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(m_saveButton, &QToolButton::clicked, this, [this] {
        if (m_currentFileName.isEmpty())
            SaveAs();
        else
            Save();
    });
    m_cancelButton = AddToolButton(QStringLiteral("CancelButton"), QStringLiteral("&Cancel"),
                                   QStringLiteral("Cancel all changes"), QString());
    for (QToolButton *button : {m_saveButton, m_cancelButton}) {
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
    }
    ColourSaveAndCancel();
    connect(m_cancelButton, &QToolButton::clicked, this, &TCalendarMain::CancelChanges);
    layout->addStretch(1);
}

void TCalendarMain::ColourSaveAndCancel()
{
    // Green and red captions; on a dark palette the plain ones would hardly
    // show, so lighter ones are used there.
    const bool dark = palette().color(QPalette::Button).lightness() < 128;
    const std::pair<QToolButton *, QColor> captions[] = {
        {m_saveButton, dark ? QColor(0x6c, 0xe0, 0x6c) : QColor(Qt::darkGreen)},
        {m_cancelButton, dark ? QColor(0xff, 0x7a, 0x7a) : QColor(Qt::red)}};
    for (const auto &[button, colour] : captions) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, colour);
        palette.setColor(QPalette::WindowText, colour);
        button->setPalette(palette);
    }
}

void TCalendarMain::BuildMenus()
{
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("FileMenu"));
    auto add = [this](QMenu *menu, const QString &name, const QString &caption, auto slot) {
        QAction *action = menu->addAction(caption, this, slot);
        action->setObjectName(name);
        return action;
    };
    add(m_fileMenu, QStringLiteral("New1"), QStringLiteral("&New "), &TCalendarMain::New)
        ->setShortcuts(QKeySequence::New);
    add(m_fileMenu, QStringLiteral("Open1"), QStringLiteral("&Open"), &TCalendarMain::Open)
        ->setShortcuts(QKeySequence::Open);
    m_fileMenu->addSeparator();
    m_mnuSave =
        add(m_fileMenu, QStringLiteral("mnuSave"), QStringLiteral("&Save "), &TCalendarMain::Save);
    m_mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuSaveAs = add(m_fileMenu, QStringLiteral("mnuSaveAs"), QStringLiteral("Save &As..."),
                      &TCalendarMain::SaveAs);
    m_mnuSaveAs->setShortcuts(QKeySequence::SaveAs);
    m_fileMenu->addSeparator();
    m_mnuProperties = add(m_fileMenu, QStringLiteral("mnuProperties"),
                          QStringLiteral("&Properties"), &TCalendarMain::Properties);
    m_mnuUserTitle = add(m_fileMenu, QStringLiteral("mnuUserTitle"),
                         QStringLiteral("User Defined &Title"), &TCalendarMain::EditUserTitle);
    m_mnuCancelChanges = add(m_fileMenu, QStringLiteral("mnuCancelChanges"),
                             QStringLiteral("&Cancel Changes"), &TCalendarMain::CancelChanges);
    m_mnuClearAllCellContents =
        add(m_fileMenu, QStringLiteral("mnuClearAllCellContents"),
            QStringLiteral("Clear &All Cell Contents"), &TCalendarMain::ClearAllCellContents);
    add(m_fileMenu, QStringLiteral("DefaultEditorFont1"), QStringLiteral("&Default Editor Font"),
        &TCalendarMain::ChooseDefaultEditorFont);
    m_fileMenu->addSeparator();
    m_mnuFillCalendar = add(m_fileMenu, QStringLiteral("mnuFillCalendarwithRecurringDates"),
                            QStringLiteral("&Fill Calendar with Recurring Dates"),
                            &TCalendarMain::FillWithRecurringDates);
    add(m_fileMenu, QStringLiteral("mnuEditrecurringDates"),
        QStringLiteral("Edit Recurr&ing Dates"), &TCalendarMain::EditRecurringDatesList);
    m_fileMenu->addSeparator();
    m_mnuPrintPreview = add(m_fileMenu, QStringLiteral("mnuPrintPreview"),
                            QStringLiteral("Print Pre&view..."), &TCalendarMain::PrintPreview);
    m_mnuExport = add(m_fileMenu, QStringLiteral("mnuExport"), QStringLiteral("&Export..."),
                      &TCalendarMain::ExportPage);
    m_mnuPrintCalendar = add(m_fileMenu, QStringLiteral("mnuPrintCalendar"),
                             QStringLiteral("P&rint Calendar"), &TCalendarMain::PrintCalendar);
    m_mnuPrintCalendar->setShortcuts(QKeySequence::Print);
    m_mnuPrintSetup = add(m_fileMenu, QStringLiteral("mnuPrintSetup"),
                          QStringLiteral("Print Set&up"), &TCalendarMain::PrintSetup);
    m_fileMenu->addSeparator();
    add(m_fileMenu, QStringLiteral("Exit1"), QStringLiteral("E&xit"), &QWidget::close)
        ->setShortcuts(QKeySequence::Quit);

    QMenu *editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu->setObjectName(QStringLiteral("EditMenu"));
    // Own actions rather than the stack's: a note still open in the editor
    // is committed first, so it is the step that Undo takes back.
    QUndoStack &stack = m_page->Document().UndoStack();
    QAction *undo = editMenu->addAction(QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = editMenu->addAction(QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcuts(QKeySequence::Redo);
    connect(undo, &QAction::triggered, this, [this] {
        DoSaveRichtext();
        UndoStack().undo();
    });
    connect(redo, &QAction::triggered, this, [this] {
        DoSaveRichtext();
        UndoStack().redo();
    });
    m_undoAction = undo;
    m_redoAction = redo;
    connect(&stack, &QUndoStack::indexChanged, this, &TCalendarMain::UpdateUndoActions);
    connect(editMenu, &QMenu::aboutToShow, this, &TCalendarMain::UpdateUndoActions);
    UpdateUndoActions();

    // The clipboard commands act on the note editor while it has the focus
    // (its own keys reach it first) and on the placed objects otherwise.
    editMenu->addSeparator();
    const auto addEdit = [&](const QString &name, const QString &caption,
                             QKeySequence::StandardKey key, TGBasePanel::ClipboardKind surfaceKind,
                             void (QTextEdit::*editorSlot)()) {
        QAction *action = add(editMenu, name, caption, [this, surfaceKind, editorSlot] {
            if (m_editingNote && m_editor->hasFocus())
                (m_editor->*editorSlot)();
            else if (m_pageShown)
                m_page->ClipboardAction(surfaceKind);
        });
        action->setShortcuts(key);
    };
    addEdit(QStringLiteral("mnuCut"), QStringLiteral("Cu&t"), QKeySequence::Cut, TGBasePanel::ckCut,
            &QTextEdit::cut);
    addEdit(QStringLiteral("mnuCopy"), QStringLiteral("&Copy"), QKeySequence::Copy,
            TGBasePanel::ckCopy, &QTextEdit::copy);
    addEdit(QStringLiteral("mnuPaste"), QStringLiteral("&Paste"), QKeySequence::Paste,
            TGBasePanel::ckPaste, &QTextEdit::paste);
    QAction *remove = add(editMenu, QStringLiteral("mnuDelete"), QStringLiteral("&Delete"), [this] {
        if (m_editingNote && m_editor->hasFocus())
            m_editor->textCursor().removeSelectedText();
        else if (m_pageShown)
            m_page->ClipboardAction(TGBasePanel::ckDelete);
    });
    remove->setShortcuts(QKeySequence::Delete);
    editMenu->addSeparator();
    add(editMenu, QStringLiteral("mnuSelectAll"), QStringLiteral("Select &All"), [this] {
        if (m_editingNote && m_editor->hasFocus())
            m_editor->selectAll();
        else if (m_pageShown)
            m_page->SelectAll();
    })->setShortcuts(QKeySequence::SelectAll);

    // Page Down and Page Up step the zoom as well (the key filter below).
    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    m_mnuZoomIn =
        add(view, QStringLiteral("mnuZoomIn"), QStringLiteral("Zoom &In"), &TCalendarMain::ZoomIn);
    m_mnuZoomIn->setShortcuts(QKeySequence::ZoomIn);
    m_mnuZoomOut = add(view, QStringLiteral("mnuZoomOut"), QStringLiteral("Zoom &Out"),
                       &TCalendarMain::ZoomOut);
    m_mnuZoomOut->setShortcuts(QKeySequence::ZoomOut);

#ifdef DAYLOOM_HOMEPAGE
    QMenu *online = menuBar()->addMenu(QStringLiteral("&Online"));
    online->setObjectName(QStringLiteral("mnuOnLine"));
    add(online, QStringLiteral("VisitOurInternetW1"), QStringLiteral("Visit Our Internet Website"),
        [] { QDesktopServices::openUrl(QUrl(QStringLiteral(DAYLOOM_HOMEPAGE))); });
#endif

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    add(help, QStringLiteral("Contents1"), QStringLiteral("&Contents"),
        &TCalendarMain::ShowHelpContents)
        ->setShortcuts(QKeySequence::HelpContents);
    add(help, QStringLiteral("About1"), QStringLiteral("&About"), &TCalendarMain::ShowAbout);
    m_mnuShowHint = add(help, QStringLiteral("mnuShowHint"), QStringLiteral("&Show Hints"),
                        &TCalendarMain::ToggleHints);
    m_mnuShowHint->setCheckable(true);
    m_mnuShowHint->setChecked(true);

    for (QAction *title : menuBar()->actions()) {
        if (QMenu *menu = title->menu())
            connect(menu, &QMenu::aboutToHide, this,
                    [this] { QTimer::singleShot(0, this, &TCalendarMain::GiveFocusBack); });
    }
}

void TCalendarMain::GiveFocusBack()
{
    // Escape on an open menu leaves the keyboard with the menu bar; while
    // objects are selected the handle takes it back, so that its shortcuts
    // (copy, paste, delete, arrows) work again.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget() || m_editingNote)
        return;
    TGHandle *handle = m_page->SelectionHandle();
    if (handle->SelectedCount() == 0 || !handle->isVisible() || !handle->isEnabled())
        return;
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus == menuBar() || focus == m_page)
        handle->setFocus(Qt::OtherFocusReason);
}

// --- start-up and closing -------------------------------------------------------------------

QString TCalendarMain::SettingsFileName() const
{
    return QDir(DataFolder()).filePath(QStringLiteral("DL.ini"));
}

QString TCalendarMain::RecurringDatesFileName() const
{
    return QDir(DataFolder()).filePath(RecurringDatesFile::fileName());
}

QUndoStack &TCalendarMain::UndoStack() const
{
    return m_page->Document().UndoStack();
}

void TCalendarMain::Start(const QString &fileToOpen)
{
    ShowBusyCursor();
    RestorePlacement();
    show();
    RestoreCursor(); // the message below must not wait under an hourglass
    m_printerAvailable = PrinterReady();
    ShowBusyCursor();
    m_page->SetPaintSuspended(true);
    m_page->Page().SetDefaultStyle();
    const QString path =
        !fileToOpen.isEmpty()
            ? fileToOpen
            : (m_recentFiles->Files().isEmpty() ? QString() : m_recentFiles->Files().first());
    // Set before the open, which marks a file with unread objects modified.
    SetModified(false);
    UndoStack().setClean();
    // A vanished recent file is skipped silently; a file named on the command
    // line is reported.
    if (!path.isEmpty() && (!fileToOpen.isEmpty() || QFileInfo::exists(path)))
        OpenCalendarFile(path);
    ShowPage(!m_currentFileName.isEmpty());
    m_firstActivation = false;
    StartIconTool();
    m_page->SetPaintSuspended(false);
    SetButtons();
    SetCaption();
    RestoreCursor();
    m_page->update();
    StartAutosave();
}

void TCalendarMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_saveButton)
        ColourSaveAndCancel();
}

void TCalendarMain::closeEvent(QCloseEvent *event)
{
    if (!CheckSaveNeeded()) {
        event->ignore();
        return;
    }
    m_preferences.mainZoomPercent = PercentFromZoom(m_page->Document().Zoom());
    SavePreferences();
    SavePlacement();
    CloseIconTool();
    if (m_helpWindow)
        m_helpWindow->close();
    if (m_recovery)
        m_recovery->Remove();
    event->accept();
}

void TCalendarMain::ActivateFromOtherInstance(const QStringList &files)
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
    if (files.isEmpty())
        return;
    // A dialog's result belongs to the document it was opened for: the file
    // waits until no modal dialog is open (the latest hand-over wins).
    m_handedOverFile = files.first();
    OpenHandedOverFile();
}

void TCalendarMain::OpenHandedOverFile()
{
    if (m_handedOverFile.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        m_handOverTimer.start();
        return;
    }
    const QString path = m_handedOverFile;
    m_handedOverFile.clear();
    DoSaveRichtext();
    if (CheckSaveNeeded())
        OpenCalendarFile(path);
}

// --- preferences and placement --------------------------------------------------------------

void TCalendarMain::LoadPreferences()
{
    m_settings.Load();
    m_preferences.Load(m_settings);
    m_showHints = m_preferences.showHints;
    if (m_mnuShowHint)
        m_mnuShowHint->setChecked(m_showHints);
    m_editor->SetDefaultFont(m_preferences.defaultFont);
}

void TCalendarMain::SavePreferences()
{
    TakeIconToolPreferences();
    m_preferences.showHints = m_mnuShowHint->isChecked();
    m_preferences.Save(m_settings);
    m_recentFiles->Store(m_settings);
    QString error;
    if (!m_settings.Save(&error))
        qWarning("Dayloom: cannot save %s: %s", qPrintable(m_settings.Path()), qPrintable(error));
}

void TCalendarMain::RestorePlacement()
{
    const int dpi = screen() ? qRound(screen()->logicalDotsPerInch()) : 96;
    const QString section = WindowPlacement::SectionName(QStringLiteral("TCalendarMain"), dpi);
    const WindowPlacement stored = WindowPlacement::Load(m_settings, section, isMaximized());
    if (stored.IsSaved()) {
        const QSize screenSize = screen() ? screen()->size() : QSize(1024, 768);
        const QRect rect = stored.ShiftedOnto(screenSize).Rect();
        if (rect.width() > 100 && rect.height() > 100)
            setGeometry(rect);
    } else if (QScreen *display = screen()) {
        // First run: most of the screen, centred.
        const QRect area = display->availableGeometry();
        resize(std::min(1200, area.width() * 9 / 10), std::min(900, area.height() * 9 / 10));
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    if (stored.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    SavePlacement();
}

void TCalendarMain::SavePlacement()
{
    const int dpi = screen() ? qRound(screen()->logicalDotsPerInch()) : 96;
    const QString section = WindowPlacement::SectionName(QStringLiteral("TCalendarMain"), dpi);
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    WindowPlacement placement{normal.left(), normal.top(), normal.left() + normal.width(),
                              normal.top() + normal.height(), isMaximized()};
    placement.Save(m_settings, section);
    m_settings.Save();
}

// --- caption, buttons, modified ------------------------------------------------------------

void TCalendarMain::SetCaption()
{
    setWindowTitle(MainWindowCaption(m_currentFileName, m_page->Document().Zoom()));
}

bool TCalendarMain::HasDayCells() const
{
    return m_pageShown && m_page->Page().HasDayCells();
}

void TCalendarMain::SetButtons()
{
    const bool dayCells = HasDayCells();
    m_mnuFillCalendar->setEnabled(dayCells);
    m_mnuUserTitle->setEnabled(dayCells);
    m_mnuClearAllCellContents->setEnabled(dayCells);
    m_mnuSave->setEnabled(!m_currentFileName.isEmpty());
    m_mnuSaveAs->setEnabled(m_pageShown);
    m_mnuProperties->setEnabled(m_pageShown);
    m_propertiesButton->setEnabled(m_pageShown);
    m_zoomMinusButton->setEnabled(m_pageShown);
    m_zoomPlusButton->setEnabled(m_pageShown);
    m_mnuZoomIn->setEnabled(m_pageShown);
    m_mnuZoomOut->setEnabled(m_pageShown);
    m_pointerButton->setEnabled(m_pageShown);
    for (const auto &[tool, button] : m_kindButtons)
        button->setEnabled(m_pageShown);
    m_mnuCancelChanges->setEnabled(m_pageShown && !m_currentFileName.isEmpty());
    m_mnuPrintSetup->setEnabled(m_pageShown);
    m_mnuPrintPreview->setEnabled(m_pageShown);
    m_mnuExport->setEnabled(m_pageShown);
    m_mnuPrintCalendar->setEnabled(m_pageShown && m_printerAvailable);
    m_printButton->setEnabled(m_mnuPrintCalendar->isEnabled());
    m_saveButton->setVisible(m_modified);
    m_cancelButton->setVisible(m_modified && !m_currentFileName.isEmpty());
    SetIconToolButtons();
}

void TCalendarMain::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    SetButtons();
}

void TCalendarMain::UpdateUndoActions()
{
    const QUndoStack &stack = UndoStack();
    // An open note is a change Undo can take back too. A changed one is the
    // step Undo takes back (it is committed first), and committing it leaves
    // nothing to redo.
    const bool noteChanged = ChangedOpenNote().has_value();
    m_undoAction->setEnabled(stack.canUndo() || m_editingNote);
    m_undoAction->setText(noteChanged       ? QStringLiteral("&Undo Note")
                          : stack.canUndo() ? QStringLiteral("&Undo %1").arg(stack.undoText())
                                            : QStringLiteral("&Undo"));
    const bool canRedo = stack.canRedo() && !noteChanged;
    m_redoAction->setEnabled(canRedo);
    m_redoAction->setText(canRedo ? QStringLiteral("&Redo %1").arg(stack.redoText())
                                  : QStringLiteral("&Redo"));
}

void TCalendarMain::OnUndoIndexChanged()
{
    // Undoing back to the saved state leaves nothing to save.
    if (!m_firstActivation)
        SetModified(!UndoStack().isClean());
}

void TCalendarMain::ShowPage(bool shown)
{
    m_pageShown = shown;
    m_page->setVisible(shown);
    FitPageArea();
}

void TCalendarMain::FitPageArea()
{
    if (m_pageShown)
        m_pageArea->resize(m_page->width() + 2 * PageMargin, m_page->height() + 2 * PageMargin);
    else
        m_pageArea->resize(0, 0);
}

bool TCalendarMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && IconDragEvent(event))
        return true;
    if (watched == m_page && event->type() == QEvent::Resize)
        FitPageArea();
    // Any press on the page puts the open note back into its cell first.
    if (event->type() == QEvent::MouseButtonPress && m_editingNote) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && (widget == m_page || m_page->isAncestorOf(widget)))
            DoSaveRichtext();
    }
    if (event->type() == QEvent::ToolTip && !m_showHints)
        return true;
    if (event->type() == QEvent::KeyPress && isActiveWindow() &&
        QApplication::activeWindow() == this) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_PageDown && key->modifiers() == Qt::NoModifier) {
            ZoomIn();
            return true;
        }
        if (key->key() == Qt::Key_PageUp && key->modifiers() == Qt::NoModifier) {
            ZoomOut();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- tools and notes -----------------------------------------------------------------------

void TCalendarMain::ChooseTool(TLPanelState state)
{
    DoSaveRichtext();
    m_page->SetPanelState(state);
    QToolButton *chosen = m_pointerButton;
    for (const auto &[tool, button] : m_kindButtons) {
        if (tool == state)
            chosen = button;
    }
    chosen->setChecked(true);
}

void TCalendarMain::OnCellClicked(const CellEvent &event)
{
    m_currentCell = event.iCell;
    m_trackNoteChanges = false;
    DoSaveRichtext();
    m_page->SetCurrentCell(event.iCell);
    const QString date = CalendarPanelAccessible::CellDateText(m_page->Page(), event.iCell);
    m_editor->setAccessibleName(date.isEmpty() ? QStringLiteral("Note")
                                               : QStringLiteral("Note for ") + date);
    m_editedCell = event.iCell;
    m_editingNote = true;
    const TRect &rect = event.rFree;
    const int width = rect.Width() + 1;
    const int height = rect.Height() + 1;
    m_editor->SetPageSizeTwips(
        QSize(NoteEditor::PixelsToTwips(width), NoteEditor::PixelsToTwips(height)));
    m_editor->SetZoomPercent(
        std::max(NoteEditor::MinZoomPercent, static_cast<int>(m_page->Document().Zoom() * 100.0f)));
    QString error;
    m_editor->LoadFrom(m_page->Page().CellNote(event.iCell), &error);
    // Exactly over the note area: the page widget has no border, so its
    // client origin is its own position (a one-pixel shift would cover the
    // grid line below the cell and move the text when the note is committed).
    m_editor->setGeometry(rect.Left + m_page->x(), rect.Top + m_page->y(), width, height);
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus();
    // A click in a note's text puts the caret there.
    if (const std::optional<QPoint> click = m_page->ClickPoint())
        m_editor->PlaceCaretAt(QPointF(*click + m_page->pos() - m_editor->pos()));
    m_scrollBox->ensureWidgetVisible(m_editor, 10, 10);
    m_trackNoteChanges = true;
    UpdateUndoActions();
}

std::optional<TWPRtfStorage> TCalendarMain::ChangedOpenNote() const
{
    if (!m_editingNote || m_editedCell < 1 || m_editedCell > CalendarPage::CellCount)
        return std::nullopt;
    TWPRtfStorage edited;
    m_editor->StoreTo(edited);
    if (edited == m_page->Page().CellNote(m_editedCell))
        return std::nullopt;
    return edited;
}

void TCalendarMain::DoSaveRichtext()
{
    if (!m_editingNote)
        return;
    std::optional<TWPRtfStorage> edited = ChangedOpenNote();
    m_editingNote = false;
    m_trackNoteChanges = false;
    if (edited) {
        CalendarPage &page = m_page->Page();
        CellNotesCommand::Notes before = CellNotesCommand::NotesOf(page);
        CellNotesCommand::Notes after = before;
        after[m_editedCell - 1] = std::move(*edited);
        UndoStack().push(new CellNotesCommand(page, std::move(before), std::move(after),
                                              QStringLiteral("Note")));
    }
    m_editor->hide();
    UpdateUndoActions();
}

void TCalendarMain::ClearAllCellContents()
{
    DoSaveRichtext();
    CalendarPage &page = m_page->Page();
    auto command = std::make_unique<CellNotesCommand>(page, CellNotesCommand::NotesOf(page),
                                                      CellNotesCommand::Notes{},
                                                      QStringLiteral("Clear All Cell Contents"));
    if (command->Changes())
        UndoStack().push(command.release());
    SetModified(true);
}

void TCalendarMain::EditUserTitle()
{
    DoSaveRichtext();
    TUserTitleForm form(this);
    form.SetTitle(m_page->Page().UserTitle());
    CenterForm(&form, this);
    if (form.exec() != QDialog::Accepted)
        return;
    if (form.Title() != m_page->Page().UserTitle())
        UndoStack().push(new UserTitleCommand(m_page->Page(), form.Title()));
    SetModified(true);
}

void TCalendarMain::ChooseDefaultEditorFont()
{
    LoadPreferences();
    TDefaultFontDialog dialog(this);
    dialog.SetFont(m_preferences.defaultFont);
    CenterForm(&dialog, this);
    if (dialog.exec() == QDialog::Accepted) {
        m_preferences.defaultFont = dialog.Font();
        SavePreferences();
    }
    m_editor->SetDefaultFont(m_preferences.defaultFont);
    if (m_editingNote)
        m_editor->SetDefaultFontNow();
}

void TCalendarMain::FillWithRecurringDates()
{
    const int editedCell = m_editingNote ? m_currentCell : 0;
    const int caret = m_editor->textCursor().position();
    DoSaveRichtext();
    CalendarPage &page = m_page->Page();
    CellNotesCommand::Notes before = CellNotesCommand::NotesOf(page);
    HideIconToolForDialog();
    const bool filled = ::Dayloom::FillCalendarWithRecurringDates(
        this, page, RecurringDatesFileName(), m_preferences.defaultFont);
    RestoreIconToolAfterDialog();
    if (filled) {
        UndoStack().push(new CellNotesCommand(page, std::move(before),
                                              CellNotesCommand::NotesOf(page),
                                              QStringLiteral("Fill Calendar")));
        SetModified(true);
    }
    m_page->update();
    if (editedCell > 0) {
        // The note opens again where the user was typing, in the active window
        // so that the formatting bar follows it.
        activateWindow();
        page.ClickCell(editedCell);
        QTextCursor cursor = m_editor->textCursor();
        cursor.setPosition(std::min(caret, m_editor->document()->characterCount() - 1));
        m_editor->setTextCursor(cursor);
    }
}

void TCalendarMain::EditRecurringDatesList()
{
    DoSaveRichtext();
    HideIconToolForDialog();
    EditRecurringDates(this, RecurringDatesFileName());
    RestoreIconToolAfterDialog();
}

// --- zoom ----------------------------------------------------------------------------------

void TCalendarMain::ZoomIn()
{
    if (m_zoomBusy || !m_pageShown || !CanZoomIn(m_page->Document().Zoom()))
        return;
    m_zoomBusy = true;
    DoSaveRichtext();
    m_page->SetZoom(m_page->Document().Zoom() + 0.1f);
    SetCaption();
    m_zoomBusy = false;
}

void TCalendarMain::ZoomOut()
{
    if (m_zoomBusy || !m_pageShown || !CanZoomOut(m_page->Document().Zoom()))
        return;
    m_zoomBusy = true;
    DoSaveRichtext();
    m_page->SetZoom(m_page->Document().Zoom() - 0.1f);
    SetCaption();
    m_zoomBusy = false;
}

// --- files ---------------------------------------------------------------------------------

QString TCalendarMain::DialogFolder() const
{
    if (!m_currentFileName.isEmpty())
        return QFileInfo(m_currentFileName).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void TCalendarMain::New()
{
    if (!CheckSaveNeeded())
        return;
    ShowBusyCursor();
    DoSaveRichtext();
    RestoreCursor();
    m_newCalendarPending = true;
    if (!RunProperties())
        return;
    m_currentFileName.clear();
    m_page->Page().ClearCellNotes();
    m_page->ClearObjects();
    ShowPage(true);
    CheckFloaterStatus();
    UndoStack().clear();
    UndoStack().resetClean(); // a new design is unsaved even before its first change
    SetModified(true);
    SetButtons();
    SetCaption();
    m_page->update();
}

void TCalendarMain::Properties()
{
    if (!m_pageShown)
        return;
    RunProperties();
}

bool TCalendarMain::RunProperties()
{
    HideIconToolForDialog();
    DoSaveRichtext();
    CalendarPage &page = m_page->Page();
    TCalendarProperties dialog(&m_settings, this);
    CenterForm(&dialog, this);
    dialog.SetPreviewZoom(ZoomFromPercent(m_preferences.propertiesZoomPercent));
    connect(&dialog, &TCalendarProperties::helpRequested, this, &TCalendarMain::ShowHelpTopic);
    if (m_newCalendarPending) {
        dialog.SetNewCalendar(true);
        dialog.SetHadCellNotes(false);
        dialog.SetHadPlacedObjects(false);
    } else if (m_pageShown) {
        dialog.SetOpeningLayoutKind(page.LayoutKind());
        dialog.SetHadCellNotes(page.HasCellNotes());
        dialog.SetNotedCellCount(page.NotedCellCount());
        dialog.SetHadPlacedObjects(m_page->Document().HasPlacedObjects());
    }
    dialog.ExampleCalendar().AssignSettings(page);
    const bool accepted = (m_runPropertiesDialog ? m_runPropertiesDialog(dialog) : dialog.exec()) ==
                          QDialog::Accepted;
    m_propertiesAccepted = false;
    m_preferences.propertiesZoomPercent = PercentFromZoom(dialog.PreviewZoom());
    if (accepted) {
        m_propertiesAccepted = true;
        if (m_newCalendarPending)
            page.AssignSettings(dialog.ExampleCalendar());
        else
            ApplyProperties(dialog.ExampleCalendar());
    }
    m_newCalendarPending = false;
    m_page->update();
    RestoreIconToolAfterDialog();
    SavePreferences();
    return accepted;
}

void TCalendarMain::ApplyProperties(const CalendarPage &preview)
{
    CalendarPage &page = m_page->Page();
    const CalendarSettings before = page.Settings();
    CellNotesCommand::Notes notesBefore = CellNotesCommand::NotesOf(page);
    page.AssignSettings(preview);
    if (CalendarPage::ChangeClearsCellNotes(before, page.Settings()))
        page.ClearCellNotes();
    // Every difference counts, font sizes too: a change only the looser
    // comparison misses would otherwise be lost without "Save changes?".
    auto command = std::make_unique<PageSettingsCommand>(
        page, before, page.Settings(), std::move(notesBefore), CellNotesCommand::NotesOf(page),
        QStringLiteral("Calendar Properties"));
    if (command->Changes())
        UndoStack().push(command.release());
}

void TCalendarMain::Open()
{
    DoSaveRichtext();
    if (!CheckSaveNeeded())
        return;
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open Calendar File"), DialogFolder(),
                                     QStringLiteral("Calendar File (*.DLF *.dlf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().toUpper() != QLatin1String("DLF")) {
        ShowInformation(this, QStringLiteral("Must be a Calendar file (*.DLF)"));
        return;
    }
    OpenCalendarFile(path);
}

bool TCalendarMain::OpenCalendarFile(const QString &fileName)
{
    // A copy: the caller may pass a name that changes below.
    const QString path = fileName;
    DoSaveRichtext();
    if (!QFileInfo::exists(path)) {
        ShowInformation(this, QStringLiteral("File %1 no longer exists").arg(path));
        return false;
    }
    m_page->SetPaintSuspended(true);
    const bool wasFirstActivation = m_firstActivation;
    m_firstActivation = true;
    ShowBusyCursor();
    m_page->SetChangeEventsSuspended(true);
    QString error;
    bool replaced = false;
    const bool opened = m_page->Document().Open(path, &error, &replaced);
    m_page->HookObjects();
    RestoreCursor();
    m_firstActivation = wasFirstActivation;
    // A file that could not be read leaves the design that was open as it
    // was: its name, its changes and its undo steps.
    if (replaced) {
        // The changes the copy held were given up for this file.
        if (m_recovery)
            m_recovery->Remove();
        ShowOpenedDesign(QFileInfo(path).absoluteFilePath(), false);
        m_recentFiles->Add(m_currentFileName);
        m_recentFiles->Store(m_settings);
        m_settings.Save();
    }
    SetButtons();
    SetCaption();
    m_page->SetPaintSuspended(false);
    m_page->SetChangeEventsSuspended(false);
    m_page->update();
    if (!error.isEmpty())
        ShowInformation(this, error);
    if (replaced)
        ReportUnreadObjects();
    if (replaced && !m_page->Document().PicturesLeftOut().isEmpty())
        ShowInformation(this, PicturesLeftOutMessage(m_page->Document().PicturesLeftOut()));
    return opened;
}

void TCalendarMain::ReportUnreadObjects()
{
    const int unread = m_page->Document().UnreadObjects();
    if (unread == 0)
        return;
    ShowInformation(this, UnreadObjectsMessage(unread));
    // The design differs from its file, and undoing cannot bring it back.
    UndoStack().resetClean();
    SetModified(true);
}

void TCalendarMain::Save()
{
    if (!m_currentFileName.isEmpty())
        SaveToCurrentFile();
}

bool TCalendarMain::SaveToCurrentFile()
{
    const PageDocument &document = m_page->Document();
    if (document.SavingDropsUnreadObjects(m_currentFileName)) {
        switch (AskYesNoOrCancel(
            this, ReplaceIncompleteFileQuestion(m_currentFileName, document.UnreadObjects()),
            QStringLiteral("Save"))) {
        case YesNoAnswer::Yes:
            break;
        case YesNoAnswer::No:
            SaveAs();
            return !m_modified;
        case YesNoAnswer::Cancel:
            return false;
        }
    }
    return SaveCalendarFile(m_currentFileName);
}

void TCalendarMain::SaveAs()
{
    DoSaveRichtext();
    const CalendarPage &page = m_page->Page();
    const QString proposed = m_currentFileName.isEmpty()
                                 ? page.MonthName(page.MainCalMonth()).left(3) +
                                       QString::number(page.MainCalYear()) + QStringLiteral(".DLF")
                                 : QFileInfo(m_currentFileName).fileName();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Calendar File"),
                                                QDir(DialogFolder()).filePath(proposed),
                                                QStringLiteral("Calendar File (*.DLF *.dlf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".DLF");
    if (SaveCalendarFile(path)) {
        m_recentFiles->Add(m_currentFileName);
        m_recentFiles->Store(m_settings);
        m_settings.Save();
    }
    SetButtons();
}

bool TCalendarMain::SaveCalendarFile(const QString &path)
{
    DoSaveRichtext();
    ShowBusyCursor();
    QString error;
    const bool saved = m_page->Document().Save(path, &error);
    RestoreCursor();
    if (!saved) {
        // The old file is untouched and the design stays modified.
        ShowInformation(this, QStringLiteral("Unable to save %1\n%2").arg(path, error));
        return false;
    }
    m_currentFileName = QFileInfo(path).absoluteFilePath();
    if (m_recovery)
        m_recovery->Remove();
    UndoStack().setClean();
    SetModified(false);
    SetButtons();
    SetCaption();
    return true;
}

void TCalendarMain::CancelChanges()
{
    DoSaveRichtext();
    if (!AskYesNo(this, QStringLiteral("Cancel all changes?"), QStringLiteral("CANCEL")))
        return;
    // A file that cannot be opened again keeps the changes.
    if (!m_currentFileName.isEmpty())
        OpenCalendarFile(m_currentFileName);
}

bool TCalendarMain::CheckSaveNeeded()
{
    DoSaveRichtext();
    if (!m_modified)
        return true;
    // Escape or closing the question keeps the design and stops the command.
    switch (AskYesNoOrCancel(this, QStringLiteral("Save changes?"), QStringLiteral("Save"))) {
    case YesNoAnswer::Yes:
        break;
    case YesNoAnswer::No:
        return true;
    case YesNoAnswer::Cancel:
        return false;
    }
    if (m_currentFileName.isEmpty())
        SaveAs();
    else
        SaveToCurrentFile();
    // A save that failed or was cancelled keeps the changes: stop here.
    return !m_modified;
}

// --- recent files --------------------------------------------------------------------------

void TCalendarMain::RebuildRecentFilesMenu()
{
    // An entry may be the sender of the click that changed the list.
    for (QAction *action : std::as_const(m_recentActions)) {
        m_fileMenu->removeAction(action);
        action->setObjectName(QString());
        action->deleteLater();
    }
    m_recentActions.clear();
    if (m_recentSeparator) {
        m_fileMenu->removeAction(m_recentSeparator);
        m_recentSeparator->deleteLater();
        m_recentSeparator = nullptr;
    }
    const QStringList &files = m_recentFiles->Files();
    if (files.isEmpty())
        return;
    m_recentSeparator = m_fileMenu->addSeparator();
    for (int i = 0; i < files.size(); ++i) {
        const int position = i + 1;
        QAction *action = m_fileMenu->addAction(TMRUFileList::MenuCaption(position, files[i]));
        action->setObjectName(QStringLiteral("MRU%1").arg(position));
        connect(action, &QAction::triggered, this,
                [this, position] { m_recentFiles->Click(position); });
        m_recentActions << action;
    }
}

// --- printing and export ------------------------------------------------------------------

QPrinter &TCalendarMain::Printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setDocName(QStringLiteral("ReportPrinter Report"));
        // Positions on the page are measured from the paper's edge.
        m_printer->setFullPage(true);
        m_printer->setPageOrientation(QPageLayout::Portrait);
    }
    return *m_printer;
}

bool TCalendarMain::PrinterReady()
{
    if (m_printServices.installedPrinters().isEmpty()) {
        ShowInformation(this, QStringLiteral("There are no installed printers.\n"
                                             "Unable to perform printer related operations"));
        return false;
    }
    if (m_printServices.defaultPrinter().isEmpty()) {
        ShowInformation(this, QStringLiteral("There is no default printer selected.\n"
                                             "Unable to perform printer related operations"));
        return false;
    }
    return true;
}

void TCalendarMain::SetPrintOrientation(QPrinter &printer) const
{
    printer.setPageOrientation(m_page->Page().CalendarOrientation() == coLandscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

bool TCalendarMain::CheckPrinterMargins()
{
    const CalendarPage &page = m_page->Page();
    const QString lines =
        MarginWarningLines(m_printServices.unprintableMargins(Printer()),
                           QMarginsF(page.LeftMarginInch(), page.TopMarginInch(),
                                     page.RightMarginInch(), page.BottomMarginInch()));
    if (lines.isEmpty())
        return true;
    return AskYesNo(this, MarginWarningQuestion(lines), QStringLiteral("Margin Warning"));
}

bool TCalendarMain::HasSlowlyPrintedObjects() const
{
    const PageDocument &document = m_page->Document();
    for (const TGGraphicControl *object : document.Objects()) {
        const ObjectKind *kind = document.Kinds().FindClass(object->ClassName());
        if (kind && kind->printsSlowly)
            return true;
    }
    return false;
}

void TCalendarMain::PrintSetup()
{
    if (!m_pageShown)
        return;
    DoSaveRichtext();
    m_printServices.printerDialog(Printer(), this, QStringLiteral("Print Setup"));
}

void TCalendarMain::PrintCalendar()
{
    if (!m_pageShown || !m_printerAvailable)
        return;
    DoSaveRichtext();
    m_printDone = false;
    const bool wasModified = m_modified;
    QPrinter &printer = Printer();
    if (m_printServices.printerDialog(printer, this, QStringLiteral("Print"))) {
        SetPrintOrientation(printer);
        if (!CheckPrinterMargins())
            return;
        const int copies = std::max(1, printer.copyCount());
        if (m_printServices.maximumCopies(printer) >= copies) {
            printer.setCopyCount(copies);
            m_copiesToPrint = 1;
        } else {
            printer.setCopyCount(1);
            m_copiesToPrint = copies;
        }
        QString error;
        if (!RunPrintJob(
                printer, [this](PrintEngine &engine) { return ReportPrinter1Print(engine); },
                &error)) {
            // A job that failed was not sent, whatever the page handler did.
            m_printDone = false;
            SetModified(wasModified);
            ShowInformation(this, QStringLiteral("The calendar was not printed.\n%1").arg(error));
            return;
        }
    }
    if (m_printDone) {
        if (HasSlowlyPrintedObjects())
            ShowInformation(this,
                            QStringLiteral("Print job completed and sent to printer!\n\n"
                                           "Note: this design contains complex shapes or text.\n"
                                           "Please be patient while the printer produces its\n"
                                           "output..."));
        else
            ShowInformation(this, QStringLiteral("Print job completed and sent to printer!"));
    }
    SetModified(wasModified);
}

bool TCalendarMain::ReportPrinter1Print(PrintEngine &engine)
{
    bool drawn = true;
    m_printDone = true;
    WithPageReadyToPrint([&] {
        for (int copy = 1; copy <= m_copiesToPrint; ++copy) {
            m_page->Document().PrintPage(engine, 0, 0);
            if (copy < m_copiesToPrint && !engine.NewPage()) {
                drawn = false;
                break;
            }
        }
    });
    return drawn;
}

void TCalendarMain::WithPageReadyToPrint(const std::function<void()> &draw)
{
    DoSaveRichtext();
    m_page->SetPaintSuspended(true);
    SetModified(false);
    const float zoom = m_page->Document().Zoom();
    m_page->SetPrinting(true);
    ShowBusyCursor();
    m_page->SetZoom(1.0f);
    const auto restore = [this, zoom] {
        RestoreCursor();
        if (zoom != 1.0f)
            m_page->SetZoom(zoom);
        m_page->SetPaintSuspended(false);
        if (zoom != 1.0f)
            m_page->update();
        m_page->SetPrinting(false);
        SetModified(false);
    };
    try {
        draw();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TCalendarMain::PrintPreview()
{
    if (!m_pageShown)
        return;
    DoSaveRichtext();
    const bool wasModified = m_modified;
    QPrinter &printer = Printer();
    SetPrintOrientation(printer);
    m_printServices.previewDialog(printer, this, [this](QPrinter *target) {
        QPainter painter;
        if (!painter.begin(target))
            return;
        PrintEngine engine(painter);
        WithPageReadyToPrint([&] { m_page->Document().PrintPage(engine, 0, 0); });
    });
    SetModified(wasModified);
}

void TCalendarMain::ExportPage()
{
    if (!m_pageShown)
        return;
    DoSaveRichtext();
    const QString pdf = QStringLiteral("PDF document (*.pdf)");
    const QString svg = QStringLiteral("SVG drawing (*.svg)");
    const QString png = QStringLiteral("PNG image (*.png)");
    const QStringList filters{pdf, svg, png};
    const CalendarPage &page = m_page->Page();
    const QString base =
        m_currentFileName.isEmpty()
            ? page.MonthName(page.MainCalMonth()).left(3) + QString::number(page.MainCalYear())
            : QFileInfo(m_currentFileName).completeBaseName();
    QString filter = pdf;
    QString path = m_printServices.exportFileDialog(
        this, QDir(DialogFolder()).filePath(base + QStringLiteral(".pdf")), filters, filter);
    if (path.isEmpty())
        return;
    QString format = QFileInfo(path).suffix().toLower();
    if (format != QLatin1String("pdf") && format != QLatin1String("png") &&
        format != QLatin1String("svg")) {
        format = filter == png   ? QStringLiteral("png")
                 : filter == svg ? QStringLiteral("svg")
                                 : QStringLiteral("pdf");
        path += QLatin1Char('.') + format;
    }
    int dotsPerInch = 0;
    if (format == QLatin1String("png")) {
        dotsPerInch = m_printServices.imageResolutionDialog(this, m_exportDotsPerInch);
        if (dotsPerInch <= 0)
            return;
        m_exportDotsPerInch = dotsPerInch;
    }
    QString error;
    if (!ExportPageFile(path, format, dotsPerInch, &error))
        ShowInformation(this, QStringLiteral("Unable to export %1\n%2").arg(path, error));
}

bool TCalendarMain::ExportPageFile(const QString &path, const QString &format, int dotsPerInch,
                                   QString *error)
{
    const bool wasModified = m_modified;
    bool written = false;
    WithPageReadyToPrint([&] {
        const PageDocument &document = m_page->Document();
        if (format == QLatin1String("png"))
            written = ExportDocumentPngAtDpi(document, dotsPerInch, path, error);
        else if (format == QLatin1String("svg"))
            written = ExportDocumentSvg(document, path, error);
        else
            written = ExportDocumentPdf(document, path, error);
    });
    SetModified(wasModified);
    return written;
}

// --- help, hints, about --------------------------------------------------------------------

void TCalendarMain::ToggleHints()
{
    m_showHints = m_mnuShowHint->isChecked();
    SavePreferences();
}

void TCalendarMain::ShowHelpContents()
{
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(this);
    m_helpWindow->ShowContents();
}

void TCalendarMain::ShowHelpTopic(int topic)
{
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(this);
    m_helpWindow->ShowHelpTopic(topic);
}

void TCalendarMain::ShowAbout()
{
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("About Dayloom"));
    box.setIconPixmap(QApplication::windowIcon().pixmap(48, 48));
    box.setText(QStringLiteral("<b>Dayloom</b> %1").arg(QStringLiteral(DAYLOOM_VERSION)));
    box.setInformativeText(QStringLiteral("Design and print calendar pages: month grids, mini "
                                          "calendars, week and day planners, notes and "
                                          "recurring dates."));
    // A message box sizes itself by its text alone; the caption and the
    // title bar's buttons need room too.
    const int captionWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(std::max(captionWidth, 360), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

// --- the icon tool -------------------------------------------------------------------------

void TCalendarMain::BuildIconTool()
{
    m_iconToolVisible = m_preferences.iconToolVisible;
    m_showHideIconTool = new QToolButton(m_toolPanel);
    m_showHideIconTool->setObjectName(QStringLiteral("ShowHideIconTool"));
    m_showHideIconTool->setText(QStringLiteral("Show Icon Tool"));
    m_showHideIconTool->setAutoRaise(true);
    auto *panel = static_cast<QBoxLayout *>(m_toolPanel->layout());
    panel->insertWidget(panel->indexOf(m_printButton) + 1, m_showHideIconTool);
    connect(m_showHideIconTool, &QToolButton::clicked, this, &TCalendarMain::ShowHideIconTool);

    m_iconTool = new TFloatingPalette(this);
    connect(m_iconTool, &TFloatingPalette::visibilityChanged, this, [this] { SetButtons(); });
    // Icons dragged from the tool are dropped on day cells.
    m_page->setAcceptDrops(true);
}

void TCalendarMain::StartIconTool()
{
    m_iconTool->LoadLibrary(m_preferences.iconFile);
    m_iconTool->RestorePlacement(m_settings);
    CheckFloaterStatus();
    if (m_iconToolVisible)
        m_iconTool->show();
}

void TCalendarMain::CloseIconTool()
{
    m_iconTool->SavePlacement(m_settings);
    m_settings.Save();
    m_iconTool->hide();
}

void TCalendarMain::TakeIconToolPreferences()
{
    if (!m_iconTool)
        return;
    m_preferences.iconFile = m_iconTool->IconListBox()->FileName();
    m_preferences.iconToolVisible = m_iconToolVisible;
}

void TCalendarMain::SetIconToolButtons()
{
    if (!m_showHideIconTool)
        return;
    m_showHideIconTool->setEnabled(HasDayCells());
    m_showHideIconTool->setText(m_iconTool && m_iconTool->isVisible()
                                    ? QStringLiteral("Hide Icon Tool")
                                    : QStringLiteral("Show Icon Tool"));
}

void TCalendarMain::ShowHideIconTool()
{
    if (m_iconTool->isVisible()) {
        m_iconToolVisible = false;
        m_iconTool->hide();
    } else {
        m_iconToolVisible = true;
        m_iconTool->show();
    }
    SetButtons();
}

void TCalendarMain::CheckFloaterStatus()
{
    // Until the first activation has placed it, the tool stays hidden.
    if (!m_iconTool || m_firstActivation)
        return;
    if (!HasDayCells()) {
        m_iconToolVisible = false;
        m_iconTool->hide();
    } else if (m_iconToolVisible && !m_iconTool->isVisible()) {
        m_iconTool->show();
    }
}

void TCalendarMain::HideIconToolForDialog()
{
    if (m_iconToolVisible)
        m_iconTool->hide();
}

void TCalendarMain::RestoreIconToolAfterDialog()
{
    CheckFloaterStatus();
    if (m_iconToolVisible && !m_firstActivation)
        m_iconTool->show();
    SetButtons();
}

bool TCalendarMain::AcceptsIconAt(const QPoint &point) const
{
    return HasDayCells() && m_page->Page().PointInCell(point);
}

bool TCalendarMain::DropIconOnPage(const QImage &icon, const QPoint &point)
{
    if (icon.isNull() || !AcceptsIconAt(point))
        return false;
    DoSaveRichtext();
    const int cell = m_page->Page().CellAt(point);
    m_page->Page().ClickCell(cell); // opens the cell's note in the editor
    if (!m_editingNote)
        return false;
    m_editor->InsertPicture(icon);
    m_currentCell = cell;
    m_page->SetCurrentCell(cell);
    SetModified(true);
    return true;
}

bool TCalendarMain::IconDragEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!TIconListBox::IsIconDrag(drag->mimeData()))
            return false;
        // The enter is always taken so that moves keep coming (one follows
        // it at once); each move says whether the point lies in a day cell,
        // and the cursor shows no-drop elsewhere.
        if (event->type() == QEvent::DragEnter || AcceptsIconAt(drag->position().toPoint())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!TIconListBox::IsIconDrag(drop->mimeData()))
            return false;
        if (DropIconOnPage(TIconListBox::DraggedIcon(drop->mimeData()),
                           drop->position().toPoint())) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    default:
        return false;
    }
}

// --- autosave and crash recovery ---------------------------------------------------------

void TCalendarMain::StartAutosave()
{
    m_recovery = std::make_unique<RecoveryStore>(RecoveryStore::DefaultFolder());
    OfferRecovery();
    m_autosaveTimer.setInterval(RecoveryStore::IntervalMs());
    connect(&m_autosaveTimer, &QTimer::timeout, this, &TCalendarMain::Autosave,
            Qt::UniqueConnection);
    m_autosaveTimer.start();
}

void TCalendarMain::OfferRecovery()
{
    bool restored = false;
    for (const RecoveryStore::Copy &copy : m_recovery->Orphans()) {
        // One design at a time: the others wait for the next start.
        if (restored) {
            m_recovery->Release(copy);
            continue;
        }
        QString error;
        if (!RecoveryStore::CheckReadable(copy, &error)) {
            ShowInformation(this, QStringLiteral("The unsaved changes of %1 cannot be restored: "
                                                 "the recovery copy is damaged and was "
                                                 "removed.\n%2")
                                      .arg(copy.DisplayName(), error));
            m_recovery->Discard(copy);
            continue;
        }
        const QString question =
            QStringLiteral("Dayloom closed unexpectedly. Restore the unsaved changes of %1 "
                           "from %2?")
                .arg(copy.DisplayName(),
                     QLocale().toString(copy.written.toLocalTime(), QLocale::ShortFormat));
        // Escape decides nothing: the copy is offered again at the next start.
        switch (AskYesNoOrCancel(this, question, QStringLiteral("Dayloom"))) {
        case YesNoAnswer::Yes:
            restored = RestoreRecoveryCopy(copy);
            m_recovery->Discard(copy);
            break;
        case YesNoAnswer::No:
            m_recovery->Discard(copy);
            break;
        case YesNoAnswer::Cancel:
            m_recovery->Release(copy);
            break;
        }
    }
}

bool TCalendarMain::RestoreRecoveryCopy(const RecoveryStore::Copy &copy)
{
    DoSaveRichtext();
    m_page->SetPaintSuspended(true);
    m_page->SetChangeEventsSuspended(true);
    QString error;
    bool replaced = false;
    m_page->Document().Open(copy.designPath, &error, &replaced);
    m_page->HookObjects();
    if (replaced) {
        m_page->Document().KeepUnreadObjects(copy.unreadObjects, copy.originalPath);
        // Save writes to the design's own file, which is still as it was.
        ShowOpenedDesign(copy.originalPath, true);
    }
    SetButtons();
    SetCaption();
    m_page->SetPaintSuspended(false);
    m_page->SetChangeEventsSuspended(false);
    m_page->update();
    if (!error.isEmpty())
        ShowInformation(this, error);
    if (!replaced)
        return false;
    Autosave(); // a copy of its own before the old one goes
    return true;
}

void TCalendarMain::ShowOpenedDesign(const QString &fileName, bool modified)
{
    m_currentFileName = fileName;
    ShowPage(true);
    CheckFloaterStatus();
    UndoStack().clear();
    // A restored copy differs from its file, and no undo brings the file back.
    if (modified)
        UndoStack().resetClean();
    else
        UndoStack().setClean();
    SetModified(modified);
}

void TCalendarMain::Autosave()
{
    if (!m_recovery)
        return;
    if (!m_modified) {
        m_recovery->Remove();
        return;
    }
    const CalendarPage &page = m_page->Page();
    RecoveryStore::CellNotes notes = CellNotesCommand::NotesOf(page);
    if (const std::optional<TWPRtfStorage> open = ChangedOpenNote())
        notes[m_editedCell - 1] = *open;
    const PageDocument &document = m_page->Document();
    const int unread =
        document.SavingDropsUnreadObjects(m_currentFileName) ? document.UnreadObjects() : 0;
    QString error;
    if (!m_recovery->Write(page, notes, document.PersistentObjects(), m_currentFileName,
                           QDateTime::currentDateTimeUtc(), &error, unread))
        qWarning("Dayloom: cannot write the recovery copy: %s", qPrintable(error));
}

} // namespace Dayloom
