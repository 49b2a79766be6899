#pragma once

#include "engine/resources/Sound.h"
#include "engine/system/Platform.h"
#include "tests/support/TempDir.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orv::test {

/// A sound output over a bare mixer, installed while the object lives: tests
/// drive `mixFrames` instead of waiting for a device, and read the mixer's
/// state. Open (sound enabled) from construction unless told otherwise.
class MixerOutput : public SoundOutput {
public:
    explicit MixerOutput(bool enabled = true);
    ~MixerOutput() override;

    bool open() override;
    void close() override { enabled_ = false; }
    [[nodiscard]] bool isEnabled() const override { return enabled_; }

    platform::AudioChannel play(const platform::AudioSamplePtr& sample, std::uint8_t volume,
                                std::uint8_t pan, bool looped) override;
    bool stop(platform::AudioChannel channel) override;
    bool setPan(platform::AudioChannel channel, std::uint8_t pan) override;
    void stopSample(const platform::AudioSample& sample) override;
    void setMasterVolume(std::uint8_t volume) override;
    platform::AudioStream openStream(const std::string& path, bool looped) override;
    void closeStream(platform::AudioStream stream) override;
    bool playStream(platform::AudioStream stream) override;
    bool stopStream(platform::AudioStream stream) override;
    bool setStreamPosition(platform::AudioStream stream, std::uint32_t position) override;
    std::optional<std::uint32_t> getStreamPosition(platform::AudioStream stream) override;
    bool addStreamSyncPoint(platform::AudioStream stream, std::uint32_t position) override;
    bool setStreamVolume(platform::AudioStream stream, std::uint8_t volume) override;

    /// Decodes the streams ahead and mixes `frames` frames of output.
    std::vector<std::int16_t> mixFrames(std::size_t frames);

    /// The last volume the stream was given through this output.
    [[nodiscard]] std::optional<std::uint8_t> lastStreamVolume(platform::AudioStream stream) const;

    platform::AudioMixer mixer;
    int openedStreams = 0;
    int closedStreams = 0;

private:
    bool enabled_;
    std::vector<std::pair<platform::AudioStream, std::uint8_t>> streamVolumes_;
};

/// A temporary folder that is the current folder while the object lives.
class CurrentFolder {
public:
    CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    ~CurrentFolder();

    /// Writes `bytes` to `name` (relative, "/" separated) inside the folder.
    void write(const std::string& name, const std::vector<std::byte>& bytes) const;
    void write(const std::string& name, const std::string& text) const;
    [[nodiscard]] std::string path(const std::string& name) const { return folder_.file(name); }

private:
    TempDir folder_;
    std::filesystem::path previous_;
};

/// A sample of `frames` stereo frames, every value `level`.
[[nodiscard]] platform::AudioSamplePtr constantSample(std::uint32_t frames, std::int16_t level);

} // namespace orv::test
