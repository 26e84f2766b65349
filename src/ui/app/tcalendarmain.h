#pragma once

#include "core/app/preferences.h"
#include "core/app/recoverystore.h"
#include "core/calendar/calendarpage.h"
#include "core/io/inifile.h"
#include "ui/print/printservices.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QAction;
class QMenu;
class QMimeData;
class QPrinter;
class QScrollArea;
class QToolButton;
class QUndoStack;

namespace Dayloom {

class FormattingBar;
class HelpWindow;
class NoteEditor;
class PrintEngine;
class TCalendarPanel32;
class TCalendarProperties;
class TFloatingPalette;
class TMRUFileList;

// The main window: the formatting bar, the tool panel, the calendar page in
// a scroll area, the note editor laid over the chosen day cell, the menus,
// and the flow of every command (files, zoom, notes, undo, preferences).
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
    void New();
    // The "Calendar Properties" dialog on the page's settings. OK copies
    // them back as one undo step (clearing the notes when the layout family,
    // or with day cells the month or year, changed).
    void Properties();
    void Open();
    bool OpenCalendarFile(const QString &fileName);
    void Save();
    void SaveAs();
    bool SaveCalendarFile(const QString &path);
    void CancelChanges();
    void ClearAllCellContents();
    void EditUserTitle();
    void ChooseDefaultEditorFont();
    void FillWithRecurringDates();
    void EditRecurringDatesList();
    void ZoomIn();
    void ZoomOut();
    void ToggleHints();
    void ShowHelpContents();
    void ShowHelpTopic(int topic);
    void ShowAbout();
    // How the properties dialog is shown (exec() by default); tests answer it.
    using PropertiesDialogRunner = std::function<int(TCalendarProperties &)>;
    void SetPropertiesDialogRunner(PropertiesDialogRunner runner)
    {
        m_runPropertiesDialog = std::move(runner);
    }

    // --- printing and export -----------------------------------------------------------
    // Print Setup: the printer dialog; its choices stay with the printer.
    void PrintSetup();
    // Print Calendar: printer dialog, margin check, copies, the job, and the
    // message that it was sent (or why it failed).
    void PrintCalendar();
    // The page as it would print, in a preview window.
    void PrintPreview();
    // File > Export...: the page as a PDF, SVG or PNG file.
    void ExportPage();
    // Writes the page to `path` as "pdf", "svg" or "png" (at `dotsPerInch`).
    bool ExportPageFile(const QString &path, const QString &format, int dotsPerInch,
                        QString *error);
    // True when a printer is installed and one is the default; otherwise says
    // why printing is unavailable.
    bool PrinterReady();
    // Asks whether to print anyway when a page margin lies in the printer's
    // unprintable area; true when printing may go on.
    bool CheckPrinterMargins();
    bool PrinterAvailable() const { return m_printerAvailable; }
    bool PrintDone() const { return m_printDone; }
    int CopiesToPrint() const { return m_copiesToPrint; }
    // The printer every print command uses, with the choices made so far.
    QPrinter &Printer();
    // How the print commands reach the system and the user (replaced by tests
    // before Start()).
    PrintServices &PrintHooks() { return m_printServices; }
    // Commits the note being edited into its cell and hides the editor.
    void DoSaveRichtext();
    // Asks "Save changes?" when modified; false when the question was
    // dismissed (Escape, closed) or a wanted save failed or was cancelled
    // (the command that asked should then stop).
    bool CheckSaveNeeded();
    // Brings the window to the front (restoring it when minimised) and opens
    // the file another start handed over, once no modal dialog is open.
    void ActivateFromOtherInstance(const QStringList &files);
    // The handed-over file still waiting for a modal dialog to close.
    const QString &HandedOverFile() const { return m_handedOverFile; }
    // The autosave step, run every RecoveryStore::IntervalMs() once the
    // window has started: while the design has unsaved changes (a note open
    // in the editor included) a recovery copy is written, otherwise removed.
    void Autosave();

    // --- state ------------------------------------------------------------------------
    const QString &CurrentFileName() const { return m_currentFileName; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    bool EditingNote() const { return m_editingNote; }
    int CurrentCell() const { return m_currentCell; }
    TCalendarPanel32 *CalendarPanel() const { return m_page; }
    NoteEditor *NoteEditorWidget() const { return m_editor; }
    FormattingBar *FormatBar() const { return m_formatBar; }
    const Preferences &Prefs() const { return m_preferences; }
    TMRUFileList *RecentFiles() const { return m_recentFiles; }
    QUndoStack &UndoStack() const;
    bool NewCalendarPending() const { return m_newCalendarPending; }
    bool PropertiesAccepted() const { return m_propertiesAccepted; }
    QString SettingsFileName() const;
    QString RecurringDatesFileName() const;

    void SetCaption();
    void SetButtons();

    // --- the icon tool -------------------------------------------------------------------
    TFloatingPalette *IconTool() const { return m_iconTool; }
    // The icon tool is to be shown whenever the page has day cells.
    bool IconToolVisible() const { return m_iconToolVisible; }
    // The "Show Icon Tool" / "Hide Icon Tool" button.
    void ShowHideIconTool();
    // Hides the icon tool while the page has no day cells; shows it again
    // when it is to be visible.
    void CheckFloaterStatus();
    // Around a modal dialog: the icon tool stays above every window, so it
    // goes out of the way first and comes back (when the page still has
    // day cells) afterwards.
    void HideIconToolForDialog();
    void RestoreIconToolAfterDialog();
    // Whether an icon dragged over the page at `point` (page pixels) can be
    // dropped there: only inside a day cell.
    bool AcceptsIconAt(const QPoint &point) const;
    // Drops an icon on the day cell at `point`: its note opens in the editor
    // with the icon inserted. False (nothing changes) outside every cell.
    bool DropIconOnPage(const QImage &icon, const QPoint &point);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void OpenHandedOverFile();
    // After start-up: offers the copies left by a program that ended without
    // closing, then starts the autosave timer.
    void StartAutosave();
    void OfferRecovery();
    // Opens the copy as the design it stands for: its file name, modified.
    bool RestoreRecoveryCopy(const RecoveryStore::Copy &copy);
    // Shows the design just read as the one of `fileName`, with no undo steps.
    void ShowOpenedDesign(const QString &fileName, bool modified);
    // After an open: says how many objects of the file could not be read,
    // and marks the design modified, as it differs from its file.
    void ReportUnreadObjects();
    // Save to the current file; one that holds objects the design could not
    // read is replaced only after asking (No saves under another name).
    // False when nothing was saved.
    bool SaveToCurrentFile();
    // Runs the properties dialog (for File New when m_newCalendarPending);
    // true when it ended with OK.
    bool RunProperties();
    void ApplyProperties(const CalendarPage &preview);
    void GiveFocusBack();
    void BuildMenus();
    void BuildToolPanel();
    void BuildPageArea();
    // A button of the tool panel showing `glyph` (none: the caption).
    QToolButton *AddToolButton(const QString &name, const QString &caption, const QString &hint,
                               const QString &glyph);
    void ColourSaveAndCancel();
    void ChooseTool(TLPanelState state);
    void OnCellClicked(const CellEvent &event);
    void OnUndoIndexChanged();
    void UpdateUndoActions();
    // The open note as the editor holds it, when it differs from its cell's
    // stored note; empty when no note is open or it is unchanged.
    std::optional<TWPRtfStorage> ChangedOpenNote() const;
    void RebuildRecentFilesMenu();
    void ShowPage(bool shown);
    void FitPageArea();
    void LoadPreferences();
    void SavePreferences();
    void RestorePlacement();
    void SavePlacement();
    QString DialogFolder() const;
    bool HasDayCells() const;
    // The print job's page handler: every copy of the page, a new sheet
    // between copies; false when drawing failed.
    bool ReportPrinter1Print(PrintEngine &engine);
    // Runs `draw` with the note committed, painting suspended and the page at
    // zoom 1; puts the zoom back afterwards.
    void WithPageReadyToPrint(const std::function<void()> &draw);
    void SetPrintOrientation(QPrinter &printer) const;
    // True when an object of the design is of a kind that keeps printers
    // busy (ObjectKind::printsSlowly).
    bool HasSlowlyPrintedObjects() const;
    // The icon tool's parts of the window (see the icon tool section).
    void BuildIconTool();
    void StartIconTool();
    void CloseIconTool();
    void SetIconToolButtons();
    void TakeIconToolPreferences();
    // Drags of icons over the page; true when the event was one of them.
    bool IconDragEvent(QEvent *event);

    // Widgets.
    FormattingBar *m_formatBar = nullptr;
    QWidget *m_toolPanel = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    QWidget *m_pageArea = nullptr;
    TCalendarPanel32 *m_page = nullptr;
    NoteEditor *m_editor = nullptr;
    QPointer<HelpWindow> m_helpWindow;
    TMRUFileList *m_recentFiles = nullptr;

    // Menu items and buttons whose state SetButtons keeps.
    QMenu *m_fileMenu = nullptr;
    QAction *m_recentSeparator = nullptr;
    QList<QAction *> m_recentActions;
    QAction *m_mnuSave = nullptr;
    QAction *m_mnuSaveAs = nullptr;
    QAction *m_mnuProperties = nullptr;
    QAction *m_mnuUserTitle = nullptr;
    QAction *m_mnuCancelChanges = nullptr;
    QAction *m_mnuClearAllCellContents = nullptr;
    QAction *m_mnuFillCalendar = nullptr;
    QAction *m_mnuShowHint = nullptr;
    QAction *m_mnuPrintPreview = nullptr;
    QAction *m_mnuExport = nullptr;
    QAction *m_mnuPrintCalendar = nullptr;
    QAction *m_mnuPrintSetup = nullptr;
    QAction *m_mnuZoomIn = nullptr;
    QAction *m_mnuZoomOut = nullptr;
    QToolButton *m_printButton = nullptr;
    QToolButton *m_propertiesButton = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QToolButton *m_zoomPlusButton = nullptr;
    QToolButton *m_zoomMinusButton = nullptr;
    QToolButton *m_pointerButton = nullptr;
    // One button per object kind with a tool, in the order of the tools.
    QList<std::pair<TLPanelState, QToolButton *>> m_kindButtons;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_cancelButton = nullptr;

    // Document state.
    QString m_currentFileName;
    bool m_modified = false;
    bool m_editingNote = false;
    int m_currentCell = 0;
    int m_editedCell = 0; // the cell whose note the editor holds
    bool m_trackNoteChanges = false;
    bool m_firstActivation = true;
    bool m_zoomBusy = false;
    bool m_newCalendarPending = false;
    bool m_propertiesAccepted = false;
    bool m_showHints = true;
    bool m_pageShown = false;
    QString m_handedOverFile;
    QTimer m_handOverTimer; // polls for the end of a modal dialog
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer m_autosaveTimer;
    Preferences m_preferences;
    PropertiesDialogRunner m_runPropertiesDialog;

    // Printing.
    PrintServices m_printServices = PrintServices::System();
    std::unique_ptr<QPrinter> m_printer;
    bool m_printerAvailable = false;
    bool m_printDone = false;
    int m_copiesToPrint = 1;
    int m_exportDotsPerInch = 150;
    IniFile m_settings;

    // The icon tool.
    TFloatingPalette *m_iconTool = nullptr;
    QToolButton *m_showHideIconTool = nullptr;
    bool m_iconToolVisible = true;
};

} // namespace Dayloom
