#include "engine/system/Platform.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>
#include <utility>

namespace orv::platform {

namespace {

// Handles pack a slot number into the low bits and a generation above them.
// Generations run from 1 and wrap within 23 bits, so a handle is never
// negative and a reused slot never repeats a live handle.
constexpr int kSlotBits = 8;
constexpr std::uint32_t kSlotMask = (1U << kSlotBits) - 1;
constexpr std::uint32_t kGenerationLimit = 1U << 23;

constexpr std::int32_t makeHandle(int slot, std::uint32_t generation) {
    return static_cast<std::int32_t>((generation << kSlotBits) | static_cast<std::uint32_t>(slot));
}

constexpr std::uint32_t nextGeneration(std::uint32_t generation) {
    return generation + 1 < kGenerationLimit ? generation + 1 : 1;
}

// Frames mixed per pass through the 32-bit accumulator.
constexpr std::size_t kMixChunkFrames = 1024;
// The feeder decodes once at least this much of a stream buffer is free.
constexpr std::size_t kFeedMinFrames = 4096;
// Restarts of a looped stream that may wait in its buffer at once.
constexpr std::size_t kMaxPendingWraps = 8;

// Gains are 16.16 fixed point: 65536 plays a value unchanged.
constexpr std::int64_t kUnityGain = 65536;

struct StereoGain {
    std::int32_t left = 0;
    std::int32_t right = 0;
};

// The far side fades linearly to silence towards the hard pans; the near
// side stays at full level, so centred sounds (the common case) are not
// quieter than they were recorded.
StereoGain gainFor(std::uint8_t volume, std::uint8_t masterVolume, std::uint8_t pan) {
    const std::int64_t leftPan = pan <= 128 ? kUnityGain : (255 - pan) * kUnityGain / 127;
    const std::int64_t rightPan = pan >= 128 ? kUnityGain : pan * kUnityGain / 128;
    const std::int64_t level = std::int64_t{volume} * masterVolume;
    return {static_cast<std::int32_t>(level * leftPan / (255 * 255)),
            static_cast<std::int32_t>(level * rightPan / (255 * 255))};
}

// Adds `frames` stereo frames from `source` to `sum`, scaled by `gain`.
void accumulate(const std::int16_t* source, std::size_t frames, StereoGain gain,
                std::int32_t* sum) {
    for (std::size_t i = 0; i < frames; ++i) {
        sum[2 * i] += (source[2 * i] * gain.left) >> 16;
        sum[2 * i + 1] += (source[2 * i + 1] * gain.right) >> 16;
    }
}

// The same for mono frames: each value goes to both sides.
void accumulateMono(const std::int16_t* source, std::size_t frames, StereoGain gain,
                    std::int32_t* sum) {
    for (std::size_t i = 0; i < frames; ++i) {
        sum[2 * i] += (source[i] * gain.left) >> 16;
        sum[2 * i + 1] += (source[i] * gain.right) >> 16;
    }
}

void saturate(std::span<const std::int32_t> sum, std::span<std::int16_t> out) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::int16_t>(
            std::clamp<std::int32_t>(sum[i], std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max()));
    }
}

// Adds one chunk of every voice to `sum` (2 × frames values).
void accumulateVoices(std::span<AudioVoice> voices, std::uint8_t masterVolume,
                      std::span<std::int32_t> sum) {
    const std::size_t frames = sum.size() / 2;
    for (AudioVoice& voice : voices) {
        if (!voice.active || voice.paused) {
            continue;
        }
        if (voice.data == nullptr || voice.frameCount == 0) {
            voice.active = false;
            continue;
        }
        const StereoGain gain = gainFor(voice.volume, masterVolume, voice.pan);
        std::size_t done = 0;
        while (done < frames && voice.active) {
            if (voice.position >= voice.frameCount) {
                if (!voice.looped) {
                    voice.active = false;
                    break;
                }
                voice.position = 0;
            }
            const std::size_t take =
                std::min<std::size_t>(frames - done, voice.frameCount - voice.position);
            if (voice.channels == 1) {
                accumulateMono(voice.data + std::size_t{voice.position}, take, gain,
                               sum.data() + 2 * done);
            } else {
                accumulate(voice.data + 2 * std::size_t{voice.position}, take, gain,
                           sum.data() + 2 * done);
            }
            voice.position += static_cast<std::uint32_t>(take);
            done += take;
        }
        // A sound that does not loop frees its channel as soon as its last
        // frame is out, not one chunk later.
        if (!voice.looped && voice.position >= voice.frameCount) {
            voice.active = false;
        }
    }
}

std::uint64_t sourceToMix(std::uint64_t sourceFrames, std::uint32_t rate) {
    return rate == 0 ? sourceFrames : sourceFrames * kAudioSampleRate / rate;
}

std::uint64_t mixToSource(std::uint64_t mixFrames, std::uint32_t rate) {
    return rate == 0 ? mixFrames : mixFrames * rate / kAudioSampleRate;
}

} // namespace

std::uint32_t audioFramesToMilliseconds(std::uint64_t frames) {
    return static_cast<std::uint32_t>(frames * 1000 / kAudioSampleRate);
}

AudioSample::AudioSample(std::vector<std::int16_t> frames, int channels)
    : data_(std::move(frames)), channels_(channels == 1 ? 1 : 2) {
    assert(channels == 1 || channels == 2);
    assert(data_.size() % static_cast<std::size_t>(channels_) == 0);
}

std::uint32_t AudioSample::getFrameCount() const {
    return static_cast<std::uint32_t>(data_.size() / static_cast<std::size_t>(channels_));
}

std::uint32_t AudioSample::getDurationMs() const {
    return audioFramesToMilliseconds(getFrameCount());
}

void mixAudioVoices(std::span<AudioVoice> voices, std::uint8_t masterVolume,
                    std::span<std::int16_t> out) {
    std::array<std::int32_t, 2 * kMixChunkFrames> sum{};
    for (std::size_t offset = 0; offset < out.size(); offset += sum.size()) {
        const std::size_t count = std::min(sum.size(), out.size() - offset);
        std::fill_n(sum.begin(), count, 0);
        accumulateVoices(voices, masterVolume, std::span(sum).first(count));
        saturate(std::span(sum).first(count), out.subspan(offset, count));
    }
}

// ---------------------------------------------------------------------------
// Slots

struct AudioMixer::Channel {
    AudioSamplePtr sample; // never dropped in mix, which must not free memory
    std::uint32_t generation = 0;
};

struct AudioMixer::StreamSlot {
    struct SyncPoint {
        std::uint64_t mixPosition = 0;
        std::uint32_t sourcePosition = 0;
        std::uint32_t passed = 0; // times passed since the last takeSyncEvents
    };

    std::shared_ptr<AudioStreamSource> source;
    std::uint32_t generation = 0;
    bool open = false;
    bool looped = false;
    bool playing = false;
    bool failed = false;
    std::uint8_t volume = 255;
    std::uint32_t rate = kAudioSampleRate;
    std::uint64_t lengthMix = 0;

    // Decoded audio waiting to be heard: a ring of frames.
    std::vector<std::int16_t> ring;
    std::size_t readIndex = 0;
    std::size_t count = 0;
    std::uint64_t totalWritten = 0;
    std::uint64_t totalRead = 0;
    // Write counts at which a looped stream starts again from 0.
    std::array<std::uint64_t, kMaxPendingWraps> wraps{};
    std::size_t wrapHead = 0;
    std::size_t wrapCount = 0;
    bool endQueued = false;
    std::uint64_t endAt = 0;

    std::uint64_t position = 0; // mix frames, next frame to be heard
    std::uint32_t epoch = 0;    // bumped whenever buffered audio becomes wrong
    bool seekPending = false;
    std::uint64_t seekTo = 0; // source frames

    std::vector<SyncPoint> syncPoints;
};

namespace {

// The slot number a handle names while its generation still matches, or -1.
template <class Slots>
int slotOf(const Slots& slots, std::int32_t handle) {
    if (handle < 0) {
        return -1;
    }
    const auto value = static_cast<std::uint32_t>(handle);
    const std::size_t index = value & kSlotMask;
    if (index >= slots.size() || slots[index].generation != (value >> kSlotBits)) {
        return -1;
    }
    return static_cast<int>(index);
}

} // namespace

AudioMixer::AudioMixer()
    : channels_(kAudioChannelCount), voices_(kAudioChannelCount), streams_(kAudioStreamCount),
      sum_(2 * kMixChunkFrames) {
    for (StreamSlot& slot : streams_) {
        slot.ring.resize(2 * kStreamBufferFrames);
    }
}

AudioMixer::~AudioMixer() = default;

AudioChannel AudioMixer::play(AudioSamplePtr sample, std::uint8_t volume, std::uint8_t pan,
                              bool looped) {
    if (sample == nullptr) {
        return kNoAudioChannel;
    }
    // Sounds that ended on the audio thread still hold their samples (that
    // thread frees nothing); let them go now.
    releaseEndedSamples();
    for (int i = 0; i < kAudioChannelCount; ++i) {
        AudioVoice& voice = voices_[i];
        if (voice.active) {
            continue;
        }
        Channel& channel = channels_[i];
        channel.generation = nextGeneration(channel.generation);
        voice = AudioVoice{.data = sample->getData().data(),
                           .frameCount = sample->getFrameCount(),
                           .volume = volume,
                           .pan = pan,
                           .looped = looped,
                           .active = true,
                           .channels = static_cast<std::uint8_t>(sample->getChannels())};
        channel.sample = std::move(sample);
        return makeHandle(i, channel.generation);
    }
    return kNoAudioChannel;
}

// The voice behind a live handle, or null: a handle whose sound ended is
// stale even before its slot is reused.
AudioVoice* AudioMixer::findVoice(AudioChannel channel) {
    const int index = slotOf(channels_, channel);
    return index >= 0 && voices_[index].active ? &voices_[index] : nullptr;
}

bool AudioMixer::stop(AudioChannel channel) {
    AudioVoice* voice = findVoice(channel);
    if (voice == nullptr) {
        return false;
    }
    voice->active = false;
    releaseEndedSamples();
    return true;
}

bool AudioMixer::setVolume(AudioChannel channel, std::uint8_t volume) {
    AudioVoice* voice = findVoice(channel);
    if (voice == nullptr) {
        return false;
    }
    voice->volume = volume;
    return true;
}

bool AudioMixer::setPan(AudioChannel channel, std::uint8_t pan) {
    AudioVoice* voice = findVoice(channel);
    if (voice == nullptr) {
        return false;
    }
    voice->pan = pan;
    return true;
}

bool AudioMixer::setPaused(AudioChannel channel, bool paused) {
    AudioVoice* voice = findVoice(channel);
    if (voice == nullptr) {
        return false;
    }
    voice->paused = paused;
    return true;
}

bool AudioMixer::isPlaying(AudioChannel channel) const {
    const int index = slotOf(channels_, channel);
    return index >= 0 && voices_[index].active;
}

void AudioMixer::stopSample(const AudioSample& sample) {
    for (int i = 0; i < kAudioChannelCount; ++i) {
        if (voices_[i].active && channels_[i].sample.get() == &sample) {
            voices_[i].active = false;
        }
    }
    releaseEndedSamples();
}

void AudioMixer::releaseEndedSamples() {
    for (int i = 0; i < kAudioChannelCount; ++i) {
        if (!voices_[i].active) {
            channels_[i].sample.reset();
        }
    }
}

// ---------------------------------------------------------------------------
// Streams

AudioStream AudioMixer::openStream(std::shared_ptr<AudioStreamSource> source, bool looped) {
    if (source == nullptr) {
        return kNoAudioStream;
    }
    for (int i = 0; i < kAudioStreamCount; ++i) {
        StreamSlot& slot = streams_[i];
        if (slot.open) {
            continue;
        }
        slot.generation = nextGeneration(slot.generation);
        slot.open = true;
        slot.looped = looped;
        slot.playing = false;
        slot.failed = false;
        slot.volume = 255;
        slot.rate = source->getSourceRate();
        slot.lengthMix = sourceToMix(source->getSourceLength(), slot.rate);
        slot.syncPoints.clear();
        slot.source = std::move(source);
        resetStream(slot, 0);
        return makeHandle(i, slot.generation);
    }
    return kNoAudioStream;
}

// Forgets the buffered audio and asks the feeder to decode again from
// `sourceFrame`. Used from the audio thread too, so it must not allocate.
void AudioMixer::resetStream(StreamSlot& slot, std::uint64_t sourceFrame) {
    slot.readIndex = 0;
    slot.count = 0;
    slot.totalWritten = 0;
    slot.totalRead = 0;
    slot.wrapHead = 0;
    slot.wrapCount = 0;
    slot.endQueued = false;
    slot.endAt = 0;
    slot.position = sourceToMix(sourceFrame, slot.rate);
    ++slot.epoch;
    slot.seekPending = true;
    slot.seekTo = sourceFrame;
    slot.failed = false;
}

std::shared_ptr<AudioStreamSource> AudioMixer::closeStream(AudioStream stream) {
    StreamSlot* slot = findStream(stream);
    if (slot == nullptr) {
        return nullptr;
    }
    slot->open = false;
    slot->playing = false;
    ++slot->epoch;
    // A later handle to this slot must not match the closed one.
    slot->generation = nextGeneration(slot->generation);
    return std::move(slot->source);
}

AudioMixer::StreamSlot* AudioMixer::findStream(AudioStream stream) {
    const int index = slotOf(streams_, stream);
    return index >= 0 && streams_[index].open ? &streams_[index] : nullptr;
}

const AudioMixer::StreamSlot* AudioMixer::findStream(AudioStream stream) const {
    const int index = slotOf(streams_, stream);
    return index >= 0 && streams_[index].open ? &streams_[index] : nullptr;
}

bool AudioMixer::playStream(AudioStream stream) {
    StreamSlot* slot = findStream(stream);
    if (slot == nullptr) {
        return false;
    }
    slot->playing = true;
    return true;
}

bool AudioMixer::stopStream(AudioStream stream) {
    StreamSlot* slot = findStream(stream);
    if (slot == nullptr) {
        return false;
    }
    slot->playing = false;
    resetStream(*slot, 0);
    return true;
}

bool AudioMixer::setStreamPosition(AudioStream stream, std::uint32_t position) {
    StreamSlot* slot = findStream(stream);
    if (slot == nullptr || sourceToMix(position, slot->rate) > slot->lengthMix) {
        return false;
    }
    resetStream(*slot, position);
    return true;
}

std::optional<std::uint32_t> AudioMixer::getStreamPosition(AudioStream stream) const {
    const StreamSlot* slot = findStream(stream);
    if (slot == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(mixToSource(slot->position, slot->rate));
}

bool AudioMixer::addStreamSyncPoint(AudioStream stream, std::uint32_t position) {
    StreamSlot* slot = findStream(stream);
    if (slot == nullptr) {
        return false;
    }
    slot->syncPoints.push_back({sourceToMix(position, slot->rate), position, 0});
    return true;
}

bool AudioMixer::setStreamVolume(AudioStream stream, std::uint8_t volume) {
    StreamSlot* slot = findStream(stream);
    if (slot == nullptr) {
        return false;
    }
    slot->volume = volume;
    return true;
}

bool AudioMixer::isStreamPlaying(AudioStream stream) const {
    const StreamSlot* slot = findStream(stream);
    return slot != nullptr && slot->playing;
}

void AudioMixer::takeSyncEvents(std::vector<AudioSyncEvent>& out) {
    for (int i = 0; i < kAudioStreamCount; ++i) {
        StreamSlot& slot = streams_[i];
        if (!slot.open) {
            continue;
        }
        for (StreamSlot::SyncPoint& point : slot.syncPoints) {
            for (; point.passed > 0; --point.passed) {
                out.push_back({makeHandle(i, slot.generation), point.sourcePosition});
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Mixing

void AudioMixer::mixStream(StreamSlot& slot, std::span<std::int32_t> sum) {
    const StereoGain gain = gainFor(slot.volume, 255, 128);
    const std::size_t frames = sum.size() / 2;
    std::size_t done = 0;
    while (done < frames) {
        if (slot.wrapCount > 0 && slot.wraps[slot.wrapHead] == slot.totalRead) {
            slot.position = 0;
            slot.wrapHead = (slot.wrapHead + 1) % kMaxPendingWraps;
            --slot.wrapCount;
            continue;
        }
        if (slot.count == 0) {
            break; // not decoded yet: silence, the position waits
        }
        std::size_t take =
            std::min({frames - done, slot.count, kStreamBufferFrames - slot.readIndex});
        if (slot.wrapCount > 0) {
            take = std::min<std::size_t>(take, slot.wraps[slot.wrapHead] - slot.totalRead);
        }
        accumulate(slot.ring.data() + 2 * slot.readIndex, take, gain, sum.data() + 2 * done);
        const std::uint64_t end = slot.position + take;
        for (StreamSlot::SyncPoint& point : slot.syncPoints) {
            if (point.mixPosition >= slot.position && point.mixPosition < end) {
                ++point.passed;
            }
        }
        slot.position = end;
        slot.readIndex = (slot.readIndex + take) % kStreamBufferFrames;
        slot.count -= take;
        slot.totalRead += take;
        done += take;
    }
    if (slot.count == 0 && slot.endQueued && slot.totalRead == slot.endAt) {
        // The end of a stream that does not loop: it stops and rewinds, like
        // a stop, so playing it again starts from the beginning.
        slot.playing = false;
        resetStream(slot, 0);
    }
}

void AudioMixer::mix(std::span<std::int16_t> out) {
    for (std::size_t offset = 0; offset < out.size(); offset += sum_.size()) {
        const std::size_t count = std::min(sum_.size(), out.size() - offset);
        const std::span<std::int32_t> sum = std::span(sum_).first(count);
        std::fill(sum.begin(), sum.end(), 0);
        accumulateVoices(voices_, masterVolume_, sum);
        for (int i = 0; i < kAudioStreamCount; ++i) {
            StreamSlot& slot = streams_[i];
            if (slot.open && slot.playing) {
                mixStream(slot, sum);
            }
        }
        saturate(sum, out.subspan(offset, count));
    }
}

// ---------------------------------------------------------------------------
// Feeding

bool AudioMixer::beginFeed(int slotIndex, FeedJob& job) {
    if (slotIndex < 0 || slotIndex >= kAudioStreamCount) {
        return false;
    }
    StreamSlot& slot = streams_[slotIndex];
    if (!slot.open || slot.failed || slot.endQueued || slot.wrapCount == kMaxPendingWraps) {
        return false;
    }
    const std::size_t space = kStreamBufferFrames - slot.count;
    if (space < kFeedMinFrames && !slot.seekPending) {
        return false;
    }
    job.slot = slotIndex;
    job.generation = slot.generation;
    job.epoch = slot.epoch;
    job.source = slot.source;
    job.looped = slot.looped;
    job.seekTo = slot.seekPending ? std::optional(slot.seekTo) : std::nullopt;
    job.wanted = space;
    job.maxWraps = kMaxPendingWraps - slot.wrapCount;
    job.frameCount = 0;
    job.wrapOffsets.clear();
    job.ended = false;
    job.failed = false;
    slot.seekPending = false;
    return true;
}

void AudioMixer::runFeed(FeedJob& job) {
    if (job.source == nullptr) {
        job.failed = true;
        return;
    }
    if (job.seekTo && !job.source->seek(*job.seekTo)) {
        job.failed = true;
        return;
    }
    job.frames.resize(2 * job.wanted);
    std::size_t sinceRestart = 0;
    while (job.frameCount < job.wanted) {
        const std::size_t got = job.source->read(
            std::span(job.frames).subspan(2 * job.frameCount, 2 * (job.wanted - job.frameCount)));
        if (got > 0) {
            job.frameCount += got;
            sinceRestart += got;
            continue;
        }
        // A looped stream that gave nothing since its last restart is empty
        // or broken; ending it keeps the feeder out of an endless loop.
        if (!job.looped || (sinceRestart == 0 && !job.wrapOffsets.empty())) {
            job.ended = true;
            break;
        }
        if (job.wrapOffsets.size() >= job.maxWraps) {
            break; // a later job goes on once the waiting restarts have played
        }
        if (!job.source->seek(0)) {
            job.failed = true;
            break;
        }
        job.wrapOffsets.push_back(job.frameCount);
        sinceRestart = 0;
    }
}

void AudioMixer::endFeed(const FeedJob& job) {
    if (job.slot < 0 || job.slot >= kAudioStreamCount) {
        return;
    }
    StreamSlot& slot = streams_[job.slot];
    if (!slot.open || slot.generation != job.generation || slot.epoch != job.epoch) {
        return;
    }
    const std::uint64_t start = slot.totalWritten;
    std::size_t writeIndex = (slot.readIndex + slot.count) % kStreamBufferFrames;
    const std::size_t frames = std::min(job.frameCount, kStreamBufferFrames - slot.count);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t take = std::min(frames - done, kStreamBufferFrames - writeIndex);
        std::copy_n(job.frames.begin() + static_cast<std::ptrdiff_t>(2 * done), 2 * take,
                    slot.ring.begin() + static_cast<std::ptrdiff_t>(2 * writeIndex));
        writeIndex = (writeIndex + take) % kStreamBufferFrames;
        done += take;
    }
    slot.count += frames;
    slot.totalWritten += frames;
    for (const std::size_t offset : job.wrapOffsets) {
        if (slot.wrapCount < kMaxPendingWraps) {
            slot.wraps[(slot.wrapHead + slot.wrapCount) % kMaxPendingWraps] = start + offset;
            ++slot.wrapCount;
        }
    }
    if (job.ended || job.failed) {
        slot.endQueued = true;
        slot.endAt = slot.totalWritten;
        slot.failed = job.failed;
    }
}

void AudioMixer::feedStreams() {
    for (int i = 0; i < kAudioStreamCount; ++i) {
        if (beginFeed(i, scratchJob_)) {
            runFeed(scratchJob_);
            endFeed(scratchJob_);
        }
    }
}

} // namespace orv::platform
