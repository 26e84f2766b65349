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
    const bool blocked = m_page.blockSignals(true);
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
        if (!(m_page.CellNote(cell) == notes[cell - 1]))
            m_page.SetCellNote(cell, notes[cell - 1]);
    m_page.blockSignals(blocked);
    Q_EMIT m_page.changed();
}

} // namespace Dayloom
