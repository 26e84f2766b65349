#pragma once

#include "core/formats/propertylist.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace Dayloom {

// What a placed object offers to component records (calendar files, the
// object clipboard, cloning): its class name, its component name and its
// published properties. Each placed-object class returns one PropertyList,
// shared by all its objects (typically a function-local static built with
// PublishedProperties<T>).
class PersistentObject
{
public:
    virtual ~PersistentObject() = default;

    // The stored class name, e.g. "TGPLabel"; files recreate objects by it.
    virtual QByteArray ClassName() const = 0;
    virtual const PropertyList &PublishedProperties() const = 0;
    // Runs once after all properties of a record were read and the object
    // got its name.
    virtual void Loaded() {}

    const QString &Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    // True while a record's properties are being read into the object:
    // setters may then store without side effects.
    bool IsReading() const { return m_reading; }
    void SetReading(bool reading) { m_reading = reading; }

private:
    QString m_name;
    bool m_reading = false;
};

// Objects read from a stream, in stored order; the caller owns them.
using PersistentObjectList = std::vector<std::unique_ptr<PersistentObject>>;

} // namespace Dayloom
