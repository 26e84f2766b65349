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
#include "ui/image/loadimagefromdisk.h"
#include "ui/print/printservices.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QPrinter;
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
class TGImage;
class TMRUFileList;

// The main window: the formatting bar, the tool panel, the page
// (PageView: the calendar page in a scroll area, the note editor laid over
// the chosen day cell), the menus (MainMenus), and the wiring of every
// command. The commands live with their parts: FileCommands (files,
// recovery copies), PageCommands (the page's dialogs), IconToolControl; the
// edits of the page are operations of its PageDocument, one undo step each.
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
    void ZoomIn();
    void ZoomOut();
    void ToggleHints();
    void ShowHelpContents();
    void ShowHelpTopic(int topic);
    void ShowAbout();
    // "Load Image From Disk" of a clip-art object on the page (the image
    // browser), remembering the browser's folder.
    void LoadImageFromDisk(TGImage *image);
    // How the properties dialog is shown (exec() by default); tests answer it.
    using PropertiesDialogRunner = PageCommands::DialogRunner;
    void SetPropertiesDialogRunner(PropertiesDialogRunner runner)
    {
        m_pageCommands->SetDialogRunner(std::move(runner));
    }
    // Tests replace the browser's run and the error box.
    void SetImageLoadServices(const ImageLoadServices &services) { m_imageServices = services; }

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

    void WireMenus();
    void BuildToolPanel();
    void BuildPageArea();
    // The tool button of a state: "DrawLabelButton", "DrawImageButton",
    // "DrawRichText", "DrawSuperText", "PSpeedButton1".
    static QString ToolButtonName(TLPanelState tool);
    // The glyph of a tool's button (see ButtonGlyph).
    static QString ToolGlyphName(TLPanelState tool);
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
    // The print job's page handler: every copy of the page, a new sheet
    // between copies; false when drawing failed.
    bool ReportPrinter1Print(PrintEngine &engine);
    // Runs `draw` with the note committed, painting suspended and the page at
    // zoom 1; puts the zoom back afterwards.
    void WithPageReadyToPrint(const std::function<void()> &draw);
    void SetPrintOrientation(QPrinter &printer) const;
    bool HasSuperText() const;

    // Parts and widgets.
    PageView *m_view = nullptr;
    CellNoteEditing *m_notes = nullptr;
    MainMenus *m_menus = nullptr;
    FileCommands *m_files = nullptr;
    PageCommands *m_pageCommands = nullptr;
    IconToolControl *m_iconControl = nullptr;
    FormattingBar *m_formatBar = nullptr;
    QWidget *m_toolPanel = nullptr;
    TCalendarPanel32 *m_page = nullptr;
    NoteEditor *m_editor = nullptr;
    QPointer<HelpWindow> m_helpWindow;
    TMRUFileList *m_recentFiles = nullptr;

    // Buttons whose state SetButtons keeps.
    QToolButton *m_printButton = nullptr;
    QToolButton *m_propertiesButton = nullptr;
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
    bool m_firstActivation = true;
    bool m_showHints = true;
    bool m_pageShown = false;
    Preferences m_preferences;
    ImageLoadServices m_imageServices = ImageLoadServices::standard();

    // Printing.
    PrintServices m_printServices = PrintServices::System();
    std::unique_ptr<QPrinter> m_printer;
    bool m_printerAvailable = false;
    bool m_printDone = false;
    int m_copiesToPrint = 1;
    int m_exportDotsPerInch = 150;
    IniFile m_settings;
};

} // namespace Dayloom
