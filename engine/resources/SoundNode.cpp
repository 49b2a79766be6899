#include "engine/resources/SoundNode.h"

#include "engine/core/Log.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ResourceManager.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orv {

constinit const ClassRecord SoundNode::classRecord{"SoundNode",
                                                   parentRecords<GameNode::classRecord>};

namespace {

// Bound of the remaining time of a play, either way.
constexpr int kMaxRemainingMs = std::numeric_limits<int>::max() / 2;

std::uint8_t clampNodeByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

BaseObject* SoundNode::createFromDefinition(PropertyNode* definition) {
    return new SoundNode(definition);
}

SoundNode::SoundNode(Sound* sound) : sound_(sound) {}

SoundNode::SoundNode(PropertyNode* definition) : GameNode(definition) {
    readDefinition(definition);
}

void SoundNode::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));

    struct IntegerKey {
        std::string_view key;
        int SoundNode::*field;
    };
    static constexpr std::array<IntegerKey, 6> integerKeys{{
        {"panminx", &SoundNode::panMinX_},
        {"panmaxx", &SoundNode::panMaxX_},
        {"panminvalue", &SoundNode::panMinValue_},
        {"panmaxvalue", &SoundNode::panMaxValue_},
        {"maxusers", &SoundNode::maxUsers_},
        {"minstartinterval", &SoundNode::minStartInterval_},
    }};
    for (const IntegerKey& key : integerKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = value->getInt();
        }
    }
    struct ByteKey {
        std::string_view key;
        std::uint8_t SoundNode::*field;
    };
    static constexpr std::array<ByteKey, 2> byteKeys{{
        {"volume", &SoundNode::volume_},
        {"panning", &SoundNode::panning_},
    }};
    for (const ByteKey& key : byteKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = clampNodeByte(value->getInt());
        }
    }
    struct BooleanKey {
        std::string_view key;
        bool SoundNode::*field;
    };
    static constexpr std::array<BooleanKey, 4> booleanKeys{{
        {"looped", &SoundNode::looped_},
        {"screenpospanning", &SoundNode::screenPosPanning_},
        {"forcedrestart", &SoundNode::forcedRestart_},
        {"forcedstop", &SoundNode::forcedStop_},
    }};
    for (const BooleanKey& key : booleanKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = value->getBool();
        }
    }

    const PropertyValue* sound = source.findValue("sound");
    const PropertyValue* section = source.findValue("section");
    if (sound != nullptr && section != nullptr) {
        soundName_ = sound->getString();
        sectionName_ = section->getString();
        (void)findSound();
    }
}

Sound* SoundNode::findSound() {
    if (sound_ != nullptr || soundName_.empty()) {
        return sound_.get();
    }
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    // Not loaded here: a section that is not loaded yet gives null, and the
    // next play asks again. The reference keeps the sound alive when its
    // section is unloaded later.
    const platform::NamedMutexGuard guard(resources->getDataLock());
    sound_ = kindCast<Sound>(resources->getObject(soundName_, sectionName_));
    return sound_.get();
}

void SoundNode::setPanRange(int minValue, int maxValue) {
    panMinValue_ = minValue;
    panMaxValue_ = maxValue;
}

platform::AudioChannel SoundNode::play(int volume, int pan, bool looped, bool restart) {
    if (!isSoundEnabled()) {
        return platform::kNoAudioChannel;
    }
    restart = restart || forcedRestart_;
    looped = looped || looped_;
    const Sound* sound = findSound();
    const bool tooSoon =
        static_cast<std::int64_t>(sound != nullptr ? sound->getDurationMs() : 0) - remainingMs_ <
        minStartInterval_;
    const bool startNothing = !restart && users_ >= maxUsers_ && (looped || tooSoon);
    if (!startNothing) {
        // A restart of a loop replaces it: the old channel would otherwise
        // loop on with nothing left that could stop it.
        if (looped_ && channel_ != platform::kNoAudioChannel) {
            getSoundOutput().stop(channel_);
        }
        channel_ = sound != nullptr ? sound->play(volume, pan, looped) : platform::kNoAudioChannel;
        looped_ = looped;
        remainingMs_ =
            sound != nullptr
                ? static_cast<int>(std::min<std::uint32_t>(sound->getDurationMs(), kMaxRemainingMs))
                : 0;
    }
    ++users_;
    return channel_;
}

bool SoundNode::stop(bool force) {
    if (!isSoundEnabled()) {
        return false;
    }
    force = force || forcedStop_;
    if (users_ < 1 && !force) {
        return false;
    }
    users_ = force ? 0 : std::max(users_ - 1, 0);
    if (users_ > 0) {
        return false;
    }
    const bool stopped = getSoundOutput().stop(channel_);
    channel_ = platform::kNoAudioChannel;
    return stopped;
}

void SoundNode::setPanning(int value) {
    value = std::max(value, panMinValue_);
    value = std::min(value, panMaxValue_);
    panning_ = clampNodeByte(value);
    getSoundOutput().setPan(channel_, panning_);
}

int SoundNode::screenPan() const {
    const GameWindow* window = GameWindow::getInstance();
    const int screenWidth = window != nullptr ? window->getWidth() : 0;
    if (screenWidth <= 0) {
        return 128;
    }
    const double pan = static_cast<double>(getAbsoluteX()) / screenWidth * 255.0;
    // Clamped only to keep the conversion defined; setPanning clamps to the
    // node's range, so a node far right of the screen still pans right.
    return static_cast<int>(std::nearbyint(std::clamp(pan, -65536.0, 65536.0)));
}

void SoundNode::updateSelf(int elapsedMs) {
    if (!isSoundEnabled()) {
        return;
    }
    // Kept well above the lowest int, so a node left alone for weeks cannot
    // wrap around to a long remaining time.
    remainingMs_ = static_cast<int>(
        std::max<std::int64_t>(std::int64_t{remainingMs_} - elapsedMs, -kMaxRemainingMs));
    if (remainingMs_ <= 0 && users_ > 0 && !looped_) {
        (void)stop(false);
    }
    if (screenPosPanning_) {
        setPanning(screenPan());
    }
}

std::uint32_t SoundNode::getDurationMs() const {
    return sound_ != nullptr ? sound_->getDurationMs() : 0;
}

} // namespace orv
