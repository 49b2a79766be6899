#include "game/dialogs/DialogSettings.h"

#include "engine/gui/Button.h"
#include "engine/gui/Slider.h"
#include "engine/gui/Switch.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/SettingsManager.h"
#include "engine/resources/Sound.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundStream.h"
#include "engine/scene/SceneManager.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogMenu.h"
#include "game/dialogs/DialogSounds.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace orv {

constinit const ClassRecord DialogSettings::classRecord{"DialogSettings",
                                                        parentRecords<DialogOrvanta::classRecord>};

namespace {

IGameSettings* storedOptions() {
    SettingsManager* manager = SettingsManager::get();
    return manager != nullptr ? &manager->getSettings() : nullptr;
}

// Volumes are bytes.
std::uint8_t volumeByte(int volume) {
    return static_cast<std::uint8_t>(std::clamp(volume, 0, 255));
}

void applyEffectsVolume(int volume) {
    if (SoundManager* sound = SoundManager::getInstance(); sound != nullptr && isSoundEnabled()) {
        sound->setSfxVolume(volumeByte(volume));
    }
}

void applyMusicVolume(int volume) {
    if (SoundManager* sound = SoundManager::getInstance(); sound != nullptr && isSoundEnabled()) {
        sound->setMusicVolume(volumeByte(volume));
        // The streams take the music volume at their next volume change:
        // make one now, so the player hears the slider at once.
        for (SoundStream* stream : {sound->getCurrent(), sound->getNext()}) {
            if (stream != nullptr) {
                sound->setStreamVolume(stream, stream->getVolume());
            }
        }
    }
}

} // namespace

/// The options as the dialog's widgets show them.
class DialogSettings::Face : public OrvantaGameSettings {
public:
    explicit Face(DialogSettings& dialog) : dialog_(dialog) {}

    [[nodiscard]] bool getFullScreen() const override {
        return dialog_.fullScreen_ != nullptr && dialog_.fullScreen_->isChecked();
    }
    // The switch shows the window's mode, not the stored wish.
    void setFullScreen(bool value) override {
        if (dialog_.fullScreen_ != nullptr) {
            const GameWindow* window = GameWindow::getInstance();
            dialog_.fullScreen_->setChecked(window != nullptr ? window->isFullScreen() : value);
        }
    }
    [[nodiscard]] bool getUseHints() const override {
        return dialog_.hints_ != nullptr && dialog_.hints_->isChecked();
    }
    // The switch shows the current player's flag; without a player, the
    // stored option.
    void setUseHints(bool value) override {
        if (dialog_.hints_ != nullptr) {
            PlayerHook* players = getPlayerHook();
            const std::optional<bool> playerFlag =
                players != nullptr ? players->getShowHints() : std::nullopt;
            dialog_.hints_->setChecked(playerFlag.value_or(value));
        }
    }
    [[nodiscard]] std::int32_t getSoundVolume() const override {
        return dialog_.effects_ != nullptr ? static_cast<std::int32_t>(dialog_.effects_->getValue())
                                           : OrvantaGameSettings::getSoundVolume();
    }
    void setSoundVolume(std::int32_t value) override {
        OrvantaGameSettings::setSoundVolume(value);
        if (dialog_.effects_ != nullptr) {
            dialog_.effects_->setValue(static_cast<float>(value));
            dialog_.effects_->updateValue();
        }
    }
    [[nodiscard]] std::int32_t getMusicVolume() const override {
        return dialog_.music_ != nullptr ? static_cast<std::int32_t>(dialog_.music_->getValue())
                                         : OrvantaGameSettings::getMusicVolume();
    }
    void setMusicVolume(std::int32_t value) override {
        OrvantaGameSettings::setMusicVolume(value);
        if (dialog_.music_ != nullptr) {
            dialog_.music_->setValue(static_cast<float>(value));
            dialog_.music_->updateValue();
        }
    }

private:
    DialogSettings& dialog_;
};

DialogSettings::DialogSettings(PropertyNode* definition)
    : DialogOrvanta(definition), face_(std::make_unique<Face>(*this)) {
    fullScreen_ = kindCast<Switch>(findComponent("SWITCH_FULLSCREEN"));
    hints_ = kindCast<Switch>(findComponent("SWITCH_SHOWHINTS"));
    effects_ = kindCast<Slider>(findComponent("SLIDER_FXVOL"));
    music_ = kindCast<Slider>(findComponent("SLIDER_MUSICVOL"));
    if (const IGameSettings* stored = storedOptions()) {
        face_->copyFrom(*stored);
    }

    static_cast<void>(bindComponent("SLIDER_FXVOL", &DialogSettings::onEffectsVolume, this));
    static_cast<void>(bindComponent("BUTTON_OK", &DialogSettings::onOk, this));
    static_cast<void>(bindComponent("BUTTON_INFO", &DialogSettings::onInfo, this));
    static_cast<void>(bindComponent("BUTTON_CANCEL", &DialogSettings::onCancel, this));
    static_cast<void>(bindComponent("SLIDER_MUSICVOL", &DialogSettings::onMusicVolume, this));

    // A click on a switch's caption works the switch; the switches come
    // first among the listeners.
    for (auto [widget, caption] :
         {std::pair{fullScreen_, "LABEL_FULLSCREEN"}, std::pair{hints_, "LABEL_SHOWHINTS"}}) {
        if (widget == nullptr) {
            continue;
        }
        widget->setLinkedSprite(kindCast<Sprite>(findComponent(caption)));
        getListenerContainer().insertListener(widget);
    }
    if (const GameWindow* window = GameWindow::getInstance();
        window != nullptr && !window->isFullScreenSwitchAllowed() && fullScreen_ != nullptr) {
        fullScreen_->setEnabled(false);
    }
}

DialogSettings::~DialogSettings() = default;

BaseObject* DialogSettings::createFromDefinition(PropertyNode* definition) {
    return new DialogSettings(definition);
}

IGameSettings& DialogSettings::getSettingsFace() {
    return *face_;
}

int DialogSettings::sliderSoundNumber(float value, float maximum) {
    const double number =
        std::floor(static_cast<double>(value) / (static_cast<double>(maximum) + 1.0)) + 1.0;
    // A maximum of -1 divides by zero; keep such a slider on the first tick.
    if (!std::isfinite(number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max()) {
        return 1;
    }
    return static_cast<int>(number);
}

void DialogSettings::updateSelf(int elapsedMs) {
    DialogOrvanta::updateSelf(elapsedMs);
    now_ += elapsedMs;
    const Button* knob = effects_ != nullptr ? effects_->getKnob() : nullptr;
    if (knob == nullptr || knob->getState() != Button::kPressed) {
        return;
    }
    if (lastSliderSoundTime_ && now_ <= *lastSliderSoundTime_ + kSliderSoundInterval) {
        return;
    }
    lastSliderSoundTime_ = now_;
    const int number = sliderSoundNumber(effects_->getValue(), effects_->getMaxValue());
    playDialogSound("default", "SOUND_SLIDER_" + std::to_string(number));
}

int DialogSettings::onEffectsVolume(void* dialog, void* /*slider*/) {
    applyEffectsVolume(static_cast<DialogSettings*>(dialog)->face_->getSoundVolume());
    return 0;
}

int DialogSettings::onMusicVolume(void* dialog, void* /*slider*/) {
    applyMusicVolume(static_cast<DialogSettings*>(dialog)->face_->getMusicVolume());
    return 0;
}

int DialogSettings::onOk(void* dialog, void* button) {
    auto* self = static_cast<DialogSettings*>(dialog);
    if (IGameSettings* stored = storedOptions()) {
        stored->copyFrom(*self->face_);
        SettingsManager::get()->save();
    }
    if (GameWindow* window = GameWindow::getInstance()) {
        window->setFullScreen(self->face_->getFullScreen());
    }
    if (PlayerHook* players = getPlayerHook()) {
        const std::optional<bool> showHints = players->getShowHints();
        if (showHints && *showHints != self->face_->getUseHints()) {
            players->setShowHints(self->face_->getUseHints());
        }
    }
    return onCancel(dialog, button);
}

int DialogSettings::onCancel(void* dialog, void* /*button*/) {
    if (const IGameSettings* stored = storedOptions()) {
        applyEffectsVolume(stored->getSoundVolume());
        applyMusicVolume(stored->getMusicVolume());
    }
    return justClose(dialog, nullptr);
}

int DialogSettings::onInfo(void* /*dialog*/, void* /*button*/) {
    const SceneManager* scenes = SceneManager::getInstance();
    showDialogIn(scenes != nullptr ? scenes->getCurrentScene() : nullptr, "DIALOG_CREDITS");
    return 0;
}

} // namespace orv
