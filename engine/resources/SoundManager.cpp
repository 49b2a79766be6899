#include "engine/resources/SoundManager.h"

#include "engine/core/Log.h"
#include "engine/resources/Sound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace orv {

constinit const ClassRecord SoundManager::classRecord{"SoundManager",
                                                      parentRecords<BaseObject::classRecord>};

namespace {

// The process-wide manager's own reference. Main thread only.
RefPtr<SoundManager> instance;

} // namespace

SoundManager* SoundManager::create(int mixRate, int ignored, int channels) {
    static_cast<void>(ignored);
    if (instance != nullptr) {
        return instance.get();
    }
    if (mixRate != static_cast<int>(platform::kAudioSampleRate) ||
        channels != platform::kAudioChannelCount) {
        logWarning("Sound mixes at " + std::to_string(platform::kAudioSampleRate) + " Hz on " +
                   std::to_string(platform::kAudioChannelCount) + " channels; " +
                   std::to_string(mixRate) + " Hz and " + std::to_string(channels) +
                   " channels were asked for");
    }
    if (!getSoundOutput().open()) {
        logWarning("No audio device could be opened; sound is disabled");
    }
    instance = new SoundManager();
    instance->ownsOutput_ = true;
    return instance.get();
}

SoundManager* SoundManager::getInstance() {
    return instance.get();
}

void SoundManager::destroyInstance() {
    instance = nullptr;
}

SoundManager::~SoundManager() {
    stopMusic();
    if (ownsOutput_) {
        getSoundOutput().close();
    }
}

void SoundManager::closeStream(SoundStream& stream) {
    if (stream.isOpen()) {
        SoundOutput& output = getSoundOutput();
        output.stopStream(stream.handle_);
        output.closeStream(stream.handle_);
        stream.handle_ = platform::kNoAudioStream;
    }
}

bool SoundManager::playStream(SoundStream* stream, SoundStream* old, bool looped) {
    if (!isSoundEnabled()) {
        return false;
    }
    if (stream == old) {
        return true;
    }
    if (stream == nullptr) {
        return false;
    }
    paused_ = false;
    pausing_ = false;
    if (stream != current_.get()) {
        if (crossFading_) {
            stopStream(stream); // it starts again from the beginning
        } else {
            stopStream(current_.get());
            current_ = stream;
        }
    }
    SoundOutput& output = getSoundOutput();
    if (!stream->isOpen()) {
        if (stream->fileName_.empty()) {
            return false;
        }
        stream->handle_ = output.openStream(stream->fileName_, looped);
        if (!stream->isOpen()) {
            logWarning(stream->fileName_ + ": the music cannot be opened");
            return false;
        }
        stream->loadSyncPoints();
        for (const std::int32_t point : stream->syncPoints_) {
            if (point >= 0) {
                output.addStreamSyncPoint(stream->handle_, static_cast<std::uint32_t>(point));
            }
        }
    }
    if (stream->startPosition_ != 0) {
        output.setStreamPosition(stream->handle_,
                                 static_cast<std::uint32_t>(std::max(stream->startPosition_, 0)));
        stream->startPosition_ = 0;
    }
    const bool played = output.playStream(stream->handle_);
    setStreamVolume(stream, stream->volume_);
    return played;
}

void SoundManager::playMusic(int fadeOutMs, float level, int fadeInMs, SoundStream* stream,
                             int startDelayMs, bool looped) {
    if (!isSoundEnabled() || stream == nullptr) {
        return;
    }
    if (crossFading_ && stream == next_.get()) {
        // Already fading in: finishing the cross-fade now would make it the
        // current stream and then close it as the one fading out. Only its
        // level changes.
        startFade(*stream, stream->fadeLevel_, level, fadeInMs);
        return;
    }
    if (!crossFading_ && current_ != nullptr && current_->fileName_ == stream->fileName_) {
        startFade(*current_, current_->fadeLevel_, level, fadeOutMs);
        playStream(current_.get(), nullptr, true); // restarts it when it was stopped
        return;
    }
    if (crossFading_) {
        finishCrossFade();
    }
    crossFading_ = true;
    next_ = stream;
    startDelayMs_ = startDelayMs;
    if (current_ != nullptr) {
        startFade(*current_, current_->fadeLevel_, 0.0F, fadeOutMs);
    }
    stream->fadeLevel_ = 0.0F;
    stream->fadeTarget_ = level;
    stream->fadeSpeed_ = std::abs(level) / static_cast<float>(std::max(fadeInMs, 1));
    playStream(stream, current_.get(), looped);
}

void SoundManager::startFade(SoundStream& stream, float from, float to, int durationMs) {
    stream.fadeLevel_ = from;
    stream.fadeTarget_ = to;
    stream.fadeSpeed_ = std::abs(to - from) / static_cast<float>(std::max(durationMs, 1));
}

void SoundManager::setStreamVolume(SoundStream* stream, std::uint8_t volume) {
    if (stream == nullptr) {
        return;
    }
    stream->volume_ = volume;
    if (muted_ || !stream->isOpen()) {
        return;
    }
    double scaled = static_cast<double>(volume) * stream->volumeMultiplier_ * musicVolume_ *
                    (1.0 / 255.0) * stream->fadeLevel_;
    if (std::isnan(scaled)) {
        scaled = 0.0; // a multiplier that is not a number plays silently
    }
    const auto absolute = static_cast<std::uint8_t>(std::nearbyint(std::clamp(scaled, 0.0, 255.0)));
    getSoundOutput().setStreamVolume(stream->handle_, absolute);
}

void SoundManager::stopStream(SoundStream* stream) {
    if (stream != nullptr) {
        closeStream(*stream);
    }
}

void SoundManager::finishCrossFade() {
    stopStream(current_.get());
    // The closed stream is not kept as the next one: it has nothing left to
    // play.
    current_ = std::move(next_);
    next_ = nullptr;
}

void SoundManager::stopMusic() {
    stopStream(current_.get());
    stopStream(next_.get());
}

void SoundManager::fadeOutMusic(int durationMs) {
    SoundStream* stream = crossFading_ ? next_.get() : current_.get();
    if (!isSoundEnabled() || stream == nullptr) {
        return;
    }
    // The step is measured on the current stream in both cases, so that
    // the music is silent when the current stream would be.
    const float level = current_ != nullptr ? current_->fadeLevel_ : stream->fadeLevel_;
    stream->fadeTarget_ = 0.0F;
    stream->fadeSpeed_ = std::abs(level) / static_cast<float>(std::max(durationMs, 1));
}

bool SoundManager::pauseMusic(int fadeMs) {
    if (!isSoundEnabled() || current_ == nullptr || paused_ || pausing_) {
        return false;
    }
    if (fadeMs != 0) {
        pausing_ = true;
        startFade(*current_, current_->fadeLevel_, 0.0F, fadeMs);
        if (crossFading_ && next_ != nullptr) {
            startFade(*next_, next_->fadeLevel_, 0.0F, fadeMs);
            startDelayMs_ = 0;
        }
        return false;
    }
    if (!current_->isOpen()) {
        return false;
    }
    if (crossFading_) {
        finishCrossFade();
        crossFading_ = false;
        if (current_ == nullptr || !current_->isOpen()) {
            return false;
        }
    }
    SoundOutput& output = getSoundOutput();
    const std::optional<std::uint32_t> position = output.getStreamPosition(current_->handle_);
    current_->startPosition_ = static_cast<std::int32_t>(
        std::min<std::uint32_t>(position.value_or(0), std::numeric_limits<std::int32_t>::max()));
    const bool stopped = output.stopStream(current_->handle_);
    pausing_ = false;
    if (stopped) {
        paused_ = true;
    }
    return stopped;
}

void SoundManager::setMuted(bool muted) {
    if (!isSoundEnabled()) {
        return;
    }
    muted_ = muted;
    SoundOutput& output = getSoundOutput();
    if (muted) {
        output.setMasterVolume(0);
        // Either stream may be missing: before any music has played both are.
        for (SoundStream* stream : {current_.get(), next_.get()}) {
            if (stream != nullptr && stream->isOpen()) {
                output.setStreamVolume(stream->handle_, 0);
            }
        }
        return;
    }
    output.setMasterVolume(sfxVolume_);
    SoundStream* stream = current_ != nullptr ? current_.get() : next_.get();
    if (stream != nullptr) {
        setStreamVolume(stream, stream->volume_);
    }
}

void SoundManager::setSfxVolume(std::uint8_t volume) {
    sfxVolume_ = volume;
    if (isSoundEnabled() && !muted_) {
        getSoundOutput().setMasterVolume(volume);
    }
}

bool SoundManager::advanceFade(SoundStream& stream, int elapsedMs) {
    const float step = static_cast<float>(elapsedMs) * stream.fadeSpeed_;
    if (stream.fadeLevel_ < stream.fadeTarget_) {
        stream.fadeLevel_ = std::min(stream.fadeLevel_ + step, stream.fadeTarget_);
    } else if (stream.fadeLevel_ > stream.fadeTarget_) {
        stream.fadeLevel_ = std::max(stream.fadeLevel_ - step, stream.fadeTarget_);
    }
    setStreamVolume(&stream, stream.volume_);
    return stream.fadeLevel_ == stream.fadeTarget_;
}

void SoundManager::run(int elapsedMs) {
    if (!isSoundEnabled()) {
        return;
    }
    // A missing current stream counts as faded: the first music of all
    // starts with no current stream, and it must still fade in.
    bool currentDone = true;
    if (current_ != nullptr) {
        currentDone = advanceFade(*current_, elapsedMs);
    }
    bool nextDone = false;
    if (next_ != nullptr) {
        if (crossFading_ && startDelayMs_ != 0) {
            startDelayMs_ -= elapsedMs;
            if (startDelayMs_ <= 0) {
                // It has played silently while waiting: start it over.
                getSoundOutput().setStreamPosition(next_->handle_, 0);
                startDelayMs_ = 0;
            }
        } else {
            nextDone = advanceFade(*next_, elapsedMs);
        }
    }
    if (!currentDone) {
        return;
    }
    if (pausing_) {
        pausing_ = false;
        (void)pauseMusic(0);
    }
    if (nextDone && crossFading_) {
        finishCrossFade();
        crossFading_ = false;
    }
}

} // namespace orv
