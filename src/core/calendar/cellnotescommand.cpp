#include "core/calendar/cellnotescommand.h"

namespace Dayloom {

CellNotesCommand::CellNotesCommand(CalendarPage &page, Notes before, Notes after,
                                   const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent), m_page(page), m_before(std::move(before)),
      m_after(std::move(after))
{
}

CellNotesCommand::Notes CellNotesCommand::NotesOf(const CalendarPage &page)
{
    Notes notes;
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        notes[cell - 1] = page.CellNote(cell);
    return notes;
}

void CellNotesCommand::ApplyNotes(CalendarPage &page, const Notes &notes)
{
    // One repaint for the whole set rather than one per cell.
    const bool blocked = page.blockSignals(true);
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        if (!(page.CellNote(cell) == notes[cell - 1]))
            page.SetCellNote(cell, notes[cell - 1]);
    page.blockSignals(blocked);
    Q_EMIT page.changed();
}

UserTitleCommand::UserTitleCommand(CalendarPage &page, const QString &title, QUndoCommand *parent)
    : QUndoCommand(QStringLiteral("User Defined Title"), parent), m_page(page),
      m_before(page.UserTitle()), m_after(title)
{
}

} // namespace Dayloom
