#pragma once

#include "engine/core/ClassRecord.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orv {

class PropertyNode;

/// The player's options: full screen, the full-screen warning, hardware use,
/// hints, and the sound and music volumes (0 to 255). The game derives its
/// own options object from it, which sets the defaults; `SettingsManager`
/// owns it and moves it to and from the settings store through a property
/// node whose values are named by `kOptionKeys`.
///
///     RefPtr<PropertyNode> node(new PropertyNode("GameSettngs", ""));
///     options.saveOptions(node.get());   // "fullscreen" = Boolean "true", ...
///
/// `loadOptions` reads every option as an integer, as the settings store
/// hands them back (a switch as the number 1 or 0); a Boolean text such as
/// "true" reads as 0, so a node is not meant to go straight from
/// `saveOptions` to `loadOptions`.
class IGameSettings {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] virtual const ClassRecord& getClassRecord() const { return classRecord; }

    /// The option keys, in the order of the fields.
    static constexpr std::array<std::string_view, 6> kOptionKeys = {
        "fullscreen", "fullscreenwarning", "usehardware", "usehints", "soundvolume", "musicvolume"};
    static constexpr int kMaxVolume = 255;

    IGameSettings() = default;
    IGameSettings(const IGameSettings&) = delete;
    IGameSettings& operator=(const IGameSettings&) = delete;
    virtual ~IGameSettings() = default;

    /// Adds the four switches as "Boolean" values and the two volumes as
    /// "Integer" values to `node` (borrowed), replacing children of the same
    /// names. A null node or the shared dummy node is left alone.
    virtual void saveOptions(PropertyNode* node) const;
    /// Sets every option whose key `node` holds, reading the child as an
    /// integer (switches: not 0; volumes clamped to 0-255). Missing keys keep
    /// the option; a null node changes nothing.
    virtual void loadOptions(PropertyNode* node);
    /// Takes all six options of `other`.
    virtual void copyFrom(const IGameSettings& other);

    [[nodiscard]] virtual bool getFullScreen() const { return fullScreen_; }
    [[nodiscard]] virtual bool getFullScreenWarning() const { return fullScreenWarning_; }
    [[nodiscard]] virtual bool getUseHardware() const { return useHardware_; }
    [[nodiscard]] virtual bool getUseHints() const { return useHints_; }
    [[nodiscard]] virtual std::int32_t getSoundVolume() const { return soundVolume_; }
    [[nodiscard]] virtual std::int32_t getMusicVolume() const { return musicVolume_; }
    virtual void setFullScreen(bool value) { fullScreen_ = value; }
    virtual void setFullScreenWarning(bool value) { fullScreenWarning_ = value; }
    virtual void setUseHardware(bool value) { useHardware_ = value; }
    virtual void setUseHints(bool value) { useHints_ = value; }
    virtual void setSoundVolume(std::int32_t value) { soundVolume_ = value; }
    virtual void setMusicVolume(std::int32_t value) { musicVolume_ = value; }

private:
    bool fullScreen_ = false;
    bool fullScreenWarning_ = false;
    bool useHardware_ = false;
    bool useHints_ = false;
    std::int32_t soundVolume_ = 0;
    std::int32_t musicVolume_ = 0;
};

} // namespace orv
