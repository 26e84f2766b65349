#include "core/surface/objectstatecommand.h"

namespace Dayloom {

ObjectStateCommand::ObjectStateCommand(std::vector<Change> changes, const QString &text)
    : QUndoCommand(text), m_changes(std::move(changes))
{
}

void ObjectStateCommand::redo()
{
    if (m_applied) {
        m_applied = false;
        return;
    }
    for (const Change &change : m_changes)
        change.object->AssignProperties(*change.after);
}

void ObjectStateCommand::undo()
{
    for (const Change &change : m_changes)
        change.object->AssignProperties(*change.before);
}

} // namespace Dayloom
