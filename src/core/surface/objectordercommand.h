#pragma once

#include "core/objects/tggraphiccontrol.h"

#include <QList>
#include <QUndoCommand>

namespace Dayloom {

class PageDocument;

// A new stacking order of all objects of a page ("Bring To Front",
// "Send To Back").
class ObjectOrderCommand : public QUndoCommand
{
public:
    ObjectOrderCommand(PageDocument &document, const QList<TGGraphicControl *> &before,
                       const QList<TGGraphicControl *> &after, const QString &text);

    void redo() override;
    void undo() override;

private:
    PageDocument &m_document;
    QList<TGGraphicControl *> m_before;
    QList<TGGraphicControl *> m_after;
};

} // namespace Dayloom
