#pragma once

#include "core/objects/tggraphiccontrol.h"

#include <QList>
#include <QString>
#include <QUndoCommand>

#include <memory>
#include <vector>

namespace Dayloom {

class PageDocument;

// Adds objects to or removes them from a page as one undoable step
// ("Create", "Paste", "Clone", "Delete", "Cut"). Objects that are off the
// page are owned by the command, so the same objects come back on undo or
// redo and pointers to them stay valid.
class ObjectListCommand : public QUndoCommand
{
public:
    // Puts the objects on top of the stack, in the given order.
    static std::unique_ptr<ObjectListCommand>
    Insert(PageDocument &document, std::vector<std::unique_ptr<TGGraphicControl>> objects,
           const QString &text);
    // Takes the objects (of the document) off the page.
    static std::unique_ptr<ObjectListCommand>
    Remove(PageDocument &document, const QList<TGGraphicControl *> &objects, const QString &text);

    void redo() override;
    void undo() override;

    QList<TGGraphicControl *> Objects() const;
    // Takes the objects of an insertion back off the page and marks the step
    // obsolete, so that the stack's next undo drops it without undoing it
    // again (a creation its dialog cancelled). A removal is left alone.
    void Withdraw();

private:
    struct Entry
    {
        TGGraphicControl *object = nullptr;
        int index = 0; // stacking position while on the page
        std::unique_ptr<TGGraphicControl> owned;
    };

    ObjectListCommand(PageDocument &document, bool insert, const QString &text);
    void Put();
    void Take();

    PageDocument &m_document;
    bool m_insert;
    std::vector<Entry> m_entries; // ascending stacking position
};

} // namespace Dayloom
