#include "engine/resources/SoundResource.h"

#include "engine/core/Log.h"

#include <atomic>

namespace orv {

constinit const ClassRecord SoundResource::classRecord{"SoundResource",
                                                       parentRecords<ResourceObject::classRecord>};

namespace {

std::atomic<SoundResource::LoadFunction> soundLoadFunction{nullptr};

} // namespace

void SoundResource::setLoadFunction(LoadFunction function) {
    soundLoadFunction.store(function);
}

SoundResource::LoadFunction SoundResource::getLoadFunction() {
    return soundLoadFunction.load();
}

BaseObject* SoundResource::createFromDefinition(PropertyNode* definition) {
    return new SoundResource(definition);
}

SoundResource::SoundResource(PropertyNode* definition)
    : ResourceObject(definition),
      volumeMultiplier_(readFloatKey(definition, "volumemultiplier", 255.0F)) {}

void SoundResource::load() {
    sound_ = nullptr;
    const LoadFunction function = soundLoadFunction.load();
    bool loaded = false;
    if (function == nullptr) {
        logWarning(getFileKey() + ": no sound loader is installed; the sound stays empty");
    } else {
        loaded = function(*this, sound_);
    }
    setError(!loaded);
    markLoaded();
}

void SoundResource::unload() {
    ResourceObject::unload();
    sound_ = nullptr;
}

std::string SoundResource::toString() const {
    return std::string("Object: ") + (sound_ ? "not 0" : "NULL") +
           "; Volume: " + std::to_string(static_cast<int>(volumeMultiplier_)) + "; " +
           ResourceObject::toString();
}

} // namespace orv
