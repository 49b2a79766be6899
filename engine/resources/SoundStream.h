#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/system/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class StreamResource;

/// One music stream: a loose Ogg Vorbis file that is decoded while it plays,
/// with its own volume, a fade level and the sync points of its sync points
/// file. The "Stream" resources build and own them; `SoundManager` opens,
/// plays, fades and closes them.
///
/// The played volume is `volume` × the volume multiplier × the manager's
/// music volume / 255 × the fade level (0.0 silent to 1.0 full).
///
/// Main thread only, except that the loader thread builds it.
class SoundStream : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    SoundStream() = default;
    /// Closes the stream when it is open.
    ~SoundStream() override;

    /// The file played (UTF-8 path); empty when the resource's file was not
    /// found, and then the stream never opens.
    [[nodiscard]] const std::string& getFileName() const { return fileName_; }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    /// The sync points file (a property file whose vector "SyncPoints" holds
    /// nodes with an integer "value"); empty for none.
    [[nodiscard]] const std::string& getSyncPointsFile() const { return syncPointsFile_; }
    void setSyncPointsFile(std::string fileName);
    /// Reads the sync points file (a loose file) and appends every "value" to
    /// the sync points; elements without one are skipped. Reads the file
    /// once: later calls do nothing. Main thread only (it parses a property
    /// file). A missing or broken file adds nothing.
    void loadSyncPoints();
    /// Offsets in the file's own PCM frames.
    [[nodiscard]] const std::vector<std::int32_t>& getSyncPoints() const { return syncPoints_; }

    [[nodiscard]] float getVolumeMultiplier() const { return volumeMultiplier_; }
    void setVolumeMultiplier(float multiplier) { volumeMultiplier_ = multiplier; }
    /// 0-255, 128 at construction.
    [[nodiscard]] std::uint8_t getVolume() const { return volume_; }
    /// Kept from the resource; the output plays streams unpanned.
    [[nodiscard]] std::uint8_t getPanning() const { return panning_; }
    void setPanning(std::uint8_t panning) { panning_ = panning; }

    [[nodiscard]] float getFadeLevel() const { return fadeLevel_; }
    [[nodiscard]] float getFadeTarget() const { return fadeTarget_; }
    /// Level change per millisecond.
    [[nodiscard]] float getFadeSpeed() const { return fadeSpeed_; }
    /// Where the next play starts, in PCM frames of the file (set by a pause).
    [[nodiscard]] std::int32_t getStartPosition() const { return startPosition_; }

    [[nodiscard]] bool isOpen() const { return handle_ != platform::kNoAudioStream; }
    /// The output's handle, kNoAudioStream while not open.
    [[nodiscard]] platform::AudioStream getHandle() const { return handle_; }

    /// The load function of "Stream" resources (installed by
    /// `registerSoundClasses`): a new stream goes into `held`; when the
    /// resource's file exists as a loose file (letter case ignored) the
    /// stream gets its path, the volume multiplier and panning, and the sync
    /// points file when that exists too. False when the music file is
    /// missing (the stream then has no file name).
    static bool loadResource(const StreamResource& resource, RefPtr<BaseObject>& held);

private:
    friend class SoundManager;

    platform::AudioStream handle_ = platform::kNoAudioStream;
    float volumeMultiplier_ = 1.0F;
    std::uint8_t volume_ = 128;
    std::uint8_t panning_ = 128;
    float fadeTarget_ = 1.0F;
    float fadeLevel_ = 1.0F;
    float fadeSpeed_ = 0.0F;
    std::int32_t startPosition_ = 0;
    std::string fileName_;
    std::string syncPointsFile_;
    bool syncPointsLoaded_ = false;
    std::vector<std::int32_t> syncPoints_;
};

} // namespace orv
