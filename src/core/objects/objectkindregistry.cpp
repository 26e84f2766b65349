#include "core/objects/objectkindregistry.h"

#include "core/objects/tggraphiccontrol.h"

#include <algorithm>

namespace Dayloom {

ObjectKindRegistry &ObjectKindRegistry::Application()
{
    static ObjectKindRegistry registry;
    return registry;
}

void ObjectKindRegistry::Register(ObjectKind kind)
{
    if (kind.className.isEmpty() || !kind.factory)
        return;
    if (kind.tool != psPointing) {
        for (ObjectKind &other : m_kinds) {
            if (other.tool == kind.tool)
                other.tool = psPointing;
        }
    }
    const ObjectKind::Factory factory = kind.factory;
    m_classes.Register(kind.className,
                       [factory]() -> std::unique_ptr<PersistentObject> { return factory(); });
    for (ObjectKind &entry : m_kinds) {
        if (entry.className.compare(kind.className, Qt::CaseInsensitive) == 0) {
            entry = std::move(kind);
            return;
        }
    }
    m_kinds.append(std::move(kind));
}

const ObjectKind *ObjectKindRegistry::FindClass(QByteArrayView className) const
{
    for (const ObjectKind &kind : m_kinds) {
        if (className.compare(kind.className, Qt::CaseInsensitive) == 0)
            return &kind;
    }
    return nullptr;
}

const ObjectKind *ObjectKindRegistry::FindTool(TLPanelState tool) const
{
    if (tool == psPointing)
        return nullptr;
    for (const ObjectKind &kind : m_kinds) {
        if (kind.tool == tool)
            return &kind;
    }
    return nullptr;
}

QList<const ObjectKind *> ObjectKindRegistry::ToolKinds() const
{
    QList<const ObjectKind *> tools;
    for (const ObjectKind &kind : m_kinds) {
        if (kind.tool != psPointing)
            tools.append(&kind);
    }
    std::stable_sort(tools.begin(), tools.end(),
                     [](const ObjectKind *a, const ObjectKind *b) { return a->tool < b->tool; });
    return tools;
}

std::unique_ptr<TGGraphicControl> ObjectKindRegistry::Create(QByteArrayView className) const
{
    const ObjectKind *kind = FindClass(className);
    return kind ? kind->factory() : nullptr;
}

std::unique_ptr<TGGraphicControl> ObjectKindRegistry::CreateForTool(TLPanelState tool) const
{
    const ObjectKind *kind = FindTool(tool);
    return kind ? kind->factory() : nullptr;
}

} // namespace Dayloom
