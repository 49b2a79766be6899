#include "engine/resources/Sound.h"

#include "engine/core/GameNode.h"
#include "engine/core/Log.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/MemoryBuffer.h"
#include "engine/resources/SoundResource.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <span>
#include <utility>

namespace orv {

constinit const ClassRecord Sound::classRecord{"Sound", parentRecords<GameNode::classRecord>};

namespace {

// The audio device of the system layer, as the sound classes see it.
class DeviceOutput final : public SoundOutput {
public:
    void prepare() override { platform::startOpeningAudioDevice(); }
    bool open() override { return platform::openAudioDevice(); }
    void close() override { platform::closeAudioDevice(); }
    [[nodiscard]] bool isEnabled() const override { return platform::isAudioEnabled(); }

    platform::AudioChannel play(const platform::AudioSamplePtr& sample, std::uint8_t volume,
                                std::uint8_t pan, bool looped) override {
        return platform::playAudioSample(sample, volume, pan, looped);
    }
    bool stop(platform::AudioChannel channel) override {
        return platform::stopAudioChannel(channel);
    }
    bool setPan(platform::AudioChannel channel, std::uint8_t pan) override {
        return platform::setAudioChannelPan(channel, pan);
    }
    void stopSample(const platform::AudioSample& sample) override {
        platform::stopAudioSample(sample);
    }
    void setMasterVolume(std::uint8_t volume) override { platform::setAudioMasterVolume(volume); }

    platform::AudioStream openStream(const std::string& path, bool looped) override {
        return platform::openAudioStream(path, looped);
    }
    void closeStream(platform::AudioStream stream) override { platform::closeAudioStream(stream); }
    bool playStream(platform::AudioStream stream) override {
        return platform::playAudioStream(stream);
    }
    bool stopStream(platform::AudioStream stream) override {
        return platform::stopAudioStream(stream);
    }
    bool setStreamPosition(platform::AudioStream stream, std::uint32_t position) override {
        return platform::setAudioStreamPosition(stream, position);
    }
    std::optional<std::uint32_t> getStreamPosition(platform::AudioStream stream) override {
        return platform::getAudioStreamPosition(stream);
    }
    bool addStreamSyncPoint(platform::AudioStream stream, std::uint32_t position) override {
        return platform::addAudioStreamSyncPoint(stream, position);
    }
    bool setStreamVolume(platform::AudioStream stream, std::uint8_t volume) override {
        return platform::setAudioStreamVolume(stream, volume);
    }
};

DeviceOutput deviceOutput;
// Read by the loader thread too (samples are decoded there).
std::atomic<SoundOutput*> installedOutput{nullptr};

std::uint8_t clampToByte(long value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0L, 255L));
}

} // namespace

SoundOutput& getSoundOutput() {
    SoundOutput* output = installedOutput.load();
    return output != nullptr ? *output : deviceOutput;
}

void setSoundOutput(SoundOutput* output) {
    installedOutput.store(output);
}

bool isSoundEnabled() {
    return getSoundOutput().isEnabled();
}

Sound::~Sound() {
    // Freeing a sample silences it: a looped effect must not outlive the
    // sound that nobody could stop any more.
    if (sample_ != nullptr && isSoundEnabled()) {
        getSoundOutput().stopSample(*sample_);
    }
}

void Sound::setSample(platform::AudioSamplePtr sample) {
    sample_ = std::move(sample);
}

bool Sound::load(ArchiveMode mode, std::string_view name) {
    sample_ = nullptr;
    if (!isSoundEnabled()) {
        return true;
    }
    // The mode only chooses the way: "file" (or the global mode without an
    // archive) reads the loose file; every other mode reads the file in the
    // global mode, where the game's sounds are stored.
    if (mode == ArchiveMode::Global) {
        mode = FileArchive::hasArchive() ? FileArchive::getGlobalMode() : ArchiveMode::File;
    }
    MemoryBuffer buffer;
    if (!FileArchive::readFile(
            name, buffer, mode == ArchiveMode::File ? ArchiveMode::File : ArchiveMode::Global)) {
        logWarning(std::string(name) + ": the sound file cannot be read");
        return false;
    }
    sample_ = platform::decodeAudioSample(
        std::as_bytes(std::span(buffer.getData(), static_cast<std::size_t>(buffer.getSize()))));
    if (sample_ == nullptr) {
        logWarning(std::string(name) + ": not a WAV or Ogg Vorbis sound that can be decoded");
        return false;
    }
    return true;
}

platform::AudioChannel Sound::play(int volume, int pan, bool looped) const {
    if (!isSoundEnabled() || sample_ == nullptr) {
        return platform::kNoAudioChannel;
    }
    // Truncated toward zero, then clamped; computed in double so that a huge
    // multiplier cannot overflow the conversion.
    double scaled = std::trunc(static_cast<double>(volume) * volumeMultiplier_);
    if (std::isnan(scaled)) {
        scaled = 0.0; // a multiplier that is not a number plays silently
    }
    const std::uint8_t effective = clampToByte(static_cast<long>(std::clamp(scaled, -1.0, 256.0)));
    return getSoundOutput().play(sample_, effective, clampToByte(pan), looped);
}

std::uint32_t Sound::getDurationMs() const {
    // 64-bit arithmetic: the frame count × 1000 overflows 32 bits for samples
    // longer than about 97 seconds.
    return sample_ != nullptr ? platform::audioFramesToMilliseconds(sample_->getFrameCount()) : 0;
}

bool Sound::loadResource(const SoundResource& resource, RefPtr<BaseObject>& held) {
    RefPtr<Sound> sound(new Sound());
    sound->setVolumeMultiplier(resource.getVolumeMultiplier());
    held = sound;
    return sound->load(resource.getMode(), resource.getFileKey());
}

} // namespace orv
