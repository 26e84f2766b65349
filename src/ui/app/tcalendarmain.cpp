#include "ui/app/tcalendarmain.h"

#include "core/app/tmrufilelist.h"
#include "core/app/zoomsteps.h"
#include "core/io/appfolders.h"
#include "core/io/datafolder.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/tggraphiccontrol.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/surface/pagedocument.h"
#include "ui/app/helpwindow.h"
#include "ui/app/hintdelaystyle.h"
#include "ui/app/uihelpers.h"
#include "ui/app/windowobjectkinds.h"
#include "ui/glyphs/buttonglyph.h"
#include "ui/recurring/recurringcommands.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/tcalendarpanel32.h"
#include "ui/surface/tghandle.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace Dayloom {

namespace {

// The tool panel's glyphs, in pixels at 96 dpi; its 33-pixel height holds them.
constexpr int ToolGlyphSide = 22;

// Tool tips hold "\r" where the text breaks into a second line.
QString Hint(const QString &text)
{
    QString hint = text;
    return hint.replace(QStringLiteral(" \r"), QStringLiteral("\n"));
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
    m_menus = new MainMenus(menuBar(), this);
    BuildToolPanel();
    m_files = new FileCommands(*this);
    m_pageCommands = new PageCommands(*this);
    m_prints = new PrintCommands(*this);
    WireMenus();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolPanel);
    layout->addWidget(m_view->ScrollBox(), 1);
    setCentralWidget(central);

    m_recentFiles = m_files->RecentFiles();
    connect(m_recentFiles, &TMRUFileList::listChanged, this,
            [this] { m_menus->ShowRecentFiles(m_recentFiles->Files()); });
    connect(m_menus, &MainMenus::recentFileChosen, m_recentFiles, &TMRUFileList::Click);

    LoadPreferences();
    m_iconControl = new IconToolControl(
        this, m_printButton, m_page, m_notes, [this] { return HasDayCells(); }, m_preferences);
    connect(m_iconControl, &IconToolControl::visibilityChanged, this, &TCalendarMain::SetButtons);
    connect(m_iconControl, &IconToolControl::iconDropped, this, [this] { SetModified(true); });
    AddIconToolItem();
    ChainTabOrder();
    m_page->SetZoom(ZoomFromPercent(m_preferences.mainZoomPercent));
    m_view->ApplyStoredPageValues();
    m_page->Page().SetCalendarLayout(LOFullCalendarLS);
    m_recentFiles->Load(m_settings);
    m_menus->Action(MainMenus::ShowHints)->setChecked(m_showHints);
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
    for (QObject *part : {static_cast<QObject *>(m_page), static_cast<QObject *>(m_notes),
                          static_cast<QObject *>(m_iconControl), static_cast<QObject *>(m_menus)})
        disconnect(part, nullptr, this, nullptr);
}

void TCalendarMain::BuildPageArea()
{
    m_view = new PageView(this);
    m_page = m_view->Panel();
    m_page->installEventFilter(this);
    m_notes = m_view->Notes();
    m_editor = m_notes->Editor();
    m_editor->SetDefaultFont(m_preferences.defaultFont);

    connect(m_page, &TCalendarPanel32::ClickedInCellEvent, m_notes, &CellNoteEditing::Open);
    connect(m_page, &TCalendarPanel32::TypeInCellRequested, m_notes,
            &CellNoteEditing::OpenForTyping);
    // A placed object is an undo step, which marks the design modified; one
    // whose dialog was cancelled leaves the design as it was.
    connect(m_page, &TGBasePanel::DroppedObjectEvent, this, [this] { ChooseTool(psPointing); });
    connect(m_page, &TGBasePanel::LabelChangedEvent, this, [this] { SetModified(true); });
    // The tool buttons, dialogs and menu items of every kind of object.
    RegisterWindowObjectKinds(*m_page, m_preferences);
    connect(&m_page->Document().UndoStack(), &QUndoStack::indexChanged, this,
            &TCalendarMain::OnUndoIndexChanged);
    connect(m_notes, &CellNoteEditing::noteEdited, this, [this] { SetModified(true); });
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
    // Not exclusive buttons: Tab stops at each tool (ChooseTool checks one).
    m_pointerButton->setCheckable(true);
    m_pointerButton->setChecked(true);
    connect(m_pointerButton, &QToolButton::clicked, this, [this] { ChooseTool(psPointing); });
    AddToolItem(psPointing, QStringLiteral("mnuSelectTool"), QStringLiteral("Select"));
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
        connect(button, &QToolButton::clicked, this, [this, tool] { ChooseTool(tool); });
        m_kindButtons.append({tool, button});
        AddToolItem(tool, QStringLiteral("mnu") + look->objectName, look->caption);
    }
    layout->addSpacing(12);

    m_saveButton = AddToolButton(QStringLiteral("Savebutton"), QStringLiteral("&Save"),
                                 QStringLiteral("Save changes to the calendar"),
                                 QStringLiteral("document-save"));
    m_saveButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(m_saveButton, &QToolButton::clicked, this, &TCalendarMain::Save);
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

void TCalendarMain::AddToolItem(TLPanelState tool, const QString &name, const QString &caption)
{
    // Ctrl+1 for the pointer, then Ctrl+2 ... in the order of the buttons.
    const int position = static_cast<int>(m_toolItems.size()) + 1;
    const QKeySequence key =
        position <= 9 ? QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + position)) : QKeySequence();
    QAction *item = m_menus->AddTool(name, caption, key);
    if (!m_toolGroup)
        m_toolGroup = new QActionGroup(this);
    m_toolGroup->addAction(item);
    item->setChecked(tool == psPointing);
    connect(item, &QAction::triggered, this, [this, tool] { ChooseTool(tool); });
    m_toolItems.append({tool, item});
}

void TCalendarMain::AddIconToolItem()
{
    m_menus->ToolsMenu()->addSeparator();
    m_iconToolItem = m_menus->AddTool(QStringLiteral("mnuIconTool"), QStringLiteral("Icon Tool"),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    connect(m_iconToolItem, &QAction::triggered, this, [this] {
        ShowHideIconTool();
        SetButtons();
    });
}

void TCalendarMain::ChainTabOrder()
{
    // The formatting bar's buttons and the tool panel's take the focus from
    // Tab only, so a click leaves the note being edited the focus.
    QList<QWidget *> chain;
    for (QAction *action : m_formatBar->actions()) {
        QWidget *widget = m_formatBar->widgetForAction(action);
        if (!widget)
            continue;
        if (qobject_cast<QToolButton *>(widget))
            widget->setFocusPolicy(Qt::TabFocus);
        else
            widget->setFocusPolicy(Qt::StrongFocus);
        chain << widget;
    }
    for (QToolButton *button :
         m_toolPanel->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly)) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    // The panel's buttons in the order they are laid out.
    QLayout *layout = m_toolPanel->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (QWidget *widget = layout->itemAt(i)->widget())
            chain << widget;
    }
    m_view->ScrollBox()->setFocusPolicy(Qt::NoFocus);
    chain << m_page << m_editor;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    setTabOrder(m_editor, chain.first());
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

void TCalendarMain::WireMenus()
{
    using Menu = MainMenus;
    const std::pair<Menu::Command, void (TCalendarMain::*)()> commands[] = {
        {Menu::New, &TCalendarMain::New},
        {Menu::Open, &TCalendarMain::Open},
        {Menu::Save, &TCalendarMain::Save},
        {Menu::SaveAs, &TCalendarMain::SaveAs},
        {Menu::Properties, &TCalendarMain::Properties},
        {Menu::UserTitle, &TCalendarMain::EditUserTitle},
        {Menu::CancelChanges, &TCalendarMain::CancelChanges},
        {Menu::ClearAllCellContents, &TCalendarMain::ClearAllCellContents},
        {Menu::DefaultEditorFont, &TCalendarMain::ChooseDefaultEditorFont},
        {Menu::FillCalendar, &TCalendarMain::FillWithRecurringDates},
        {Menu::EditRecurringDates, &TCalendarMain::EditRecurringDatesList},
        {Menu::ImportICalendar, &TCalendarMain::ImportICalendarDates},
        {Menu::ExportRecurringDates, &TCalendarMain::ExportRecurringDates},
        {Menu::PrintPreview, &TCalendarMain::PrintPreview},
        {Menu::Export, &TCalendarMain::ExportPage},
        {Menu::PrintCalendar, &TCalendarMain::PrintCalendar},
        {Menu::PrintSetup, &TCalendarMain::PrintSetup},
        {Menu::ZoomIn, &TCalendarMain::ZoomIn},
        {Menu::ZoomOut, &TCalendarMain::ZoomOut},
        {Menu::HelpContents, &TCalendarMain::ShowHelpContents},
        {Menu::About, &TCalendarMain::ShowAbout},
        {Menu::ShowHints, &TCalendarMain::ToggleHints}};
    for (const auto &[command, slot] : commands)
        connect(m_menus->Action(command), &QAction::triggered, this, slot);
    connect(m_menus->Action(Menu::Exit), &QAction::triggered, this, &QWidget::close);
    const std::pair<Menu::Command, TGBasePanel::ClipboardKind> clipboard[] = {
        {Menu::Cut, TGBasePanel::ckCut},
        {Menu::Copy, TGBasePanel::ckCopy},
        {Menu::Paste, TGBasePanel::ckPaste},
        {Menu::Delete, TGBasePanel::ckDelete}};
    for (const auto &[command, kind] : clipboard)
        connect(m_menus->Action(command), &QAction::triggered, m_view,
                [this, kind = kind] { m_view->ClipboardAction(kind); });
    connect(m_menus->Action(Menu::SelectAll), &QAction::triggered, m_view, &PageView::SelectAll);
    // A note still open in the editor is committed first, so that it is the
    // step Undo takes back.
    connect(m_menus->Action(Menu::Undo), &QAction::triggered, this, [this] {
        DoSaveRichtext();
        UndoStack().undo();
    });
    connect(m_menus->Action(Menu::Redo), &QAction::triggered, this, [this] {
        DoSaveRichtext();
        UndoStack().redo();
    });
    connect(&UndoStack(), &QUndoStack::indexChanged, this, &TCalendarMain::UpdateUndoActions);
    connect(m_menus->EditMenu(), &QMenu::aboutToShow, this, &TCalendarMain::UpdateUndoActions);
    connect(m_notes, &CellNoteEditing::editingChanged, this, &TCalendarMain::UpdateUndoActions);
    connect(m_menus, &MainMenus::menuClosed, this, [this] { m_view->GiveFocusBack(menuBar()); });
    UpdateUndoActions();
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
    m_prints->FindPrinter();
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
    m_iconControl->Start(m_preferences.iconFile, m_settings);
    m_page->SetPaintSuspended(false);
    SetButtons();
    SetCaption();
    RestoreCursor();
    m_page->update();
    m_files->StartAutosave();
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
    m_iconControl->Close(m_settings);
    if (auto *help = findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly))
        help->close();
    m_files->RemoveRecoveryCopy();
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
    if (!files.isEmpty())
        m_files->OpenHandedOverFile(files.first());
}

// --- preferences and placement --------------------------------------------------------------

void TCalendarMain::LoadPreferences()
{
    m_settings.Load();
    m_preferences.Load(m_settings);
    m_showHints = m_preferences.showHints;
    m_menus->Action(MainMenus::ShowHints)->setChecked(m_showHints);
    m_editor->SetDefaultFont(m_preferences.defaultFont);
}

void TCalendarMain::SavePreferences()
{
    if (m_iconControl)
        m_iconControl->TakePreferences(m_preferences);
    m_preferences.showHints = m_menus->Action(MainMenus::ShowHints)->isChecked();
    m_preferences.Save(m_settings);
    m_recentFiles->Store(m_settings);
    QString error;
    if (!m_settings.Save(&error))
        qWarning("Dayloom: cannot save %s: %s", qPrintable(m_settings.Path()), qPrintable(error));
}

void TCalendarMain::RestorePlacement()
{
    RestoreWindowPlacement(this, QStringLiteral("TCalendarMain"), m_settings);
    SavePlacement();
}

void TCalendarMain::SavePlacement()
{
    SaveWindowPlacement(this, QStringLiteral("TCalendarMain"), m_settings);
    m_settings.Save();
}

// --- caption, buttons, modified ------------------------------------------------------------

void TCalendarMain::SetCaption()
{
    setWindowTitle(MainWindowCaption(m_currentFileName, m_page->Document().Zoom()));
    m_page->Document().SetDesignName(
        m_currentFileName.isEmpty() ? QString() : QFileInfo(m_currentFileName).completeBaseName());
}

bool TCalendarMain::HasDayCells() const
{
    return m_pageShown && m_page->Page().HasDayCells();
}

void TCalendarMain::SetButtons()
{
    m_menus->SetState(
        {m_pageShown, HasDayCells(), !m_currentFileName.isEmpty(), m_prints->PrinterAvailable()});
    m_propertiesButton->setEnabled(m_pageShown);
    m_zoomMinusButton->setEnabled(m_pageShown);
    m_zoomPlusButton->setEnabled(m_pageShown);
    m_pointerButton->setEnabled(m_pageShown);
    for (const auto &[tool, button] : m_kindButtons)
        button->setEnabled(m_pageShown);
    for (const auto &[tool, item] : m_toolItems)
        item->setEnabled(m_pageShown);
    m_printButton->setEnabled(m_menus->Action(MainMenus::PrintCalendar)->isEnabled());
    m_saveButton->setVisible(m_modified);
    m_cancelButton->setVisible(m_modified && !m_currentFileName.isEmpty());
    if (m_iconControl)
        m_iconControl->UpdateButton();
    if (m_iconToolItem) {
        const auto *button = m_toolPanel->findChild<QToolButton *>(
            QStringLiteral("ShowHideIconTool"), Qt::FindDirectChildrenOnly);
        m_iconToolItem->setEnabled(button && button->isVisible() && button->isEnabled());
        m_iconToolItem->setChecked(IconToolVisible());
    }
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
    m_menus->ShowUndoState(UndoStack(), m_notes->Editing(), m_notes->ChangedNote().has_value());
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
    m_view->Show(shown);
}

bool TCalendarMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && m_iconControl && m_iconControl->HandleDragEvent(event))
        return true;
    if (watched == m_page && event->type() == QEvent::Resize)
        m_view->FitPageArea();
    // Any press on the page puts the open note back into its cell first.
    if (event->type() == QEvent::MouseButtonPress && m_notes->Editing()) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && (widget == m_page || m_page->isAncestorOf(widget)))
            DoSaveRichtext();
    }
    if (event->type() == QEvent::ToolTip && !m_showHints)
        return true;
    if (event->type() == QEvent::KeyPress && watched == m_editor && m_notes->Editing() &&
        HandleNoteKey(*static_cast<QKeyEvent *>(event)))
        return true;
    if (event->type() == QEvent::Hide) {
        const auto *dialog = qobject_cast<QDialog *>(watched);
        if (dialog && dialog->isModal() && isVisible())
            QTimer::singleShot(0, this, &TCalendarMain::FocusPage);
    }
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

bool TCalendarMain::HandleNoteKey(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        DoSaveRichtext();
        m_page->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
        (key.modifiers() & Qt::ControlModifier)) {
        // The bar keeps acting on the note while it has the keyboard.
        const bool forward = key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(forward);
        return true;
    }
    return false;
}

void TCalendarMain::FocusPage()
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || !m_pageShown)
        return;
    TGHandle *handle = m_page->SelectionHandle();
    if (m_notes->Editing())
        m_editor->setFocus(Qt::OtherFocusReason);
    else if (handle->SelectedCount() > 0 && handle->isVisible())
        handle->setFocus(Qt::OtherFocusReason);
    else
        m_page->setFocus(Qt::OtherFocusReason);
}

void TCalendarMain::ChooseTool(TLPanelState state)
{
    DoSaveRichtext();
    m_page->SetPanelState(state);
    bool kindChosen = false;
    for (const auto &[tool, button] : m_kindButtons) {
        button->setChecked(tool == state);
        kindChosen = kindChosen || tool == state;
    }
    m_pointerButton->setChecked(!kindChosen);
    for (const auto &[tool, item] : m_toolItems)
        item->setChecked(tool == state);
}

// --- zoom ----------------------------------------------------------------------------------

void TCalendarMain::ZoomIn()
{
    if (m_view->StepZoom(true))
        SetCaption();
}

void TCalendarMain::ZoomOut()
{
    if (m_view->StepZoom(false))
        SetCaption();
}

// --- files ---------------------------------------------------------------------------------

QString TCalendarMain::DialogFolder() const
{
    if (!m_currentFileName.isEmpty())
        return QFileInfo(m_currentFileName).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// --- help, hints, about --------------------------------------------------------------------

void TCalendarMain::ToggleHints()
{
    m_showHints = m_menus->Action(MainMenus::ShowHints)->isChecked();
    SavePreferences();
}

void TCalendarMain::ShowHelpContents()
{
    HelpWindow::For(this)->ShowContents();
}

void TCalendarMain::ShowHelpTopic(int topic)
{
    HelpWindow::ShowTopicFor(this, topic);
}

void TCalendarMain::ShowAbout()
{
    HelpWindow::ShowAbout(this);
}

} // namespace Dayloom
