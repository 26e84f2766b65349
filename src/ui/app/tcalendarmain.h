#pragma once

#include "core/app/preferences.h"
#include "core/calendar/calendarpage.h"
#include "core/io/inifile.h"
#include "ui/app/cellnoteediting.h"
#include "ui/app/filecommands.h"
#include "ui/app/icontoolcontrol.h"
#include "ui/app/mainmenus.h"
#include "ui/app/pagecommands.h"
#include "ui/app/pageview.h"
#include "ui/app/printcommands.h"

#include <QList>
#include <QMainWindow>

#include <utility>

class QActionGroup;
class QKeyEvent;
class QPrinter;
class QToolButton;
class QUndoStack;

namespace Dayloom {

class FormattingBar;
class NoteEditor;
class TCalendarPanel32;
class TFloatingPalette;
class TMRUFileList;

// The main window: the formatting bar, the tool panel, the page
// (PageView: the calendar page in a scroll area, the note editor laid over
// the chosen day cell), the menus (MainMenus), and the wiring of every
// command. The commands live with their parts: FileCommands (files,
// recovery copies), PageCommands (the page's dialogs), PrintCommands,
// IconToolControl; the edits of the page are operations of its
// PageDocument, one undo step each.
//
// Where the program writes: "DL.ini", "DLRECUR.DAX", the object clipboard
// and the recovery copies (RecoveryStore) live in DataFolder() (the
// program's folder when it is writable, else the user's data folder).
class TCalendarMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TCalendarMain(QWidget *parent = nullptr);
    ~TCalendarMain() override;

    // The first activation: restores the placement, shows the window and
    // opens `fileToOpen` (or the most recent file when it still exists).
    void Start(const QString &fileToOpen = QString());

    // --- commands (also reached through the menus and buttons) ---------------------
    // File New: the properties dialog starting from the default style; on
    // OK a fresh, unnamed, modified design with no notes and no objects.
    void New() { m_files->New(); }
    // The "Calendar Properties" dialog on the page's settings. OK copies
    // them back as one undo step (clearing the notes when the layout family,
    // or with day cells the month or year, changed).
    void Properties() { m_pageCommands->Properties(); }
    void Open() { m_files->Open(); }
    bool OpenCalendarFile(const QString &fileName) { return m_files->OpenCalendarFile(fileName); }
    void Save() { m_files->Save(); }
    void SaveAs() { m_files->SaveAs(); }
    bool SaveCalendarFile(const QString &path) { return m_files->SaveCalendarFile(path); }
    void CancelChanges() { m_files->CancelChanges(); }
    void ClearAllCellContents() { m_pageCommands->ClearAllCellContents(); }
    void EditUserTitle() { m_pageCommands->EditUserTitle(); }
    void ChooseDefaultEditorFont() { m_pageCommands->ChooseDefaultEditorFont(); }
    void FillWithRecurringDates() { m_pageCommands->FillWithRecurringDates(); }
    void EditRecurringDatesList() { m_pageCommands->EditRecurringDatesList(); }
    void ImportICalendarDates() { m_pageCommands->ImportICalendarDates(); }
    void ExportRecurringDates() { m_pageCommands->ExportRecurringDates(); }
    void ZoomIn();
    void ZoomOut();
    void ToggleHints();
    void ShowHelpContents();
    void ShowHelpTopic(int topic);
    void ShowAbout();
    // How the properties dialog is shown (exec() by default); tests answer it.
    using PropertiesDialogRunner = PageCommands::DialogRunner;
    void SetPropertiesDialogRunner(PropertiesDialogRunner runner)
    {
        m_pageCommands->SetDialogRunner(std::move(runner));
    }

    // --- printing and export (see PrintCommands) -------------------------------------------
    void PrintSetup() { m_prints->PrintSetup(); }
    void PrintCalendar() { m_prints->PrintCalendar(); }
    void PrintPreview() { m_prints->PrintPreview(); }
    void ExportPage() { m_prints->ExportPage(); }
    bool ExportPageFile(const QString &path, const QString &format, int dotsPerInch, QString *error)
    {
        return m_prints->ExportPageFile(path, format, dotsPerInch, error);
    }
    bool PrinterReady() { return m_prints->PrinterReady(); }
    bool CheckPrinterMargins() { return m_prints->CheckPrinterMargins(); }
    bool PrinterAvailable() const { return m_prints->PrinterAvailable(); }
    bool PrintDone() const { return m_prints->PrintDone(); }
    int CopiesToPrint() const { return m_prints->CopiesToPrint(); }
    QPrinter &Printer() { return m_prints->Printer(); }
    PrintServices &PrintHooks() { return m_prints->Hooks(); }
    // Commits the note being edited into its cell and hides the editor.
    void DoSaveRichtext() { m_notes->Commit(); }
    // Asks "Save changes?" when modified; false when the question was
    // dismissed (Escape, closed) or a wanted save failed or was cancelled
    // (the command that asked should then stop).
    bool CheckSaveNeeded() { return m_files->CheckSaveNeeded(); }
    // Brings the window to the front (restoring it when minimised) and opens
    // the file another start handed over, once no modal dialog is open.
    void ActivateFromOtherInstance(const QStringList &files);
    // The handed-over file still waiting for a modal dialog to close.
    const QString &HandedOverFile() const { return m_files->HandedOverFile(); }
    // The autosave step, run every RecoveryStore::IntervalMs() once the
    // window has started: while the design has unsaved changes (a note open
    // in the editor included) a recovery copy is written, otherwise removed.
    void Autosave() { m_files->Autosave(); }

    // --- state ------------------------------------------------------------------------
    const QString &CurrentFileName() const { return m_currentFileName; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    bool EditingNote() const { return m_notes->Editing(); }
    int CurrentCell() const { return m_notes->CurrentCell(); }
    TCalendarPanel32 *CalendarPanel() const { return m_page; }
    NoteEditor *NoteEditorWidget() const { return m_editor; }
    FormattingBar *FormatBar() const { return m_formatBar; }
    const Preferences &Prefs() const { return m_preferences; }
    TMRUFileList *RecentFiles() const { return m_recentFiles; }
    QUndoStack &UndoStack() const;
    bool NewCalendarPending() const { return m_pageCommands->NewCalendarPending(); }
    bool PropertiesAccepted() const { return m_pageCommands->PropertiesAccepted(); }
    QString SettingsFileName() const;
    QString RecurringDatesFileName() const;

    void SetCaption();
    void SetButtons();

    // --- the icon tool (see IconToolControl) ----------------------------------------------
    TFloatingPalette *IconTool() const { return m_iconControl->Palette(); }
    bool IconToolVisible() const { return m_iconControl->Visible(); }
    void ShowHideIconTool() { m_iconControl->ShowHide(); }
    void CheckFloaterStatus() { m_iconControl->CheckStatus(); }
    void HideIconToolForDialog() { m_iconControl->HideForDialog(); }
    void RestoreIconToolAfterDialog() { m_iconControl->RestoreAfterDialog(); }
    bool AcceptsIconAt(const QPoint &point) const { return m_iconControl->AcceptsIconAt(point); }
    bool DropIconOnPage(const QImage &icon, const QPoint &point)
    {
        return m_iconControl->DropIconOnPage(icon, point);
    }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The parts that carry out the menus' commands use the window's state.
    friend class FileCommands;
    friend class PageCommands;
    friend class PrintCommands;

    void WireMenus();
    void BuildToolPanel();
    // The Tools menu's item of a tool, after its button's.
    void AddToolItem(TLPanelState tool, const QString &name, const QString &caption);
    void AddIconToolItem();
    // Tab and Shift+Tab go round the formatting bar, the tool panel and the
    // page.
    void ChainTabOrder();
    // The keys of the open note that leave it: Escape back to the page,
    // Ctrl+Tab to the formatting bar.
    bool HandleNoteKey(const QKeyEvent &key);
    // After a modal dialog the keyboard goes back to the page: the open note,
    // else the selection, else the page itself.
    void FocusPage();
    void BuildPageArea();
    // A button of the tool panel showing `glyph` (none: the caption).
    QToolButton *AddToolButton(const QString &name, const QString &caption, const QString &hint,
                               const QString &glyph);
    void ColourSaveAndCancel();
    void ChooseTool(TLPanelState state);
    void OnUndoIndexChanged();
    void UpdateUndoActions();
    void ShowPage(bool shown);
    void LoadPreferences();
    void SavePreferences();
    void RestorePlacement();
    void SavePlacement();
    QString DialogFolder() const;
    bool HasDayCells() const;

    // Parts and widgets.
    PageView *m_view = nullptr;
    CellNoteEditing *m_notes = nullptr;
    MainMenus *m_menus = nullptr;
    FileCommands *m_files = nullptr;
    PageCommands *m_pageCommands = nullptr;
    PrintCommands *m_prints = nullptr;
    IconToolControl *m_iconControl = nullptr;
    FormattingBar *m_formatBar = nullptr;
    QWidget *m_toolPanel = nullptr;
    TCalendarPanel32 *m_page = nullptr;
    NoteEditor *m_editor = nullptr;
    TMRUFileList *m_recentFiles = nullptr;

    // Buttons whose state SetButtons keeps.
    QToolButton *m_printButton = nullptr;
    QToolButton *m_propertiesButton = nullptr;
    QToolButton *m_zoomPlusButton = nullptr;
    QToolButton *m_zoomMinusButton = nullptr;
    QToolButton *m_pointerButton = nullptr;
    // One button per object kind with a tool, in the order of the tools.
    QList<std::pair<TLPanelState, QToolButton *>> m_kindButtons;
    // The Tools menu's items of the pointer and of each button's tool.
    QList<std::pair<TLPanelState, QAction *>> m_toolItems;
    QActionGroup *m_toolGroup = nullptr;
    QAction *m_iconToolItem = nullptr;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_cancelButton = nullptr;

    // Document state.
    QString m_currentFileName;
    bool m_modified = false;
    bool m_firstActivation = true;
    bool m_showHints = true;
    bool m_pageShown = false;
    Preferences m_preferences;

    IniFile m_settings;
};

} // namespace Dayloom
