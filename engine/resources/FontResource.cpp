#include "engine/resources/FontResource.h"

#include "engine/core/Log.h"

#include <atomic>

namespace orv {

constinit const ClassRecord FontResource::classRecord{"FontResource",
                                                      parentRecords<ResourceObject::classRecord>};

namespace {

std::atomic<FontResource::LoadFunction> loadFunction{nullptr};

} // namespace

void FontResource::setLoadFunction(LoadFunction function) {
    loadFunction.store(function);
}

FontResource::LoadFunction FontResource::getLoadFunction() {
    return loadFunction.load();
}

BaseObject* FontResource::createFromDefinition(PropertyNode* definition) {
    return new FontResource(definition);
}

FontResource::FontResource(PropertyNode* definition) : ResourceObject(definition) {}

void FontResource::load() {
    clearLoaded();
    font_ = nullptr;
    const LoadFunction function = loadFunction.load();
    bool loaded = false;
    if (function == nullptr) {
        logWarning(getFileKey() + ": no font loader is installed; the font stays empty");
    } else {
        loaded = function(*this, font_);
    }
    setError(!loaded);
    markLoaded();
}

void FontResource::unload() {
    ResourceObject::unload();
    font_ = nullptr;
}

std::string FontResource::toString() const {
    return std::string("Object: ") + (font_ ? "not 0" : "NULL") + "; " + ResourceObject::toString();
}

} // namespace orv
