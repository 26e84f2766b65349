#pragma once

#include "core/richtext/twprtfstorage.h"

#include <QObject>

#include <optional>

class QImage;
class QScrollArea;

namespace Dayloom {

class NoteEditor;
class ObjectOverlay;
class TCalendarPanel32;
struct CellEvent;

// The note editor laid over a day cell of the page: a chosen cell's note
// opens in it, exactly over the cell's note area; Tab and Shift+Tab move to
// the next and previous cells. Commit() puts the note back into its cell as
// one undo step ("Note"), when it changed. Placed objects reaching into the
// open note are drawn over the editor, as they lie over the note on paper.
class CellNoteEditing : public QObject
{
    Q_OBJECT

public:
    // Makes the editor ("WPRichText1", hidden) on `pageArea`, the widget in
    // `scrollBox` that holds `page`.
    CellNoteEditing(TCalendarPanel32 *page, QWidget *pageArea, QScrollArea *scrollBox,
                    QObject *parent);

    NoteEditor *Editor() const { return m_editor; }
    bool Editing() const { return m_editing; }
    // The cell last chosen (its note open while Editing()), 0 for none.
    int CurrentCell() const { return m_currentCell; }
    // The cell whose note the editor holds.
    int EditedCell() const { return m_editedCell; }

    // Opens the note of the chosen cell (committing the open one first).
    void Open(const CellEvent &event);
    // Opens the note of `cell` for typing, the caret after its text.
    void OpenForTyping(int cell);
    // Commits the open note into its cell and hides the editor.
    void Commit();
    // The open note as the editor holds it, when it differs from its cell's
    // stored note; empty when no note is open or it is unchanged.
    std::optional<TWPRtfStorage> ChangedNote() const;
    // Opens the note of `cell` and inserts the picture at its caret; false
    // (nothing inserted) when the cell opened no note.
    bool InsertPicture(int cell, const QImage &picture);
    // Where the open note's caret is, to open it there again after a
    // command that changes notes (Reopen); empty when no note is open.
    struct Position
    {
        int cell = 0;
        int caret = 0;
    };
    std::optional<Position> OpenPosition() const;
    void Reopen(const Position &position);

Q_SIGNALS:
    // The user changed the open note.
    void noteEdited();
    // A note was opened or closed: what Undo takes back changes.
    void editingChanged();

private:
    TCalendarPanel32 *m_page;
    QScrollArea *m_scrollBox;
    NoteEditor *m_editor;
    ObjectOverlay *m_objectsOver; // the objects reaching into the open note
    bool m_editing = false;
    int m_currentCell = 0;
    int m_editedCell = 0;
    bool m_trackChanges = false;
};

} // namespace Dayloom
