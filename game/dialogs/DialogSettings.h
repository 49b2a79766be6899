#pragma once

#include "game/dialogs/DialogOrvanta.h"
#include "game/dialogs/OrvantaGameSettings.h"

#include <memory>
#include <optional>

namespace orv {

class Slider;
class Switch;

/// The options dialog ("DIALOG_SETTINGS"): full screen and hints switches,
/// effects and music volume sliders (applied while they move), OK, Cancel
/// and Info (the credits). OK stores the options and saves them; Cancel, and
/// OK after storing, give the sound the stored volumes back and close.
///
/// Its option face reads and writes the widgets: full screen and hints are
/// the switches, the volumes the sliders (truncated to integers), the
/// full-screen warning and hardware options pass through unchanged.
///
/// Main thread only.
class DialogSettings : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Milliseconds between two ticks of the effects slider while dragged.
    static constexpr int kSliderSoundInterval = 500;

    explicit DialogSettings(PropertyNode* definition);
    DialogSettings(const DialogSettings&) = delete;
    DialogSettings& operator=(const DialogSettings&) = delete;
    ~DialogSettings() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Keeps the dialog's clock (the sum of the frames' milliseconds) and
    /// ticks while the effects knob is dragged, at most once per
    /// `kSliderSoundInterval`.
    void updateSelf(int elapsedMs) override;

    /// The options as the widgets show them.
    [[nodiscard]] IGameSettings& getSettingsFace();
    /// The tick sound's number ("SOUND_SLIDER_n") for a slider value:
    /// floor(value / (maximum + 1)) + 1, so 1 for every value from 0 to the
    /// maximum. A quotient that is no number or beyond an int gives 1.
    [[nodiscard]] static int sliderSoundNumber(float value, float maximum);

    static int onEffectsVolume(void* dialog, void* slider);
    static int onMusicVolume(void* dialog, void* slider);
    static int onOk(void* dialog, void* button);
    static int onCancel(void* dialog, void* button);
    static int onInfo(void* dialog, void* button);

    [[nodiscard]] Switch* getFullScreenSwitch() const { return fullScreen_; }
    [[nodiscard]] Switch* getHintsSwitch() const { return hints_; }
    [[nodiscard]] Slider* getEffectsSlider() const { return effects_; }
    [[nodiscard]] Slider* getMusicSlider() const { return music_; }

private:
    class Face;

    Switch* fullScreen_ = nullptr;
    Switch* hints_ = nullptr;
    Slider* effects_ = nullptr;
    Slider* music_ = nullptr;
    std::unique_ptr<Face> face_;
    int now_ = 0;
    std::optional<int> lastSliderSoundTime_;
};

} // namespace orv
