#include "engine/scene/ModifierSound.h"

#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundNode.h"
#include "engine/system/Platform.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orv {

constinit const ClassRecord ModifierSound::classRecord{"ModifierSound",
                                                       parentRecords<Modifier::classRecord>};

namespace {

Sound* findSound(std::string_view section, std::string_view name) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return kindCast<Sound>(resources->getObject(name, section));
}

int toMilliseconds(std::uint32_t durationMs) {
    return static_cast<int>(std::min<std::uint32_t>(durationMs, std::numeric_limits<int>::max()));
}

} // namespace

ModifierSound::ModifierSound(std::string_view section, std::string_view name, bool noWait)
    : sound_(findSound(section, name)), noWait_(noWait) {}

ModifierSound::ModifierSound(Sound* sound, bool noWait) : sound_(sound), noWait_(noWait) {}

void ModifierSound::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    if (!started_) {
        started_ = true;
        if (sound_) {
            sound_->play(255, 128, false);
            remainingMs_ = isSoundEnabled() ? toMilliseconds(sound_->getDurationMs()) : 0;
        } else if (auto* node = kindCast<SoundNode>(getTarget())) {
            node->play(node->getVolume(), node->getPanning(), false, false);
            remainingMs_ = isSoundEnabled() ? toMilliseconds(node->getDurationMs()) : 0;
        } else {
            finish(); // nothing to play
            return;
        }
    }
    if (noWait_) {
        finish();
        return;
    }
    remainingMs_ = static_cast<int>(std::max<long long>(
        static_cast<long long>(remainingMs_) - std::max(dtMs, 0), std::numeric_limits<int>::min()));
    if (remainingMs_ <= 0) {
        finish();
    }
}

} // namespace orv
