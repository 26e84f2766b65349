#include "core/calendar/pagesettingscommand.h"

namespace Dayloom {

PageSettingsCommand::PageSettingsCommand(CalendarPage &page, CalendarSettings before,
                                         CalendarSettings after, Notes notesBefore,
                                         Notes notesAfter, const QString &text,
                                         QUndoCommand *parent)
    : QUndoCommand(text, parent), m_page(page), m_before(std::move(before)),
      m_after(std::move(after)), m_notesBefore(std::move(notesBefore)),
      m_notesAfter(std::move(notesAfter))
{
}

void PageSettingsCommand::Apply(const CalendarSettings &settings, const Notes &notes)
{
    // The first redo runs when the command is pushed, with the page already
    // changed: reloading the border picture then would only cost time.
    if (!(m_page.Settings() == settings))
        m_page.SetSettings(settings);
    CellNotesCommand::ApplyNotes(m_page, notes);
}

} // namespace Dayloom
