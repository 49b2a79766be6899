#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/ResourceObject.h"

#include <cstdint>
#include <string>

namespace orv {

class PropertyNode;

/// A music stream of the resource definitions ("Stream"): a loose file that
/// plays while it is decoded (streams are never read from the archive). Keys
/// beyond "file" and "archive": "syncpointsfile" (text, the file of the
/// stream's sync points, kept as written; none), "volumemultiplier" (floating
/// point; 1.0), "panning" (integer kept as an unsigned 8-bit value; 128).
///
/// The sound library builds the stream: `registerSoundClasses` installs
/// `SoundStream::loadResource` with `setLoadFunction`; the held object is a
/// `SoundStream`. Until then `load` builds nothing and ends with the error
/// flag set (logged).
class StreamResource : public ResourceObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Builds the stream of `resource` (file key, sync points file, volume and
    /// panning are read from it) and stores it in `held`. Returns false when
    /// loading failed. Called on the loader thread or the main thread.
    using LoadFunction = bool (*)(const StreamResource& resource, RefPtr<BaseObject>& held);
    /// Installs the load function of every stream resource (null removes it).
    static void setLoadFunction(LoadFunction function);
    [[nodiscard]] static LoadFunction getLoadFunction();

    /// The object factory's create function for "Stream" definitions.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    explicit StreamResource(PropertyNode* definition);

    /// Builds the stream through the load function; the error flag is set
    /// when it fails or none is installed. Always ends loaded.
    void load() override;
    /// The stream built by the load function, or null.
    [[nodiscard]] BaseObject* getHeldObject() const override { return stream_.get(); }
    /// Also releases the stream.
    void unload() override;
    /// "Object: <not 0|NULL>; FileName: <file key>; SyncPointsFileName:
    /// <sync points file>" followed by the base dump.
    [[nodiscard]] std::string toString() const override;

    [[nodiscard]] const std::string& getSyncPointsFile() const { return syncPointsFile_; }
    [[nodiscard]] float getVolumeMultiplier() const { return volumeMultiplier_; }
    /// 0 hard left, 128 centre, 255 hard right.
    [[nodiscard]] std::uint8_t getPanning() const { return panning_; }

private:
    RefPtr<BaseObject> stream_;
    std::string syncPointsFile_;
    float volumeMultiplier_ = 1.0F;
    std::uint8_t panning_ = 128;
};

} // namespace orv
