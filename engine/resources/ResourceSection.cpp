#include "engine/resources/ResourceSection.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ResourceManager.h"

#include <cassert>

namespace orv {

constinit const ClassRecord ResourceSection::classRecord{"ResourceSection",
                                                         parentRecords<BaseObject::classRecord>};

namespace {

const char* yesNo(bool flag) {
    return flag ? "yes" : "no";
}

} // namespace

ResourceSection::ResourceSection(std::string_view name, bool autoLoad)
    : name_(name), autoLoad_(autoLoad) {}

ResourceSection::ResourceSection(PropertyNode* definition, ResourceManager* manager) {
    if (definition == nullptr) {
        return;
    }
    name_ = definition->getValue("name")->getString();
    autoLoad_ = definition->getValue("auto")->getBool();

    for (const PropertyNode::NamedChild& child : definition->getChildren()) {
        if (!child.property->isNode()) {
            continue;
        }
        // Holds a new object until it is stored; an object that is not stored
        // (or is no resource object) is released with it.
        RefPtr<BaseObject> created(createFromDefinition(child.property.get()));
        auto* object = kindCast<ResourceObject>(created.get());
        if (object == nullptr) {
            if (created) {
                logWarning("resource section '" + name_ + "': object '" + child.name +
                           "' of type '" + child.property->getTypeName() +
                           "' is not a resource; skipped");
            }
            // An unknown type name was logged by the factory.
            continue;
        }
        ResourceObject* shared = manager != nullptr ? manager->findSharedObject(*object) : nullptr;
        addObject(child.name, shared != nullptr ? shared : object);
    }
}

void ResourceSection::addObject(std::string_view name, ResourceObject* object) {
    assert(object != nullptr);
    const auto found = objects_.find(name);
    if (found != objects_.end()) {
        found->second = object;
    } else {
        objects_.emplace(std::string(name), RefPtr<ResourceObject>(object));
    }
}

ResourceObject* ResourceSection::findObject(std::string_view name) const {
    const auto found = objects_.find(name);
    return found != objects_.end() ? found->second.get() : nullptr;
}

bool ResourceSection::hasUnloadedObject() const {
    return firstUnloadedObject() != nullptr;
}

ResourceObject* ResourceSection::firstUnloadedObject() const {
    for (const auto& [name, object] : objects_) {
        if (!object->isLoaded()) {
            return object.get();
        }
    }
    return nullptr;
}

int ResourceSection::getTotalSize() const {
    int total = 0;
    for (const auto& [name, object] : objects_) {
        total += object->getSize();
    }
    return total;
}

int ResourceSection::getLoadedSize() const {
    int total = 0;
    for (const auto& [name, object] : objects_) {
        total += object->getLoadedSize();
    }
    return total;
}

std::string ResourceSection::toString() const {
    std::string text = BaseObject::toString() + "Auto Load: " + yesNo(autoLoad_) +
                       "; Has Started: " + yesNo(started_) + "; Name: " + name_ + ";\n\tObjects:";
    for (const auto& [name, object] : objects_) {
        text += "\n\t\t" + object->toString();
    }
    return text;
}

} // namespace orv
