#include "engine/resources/SoundStream.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Sound.h"
#include "engine/resources/StreamResource.h"

#include <cstddef>

namespace orv {

constinit const ClassRecord SoundStream::classRecord{"SoundStream",
                                                     parentRecords<BaseObject::classRecord>};

SoundStream::~SoundStream() {
    if (isOpen()) {
        SoundOutput& output = getSoundOutput();
        output.stopStream(handle_);
        output.closeStream(handle_);
    }
}

void SoundStream::setSyncPointsFile(std::string fileName) {
    syncPointsFile_ = std::move(fileName);
    syncPointsLoaded_ = false;
}

void SoundStream::loadSyncPoints() {
    if (syncPointsLoaded_ || syncPointsFile_.empty()) {
        return;
    }
    syncPointsLoaded_ = true;
    const RefPtr<PropertyStore> store(new PropertyStore());
    // Music and its sync points are loose files, never archive entries.
    store->setAccessMode(ArchiveMode::File);
    if (!store->load(syncPointsFile_)) {
        logWarning(syncPointsFile_ + ": the sync points cannot be read");
        return;
    }
    const PropertyVector& points = *store->getVector("SyncPoints");
    for (std::size_t index = 0; index < points.size(); ++index) {
        const PropertyNode& point = *asNode(points.at(static_cast<std::ptrdiff_t>(index)));
        const AbstractProperty* value = point.getChild("value");
        if (value != nullptr && value->isValue()) {
            syncPoints_.push_back(PropertyValue::toInt(value));
        }
    }
}

bool SoundStream::loadResource(const StreamResource& resource, RefPtr<BaseObject>& held) {
    RefPtr<SoundStream> stream(new SoundStream());
    held = stream;
    // The key is lower-cased; the file on disk may not be.
    std::string path = platform::findPathIgnoringCase(resource.getFileKey());
    if (resource.getFileKey().empty() || path.empty()) {
        logWarning(resource.getFileKey() + ": the music file is not a loose file");
        return false;
    }
    stream->setFileName(std::move(path));
    stream->setVolumeMultiplier(resource.getVolumeMultiplier());
    stream->setPanning(resource.getPanning());
    if (!resource.getSyncPointsFile().empty()) {
        std::string syncPath = platform::findPathIgnoringCase(resource.getSyncPointsFile());
        // The points are read when the stream first opens, on the main
        // thread: property files are parsed there only.
        if (!syncPath.empty()) {
            stream->setSyncPointsFile(std::move(syncPath));
        }
    }
    return true;
}

} // namespace orv
