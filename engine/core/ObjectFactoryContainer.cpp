#include "engine/core/ObjectFactoryContainer.h"

#include "engine/core/Log.h"

namespace orv {

namespace {

ObjectFactoryContainer* theFactory = nullptr;

} // namespace

constinit const ClassRecord ObjectFactoryContainer::classRecord{
    "ObjectFactoryContainer", parentRecords<BaseObject::classRecord>};

ObjectFactoryContainer& ObjectFactoryContainer::get() {
    if (theFactory == nullptr) {
        theFactory = new ObjectFactoryContainer();
        theFactory->addRef();
    }
    return *theFactory;
}

void ObjectFactoryContainer::destroyInstance() {
    if (theFactory != nullptr) {
        theFactory->release();
        theFactory = nullptr;
    }
}

void ObjectFactoryContainer::registerCreator(std::string_view className, CreateFunction function) {
    if (function == nullptr) {
        logError("Refused to register no create function under '" + std::string(className) + "'");
        return;
    }
    creators_.insert_or_assign(std::string(className), function);
}

bool ObjectFactoryContainer::hasCreator(std::string_view className) const {
    return creators_.find(className) != creators_.end();
}

BaseObject* ObjectFactoryContainer::createObject(std::string_view typeName,
                                                 PropertyNode* definition) {
    const auto found = creators_.find(typeName);
    if (found == creators_.end()) {
        logWarning("No class is registered under the name '" + std::string(typeName) + "'");
        return nullptr;
    }
    return found->second(definition);
}

} // namespace orv
