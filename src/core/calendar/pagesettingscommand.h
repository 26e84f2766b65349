#pragma once

#include "core/calendar/calendarpage.h"
#include "core/calendar/cellnotescommand.h"

#include <QUndoCommand>

namespace Dayloom {

// An undoable change of the page's settings (the properties dialog's OK),
// together with the day-cell notes that change cleared. Holds both sets of
// settings and notes; redo and undo put one of them back into the page.
class PageSettingsCommand : public QUndoCommand
{
public:
    using Notes = CellNotesCommand::Notes;

    PageSettingsCommand(CalendarPage &page, CalendarSettings before, CalendarSettings after,
                        Notes notesBefore, Notes notesAfter, const QString &text,
                        QUndoCommand *parent = nullptr);

    // Whether pushing the command would change anything.
    bool Changes() const { return m_before != m_after || m_notesBefore != m_notesAfter; }

    void undo() override { Apply(m_before, m_notesBefore); }
    void redo() override { Apply(m_after, m_notesAfter); }

private:
    void Apply(const CalendarSettings &settings, const Notes &notes);

    CalendarPage &m_page;
    CalendarSettings m_before;
    CalendarSettings m_after;
    Notes m_notesBefore;
    Notes m_notesAfter;
};

} // namespace Dayloom
