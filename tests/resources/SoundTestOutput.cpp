#include "tests/resources/SoundTestOutput.h"

#include <algorithm>

namespace orv::test {

MixerOutput::MixerOutput(bool enabled) : enabled_(enabled) {
    setSoundOutput(this);
}

MixerOutput::~MixerOutput() {
    setSoundOutput(nullptr);
}

bool MixerOutput::open() {
    enabled_ = true;
    return true;
}

// Each call reports that nothing played while the output is closed, as the
// device does.
platform::AudioChannel MixerOutput::play(const platform::AudioSamplePtr& sample,
                                         std::uint8_t volume, std::uint8_t pan, bool looped) {
    return enabled_ ? mixer.play(sample, volume, pan, looped) : platform::kNoAudioChannel;
}

bool MixerOutput::stop(platform::AudioChannel channel) {
    return enabled_ && mixer.stop(channel);
}

bool MixerOutput::setPan(platform::AudioChannel channel, std::uint8_t pan) {
    return enabled_ && mixer.setPan(channel, pan);
}

void MixerOutput::stopSample(const platform::AudioSample& sample) {
    mixer.stopSample(sample);
}

void MixerOutput::setMasterVolume(std::uint8_t volume) {
    mixer.setMasterVolume(volume);
}

platform::AudioStream MixerOutput::openStream(const std::string& path, bool looped) {
    if (!enabled_) {
        return platform::kNoAudioStream;
    }
    const platform::AudioStream stream =
        mixer.openStream(platform::openOggStreamSource(path), looped);
    if (stream != platform::kNoAudioStream) {
        ++openedStreams;
    }
    return stream;
}

void MixerOutput::closeStream(platform::AudioStream stream) {
    if (mixer.closeStream(stream) != nullptr) {
        ++closedStreams;
    }
}

bool MixerOutput::playStream(platform::AudioStream stream) {
    return enabled_ && mixer.playStream(stream);
}

bool MixerOutput::stopStream(platform::AudioStream stream) {
    return enabled_ && mixer.stopStream(stream);
}

bool MixerOutput::setStreamPosition(platform::AudioStream stream, std::uint32_t position) {
    return enabled_ && mixer.setStreamPosition(stream, position);
}

std::optional<std::uint32_t> MixerOutput::getStreamPosition(platform::AudioStream stream) {
    return mixer.getStreamPosition(stream);
}

bool MixerOutput::addStreamSyncPoint(platform::AudioStream stream, std::uint32_t position) {
    return enabled_ && mixer.addStreamSyncPoint(stream, position);
}

bool MixerOutput::setStreamVolume(platform::AudioStream stream, std::uint8_t volume) {
    if (!enabled_ || !mixer.setStreamVolume(stream, volume)) {
        return false;
    }
    streamVolumes_.emplace_back(stream, volume);
    return true;
}

std::optional<std::uint8_t> MixerOutput::lastStreamVolume(platform::AudioStream stream) const {
    const auto found = std::find_if(streamVolumes_.rbegin(), streamVolumes_.rend(),
                                    [&](const auto& entry) { return entry.first == stream; });
    if (found == streamVolumes_.rend()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<std::int16_t> MixerOutput::mixFrames(std::size_t frames) {
    mixer.feedStreams();
    std::vector<std::int16_t> out(2 * frames);
    mixer.mix(out);
    return out;
}

CurrentFolder::CurrentFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder_.path());
}

CurrentFolder::~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

void CurrentFolder::write(const std::string& name, const std::vector<std::byte>& bytes) const {
    writeFile(folder_.path() / name,
              std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void CurrentFolder::write(const std::string& name, const std::string& text) const {
    writeFile(folder_.path() / name, text);
}

platform::AudioSamplePtr constantSample(std::uint32_t frames, std::int16_t level) {
    return std::make_shared<const platform::AudioSample>(
        std::vector<std::int16_t>(2 * static_cast<std::size_t>(frames), level));
}

} // namespace orv::test
