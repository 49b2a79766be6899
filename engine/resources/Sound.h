#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/ArchiveMode.h"
#include "engine/system/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class SoundResource;

/// What the sound classes play through: the process-wide audio device
/// (`platform::openAudioDevice` and its calls) unless another output is
/// installed with `setSoundOutput`. Tests install one over a bare
/// `platform::AudioMixer`, so they can drive its `mix` without a device.
///
/// Every member follows the platform's contract: while the output is not
/// enabled each play reports that nothing played (kNoAudioChannel,
/// kNoAudioStream, false) and nothing fails; a stale handle changes nothing.
/// Implementations must be callable from any thread (samples are loaded and
/// freed on the resource loader thread).
class SoundOutput {
public:
    SoundOutput() = default;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;
    virtual ~SoundOutput() = default;

    /// Starts getting output ready ahead of `open`, where that can run beside
    /// other work (the device's driver probe is slow); `open` then waits for
    /// it, and `close` ends it. Does nothing by default.
    virtual void prepare() {}
    /// Starts output; true when sound is enabled afterwards.
    [[nodiscard]] virtual bool open() = 0;
    /// Stops output; sound is disabled afterwards.
    virtual void close() = 0;
    [[nodiscard]] virtual bool isEnabled() const = 0;

    [[nodiscard]] virtual platform::AudioChannel play(const platform::AudioSamplePtr& sample,
                                                      std::uint8_t volume, std::uint8_t pan,
                                                      bool looped) = 0;
    virtual bool stop(platform::AudioChannel channel) = 0;
    virtual bool setPan(platform::AudioChannel channel, std::uint8_t pan) = 0;
    /// Stops every channel that plays `sample`.
    virtual void stopSample(const platform::AudioSample& sample) = 0;
    /// The effects' master volume (0-255); music streams ignore it.
    virtual void setMasterVolume(std::uint8_t volume) = 0;

    /// Opens the Ogg Vorbis file at `path` (UTF-8), stopped at position 0.
    [[nodiscard]] virtual platform::AudioStream openStream(const std::string& path,
                                                           bool looped) = 0;
    virtual void closeStream(platform::AudioStream stream) = 0;
    virtual bool playStream(platform::AudioStream stream) = 0;
    /// Stops and rewinds to position 0.
    virtual bool stopStream(platform::AudioStream stream) = 0;
    /// Positions are in the file's own PCM frames.
    virtual bool setStreamPosition(platform::AudioStream stream, std::uint32_t position) = 0;
    [[nodiscard]] virtual std::optional<std::uint32_t>
    getStreamPosition(platform::AudioStream stream) = 0;
    virtual bool addStreamSyncPoint(platform::AudioStream stream, std::uint32_t position) = 0;
    /// The stream's absolute volume (0-255), not scaled by the master volume.
    virtual bool setStreamVolume(platform::AudioStream stream, std::uint8_t volume) = 0;
};

/// The output the sound classes use: the one installed by `setSoundOutput`,
/// else the audio device. Borrowed; lives as long as the process (or as the
/// installed one).
[[nodiscard]] SoundOutput& getSoundOutput();
/// Installs `output` (borrowed: it must outlive every use, so uninstall it
/// with null before destroying it); null goes back to the audio device.
/// Install it before any sound object exists and before the loader runs.
void setSoundOutput(SoundOutput* output);
/// The process-wide sound-enabled flag: true while the output is open. While
/// it is false every sound operation does nothing and reports that nothing
/// played.
[[nodiscard]] bool isSoundEnabled();

/// One sound effect: a sample decoded whole into memory that plays with a
/// volume and a pan on a free channel of the output. Built by the "Sound"
/// resources (its class record names `GameNode` as parent, as the engine's
/// records have it; the code is a plain object).
///
///     RefPtr<Sound> click(new Sound());
///     if (click->load(ArchiveMode::Global, "media/sounds/click.wav")) {
///         click->play(255, 128, false);
///     }
///
/// Loaded on either thread, played on the main thread.
class Sound : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A sound without a sample, volume multiplier 1.0.
    Sound() = default;
    /// Stops every channel still playing the sample.
    ~Sound() override;

    /// Reads `name` and decodes it (WAV or Ogg Vorbis). `mode` only chooses
    /// the way: `ArchiveMode::File`, or `Global` while there is no archive or
    /// the global mode is "file", reads the loose file; any other mode reads
    /// the file through the archive in the global mode. While sound is
    /// disabled nothing is read and the result is true without a sample.
    /// False, without a sample, when the file cannot be read or decoded.
    [[nodiscard]] bool load(ArchiveMode mode, std::string_view name);

    /// Plays the sample once or looped. The volume played is `volume` ×
    /// the multiplier (truncated), clamped to 0..255; `pan` is clamped to
    /// 0..255 (0 left, 128 centre, 255 right). Returns the channel, or
    /// kNoAudioChannel while sound is disabled, without a sample, or when no
    /// channel is free.
    platform::AudioChannel play(int volume, int pan, bool looped) const;

    /// The sample's length in milliseconds (truncated); 0 without a sample.
    [[nodiscard]] std::uint32_t getDurationMs() const;

    [[nodiscard]] float getVolumeMultiplier() const { return volumeMultiplier_; }
    void setVolumeMultiplier(float multiplier) { volumeMultiplier_ = multiplier; }
    [[nodiscard]] const platform::AudioSamplePtr& getSample() const { return sample_; }
    /// Replaces the sample (null for none).
    void setSample(platform::AudioSamplePtr sample);

    /// The load function of "Sound" resources (installed by
    /// `registerSoundClasses`): a new `Sound` with the resource's volume
    /// multiplier, loaded from its file in its mode, goes into `held`. False
    /// when the sample could not be loaded; `held` is a sound without a
    /// sample then.
    static bool loadResource(const SoundResource& resource, RefPtr<BaseObject>& held);

private:
    platform::AudioSamplePtr sample_;
    float volumeMultiplier_ = 1.0F;
};

} // namespace orv
