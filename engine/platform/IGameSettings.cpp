#include "engine/platform/IGameSettings.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord IGameSettings::classRecord{"IGameSettings"};

void IGameSettings::saveOptions(PropertyNode* node) const {
    // The shared dummy keeps nothing (and would not free what it is given).
    if (node == nullptr || node == DUMMY_NODE) {
        return;
    }
    node->addNamedBool(kOptionKeys[0], getFullScreen(), false);
    node->addNamedBool(kOptionKeys[1], getFullScreenWarning(), false);
    node->addNamedBool(kOptionKeys[2], getUseHardware(), false);
    node->addNamedBool(kOptionKeys[3], getUseHints(), false);
    node->add(new PropertyValue(kOptionKeys[4], static_cast<int>(getSoundVolume())));
    node->add(new PropertyValue(kOptionKeys[5], static_cast<int>(getMusicVolume())));
}

void IGameSettings::loadOptions(PropertyNode* node) {
    if (node == nullptr || !node->isNode()) {
        return;
    }
    // A stored option is read as an integer whatever its kind: a switch is
    // on when not 0, a volume is kept within its range (the store may hold
    // anything a user or an older version wrote).
    const auto stored = [node](std::string_view key) -> const AbstractProperty* {
        return node->getChild(key);
    };
    const auto number = [](const AbstractProperty* value) {
        return PropertyValue::toInt(value);
    };
    const auto volume = [&](const AbstractProperty* value) {
        return std::clamp(number(value), 0, kMaxVolume);
    };
    if (const auto* value = stored(kOptionKeys[0])) {
        setFullScreen(number(value) != 0);
    }
    if (const auto* value = stored(kOptionKeys[1])) {
        setFullScreenWarning(number(value) != 0);
    }
    if (const auto* value = stored(kOptionKeys[2])) {
        setUseHardware(number(value) != 0);
    }
    if (const auto* value = stored(kOptionKeys[3])) {
        setUseHints(number(value) != 0);
    }
    if (const auto* value = stored(kOptionKeys[4])) {
        setSoundVolume(volume(value));
    }
    if (const auto* value = stored(kOptionKeys[5])) {
        setMusicVolume(volume(value));
    }
}

void IGameSettings::copyFrom(const IGameSettings& other) {
    setFullScreen(other.getFullScreen());
    setFullScreenWarning(other.getFullScreenWarning());
    setUseHardware(other.getUseHardware());
    setUseHints(other.getUseHints());
    setSoundVolume(other.getSoundVolume());
    setMusicVolume(other.getMusicVolume());
}

} // namespace orv
