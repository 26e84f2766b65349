#pragma once

#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <vector>

namespace Dayloom {

class PersistentObject;

// One published property of a placed-object class, as component records
// store it. `write` emits the property's entries (path, then one tagged
// value) only when the value differs from the declared default, or always
// for properties without a default; an object-valued property such as a font
// emits several dotted entries ("Font.Name", "Font.Height"). `read` takes the
// value of one entry; `subPath` is what follows "Name." in the entry's path
// (empty for a plain property). It returns false when the value does not fit,
// which ends the reading of the record.
struct PropertyDescriptor
{
    using WriteFunction = std::function<void(const PersistentObject &, ValueWriter &)>;
    using ReadFunction =
        std::function<bool(PersistentObject &, QByteArrayView subPath, ValueReader &)>;

    QByteArray name;
    WriteFunction write;
    ReadFunction read;
};

// The published properties of a class in declaration order, those of its
// base class first. Build one with PublishedProperties<T>.
class PropertyList
{
public:
    PropertyList() = default;

    void append(PropertyDescriptor descriptor) { m_properties.push_back(std::move(descriptor)); }
    const std::vector<PropertyDescriptor> &properties() const { return m_properties; }
    // By name, ignoring case ("RTFText" finds "RtfText"); null when absent.
    const PropertyDescriptor *find(QByteArrayView name) const;

private:
    std::vector<PropertyDescriptor> m_properties;
};

} // namespace Dayloom
