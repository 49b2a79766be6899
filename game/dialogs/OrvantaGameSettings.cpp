#include "game/dialogs/OrvantaGameSettings.h"

namespace orv {

constinit const ClassRecord OrvantaGameSettings::classRecord{
    "OrvantaGameSettings", parentRecords<IGameSettings::classRecord>};

OrvantaGameSettings::OrvantaGameSettings() {
    setFullScreen(kDefaultFullScreen);
    setFullScreenWarning(kDefaultFullScreenWarning);
    setUseHardware(kDefaultUseHardware);
    setUseHints(kDefaultUseHints);
    setSoundVolume(kDefaultSoundVolume);
    setMusicVolume(kDefaultMusicVolume);
}

// The game adds no options of its own: the three transfers are the base's.
void OrvantaGameSettings::saveOptions(PropertyNode* node) const {
    IGameSettings::saveOptions(node);
}

void OrvantaGameSettings::loadOptions(PropertyNode* node) {
    IGameSettings::loadOptions(node);
}

void OrvantaGameSettings::copyFrom(const IGameSettings& other) {
    IGameSettings::copyFrom(other);
}

} // namespace orv
