#pragma once

#include "core/formats/persistentobject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <memory>
#include <utility>

namespace Dayloom {

// The placed-object classes that records may recreate, by stored class
// name. The page registers its five classes; tests register their own.
class ObjectClassRegistry
{
public:
    using Factory = std::function<std::unique_ptr<PersistentObject>()>;

    // Registers (or replaces) the factory of a class name.
    void Register(const QByteArray &className, Factory factory);
    template <class T> void Register(const QByteArray &className)
    {
        Register(className, [] { return std::make_unique<T>(); });
    }
    bool Contains(QByteArrayView className) const;
    // A new object of the class (names compared ignoring case); null when the
    // class is not registered.
    std::unique_ptr<PersistentObject> Create(QByteArrayView className) const;

private:
    QList<std::pair<QByteArray, Factory>> m_classes;
};

} // namespace Dayloom
