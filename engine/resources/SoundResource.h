#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/ResourceObject.h"

#include <string>

namespace orv {

class PropertyNode;

/// A sound effect of the resource definitions ("Sound"): a sample loaded
/// whole into memory. Key beyond "file" and "archive": "volumemultiplier"
/// (floating point; 255.0).
///
/// The sound library builds the sample: `registerSoundClasses` installs
/// `Sound::loadResource` with `setLoadFunction`; the held object is a
/// `Sound`. Until then `load` builds nothing and ends with the error flag
/// set (logged), so a missing sound library never passes for a loaded
/// sound.
///
///     registerSoundClasses();                  // the sound library, at start-up
///     auto* sound = manager.getLoadedObject("SOUND_TILE_SELECT", "default");
class SoundResource : public ResourceObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Builds what `resource` holds from its file (key, mode and volume are
    /// read from it) and stores it in `held`. Returns false when the sample
    /// could not be loaded; `held` may still be set then (a sound without a
    /// sample). Called on the loader thread or the main thread.
    using LoadFunction = bool (*)(const SoundResource& resource, RefPtr<BaseObject>& held);
    /// Installs the load function of every sound resource (null removes it).
    static void setLoadFunction(LoadFunction function);
    [[nodiscard]] static LoadFunction getLoadFunction();

    /// The object factory's create function for "Sound" definitions.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    explicit SoundResource(PropertyNode* definition);

    /// Builds the sound through the load function; the error flag is set
    /// when it fails or none is installed. Always ends loaded.
    void load() override;
    /// The sound built by the load function, or null.
    [[nodiscard]] BaseObject* getHeldObject() const override { return sound_.get(); }
    /// Also releases the sound.
    void unload() override;
    /// "Object: <not 0|NULL>; Volume: <multiplier, truncated>; " followed by
    /// the base dump.
    [[nodiscard]] std::string toString() const override;

    /// The multiplier applied to the sound's volume (255.0 by default).
    [[nodiscard]] float getVolumeMultiplier() const { return volumeMultiplier_; }

private:
    RefPtr<BaseObject> sound_;
    float volumeMultiplier_ = 255.0F;
};

} // namespace orv
