#pragma once

#include "core/app/recoverystore.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace Dayloom {

class TCalendarMain;
class TMRUFileList;

// The main window's commands on the design's file: New, Open, Save, Save
// As, Cancel Changes, the recent files, the file another start hands over,
// "Save changes?" before a command replaces the design, and the recovery
// copies of unsaved changes (autosave, and the offer to restore the copies
// a program left that ended without closing).
class FileCommands : public QObject
{
    Q_OBJECT

public:
    explicit FileCommands(TCalendarMain &window);

    // The properties dialog starting from the default style; on OK a fresh,
    // unnamed, modified design with no notes, no objects and no undo steps.
    void New();
    void Open();
    // Opens a calendar file; false when it could not be read (the design
    // that was open stays) or an object of it could not be placed.
    bool OpenCalendarFile(const QString &fileName);
    // Saves to the design's file; a design without one goes through Save As.
    void Save();
    void SaveAs();
    bool SaveCalendarFile(const QString &path);
    // Reopens the design's file after asking.
    void CancelChanges();
    // Asks "Save changes?" when modified; false when the question was
    // dismissed or a wanted save failed or was cancelled.
    bool CheckSaveNeeded();
    // The five files opened or saved last, first the latest ("MRU" in the
    // settings file).
    TMRUFileList *RecentFiles() const { return m_recentFiles; }

    // Opens the file another start handed over once no modal dialog is
    // open (the latest hand-over wins).
    void OpenHandedOverFile(const QString &path);
    const QString &HandedOverFile() const { return m_handedOverFile; }

    // After start-up: offers the copies left by a program that ended without
    // closing, then writes a copy every RecoveryStore::IntervalMs().
    void StartAutosave();
    // While the design has unsaved changes (a note open in the editor
    // included) a recovery copy is written, otherwise removed.
    void Autosave();
    // The design's changes were saved or given up: its copy goes.
    void RemoveRecoveryCopy();

private:
    void OpenWaitingFile();
    void OfferRecovery();
    // Opens the copy as the design it stands for: its file name, modified.
    bool RestoreRecoveryCopy(const RecoveryStore::Copy &copy);
    // After reading a design (whether or not it replaced the page): painting
    // and change events on again, and the reason it failed.
    void ShowAfterOpening(const QString &error);
    // Shows the design just read as the one of `fileName`, with no undo steps.
    void ShowOpenedDesign(const QString &fileName, bool modified);
    // After an open: says how many objects of the file could not be read,
    // and marks the design modified, as it differs from its file.
    void ReportUnreadObjects();
    // Save to the current file; one that holds objects the design could not
    // read is replaced only after asking (No saves under another name).
    // False when nothing was saved.
    bool SaveToCurrentFile();
    // Puts the design's file at the top of the recent files.
    void RememberRecentFile();
    // The entry of the recent files that was clicked.
    void OpenRecentFile(const QString &path);

    TCalendarMain &m_window;
    TMRUFileList *m_recentFiles;
    QString m_handedOverFile;
    QTimer m_handOverTimer; // polls for the end of a modal dialog
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer m_autosaveTimer;
};

} // namespace Dayloom
