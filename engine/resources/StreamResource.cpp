#include "engine/resources/StreamResource.h"

#include "engine/core/Log.h"

#include <atomic>

namespace orv {

constinit const ClassRecord StreamResource::classRecord{"StreamResource",
                                                        parentRecords<ResourceObject::classRecord>};

namespace {

std::atomic<StreamResource::LoadFunction> streamLoadFunction{nullptr};

} // namespace

void StreamResource::setLoadFunction(LoadFunction function) {
    streamLoadFunction.store(function);
}

StreamResource::LoadFunction StreamResource::getLoadFunction() {
    return streamLoadFunction.load();
}

BaseObject* StreamResource::createFromDefinition(PropertyNode* definition) {
    return new StreamResource(definition);
}

StreamResource::StreamResource(PropertyNode* definition)
    : ResourceObject(definition), syncPointsFile_(readTextKey(definition, "syncpointsfile", "")),
      volumeMultiplier_(readFloatKey(definition, "volumemultiplier", 1.0F)),
      // The value is kept modulo 256, as an 8-bit pan.
      panning_(static_cast<std::uint8_t>(readIntKey(definition, "panning", 128))) {}

void StreamResource::load() {
    stream_ = nullptr;
    const LoadFunction function = streamLoadFunction.load();
    bool loaded = false;
    if (function == nullptr) {
        logWarning(getFileKey() + ": no stream loader is installed; the stream stays empty");
    } else {
        loaded = function(*this, stream_);
    }
    setError(!loaded);
    markLoaded();
}

void StreamResource::unload() {
    ResourceObject::unload();
    stream_ = nullptr;
}

std::string StreamResource::toString() const {
    return std::string("Object: ") + (stream_ ? "not 0" : "NULL") + "; FileName: " + getFileKey() +
           "; SyncPointsFileName: " + syncPointsFile_ + ResourceObject::toString();
}

} // namespace orv
