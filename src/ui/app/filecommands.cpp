#include "ui/app/filecommands.h"

#include "core/app/tmrufilelist.h"
#include "core/calendar/cellnotescommand.h"
#include "core/formats/calendarfile.h"
#include "core/surface/pagedocument.h"
#include "ui/app/cellnoteediting.h"
#include "ui/app/pagecommands.h"
#include "ui/app/tcalendarmain.h"
#include "ui/app/uihelpers.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>

namespace Dayloom {

FileCommands::FileCommands(TCalendarMain &window)
    : QObject(&window), m_window(window), m_recentFiles(new TMRUFileList(this))
{
    m_recentFiles->SetMaximum(5);
    // The clicked entry goes only once its open goes ahead: a "Save
    // changes?" that stops the command keeps it.
    m_recentFiles->SetRemoveOnClick(false);
    m_recentFiles->SetAutoSaveKey(QStringLiteral("MRU"));
    connect(m_recentFiles, &TMRUFileList::itemClicked, this, &FileCommands::OpenRecentFile);
    m_handOverTimer.setInterval(200);
    m_handOverTimer.setSingleShot(true);
    connect(&m_handOverTimer, &QTimer::timeout, this, &FileCommands::OpenWaitingFile);
}

// --- the design's file ----------------------------------------------------------------------

void FileCommands::New()
{
    if (!CheckSaveNeeded())
        return;
    ShowBusyCursor();
    m_window.DoSaveRichtext();
    RestoreCursor();
    if (!m_window.m_pageCommands->RunProperties(true))
        return;
    TCalendarPanel32 *panel = m_window.CalendarPanel();
    m_window.m_currentFileName.clear();
    panel->Page().ClearCellNotes();
    panel->ClearObjects();
    m_window.ShowPage(true);
    m_window.CheckFloaterStatus();
    QUndoStack &stack = m_window.UndoStack();
    stack.clear();
    stack.resetClean(); // a new design is unsaved even before its first change
    m_window.SetModified(true);
    m_window.SetButtons();
    m_window.SetCaption();
    panel->update();
}

void FileCommands::Open()
{
    m_window.DoSaveRichtext();
    if (!CheckSaveNeeded())
        return;
    const QString path = QFileDialog::getOpenFileName(
        &m_window, QStringLiteral("Open Calendar File"), m_window.DialogFolder(),
        QStringLiteral("Calendar File (*.DLF *.dlf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().toUpper() != QLatin1String("DLF")) {
        ShowInformation(&m_window, QStringLiteral("Must be a Calendar file (*.DLF)"));
        return;
    }
    OpenCalendarFile(path);
}

bool FileCommands::OpenCalendarFile(const QString &fileName)
{
    // A copy: the caller may pass a name that changes below.
    const QString path = fileName;
    m_window.DoSaveRichtext();
    if (!QFileInfo::exists(path)) {
        ShowInformation(&m_window, QStringLiteral("File %1 no longer exists").arg(path));
        return false;
    }
    TCalendarPanel32 *panel = m_window.CalendarPanel();
    PageDocument &document = panel->Document();
    panel->SetPaintSuspended(true);
    // Clearing the undo steps while the file is read leaves the modified
    // state alone.
    const bool wasFirstActivation = m_window.m_firstActivation;
    m_window.m_firstActivation = true;
    ShowBusyCursor();
    panel->SetChangeEventsSuspended(true);
    QString error;
    bool replaced = false;
    const bool opened = document.Open(path, &error, &replaced);
    panel->HookObjects();
    RestoreCursor();
    m_window.m_firstActivation = wasFirstActivation;
    // A file that could not be read leaves the design that was open as it
    // was: its name, its changes and its undo steps.
    if (replaced) {
        // The changes the copy held were given up for this file.
        RemoveRecoveryCopy();
        ShowOpenedDesign(QFileInfo(path).absoluteFilePath(), false);
        RememberRecentFile();
    }
    ShowAfterOpening(error);
    if (replaced)
        ReportUnreadObjects();
    if (replaced && !document.PicturesLeftOut().isEmpty())
        ShowInformation(&m_window, PicturesLeftOutMessage(document.PicturesLeftOut()));
    return opened;
}

void FileCommands::ShowAfterOpening(const QString &error)
{
    TCalendarPanel32 *panel = m_window.CalendarPanel();
    m_window.SetButtons();
    m_window.SetCaption();
    panel->SetPaintSuspended(false);
    panel->SetChangeEventsSuspended(false);
    panel->update();
    if (!error.isEmpty())
        ShowInformation(&m_window, error);
}

void FileCommands::ShowOpenedDesign(const QString &fileName, bool modified)
{
    m_window.m_currentFileName = fileName;
    m_window.ShowPage(true);
    m_window.CheckFloaterStatus();
    QUndoStack &stack = m_window.UndoStack();
    stack.clear();
    // A restored copy differs from its file, and no undo brings the file back.
    if (modified)
        stack.resetClean();
    else
        stack.setClean();
    m_window.SetModified(modified);
}

void FileCommands::ReportUnreadObjects()
{
    const int unread = m_window.CalendarPanel()->Document().UnreadObjects();
    if (unread == 0)
        return;
    ShowInformation(&m_window, UnreadObjectsMessage(unread));
    // The design differs from its file, and undoing cannot bring it back.
    m_window.UndoStack().resetClean();
    m_window.SetModified(true);
}

void FileCommands::Save()
{
    if (m_window.CurrentFileName().isEmpty())
        SaveAs();
    else
        SaveToCurrentFile();
}

bool FileCommands::SaveToCurrentFile()
{
    const QString &path = m_window.CurrentFileName();
    const PageDocument &document = m_window.CalendarPanel()->Document();
    if (document.SavingDropsUnreadObjects(path)) {
        switch (AskYesNoOrCancel(&m_window,
                                 ReplaceIncompleteFileQuestion(path, document.UnreadObjects()),
                                 QStringLiteral("Save"))) {
        case YesNoAnswer::Yes:
            break;
        case YesNoAnswer::No:
            SaveAs();
            return !m_window.Modified();
        case YesNoAnswer::Cancel:
            return false;
        }
    }
    return SaveCalendarFile(path);
}

void FileCommands::SaveAs()
{
    m_window.DoSaveRichtext();
    const CalendarPage &page = m_window.CalendarPanel()->Page();
    const QString &current = m_window.CurrentFileName();
    const QString proposed = current.isEmpty()
                                 ? page.MonthName(page.MainCalMonth()).left(3) +
                                       QString::number(page.MainCalYear()) + QStringLiteral(".DLF")
                                 : QFileInfo(current).fileName();
    QString path = QFileDialog::getSaveFileName(&m_window, QStringLiteral("Save Calendar File"),
                                                QDir(m_window.DialogFolder()).filePath(proposed),
                                                QStringLiteral("Calendar File (*.DLF *.dlf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".DLF");
    if (SaveCalendarFile(path))
        RememberRecentFile();
    m_window.SetButtons();
}

bool FileCommands::SaveCalendarFile(const QString &path)
{
    m_window.DoSaveRichtext();
    ShowBusyCursor();
    QString error;
    const bool saved = m_window.CalendarPanel()->Document().Save(path, &error);
    RestoreCursor();
    if (!saved) {
        // The old file is untouched and the design stays modified.
        ShowInformation(&m_window, QStringLiteral("Unable to save %1\n%2").arg(path, error));
        return false;
    }
    m_window.m_currentFileName = QFileInfo(path).absoluteFilePath();
    RemoveRecoveryCopy();
    m_window.UndoStack().setClean();
    m_window.SetModified(false);
    m_window.SetButtons();
    m_window.SetCaption();
    return true;
}

void FileCommands::CancelChanges()
{
    m_window.DoSaveRichtext();
    if (!AskYesNo(&m_window, QStringLiteral("Cancel all changes?"), QStringLiteral("CANCEL")))
        return;
    // A file that cannot be opened again keeps the changes.
    if (!m_window.CurrentFileName().isEmpty())
        OpenCalendarFile(m_window.CurrentFileName());
}

bool FileCommands::CheckSaveNeeded()
{
    m_window.DoSaveRichtext();
    if (!m_window.Modified())
        return true;
    // Escape or closing the question keeps the design and stops the command.
    switch (AskYesNoOrCancel(&m_window, QStringLiteral("Save changes?"), QStringLiteral("Save"))) {
    case YesNoAnswer::Yes:
        break;
    case YesNoAnswer::No:
        return true;
    case YesNoAnswer::Cancel:
        return false;
    }
    if (m_window.CurrentFileName().isEmpty())
        SaveAs();
    else
        SaveToCurrentFile();
    // A save that failed or was cancelled keeps the changes: stop here.
    return !m_window.Modified();
}

// --- recent files and hand-overs ------------------------------------------------------------

void FileCommands::RememberRecentFile()
{
    m_recentFiles->Add(m_window.CurrentFileName());
    m_recentFiles->Store(m_window.m_settings);
    m_window.m_settings.Save();
}

void FileCommands::OpenRecentFile(const QString &path)
{
    m_window.DoSaveRichtext();
    if (!CheckSaveNeeded())
        return;
    m_recentFiles->Remove(path); // back at the top when the open succeeds
    OpenCalendarFile(path);
}

void FileCommands::OpenHandedOverFile(const QString &path)
{
    // A dialog's result belongs to the document it was opened for: the file
    // waits until no modal dialog is open.
    m_handedOverFile = path;
    OpenWaitingFile();
}

void FileCommands::OpenWaitingFile()
{
    if (m_handedOverFile.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        m_handOverTimer.start();
        return;
    }
    const QString path = m_handedOverFile;
    m_handedOverFile.clear();
    m_window.DoSaveRichtext();
    if (CheckSaveNeeded())
        OpenCalendarFile(path);
}

// --- autosave and crash recovery ------------------------------------------------------------

void FileCommands::StartAutosave()
{
    m_recovery = std::make_unique<RecoveryStore>(RecoveryStore::DefaultFolder());
    OfferRecovery();
    m_autosaveTimer.setInterval(RecoveryStore::IntervalMs());
    connect(&m_autosaveTimer, &QTimer::timeout, this, &FileCommands::Autosave,
            Qt::UniqueConnection);
    m_autosaveTimer.start();
}

void FileCommands::RemoveRecoveryCopy()
{
    if (m_recovery)
        m_recovery->Remove();
}

void FileCommands::OfferRecovery()
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
            ShowInformation(&m_window,
                            QStringLiteral("The unsaved changes of %1 cannot be restored: "
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
        switch (AskYesNoOrCancel(&m_window, question, QStringLiteral("Dayloom"))) {
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

bool FileCommands::RestoreRecoveryCopy(const RecoveryStore::Copy &copy)
{
    m_window.DoSaveRichtext();
    TCalendarPanel32 *panel = m_window.CalendarPanel();
    panel->SetPaintSuspended(true);
    panel->SetChangeEventsSuspended(true);
    QString error;
    bool replaced = false;
    panel->Document().Open(copy.designPath, &error, &replaced);
    panel->HookObjects();
    if (replaced) {
        panel->Document().KeepUnreadObjects(copy.unreadObjects, copy.originalPath);
        // Save writes to the design's own file, which is still as it was.
        ShowOpenedDesign(copy.originalPath, true);
    }
    ShowAfterOpening(error);
    if (!replaced)
        return false;
    Autosave(); // a copy of its own before the old one goes
    return true;
}

void FileCommands::Autosave()
{
    if (!m_recovery)
        return;
    if (!m_window.Modified()) {
        m_recovery->Remove();
        return;
    }
    const CalendarPage &page = m_window.CalendarPanel()->Page();
    RecoveryStore::CellNotes notes = CellNotesCommand::NotesOf(page);
    const CellNoteEditing &noteEditing = *m_window.m_notes;
    if (const std::optional<TWPRtfStorage> open = noteEditing.ChangedNote())
        notes[std::size_t(noteEditing.EditedCell() - 1)] = *open;
    const PageDocument &document = m_window.CalendarPanel()->Document();
    const QString &path = m_window.CurrentFileName();
    const int unread = document.SavingDropsUnreadObjects(path) ? document.UnreadObjects() : 0;
    QString error;
    if (!m_recovery->Write(page, notes, document.PersistentObjects(), path,
                           QDateTime::currentDateTimeUtc(), &error, unread))
        qWarning("Dayloom: cannot write the recovery copy: %s", qPrintable(error));
}

} // namespace Dayloom
