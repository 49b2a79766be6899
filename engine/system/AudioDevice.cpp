#include "engine/system/EndRequests.h"
#include "engine/system/Platform.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace orv::platform {

namespace {

// Frames SDL asks for per callback: about 23 ms, short enough for effects to
// start promptly, long enough for the dummy and slow drivers.
constexpr Uint16 kDeviceBufferFrames = 1024;
// The feeder looks at the streams at least this often.
constexpr auto kFeederPeriod = std::chrono::milliseconds(10);

// The open device: SDL's output, the mixer it plays, and the feeder thread
// that decodes music ahead of the audio thread.
struct Device {
    SDL_AudioDeviceID id = 0;
    AudioMixer mixer;
    std::thread feeder;
    std::mutex wakeMutex;
    std::condition_variable wake;
    bool stopping = false; // guarded by wakeMutex
};

// Set and cleared only by openAudioDevice / closeAudioDevice; every other call
// reads it, so those two must not race with the rest.
std::unique_ptr<Device> device;

// SDL holds the device lock while it calls this on its audio thread.
void audioCallback(void* user, Uint8* stream, int length) {
    auto* mixer = static_cast<AudioMixer*>(user);
    mixer->mix(std::span(reinterpret_cast<std::int16_t*>(stream),
                         static_cast<std::size_t>(length) / sizeof(std::int16_t)));
}

// Decodes outside the device lock so the audio thread never waits on a disk
// read; the lock is held only to take a job and to hand its audio over.
void runFeeder(Device& owner) {
    AudioMixer::FeedJob job;
    for (;;) {
        bool worked = false;
        for (int slot = 0; slot < kAudioStreamCount; ++slot) {
            SDL_LockAudioDevice(owner.id);
            const bool hasJob = owner.mixer.beginFeed(slot, job);
            SDL_UnlockAudioDevice(owner.id);
            if (!hasJob) {
                continue;
            }
            AudioMixer::runFeed(job);
            SDL_LockAudioDevice(owner.id);
            owner.mixer.endFeed(job);
            SDL_UnlockAudioDevice(owner.id);
            job.source.reset(); // a closed stream's file closes here, unlocked
            worked = true;
        }
        std::unique_lock lock(owner.wakeMutex);
        if (owner.stopping) {
            return;
        }
        if (!worked) {
            owner.wake.wait_for(lock, kFeederPeriod);
        }
        if (owner.stopping) {
            return;
        }
    }
}

void wakeFeeder() {
    const std::lock_guard lock(device->wakeMutex);
    device->wake.notify_one();
}

// Runs `action` on the mixer under the device lock; `fallback` while sound
// is disabled.
template <class Action, class Result>
Result withMixer(Action action, Result fallback) {
    if (device == nullptr) {
        return fallback;
    }
    SDL_LockAudioDevice(device->id);
    Result result = action(device->mixer);
    SDL_UnlockAudioDevice(device->id);
    return result;
}

// Opens SDL's audio and the default device; null when there is none. Runs on
// the main thread or on the probe thread of startOpeningAudioDevice.
std::unique_ptr<Device> makeDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    auto opened = std::make_unique<Device>();
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(kAudioSampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = audioCallback;
    wanted.userdata = &opened->mixer;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants, so the
    // mixer always sees its own format.
    opened->id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (opened->id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Device& owner = *opened;
    opened->feeder = std::thread([&owner] { runFeeder(owner); });
    SDL_PauseAudioDevice(opened->id, 0);
    return opened;
}

// The device being opened by startOpeningAudioDevice; main thread only.
std::future<std::unique_ptr<Device>> pendingDevice;

// Takes over a device whose opening was started ahead, waiting for it; false
// when no opening was under way.
bool settlePendingDevice() {
    if (!pendingDevice.valid()) {
        return false;
    }
    device = pendingDevice.get();
    return true;
}

} // namespace

void startOpeningAudioDevice() {
    if (device != nullptr || pendingDevice.valid()) {
        return;
    }
    claimTerminationSignals();
    pendingDevice = std::async(std::launch::async, [] {
        std::unique_ptr<Device> opened = makeDevice();
        // SDL keeps per-thread data (its error text) for every thread that
        // calls it; this one ends here, so its data goes with it.
        SDL_TLSCleanup();
        return opened;
    });
}

bool openAudioDevice() {
    // A probe that found no device is not repeated: it would fail as slowly.
    if (!settlePendingDevice() && device == nullptr) {
        claimTerminationSignals();
        device = makeDevice();
    }
    return device != nullptr;
}

void closeAudioDevice() {
    settlePendingDevice();
    if (device == nullptr) {
        return;
    }
    {
        const std::lock_guard lock(device->wakeMutex);
        device->stopping = true;
    }
    device->wake.notify_one();
    device->feeder.join();
    SDL_CloseAudioDevice(device->id);
    device.reset();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool isAudioEnabled() {
    return device != nullptr;
}

AudioChannel playAudioSample(const AudioSamplePtr& sample, std::uint8_t volume, std::uint8_t pan,
                             bool looped) {
    return withMixer([&](AudioMixer& mixer) { return mixer.play(sample, volume, pan, looped); },
                     kNoAudioChannel);
}

bool stopAudioChannel(AudioChannel channel) {
    return withMixer([&](AudioMixer& mixer) { return mixer.stop(channel); }, false);
}

bool setAudioChannelVolume(AudioChannel channel, std::uint8_t volume) {
    return withMixer([&](AudioMixer& mixer) { return mixer.setVolume(channel, volume); }, false);
}

bool setAudioChannelPan(AudioChannel channel, std::uint8_t pan) {
    return withMixer([&](AudioMixer& mixer) { return mixer.setPan(channel, pan); }, false);
}

bool setAudioChannelPaused(AudioChannel channel, bool paused) {
    return withMixer([&](AudioMixer& mixer) { return mixer.setPaused(channel, paused); }, false);
}

bool isAudioChannelPlaying(AudioChannel channel) {
    return withMixer([&](AudioMixer& mixer) { return mixer.isPlaying(channel); }, false);
}

void stopAudioSample(const AudioSample& sample) {
    withMixer(
        [&](AudioMixer& mixer) {
            mixer.stopSample(sample);
            return true;
        },
        false);
}

void setAudioMasterVolume(std::uint8_t volume) {
    withMixer(
        [&](AudioMixer& mixer) {
            mixer.setMasterVolume(volume);
            return true;
        },
        false);
}

AudioStream openAudioStream(const std::string& path, bool looped) {
    if (device == nullptr) {
        return kNoAudioStream;
    }
    // The file's headers are read here, before the lock is taken.
    std::shared_ptr<AudioStreamSource> source = openOggStreamSource(path);
    if (source == nullptr) {
        return kNoAudioStream;
    }
    const AudioStream stream = withMixer(
        [&](AudioMixer& mixer) { return mixer.openStream(source, looped); }, kNoAudioStream);
    wakeFeeder();
    return stream;
}

void closeAudioStream(AudioStream stream) {
    // The source is destroyed after the lock is released (or by the feeder,
    // when it is decoding it right now).
    const std::shared_ptr<AudioStreamSource> source =
        withMixer([&](AudioMixer& mixer) { return mixer.closeStream(stream); },
                  std::shared_ptr<AudioStreamSource>());
}

bool playAudioStream(AudioStream stream) {
    const bool played =
        withMixer([&](AudioMixer& mixer) { return mixer.playStream(stream); }, false);
    if (played) {
        wakeFeeder();
    }
    return played;
}

bool stopAudioStream(AudioStream stream) {
    const bool stopped =
        withMixer([&](AudioMixer& mixer) { return mixer.stopStream(stream); }, false);
    if (stopped) {
        wakeFeeder();
    }
    return stopped;
}

bool setAudioStreamPosition(AudioStream stream, std::uint32_t position) {
    const bool moved = withMixer(
        [&](AudioMixer& mixer) { return mixer.setStreamPosition(stream, position); }, false);
    if (moved) {
        wakeFeeder();
    }
    return moved;
}

std::optional<std::uint32_t> getAudioStreamPosition(AudioStream stream) {
    return withMixer([&](AudioMixer& mixer) { return mixer.getStreamPosition(stream); },
                     std::optional<std::uint32_t>());
}

bool addAudioStreamSyncPoint(AudioStream stream, std::uint32_t position) {
    return withMixer([&](AudioMixer& mixer) { return mixer.addStreamSyncPoint(stream, position); },
                     false);
}

bool setAudioStreamVolume(AudioStream stream, std::uint8_t volume) {
    return withMixer([&](AudioMixer& mixer) { return mixer.setStreamVolume(stream, volume); },
                     false);
}

bool isAudioStreamPlaying(AudioStream stream) {
    return withMixer([&](AudioMixer& mixer) { return mixer.isStreamPlaying(stream); }, false);
}

std::vector<AudioSyncEvent> pollAudioSyncEvents() {
    std::vector<AudioSyncEvent> events;
    withMixer(
        [&](AudioMixer& mixer) {
            mixer.takeSyncEvents(events);
            return true;
        },
        false);
    return events;
}

} // namespace orv::platform
