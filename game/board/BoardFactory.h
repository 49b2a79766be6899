#pragma once

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"

namespace orv {

/// Builds an object from a node of saved or loaded data through the object
/// factory under the node's type name, and keeps it only when it is of kind
/// `T`: a value or vector, a name without a create function, or an object of
/// another class gives null (what the factory made is dropped). The factory
/// logs names it does not know; the caller logs the rest with its source.
template <class T>
[[nodiscard]] RefPtr<T> createFromNode(AbstractProperty* property) {
    if (property == nullptr || !property->isNode()) {
        return nullptr;
    }
    auto* node = static_cast<PropertyNode*>(property);
    const RefPtr<BaseObject> object =
        ObjectFactoryContainer::get().createObject(node->getTypeName(), node);
    return RefPtr<T>(kindCast<T>(object.get()));
}

} // namespace orv
