#pragma once

#include "engine/platform/IGameSettings.h"

namespace orv {

/// The game's options, with the game's defaults: full screen, with the
/// full-screen warning, hardware use and hints on, sound at full volume (255)
/// and music at 50. Start-up hands a new one to `SettingsManager::create`,
/// which then overwrites the defaults with what the settings store holds.
class OrvantaGameSettings : public IGameSettings {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr bool kDefaultFullScreen = true;
    static constexpr bool kDefaultFullScreenWarning = true;
    static constexpr bool kDefaultUseHardware = true;
    static constexpr bool kDefaultUseHints = true;
    static constexpr int kDefaultSoundVolume = 255;
    static constexpr int kDefaultMusicVolume = 50;

    OrvantaGameSettings();

    void saveOptions(PropertyNode* node) const override;
    void loadOptions(PropertyNode* node) override;
    void copyFrom(const IGameSettings& other) override;
};

} // namespace orv
