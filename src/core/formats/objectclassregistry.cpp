#include "core/formats/objectclassregistry.h"

namespace Dayloom {

void ObjectClassRegistry::Register(const QByteArray &className, Factory factory)
{
    for (auto &entry : m_classes) {
        if (entry.first.compare(className, Qt::CaseInsensitive) == 0) {
            entry.second = std::move(factory);
            return;
        }
    }
    m_classes.append({className, std::move(factory)});
}

bool ObjectClassRegistry::Contains(QByteArrayView className) const
{
    for (const auto &entry : m_classes) {
        if (className.compare(entry.first, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::unique_ptr<PersistentObject> ObjectClassRegistry::Create(QByteArrayView className) const
{
    for (const auto &entry : m_classes) {
        if (className.compare(entry.first, Qt::CaseInsensitive) == 0)
            return entry.second();
    }
    return nullptr;
}

} // namespace Dayloom
