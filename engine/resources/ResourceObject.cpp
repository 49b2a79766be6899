#include "engine/resources/ResourceObject.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/FileNames.h"
#include "engine/resources/ResourceManager.h"

namespace orv {

constinit const ClassRecord ResourceObject::classRecord{"ResourceObject",
                                                        parentRecords<BaseObject::classRecord>};

namespace {

// The child `key` of `definition` when it is a value; null when the key is
// missing or names a node or a vector, so the caller keeps its default.
const PropertyValue* findValue(const PropertyNode* definition, std::string_view key) {
    if (definition == nullptr) {
        return nullptr;
    }
    const AbstractProperty* child = definition->getChild(key);
    if (child == nullptr || !child->isValue()) {
        return nullptr;
    }
    return asValue(child);
}

const char* trueFalse(bool flag) {
    return flag ? "true" : "false";
}

} // namespace

ResourceObject::ResourceObject(PropertyNode* definition)
    : fileKey_(makeResourceKey(readTextKey(definition, "file", ""))),
      mode_(archiveModeFromName(readTextKey(definition, "archive", ""))) {}

void ResourceObject::unload() {
    if (ResourceManager* manager = ResourceManager::getInstance()) {
        manager->resumeLoader();
    }
    loaded_.store(false);
    hasError_.store(false);
    loadedSize_.store(0);
}

bool ResourceObject::sameFile(const ResourceObject& other) const {
    // A sound and a music stream of one file are different things: sharing
    // one object between them would hand out the wrong kind.
    return &getClassRecord() == &other.getClassRecord() && fileKey_ == other.fileKey_;
}

int ResourceObject::markLoaded() {
    loadedSize_.store(size_);
    loaded_.store(true);
    return size_;
}

std::string ResourceObject::toString() const {
    return std::string("Has Error: ") + trueFalse(hasError()) +
           "; Is Loaded: " + trueFalse(isLoaded()) + "; File Name: " + fileKey_ + ";\n\t\t\t" +
           BaseObject::toString();
}

void ResourceObject::setFileName(std::string_view fileName) {
    fileKey_ = makeResourceKey(fileName);
}

std::string ResourceObject::readTextKey(const PropertyNode* definition, std::string_view key,
                                        std::string_view fallback) {
    const PropertyValue* value = findValue(definition, key);
    return value != nullptr ? value->getString() : std::string(fallback);
}

int ResourceObject::readIntKey(const PropertyNode* definition, std::string_view key, int fallback) {
    const PropertyValue* value = findValue(definition, key);
    return value != nullptr ? value->getInt() : fallback;
}

bool ResourceObject::readBoolKey(const PropertyNode* definition, std::string_view key,
                                 bool fallback) {
    const PropertyValue* value = findValue(definition, key);
    return value != nullptr ? value->getBool() : fallback;
}

float ResourceObject::readFloatKey(const PropertyNode* definition, std::string_view key,
                                   float fallback) {
    const PropertyValue* value = findValue(definition, key);
    return value != nullptr ? value->getFloat() : fallback;
}

} // namespace orv
