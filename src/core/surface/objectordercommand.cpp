#include "core/surface/objectordercommand.h"

#include "core/surface/pagedocument.h"

namespace Dayloom {

ObjectOrderCommand::ObjectOrderCommand(PageDocument &document,
                                       const QList<TGGraphicControl *> &before,
                                       const QList<TGGraphicControl *> &after, const QString &text)
    : QUndoCommand(text), m_document(document), m_before(before), m_after(after)
{
}

void ObjectOrderCommand::redo()
{
    m_document.SetStackingOrder(m_after);
}

void ObjectOrderCommand::undo()
{
    m_document.SetStackingOrder(m_before);
}

} // namespace Dayloom
