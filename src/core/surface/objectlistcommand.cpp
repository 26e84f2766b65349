#include "core/surface/objectlistcommand.h"

#include "core/surface/pagedocument.h"

#include <algorithm>

namespace Dayloom {

ObjectListCommand::ObjectListCommand(PageDocument &document, bool insert, const QString &text)
    : QUndoCommand(text), m_document(document), m_insert(insert)
{
}

std::unique_ptr<ObjectListCommand>
ObjectListCommand::Insert(PageDocument &document,
                          std::vector<std::unique_ptr<TGGraphicControl>> objects,
                          const QString &text)
{
    std::unique_ptr<ObjectListCommand> command(new ObjectListCommand(document, true, text));
    int index = document.ObjectCount();
    for (std::unique_ptr<TGGraphicControl> &object : objects) {
        TGGraphicControl *raw = object.get();
        command->m_entries.push_back({raw, index++, std::move(object)});
    }
    return command;
}

std::unique_ptr<ObjectListCommand>
ObjectListCommand::Remove(PageDocument &document, const QList<TGGraphicControl *> &objects,
                          const QString &text)
{
    std::unique_ptr<ObjectListCommand> command(new ObjectListCommand(document, false, text));
    for (TGGraphicControl *object : objects) {
        const int index = document.IndexOf(object);
        const bool listed = std::any_of(command->m_entries.begin(), command->m_entries.end(),
                                        [object](const Entry &e) { return e.object == object; });
        if (index >= 0 && !listed)
            command->m_entries.push_back({object, index, nullptr});
    }
    std::sort(command->m_entries.begin(), command->m_entries.end(),
              [](const Entry &a, const Entry &b) { return a.index < b.index; });
    return command;
}

void ObjectListCommand::redo()
{
    if (m_insert)
        Put();
    else
        Take();
}

void ObjectListCommand::undo()
{
    if (m_insert)
        Take();
    else
        Put();
}

void ObjectListCommand::Put()
{
    for (Entry &entry : m_entries) {
        if (entry.owned)
            m_document.InsertObject(entry.index, std::move(entry.owned));
    }
}

void ObjectListCommand::Take()
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (!it->owned)
            it->owned = m_document.TakeObject(it->object);
    }
}

void ObjectListCommand::Withdraw()
{
    if (!m_insert)
        return;
    Take();
    setObsolete(true);
}

QList<TGGraphicControl *> ObjectListCommand::Objects() const
{
    QList<TGGraphicControl *> objects;
    for (const Entry &entry : m_entries)
        objects.append(entry.object);
    return objects;
}

} // namespace Dayloom
