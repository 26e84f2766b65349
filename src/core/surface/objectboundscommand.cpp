#include "core/surface/objectboundscommand.h"

namespace Dayloom {

ObjectBoundsCommand::ObjectBoundsCommand(QList<Change> changes, const QString &text, int mergeId)
    : QUndoCommand(text), m_changes(std::move(changes)), m_mergeId(mergeId)
{
}

void ObjectBoundsCommand::redo()
{
    for (const Change &change : m_changes)
        change.object->SetBounds(change.after);
}

void ObjectBoundsCommand::undo()
{
    for (const Change &change : m_changes)
        change.object->SetBounds(change.before);
}

bool ObjectBoundsCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ObjectBoundsCommand *>(other);
    if (next->m_changes.size() != m_changes.size())
        return false;
    for (qsizetype i = 0; i < m_changes.size(); ++i) {
        if (next->m_changes[i].object != m_changes[i].object)
            return false;
    }
    for (qsizetype i = 0; i < m_changes.size(); ++i)
        m_changes[i].after = next->m_changes[i].after;
    return true;
}

} // namespace Dayloom
