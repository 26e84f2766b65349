#include "core/formats/propertylist.h"

namespace Dayloom {

const PropertyDescriptor *PropertyList::find(QByteArrayView name) const
{
    for (const PropertyDescriptor &descriptor : m_properties) {
        if (name.compare(descriptor.name, Qt::CaseInsensitive) == 0)
            return &descriptor;
    }
    return nullptr;
}

} // namespace Dayloom
