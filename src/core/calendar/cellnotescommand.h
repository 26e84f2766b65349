#pragma once

#include "core/calendar/calendarpage.h"

#include <QUndoCommand>

#include <array>

namespace Dayloom {

// An undoable change of day-cell notes: a committed note edit, clearing all
// cells, a fill from recurring dates. Holds the 42 notes before and after;
// redo and undo put one set back into the page (which repaints).
class CellNotesCommand : public QUndoCommand
{
public:
    using Notes = std::array<TWPRtfStorage, CalendarPage::CellCount>;

    CellNotesCommand(CalendarPage &page, Notes before, Notes after, const QString &text,
                     QUndoCommand *parent = nullptr);

    static Notes NotesOf(const CalendarPage &page);
    // Puts a whole set of notes into the page with one repaint.
    static void ApplyNotes(CalendarPage &page, const Notes &notes);
    bool Changes() const { return m_before != m_after; }

    void undo() override { ApplyNotes(m_page, m_before); }
    void redo() override { ApplyNotes(m_page, m_after); }

private:
    CalendarPage &m_page;
    Notes m_before;
    Notes m_after;
};

// An undoable change of the page's user title.
class UserTitleCommand : public QUndoCommand
{
public:
    UserTitleCommand(CalendarPage &page, const QString &title, QUndoCommand *parent = nullptr);

    void undo() override { m_page.SetUserTitle(m_before); }
    void redo() override { m_page.SetUserTitle(m_after); }

private:
    CalendarPage &m_page;
    QString m_before;
    QString m_after;
};

} // namespace Dayloom
